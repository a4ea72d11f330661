#pragma once
// Tree view over the system control. Nodes are named by their 1-based index in
// creation order (VB's Nodes collection): removing a node shifts the indices of
// the nodes made after it. Each node keeps a Key and a Tag of its own, and its
// three image numbers (normal, selected, expanded), which the control cannot
// hold all of: the node shows the image its state asks for.
//
// Labels are edited in place, started from code (StartLabelEdit) or, while the
// label-edit mode is Automatic, by a click on the selected node's text. The edit
// ends in AfterLabelEdit (Enter, or the edit box losing the focus) with the typed
// text, blanks removed at both ends; the handler takes it (and may change it) or
// refuses it, and the node then keeps its old text. Esc ends the edit with no
// text: LabelEditCancelled is raised instead and the node keeps its text.
#include "platform/Window.h"

#include <commctrl.h>

#include <functional>
#include <vector>

class TreeView : public Control {
public:
    enum class LabelEditMode { Automatic = 0, Manual = 1 };

    bool Create(HWND parent, int id, DWORD extraStyle = 0);
    ~TreeView() override;

    int Count() const { return static_cast<int>(nodes_.size()); }
    // Adds a node under `parent` (0: top level) as its last child; returns its index.
    // A top-level node goes to its alphabetical place instead while Sorted is on.
    // Images are 1-based image numbers; selectedImage 0 shows the image.
    int Add(int parent, const std::wstring& text, const std::wstring& key = {}, int image = 0,
            int selectedImage = 0);
    // Adds a node among its siblings in alphabetical order of their texts; returns its index.
    int AddSorted(int parent, const std::wstring& text, const std::wstring& key = {}, int image = 0,
                  int selectedImage = 0);
    // Removes the node with its children. When the selection was the node or
    // inside it, the selection moves, always the same way: to the node's next
    // sibling, else its parent, else (a top-level node that was last) the
    // previous top-level node; when the node was the tree's only top-level node
    // the tree is empty and nothing is selected. The move raises no NodeClick
    // (our code made it, not a click): it raises AfterRemove with the node now
    // selected, which a window routes to its click handler when it wants the
    // node shown as a click on it would show it. Returns the selected node
    // afterwards (0 none). Removing a missing node changes nothing.
    int Remove(int node);
    void Clear();

    std::wstring Text(int node) const;
    // Sets the label; a top-level node moves to its alphabetical place while Sorted is on.
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
    // The image shown while the node is expanded (0 none: the image stays). The
    // selected image, when the node has one, still wins while it is selected.
    int ExpandedImage(int node) const;
    void SetExpandedImage(int node, int image);
    bool Bold(int node) const;
    void SetBold(int node, bool on);

    int SelectedItem() const;  // 0 when none
    void Select(int node);
    int IndexOf(HTREEITEM h) const;
    HTREEITEM Handle(int node) const;
    int HitTest(POINT clientPt) const;
    void SetImageList(HIMAGELIST list);

    // Top-level sorting: while on, the top-level nodes stand in alphabetical
    // order of their texts (compared as the user's locale does, case ignored),
    // also after an add or a rename; switching it off leaves them where they
    // are and appends new ones. Off when created.
    bool Sorted() const { return sorted_; }
    void SetSorted(bool on);
    // The order sorting gives: <0, 0 or >0 as `a` sorts before, with or after `b`.
    static int CompareTexts(const std::wstring& a, const std::wstring& b);
    // Sorts the children of a node (0: the top level) once.
    void SortChildren(int node);

    // In-place editing of labels. Manual (the default): only StartLabelEdit
    // opens the edit box. Automatic: a click on the selected node's text also does.
    LabelEditMode LabelEdit() const { return labelEdit_; }
    void SetLabelEdit(LabelEditMode mode);
    // Opens the edit box on the node (0: the selected node; another node is
    // selected first, raising no NodeClick) and returns at once; false when no
    // box opened (no such node, or BeforeLabelEdit refused).
    bool StartLabelEdit(int node = 0);
    bool Editing() const;
    // Ends an open edit as Enter (false) or Esc (true) would.
    void EndLabelEdit(bool cancel);

    // Events, set by the owning window.
    std::function<void(int node)> NodeClick;  // selection changed to `node`, or a click on the selected node
    std::function<void(POINT clientPt)> RightClick;  // right button released over the tree
    std::function<void(int selected)> AfterRemove;   // Remove moved the selection (0: tree empty)
    // An edit is about to open on `node`; return false to keep it from opening.
    std::function<bool(int node)> BeforeLabelEdit;
    struct LabelEditEnd {
        int node = 0;
        std::wstring text;    // typed, trimmed; the node takes it as the handler leaves it
        bool cancel = false;  // set to refuse: the node keeps its old text
    };
    std::function<void(LabelEditEnd& e)> AfterLabelEdit;
    std::function<void(int node)> LabelEditCancelled;  // Esc: the node keeps its text
    bool OnNotify(NMHDR* nm, LRESULT& result) override;

private:
    struct NodeData {
        std::wstring key;
        std::wstring tag;
        HTREEITEM handle = nullptr;
        int image = 0, selectedImage = 0, expandedImage = 0;  // 1-based, 0 none
    };
    NodeData* Data(int node) const;
    void Forget(HTREEITEM h);
    int Insert(int parent, HTREEITEM after, const std::wstring& text, const std::wstring& key, int image,
               int selectedImage);
    // The sibling after which `text` goes in alphabetical order among the children of `parent`.
    HTREEITEM SortedPlace(HTREEITEM parent, const std::wstring& text) const;
    static int CALLBACK CompareNodes(LPARAM a, LPARAM b, LPARAM tree);
    void ShowImages(int node);  // the image for the node's expanded state
    bool OnEndLabelEdit(NMTVDISPINFOW* di);
    std::vector<HTREEITEM> nodes_;
    bool sorted_ = false;
    LabelEditMode labelEdit_ = LabelEditMode::Manual;
    bool editFromCode_ = false;  // inside StartLabelEdit
    bool endingEdit_ = false;    // inside the end-of-edit event
};
