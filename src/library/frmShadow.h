#pragma once
// The category window: category tree above, the bar (splitter), the window's
// toolbar and the list of tip data files below. It loads the tips of the node
// or entry the user picks into the main window's tip list.
#include "library/SplitDDC.h"
#include "platform/ImageList.h"
#include "platform/Toolbar.h"
#include "platform/TreeView.h"
#include "platform/Window.h"

#include <string>
#include <utility>
#include <vector>

// The bar between the two lists; the user drags it up and down.
class SplitBar : public Control {
public:
    bool Create(HWND parent, int id);
};

class frmShadow : public Form {
public:
    ~frmShadow() override;
    // Creates the window and runs its load step (not shown). True when it exists.
    bool Load();

    // ---- controls ----
    TreeView TreeView1;  // the category tree
    SplitBar Picture1;   // the bar
    Toolbar Toolbar1;    // new, open, del, info
    ImageList ImageList1;
    TreeView TreeView2;  // the list of tip data files (top-level entries only)
    cSplitDDC FileListSplitter;
    bool FileListCollapsed = false;

    // Full path of the selected category-tree node (empty when none): the
    // category path under which backups and the log file their entries.
    std::wstring SelectedCategoryPath() const { return TreeView1.FullPath(TreeView1.SelectedItem()); }

    // ---- geometry in twips (client coordinates) ----
    long long Picture1Top() const { return picture1Top_; }
    void SetPicture1Top(long long t) { picture1Top_ = t; }
    long long TreeView2Top() const { return treeView2Top_; }
    long long TreeView2Height() const { return treeView2Height_; }
    long long Toolbar1Top() const { return toolbar1Top_; }
    long long TreeView1Height() const { return treeView1Height_; }

    // ---- the tip list ----
    // Fills the main window's tip list with the tips of `section` of `file`, sets
    // the commands that need rows and the status texts of a load.
    void Shownode(const std::wstring& file, const std::wstring& section);
    // Fits the tip list's columns when [Data] AutoWidth is on and rows are shown.
    void FitColumnsWhenRows();

    // ---- category tree ----
    // Builds the tree from DATA\*.qix and shows the remembered category.
    void FileFind();
    // Adds the sub-category nodes of one category file under node `strSj`.
    void ShowZML(const std::wstring& strSj, const std::wstring& strTag);
    // The section a node stands for: 数据 for a node with children, else its text.
    std::wstring NodeSection(int node) const;
    void TreeView1_NodeClick(int node);
    // `button` 1 left, 2 right; `pt` in the tree's client pixels.
    void TreeView1_MouseUp(int button, POINT pt);

    // ---- data-file list ----
    // The entry whose text equals `path` without regard to case (0 none).
    int FindEntry(const std::wstring& path) const;
    // Selects the entry of `path`, adding it first when the list has none.
    int AddOrSelectEntry(const std::wstring& path);
    void TreeView2_NodeClick(int node);
    // What a click on a file-list entry does, also for the entry shown already.
    void ShowDataFileEntry(int node);
    void TreeView2_MouseUp(int button, POINT pt);

    // ---- files from outside ----
    void Form_OLEDragDrop(const std::vector<std::wstring>& paths);
    void TreeView2_OLEDragDrop(const std::vector<std::wstring>& paths);
    // Opens the tip data files named in a command line (blank-separated words;
    // a word in double quotes may hold blanks). Returns how many it opened.
    int OpenCmdFiles(const std::wstring& list);
    // A tip data file the program cannot name in the code page (or under such a
    // folder), refused with why: the path and its cause, one per file.
    using Refusal = std::pair<std::wstring, std::wstring>;
    static const wchar_t* const kNotInCodePage;
    static const wchar_t* const kSelectionTooLong;
    // The real name of a path the code page turned "?" in (each "?" component
    // looked up as the file system stores it); the path itself when none is found.
    static std::wstring RealName(const std::wstring& path);
    // One message naming every refused file and its cause.
    static void ReportRefused(const std::vector<Refusal>& refused);

    // ---- window ----
    void Form_Resize();  // the layout
    void Form_KeyDown(int keyCode, int shift);
    // Writes FileListHeight and, when SaveFile is on, the file list, entry by
    // entry: every entry that can be stored is stored. Shows what could not be
    // written (ReportSave) unless ReportSaveFailures is off; LastSave() keeps it.
    struct SaveResult {
        bool settingsWritten = true;          // FileListHeight and the section delete
        std::vector<std::wstring> unsaved;    // entries the file list could not keep
    };
    SaveResult SaveUnload();
    const SaveResult& LastSave() const { return lastSave_; }
    // Off while the main window's shut-down unloads this window: it reports the
    // settings of both windows in one message.
    bool ReportSaveFailures = true;
    // The message for a save that was not complete (nothing when it was).
    static void ReportSave(const SaveResult& r);
    // The end of a drag of the bar: shows or folds away the two lists, lays out.
    void SplitterDragEnded();

    // The windows as they are when no category, or no tip data file, can be shown.
    void EnterNothingLoadedState();
    void EnterNoDataFileState();

    // ---- category management (CategoryManagement.cpp) ----
    // The main toolbar's tjlb: a new empty category file under the first free
    // default name, its node last in the tree, selected, shown and in edit.
    void NewCategory();
    // tjlb's menu item new: asks for a name, makes the section, adds the node.
    void NewSubCategory();
    // The popup's 重命名: an edit of the selected node's text (never 收藏夹's).
    void StartRename();
    // End of an edit of a category-tree node's text: renames the category file
    // or moves the sub-category's sections; refuses the text when it cannot.
    void TreeView1_AfterLabelEdit(TreeView::LabelEditEnd& e);
    // The main toolbar's del: deletes the selected category or sub-category
    // after a question; nothing with no node or 收藏夹 selected.
    void DeleteCategory();
    // Shows the selected node as a click on it does (also when it is shown already).
    void ShowSelectedNode();

    // ---- tip data file commands (the window's toolbar: new, open, del, info) ----
    void Toolbar1_ButtonClick(const std::wstring& key);
    void NewDataFile();     // new: creates a tip data file, lists and shows it
    void OpenDataFiles();   // open: lists existing files, shows the last one
    void RemoveDataFile();  // del: removes the selected entry (never the file)
    void ShowFileInfo();    // info: the file-information page of the selected entry

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void Drop(const std::vector<std::wstring>& paths, bool ontoList);
    void SetFileCommands();
    void InstallCategoryEditing();  // the tree's edit events (CategoryManagement.cpp)
    static LRESULT CALLBACK ChildProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
    long long picture1Top_ = 2820;
    long long treeView1Height_ = 2790;
    long long toolbar1Top_ = 2850;
    long long treeView2Top_ = 3180;
    long long treeView2Height_ = 1035;
    // The layout run before the controls exist (or some of them): it gives each its place.
    void PlanLayout();
    bool planning_ = false;
    bool unloading_ = false;
    SaveResult lastSave_;
};

namespace Forms {
// The one category window, created and loaded on first use.
::frmShadow& frmShadow();
// The category window when it exists, else nullptr (nothing is created).
::frmShadow* frmShadowIfLoaded();
// Unloads the category window (its unload step runs): the next use loads it afresh.
void UnloadFrmShadow();
}  // namespace Forms
