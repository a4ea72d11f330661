#pragma once
// Report-style list view over the system control. Rows and sub-items count
// from 1 (sub-item 0 is the row's text). What the control cannot hold itself is
// kept per row in the item's lParam: the sub-items' tags, the row's text colour
// and the bold cells, drawn by custom draw. There is no second copy of the rows.
#include "platform/Window.h"

#include <commctrl.h>

#include <functional>
#include <vector>

class ListView : public Control {
public:
    static constexpr int kMaxSub = 5;  // text + four sub-items
    static constexpr COLORREF kDefaultColor = CLR_DEFAULT;

    // Tick boxes before the rows, or none (no room is kept for them either).
    enum class CheckBoxes { Shown, None };
    bool Create(HWND parent, int id, DWORD extraStyle = 0, CheckBoxes boxes = CheckBoxes::Shown);

    void AddColumn(const std::wstring& header, int widthPx);
    int ColumnCount() const;
    int ColumnWidth(int column) const;           // column 1-based, pixels
    void SetColumnWidth(int column, int widthPx); // LVM_SETCOLUMNWIDTH (accepts LVSCW_ values)

    // ---- rows ----
    int Count() const;
    // Appends a row; returns its 1-based index. Icons are 1-based image numbers (0 none).
    int Add(const std::wstring& text, int icon = 0);
    void Remove(int row);
    void Clear();

    // A row made whole before it goes into the list: text (0) and sub-items 1 to
    // 4 with their report icons (-1: left as the control makes it; 0: none;
    // otherwise a 1-based image number; icon[0] is the row's icon) and tags,
    // and the bold cells.
    struct NewRow {
        std::wstring text[kMaxSub];
        int icon[kMaxSub] = {-1, -1, -1, -1, -1};
        std::wstring tag[kMaxSub];
        bool bold[kMaxSub] = {};
        COLORREF fore = kDefaultColor;  // the row's text colour
    };
    // Inserts one made row before `row` (past the end: appends), whatever the
    // sort; returns its 1-based index (0 when the control refused it).
    int Insert(int row, NewRow r);
    // Appends the rows, each with one message per cell. A sorted list that is
    // empty takes them in its sort order at once (rows that compare equal keep
    // the order given) and is not sorted again; a sorted list that holds rows
    // places them as Add does and sorts once at the end. Turn redrawing off
    // around a large fill (SetRedraw).
    void AddRows(std::vector<NewRow> rows);
    // WM_SETREDRAW; turning it back on invalidates the whole list.
    void SetRedraw(bool on);
    // Everything a row holds (texts, icons as NewRow numbers them, tags, bold
    // cells) with one message per column; false for no such row.
    bool ReadWhole(int row, NewRow& out) const;

    std::wstring Text(int row) const { return SubText(row, 0); }
    void SetText(int row, const std::wstring& s) { SetSubText(row, 0, s); }
    std::wstring SubText(int row, int sub) const;
    void SetSubText(int row, int sub, const std::wstring& s);
    // 1-based image number of a cell (0 none).
    int SubIcon(int row, int sub) const;
    void SetSubIcon(int row, int sub, int image);
    std::wstring SubTag(int row, int sub) const;
    void SetSubTag(int row, int sub, const std::wstring& s);
    bool SubBold(int row, int sub) const;
    void SetSubBold(int row, int sub, bool on);
    COLORREF ForeColor(int row) const;
    void SetForeColor(int row, COLORREF c);
    // While on, SetForeColor and SetSubBold only note the rows to draw again; DrawNoted
    // invalidates those rows (one span, never the whole list), and so does
    // turning it off. For runs that recolour many rows one by one.
    void NoteRecolouredRows(bool on);
    void DrawNoted();

    // The cut mark (LVIS_CUT): the row is drawn dimmed (icon and grey text), as
    // a row cut to the clipboard is. The control holds it until the row goes.
    bool Ghosted(int row) const;
    bool SetGhosted(int row, bool on);

