#pragma once
// Tree view over the system control. Nodes are named by their 1-based index in
// creation order (VB's Nodes collection): removing a node shifts the indices of
// the nodes made after it. Each node keeps a Key and a Tag of its own.
#include "platform/Window.h"

#include <commctrl.h>

#include <functional>
#include <vector>

class TreeView : public Control {
public:
    bool Create(HWND parent, int id, DWORD extraStyle = 0);
    ~TreeView() override;

    int Count() const { return static_cast<int>(nodes_.size()); }
    // Adds a node under `parent` (0: top level) as its last child; returns its index.
    int Add(int parent, const std::wstring& text, const std::wstring& key = {}, int image = 0,
            int selectedImage = 0);
    // Adds a node among its siblings in alphabetical order of their texts; returns its index.
    int AddSorted(int parent, const std::wstring& text, const std::wstring& key = {}, int image = 0,
                  int selectedImage = 0);
    void Remove(int node);  // with its children
    void Clear();

    std::wstring Text(int node) const;
    void SetText(int node, const std::wstring& s);
    std::wstring Key(int node) const;
    std::wstring NodeTag(int node) const;
    void SetNodeTag(int node, const std::wstring& s);
    int Parent(int node) const;     // 0 for a top-level node
    int Children(int node) const;   // number of direct children
    int FirstChild(int node) const; // 0 when none
    int NextSibling(int node) const;
    int Root(int node) const;       // the top-level ancestor (the node itself at top level)
    // Texts from the top-level ancestor down to the node, joined by backslashes.
    std::wstring FullPath(int node) const;
    void SetExpanded(int node, bool on);
    bool Expanded(int node) const;
    void SetImage(int node, int image, int selectedImage);
    bool Bold(int node) const;
    void SetBold(int node, bool on);

    int SelectedItem() const;  // 0 when none
    void Select(int node);
    int IndexOf(HTREEITEM h) const;
    HTREEITEM Handle(int node) const;
    int HitTest(POINT clientPt) const;
    void SetImageList(HIMAGELIST list);

    // Events, set by the owning window.
    std::function<void(int node)> NodeClick;  // selection changed to `node`, or a click on the selected node
    std::function<void(POINT clientPt)> RightClick;  // right button released over the tree
    bool OnNotify(NMHDR* nm, LRESULT& result) override;

private:
    struct NodeData {
        std::wstring key;
        std::wstring tag;
    };
    NodeData* Data(int node) const;
    void Forget(HTREEITEM h);
    int Insert(int parent, HTREEITEM after, const std::wstring& text, const std::wstring& key, int image,
               int selectedImage);
    std::vector<HTREEITEM> nodes_;
    bool removing_ = false;
};