    bool Checked(int row) const;
    void SetChecked(int row, bool on);
    bool Selected(int row) const;
    // The first selected row (0 none), asked of the control in one message.
    int FirstSelected() const;
    void SetSelected(int row, bool on);
    int SelectedCount() const;
    // The selected rows, first to last, asked one message per selected row
    // (not one per row): for long lists.
    std::vector<int> SelectedRows() const;
    // Unselects every row in one message.
    void ClearSelection();
    // The focused row (0 none); VB's SelectedItem.
    int SelectedItem() const;
    // No row holds the focus mark any more (the selection stays). Removing
    // many rows is far quicker without one: the control moves the mark on
    // with every row removed before it.
    void ClearFocusedRow();
    void SetSelectedItem(int row);  // focuses and selects it
    void EnsureVisible(int row);
    // The row at a point of the client area (0 none).
    int HitTest(POINT clientPt) const;
    // A row's identity: it stays with the row through sorts and the insertion
    // or removal of other rows, and is never given to another row. 0: none.
    using RowId = unsigned long long;
    RowId IdOf(int row) const;
    // The row that has the identity (0 when it is gone); `hint` is looked at first.
    int RowOf(RowId id, int hint = 0) const;

    // Sorts the rows by the text of a column (1-based), ascending or descending,
    // and keeps them so: a row added while sorted by the first column goes to
    // its place at once; after filling other columns call Resort().
    void Sort(int column, bool ascending);
    int SortColumn() const { return sortColumn_; }  // 0 while unsorted
    bool SortAscending() const { return sortAscending_; }
    void Resort();
    void Unsort() { sortColumn_ = 0; }  // rows stay where they are; new rows go last
    // The order in which texts are shown when sorted ascending or descending:
    // positions into `texts`, a stable sort (equal texts keep their order) with
    // the list's comparison.
    static std::vector<size_t> SortedOrder(const std::vector<const std::wstring*>& texts, bool ascending);

    // View: LV_VIEW_ICON, LV_VIEW_DETAILS, LV_VIEW_SMALLICON, LV_VIEW_LIST.
    // Switched to icons or small icons, the rows are arranged in the list's
    // grid: rows added in another view would otherwise lie on each other.
    void SetView(DWORD view);
    DWORD View() const;
    void SetExtendedStyle(DWORD mask, DWORD style);
    DWORD ExtendedStyle() const;
    void SetImageLists(HIMAGELIST large, HIMAGELIST small);

    // In-place editing of a row's text (the first column), only ever started
    // from code: a click on a label opens no edit box. Returns at once; false
    // when no box opened. The edit ends in AfterLabelEdit (Enter, or the box
    // losing the focus) with the typed text, blanks removed at both ends: the
    // row takes the text as the handler leaves it unless the handler refuses it
    // (the row keeps its old text); an edit that ends with the text unchanged
    // reports that text too. Esc raises LabelEditCancelled instead.
    bool StartLabelEdit(int row);
    bool Editing() const;
    // Ends an open edit as Esc does.
    void CancelLabelEdit();

    // Events, set by the owning window.
    struct LabelEditEnd {
        int row = 0;
        std::wstring text;    // typed, trimmed
        bool cancel = false;  // set to refuse: the row keeps its old text
    };
    std::function<void(LabelEditEnd& e)> AfterLabelEdit;
    std::function<void(int row)> LabelEditCancelled;
    std::function<void(int row)> ItemCheck;
    std::function<void(int column)> ColumnClick;
    std::function<void(int row)> ItemClick;

    bool OnNotify(NMHDR* nm, LRESULT& result) override;

private:
    struct RowData {
        RowId id = ++lastId_;
        size_t rank = 0;  // its place while the rows are put in order
        std::wstring tag[kMaxSub];
        COLORREF fore = kDefaultColor;
        bool bold[kMaxSub] = {};
    };
    static inline RowId lastId_ = 0;
    RowData* Data(int row) const;
    static int CALLBACK CompareRanks(LPARAM a, LPARAM b, LPARAM);
    LRESULT CustomDraw(NMLVCUSTOMDRAW* cd);
    HFONT BoldFont();
    HFONT boldFont_ = nullptr;
    bool suppressCheckEvent_ = false;
    bool clearing_ = false;  // Clear frees the row data itself
    bool noting_ = false;
    int notedFirst_ = 0, notedLast_ = 0;  // rows recoloured and not yet invalidated (0: none)
    int InsertRow(int index, NewRow& row);
    bool editFromCode_ = false;
    bool escaped_ = false;  // Esc pressed in the open edit box
    static LRESULT CALLBACK EditBoxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
    static LRESULT CALLBACK OwnPicturesProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
    bool endingEdit_ = false;
    void SetEditStyle(bool on);
    void OnEndLabelEdit(NMLVDISPINFOW* di);
    int sortColumn_ = 0;
    bool sortAscending_ = true;
    int SortedPlace(const std::wstring& text) const;  // 0-based insertion index

public:
    ~ListView() override;
};
