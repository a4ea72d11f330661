#include "platform/Subclass.h"
#include "platform/ListView.h"

#include <algorithm>

namespace {
std::wstring ItemText(HWND h, int index, int sub) {
    std::wstring buf(256, L'\0');
    for (;;) {
        LVITEMW it{};
        it.iSubItem = sub;
        it.pszText = buf.data();
        it.cchTextMax = static_cast<int>(buf.size());
        int n = static_cast<int>(SendMessageW(h, LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&it)));
        if (n < static_cast<int>(buf.size()) - 1) {
            buf.resize(static_cast<size_t>(n));
            return buf;
        }
        buf.assign(buf.size() * 2, L'\0');
    }
}

std::wstring Trimmed(const std::wstring& s) {
    size_t b = s.find_first_not_of(L" \t");
    if (b == std::wstring::npos) return {};
    size_t e = s.find_last_not_of(L" \t");
    return s.substr(b, e - b + 1);
}

int CompareTexts(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) - CSTR_EQUAL;
}

}  // namespace

std::vector<size_t> ListView::SortedOrder(const std::vector<const std::wstring*>& texts, bool ascending) {
    std::vector<size_t> order(texts.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    // Already in order (a list filled in its order, a column clicked twice
    // the same way): nothing to move.
    bool inOrder = true;
    for (size_t i = 1; i < texts.size() && inOrder; ++i) {
        const int r = CompareTexts(*texts[i - 1], *texts[i]);
        inOrder = ascending ? r <= 0 : r >= 0;
    }
    if (inOrder) return order;
    std::stable_sort(order.begin(), order.end(), [&texts, ascending](size_t a, size_t b) {
        const int r = CompareTexts(*texts[a], *texts[b]);
        return ascending ? r < 0 : r > 0;
    });
    return order;
}

// LVM_SORTITEMS hands the comparison the rows' own data (their lParam), which
// stays with its row while the control moves the rows; each row carries its
// place in the order worked out beforehand.
int CALLBACK ListView::CompareRanks(LPARAM a, LPARAM b, LPARAM) {
    const size_t ra = reinterpret_cast<const RowData*>(a)->rank;
    const size_t rb = reinterpret_cast<const RowData*>(b)->rank;
    return ra < rb ? -1 : ra > rb ? 1 : 0;
}

ListView::~ListView() {
    if (hwnd_) Clear();
    if (boldFont_) DeleteObject(boldFont_);
}

bool ListView::Create(HWND parent, int id, DWORD extraStyle, CheckBoxes boxes) {
    sortColumn_ = 0;  // a list made again starts unsorted
    sortAscending_ = true;
    // The image lists it is given belong to their owners (a window's image
    // list outlives the list that shows it, and one list may serve two):
    // the list does not destroy them.
    if (!CreateChild(parent, WC_LISTVIEWW,
                     WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | extraStyle,
                     WS_EX_CLIENTEDGE, id))
        return false;
    // The tick boxes' pictures are the list's own: they go with it.
    Subclass::Set(hwnd_, OwnPicturesProc, 2, 0);
    const DWORD ticks = boxes == CheckBoxes::Shown ? LVS_EX_CHECKBOXES : 0;
    SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT,
                     ticks | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT);
    return true;
}

void ListView::AddColumn(const std::wstring& header, int widthPx) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<wchar_t*>(header.c_str());
    col.cx = widthPx;
    SendMessageW(hwnd_, LVM_INSERTCOLUMNW, ColumnCount(), reinterpret_cast<LPARAM>(&col));
}

int ListView::ColumnCount() const {
    HWND header = reinterpret_cast<HWND>(SendMessageW(hwnd_, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int ListView::ColumnWidth(int column) const {
    return static_cast<int>(SendMessageW(hwnd_, LVM_GETCOLUMNWIDTH, column - 1, 0));
}

void ListView::SetColumnWidth(int column, int widthPx) {
    SendMessageW(hwnd_, LVM_SETCOLUMNWIDTH, column - 1, MAKELPARAM(widthPx, 0));
}

int ListView::Count() const { return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, LVM_GETITEMCOUNT, 0, 0)) : 0; }

int ListView::Add(const std::wstring& text, int icon) {
    LVITEMW it{};
    it.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    it.iItem = sortColumn_ == 1 ? SortedPlace(text) : Count();
    it.pszText = const_cast<wchar_t*>(text.c_str());
    it.iImage = icon > 0 ? icon - 1 : I_IMAGENONE;
    auto* data = new RowData;
    it.lParam = reinterpret_cast<LPARAM>(data);
    int index = static_cast<int>(SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
    if (index < 0) {
        delete data;
        return 0;
    }
    return index + 1;
}

void ListView::Remove(int row) {
    if (row < 1 || row > Count()) return;
    delete Data(row);
    LVITEMW it{};
    it.mask = LVIF_PARAM;
    it.iItem = row - 1;
    it.lParam = 0;
    SendMessageW(hwnd_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
    SendMessageW(hwnd_, LVM_DELETEITEM, row - 1, 0);
}

void ListView::Clear() {
    if (!hwnd_) return;
    // The row data is taken first and freed once the rows are gone, so that no
    // notification of the removal sees a freed pointer.
    const int n = Count();
    std::vector<RowData*> data;
    data.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        LVITEMW it{};
        it.mask = LVIF_PARAM;
        it.iItem = i;
        if (SendMessageW(hwnd_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it)))
            data.push_back(reinterpret_cast<RowData*>(it.lParam));
    }
    clearing_ = true;
    SendMessageW(hwnd_, LVM_DELETEALLITEMS, 0, 0);
    clearing_ = false;
    for (RowData* d : data) delete d;
}

int ListView::InsertRow(int index, NewRow& row) {
    auto* data = new RowData;
    for (int sub = 0; sub < kMaxSub; ++sub) {
        data->tag[sub] = std::move(row.tag[sub]);
        data->bold[sub] = row.bold[sub];
    }
    data->fore = row.fore;
    LVITEMW it{};
    it.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    it.iItem = index;
    it.pszText = row.text[0].data();
    it.iImage = row.icon[0] > 0 ? row.icon[0] - 1 : I_IMAGENONE;
    it.lParam = reinterpret_cast<LPARAM>(data);
    int at = static_cast<int>(SendMessageW(hwnd_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
    if (at < 0) {
        delete data;
        return 0;
    }
    for (int sub = 1; sub < kMaxSub; ++sub) {
        if (row.text[sub].empty() && row.icon[sub] < 0) continue;  // a new row's cells are empty already
        LVITEMW cell{};
        cell.mask = LVIF_TEXT;
        cell.iItem = at;
        cell.iSubItem = sub;
        cell.pszText = row.text[sub].data();
        if (row.icon[sub] < 0) {
            SendMessageW(hwnd_, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&cell));
            continue;
        }
        cell.mask |= LVIF_IMAGE;
        cell.iImage = row.icon[sub] > 0 ? row.icon[sub] - 1 : I_IMAGENONE;
        SendMessageW(hwnd_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&cell));
    }
    return at + 1;
}

void ListView::AddRows(std::vector<NewRow> rows) {
    if (!hwnd_) return;
    const int column = sortColumn_;
    if (column >= 1 && column <= kMaxSub && Count() == 0) {
        // Put in the order they are shown in: no sort runs over the filled list.
        std::vector<const std::wstring*> texts;
        texts.reserve(rows.size());
        for (const NewRow& row : rows) texts.push_back(&row.text[column - 1]);
        int at = 0;
        for (size_t i : SortedOrder(texts, sortAscending_)) InsertRow(at++, rows[i]);
        return;
    }
    for (NewRow& row : rows) InsertRow(column == 1 ? SortedPlace(row.text[0]) : Count(), row);
    if (column > 1) Resort();
}

int ListView::Insert(int row, NewRow r) {
    if (!hwnd_) return 0;
    const int n = Count();
    return InsertRow(row < 1 || row > n ? n : row - 1, r);
}

void ListView::SetRedraw(bool on) {
    SendMessageW(hwnd_, WM_SETREDRAW, on ? TRUE : FALSE, 0);
    if (on) InvalidateRect(hwnd_, nullptr, TRUE);
}

ListView::RowData* ListView::Data(int row) const {
    if (!hwnd_ || row < 1) return nullptr;  // the control refuses a row past the end
    LVITEMW it{};
    it.mask = LVIF_PARAM;
    it.iItem = row - 1;
    if (!SendMessageW(hwnd_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it))) return nullptr;
    return reinterpret_cast<RowData*>(it.lParam);
}

std::wstring ListView::SubText(int row, int sub) const {
    if (!hwnd_ || row < 1 || row > Count()) return {};
    return ItemText(hwnd_, row - 1, sub);
}

void ListView::SetSubText(int row, int sub, const std::wstring& s) {
    if (row < 1 || row > Count()) return;
    LVITEMW it{};
    it.iSubItem = sub;
    it.pszText = const_cast<wchar_t*>(s.c_str());
    SendMessageW(hwnd_, LVM_SETITEMTEXTW, row - 1, reinterpret_cast<LPARAM>(&it));
}

int ListView::SubIcon(int row, int sub) const {
    if (row < 1 || row > Count()) return 0;
    LVITEMW it{};
    it.mask = LVIF_IMAGE;
    it.iItem = row - 1;
    it.iSubItem = sub;
    if (!SendMessageW(hwnd_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it))) return 0;
    return it.iImage >= 0 ? it.iImage + 1 : 0;
}

void ListView::SetSubIcon(int row, int sub, int image) {
    if (row < 1 || row > Count()) return;
    LVITEMW it{};
    it.mask = LVIF_IMAGE;
    it.iItem = row - 1;
    it.iSubItem = sub;
    it.iImage = image > 0 ? image - 1 : I_IMAGENONE;
    SendMessageW(hwnd_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}

std::wstring ListView::SubTag(int row, int sub) const {
    RowData* d = Data(row);
    return d && sub >= 0 && sub < kMaxSub ? d->tag[sub] : std::wstring();
}

void ListView::SetSubTag(int row, int sub, const std::wstring& s) {
    if (RowData* d = Data(row); d && sub >= 0 && sub < kMaxSub) d->tag[sub] = s;
}

bool ListView::SubBold(int row, int sub) const {
    RowData* d = Data(row);
    return d && sub >= 0 && sub < kMaxSub && d->bold[sub];
}

void ListView::SetSubBold(int row, int sub, bool on) {
    if (RowData* d = Data(row); d && sub >= 0 && sub < kMaxSub && d->bold[sub] != on) {
        d->bold[sub] = on;
        if (!noting_) {
            SendMessageW(hwnd_, LVM_REDRAWITEMS, row - 1, row - 1);
            return;
        }
        notedFirst_ = notedFirst_ ? std::min(notedFirst_, row) : row;
        notedLast_ = std::max(notedLast_, row);
    }
}

COLORREF ListView::ForeColor(int row) const {
    RowData* d = Data(row);
    return d ? d->fore : kDefaultColor;
}

void ListView::SetForeColor(int row, COLORREF c) {
    if (RowData* d = Data(row)) {
        d->fore = c;
        if (!noting_) {
            SendMessageW(hwnd_, LVM_REDRAWITEMS, row - 1, row - 1);
            return;
        }
        notedFirst_ = notedFirst_ ? std::min(notedFirst_, row) : row;
        notedLast_ = std::max(notedLast_, row);
    }
}

void ListView::NoteRecolouredRows(bool on) {
    if (!on) DrawNoted();
    noting_ = on;
}

void ListView::DrawNoted() {
    if (notedFirst_ && hwnd_) SendMessageW(hwnd_, LVM_REDRAWITEMS, notedFirst_ - 1, notedLast_ - 1);
    notedFirst_ = notedLast_ = 0;
}

bool ListView::Ghosted(int row) const {
    if (row < 1 || row > Count()) return false;
    return SendMessageW(hwnd_, LVM_GETITEMSTATE, row - 1, LVIS_CUT) & LVIS_CUT;
}

bool ListView::SetGhosted(int row, bool on) {
    if (row < 1 || row > Count()) return false;
    LVITEMW it{};
    it.stateMask = LVIS_CUT;
    it.state = on ? LVIS_CUT : 0;
    return SendMessageW(hwnd_, LVM_SETITEMSTATE, row - 1, reinterpret_cast<LPARAM>(&it)) != 0;
}

bool ListView::Checked(int row) const {
    if (row < 1 || row > Count()) return false;
    UINT st = static_cast<UINT>(SendMessageW(hwnd_, LVM_GETITEMSTATE, row - 1, LVIS_STATEIMAGEMASK));
    return (st >> 12) == 2;
}

void ListView::SetChecked(int row, bool on) {
    if (row < 1 || row > Count()) return;
    LVITEMW it{};
    it.stateMask = LVIS_STATEIMAGEMASK;
    it.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
    suppressCheckEvent_ = true;
    SendMessageW(hwnd_, LVM_SETITEMSTATE, row - 1, reinterpret_cast<LPARAM>(&it));
    suppressCheckEvent_ = false;
}

bool ListView::Selected(int row) const {
    if (row < 1 || row > Count()) return false;
    return SendMessageW(hwnd_, LVM_GETITEMSTATE, row - 1, LVIS_SELECTED) & LVIS_SELECTED;
}

int ListView::FirstSelected() const {
    if (!hwnd_) return 0;
    return static_cast<int>(SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)) + 1;
}

void ListView::SetSelected(int row, bool on) {
    if (row < 1 || row > Count()) return;
    LVITEMW it{};
    it.stateMask = LVIS_SELECTED;
    it.state = on ? LVIS_SELECTED : 0;
    SendMessageW(hwnd_, LVM_SETITEMSTATE, row - 1, reinterpret_cast<LPARAM>(&it));
}

std::vector<int> ListView::SelectedRows() const {
    std::vector<int> rows;
    if (!hwnd_) return rows;
    for (int i = -1;;) {
        i = static_cast<int>(SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(i), LVNI_SELECTED));
        if (i < 0) break;
        rows.push_back(i + 1);
    }
    return rows;
}

void ListView::ClearSelection() {
    if (!hwnd_) return;
    LVITEMW it{};
    it.stateMask = LVIS_SELECTED;
    it.state = 0;
    SendMessageW(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
}

int ListView::SelectedCount() const {
    return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

int ListView::SelectedItem() const {
    if (!hwnd_) return 0;
    int i = static_cast<int>(SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (i < 0) i = static_cast<int>(SendMessageW(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return i + 1;
}

void ListView::ClearFocusedRow() {
    if (!hwnd_) return;
    LVITEMW it{};
    it.stateMask = LVIS_FOCUSED;
    it.state = 0;
    SendMessageW(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&it));
}

void ListView::SetSelectedItem(int row) {
    if (row < 1 || row > Count()) return;
    LVITEMW it{};
    it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    it.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(hwnd_, LVM_SETITEMSTATE, row - 1, reinterpret_cast<LPARAM>(&it));
}

void ListView::EnsureVisible(int row) {
    if (row >= 1 && row <= Count()) SendMessageW(hwnd_, LVM_ENSUREVISIBLE, row - 1, FALSE);
}

int ListView::HitTest(POINT pt) const {
    LVHITTESTINFO hi{};
    hi.pt = pt;
    // Sub-items exist only in report view; in the other views the item's icon
    // and label are what a point can lie on.
    const UINT msg = View() == LV_VIEW_DETAILS ? LVM_SUBITEMHITTEST : LVM_HITTEST;
    int i = static_cast<int>(SendMessageW(hwnd_, msg, 0, reinterpret_cast<LPARAM>(&hi)));
    return i >= 0 ? i + 1 : 0;
}

ListView::RowId ListView::IdOf(int row) const {
    const RowData* d = Data(row);
    return d ? d->id : 0;
}

int ListView::RowOf(RowId id, int hint) const {
    if (id == 0) return 0;
    if (IdOf(hint) == id) return hint;
    for (int r = 1, n = Count(); r <= n; ++r)
        if (IdOf(r) == id) return r;
    return 0;
}

void ListView::Sort(int column, bool ascending) {
    sortColumn_ = column;
    sortAscending_ = ascending;
    Resort();
}

void ListView::Resort() {
    if (sortColumn_ < 1 || !hwnd_) return;
    // The key column's texts are read once, sorted in memory with the same
    // comparison (equal texts keep their present order), and the rows are then
    // put in that order; no text is fetched while the control moves the rows.
    const int n = Count();
    if (n < 2) return;
    std::vector<std::wstring> texts(static_cast<size_t>(n));
    std::vector<RowData*> data(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        texts[static_cast<size_t>(i)] = ItemText(hwnd_, i, sortColumn_ - 1);
        data[static_cast<size_t>(i)] = Data(i + 1);
        if (!data[static_cast<size_t>(i)]) return;  // a row not made here: it cannot be placed
    }
    std::vector<const std::wstring*> keys;
    keys.reserve(texts.size());
    for (const std::wstring& t : texts) keys.push_back(&t);
    const std::vector<size_t> order = SortedOrder(keys, sortAscending_);
    bool moved = false;
    for (size_t place = 0; place < order.size(); ++place) {
        data[order[place]]->rank = place;
        moved = moved || order[place] != place;
    }
    if (moved) SendMessageW(hwnd_, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&CompareRanks));
}

int ListView::SortedPlace(const std::wstring& text) const {
    // After the last row that sorts before or equal to the text: equal rows keep
    // the order in which they came.
    int lo = 0, hi = Count();
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        int r = CompareTexts(ItemText(hwnd_, mid, 0), text);
        if (!sortAscending_) r = -r;
        if (r <= 0) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

void ListView::SetView(DWORD view) {
    SendMessageW(hwnd_, LVM_SETVIEW, view, 0);
    if (view == LV_VIEW_ICON || view == LV_VIEW_SMALLICON) SendMessageW(hwnd_, LVM_ARRANGE, LVA_DEFAULT, 0);
}
DWORD ListView::View() const { return static_cast<DWORD>(SendMessageW(hwnd_, LVM_GETVIEW, 0, 0)); }
void ListView::SetExtendedStyle(DWORD mask, DWORD style) {
    SendMessageW(hwnd_, LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style);
}
DWORD ListView::ExtendedStyle() const {
    return static_cast<DWORD>(SendMessageW(hwnd_, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}
void ListView::SetImageLists(HIMAGELIST large, HIMAGELIST small) {
    if (large) SendMessageW(hwnd_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
    if (small) SendMessageW(hwnd_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
}

void ListView::SetEditStyle(bool on) {
    LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    LONG_PTR want = on ? (style | LVS_EDITLABELS) : (style & ~static_cast<LONG_PTR>(LVS_EDITLABELS));
    if (want != style) SetWindowLongPtrW(hwnd_, GWL_STYLE, want);
}

bool ListView::Editing() const { return hwnd_ && SendMessageW(hwnd_, LVM_GETEDITCONTROL, 0, 0) != 0; }

bool ListView::StartLabelEdit(int row) {
    if (row < 1 || row > Count()) return false;
    if (Editing()) CancelLabelEdit();
    // The control opens an edit box only with the edit style, and only with
    // the focus; the style is there just while this edit is open.
    SetEditStyle(true);
    ::SetFocus(hwnd_);
    editFromCode_ = true;
    escaped_ = false;
    HWND edit = reinterpret_cast<HWND>(SendMessageW(hwnd_, LVM_EDITLABELW, row - 1, 0));
    if (!edit) {
        editFromCode_ = false;
        SetEditStyle(false);
        return false;
    }
    // Some list views report an edit that ends with its text unchanged as
    // cancelled, like Esc: the box tells the two apart.
    Subclass::Set(edit, EditBoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

LRESULT CALLBACK ListView::EditBoxProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    if ((msg == WM_KEYDOWN || msg == WM_CHAR) && wp == VK_ESCAPE) reinterpret_cast<ListView*>(ref)->escaped_ = true;
    if (msg == WM_NCDESTROY) Subclass::Remove(h, EditBoxProc, 1);
    return Subclass::Def(h, msg, wp, lp);
}

LRESULT CALLBACK ListView::OwnPicturesProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg != WM_NCDESTROY) return Subclass::Def(h, msg, wp, lp);
    auto ticks = reinterpret_cast<HIMAGELIST>(SendMessageW(h, LVM_GETIMAGELIST, LVSIL_STATE, 0));
    Subclass::Remove(h, OwnPicturesProc, 2);
    const LRESULT r = Subclass::Def(h, msg, wp, lp);
    if (ticks) ImageList_Destroy(ticks);
    return r;
}

void ListView::CancelLabelEdit() {
    if (!Editing()) return;
    escaped_ = true;
    SendMessageW(hwnd_, LVM_CANCELEDITLABEL, 0, 0);
}

void ListView::OnEndLabelEdit(NMLVDISPINFOW* di) {
    editFromCode_ = false;
    SetEditStyle(false);
    if (endingEdit_) return;  // the same edit ending again while its handler runs
    int row = di->item.iItem + 1;
    if (row < 1 || row > Count()) return;
    endingEdit_ = true;
    if (!di->item.pszText && escaped_) {
        if (LabelEditCancelled) LabelEditCancelled(row);
    } else {
        // No text but no Esc either: the edit ended with the row's own text.
        LabelEditEnd e{row, Trimmed(di->item.pszText ? std::wstring(di->item.pszText) : Text(row)), false};
        if (AfterLabelEdit) AfterLabelEdit(e);
        // The row takes the text here, as the handler left it, not the typed one.
        if (!e.cancel) SetText(e.row, e.text);
    }
    endingEdit_ = false;
}

HFONT ListView::BoldFont() {
    if (!boldFont_) {
        LOGFONTW lf{};
        HFONT cur = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
        GetObjectW(cur ? cur : GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        lf.lfWeight = FW_BOLD;
        boldFont_ = CreateFontIndirectW(&lf);
    }
    return boldFont_;
}

LRESULT ListView::CustomDraw(NMLVCUSTOMDRAW* cd) {
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        auto* d = reinterpret_cast<RowData*>(cd->nmcd.lItemlParam);
        if (!d) return CDRF_DODEFAULT;
        if (d->fore != kDefaultColor) cd->clrText = d->fore;
        else cd->clrText = GetSysColor(COLOR_WINDOWTEXT);
        // A row with the cut mark is dimmed, its text as well as its icon.
        if (SendMessageW(hwnd_, LVM_GETITEMSTATE, cd->nmcd.dwItemSpec, LVIS_CUT) & LVIS_CUT)
            cd->clrText = GetSysColor(COLOR_GRAYTEXT);
        int sub = cd->iSubItem;
        if (sub >= 0 && sub < kMaxSub && d->bold[sub]) {
            SelectObject(cd->nmcd.hdc, BoldFont());
            return CDRF_NEWFONT;
        }
        SelectObject(cd->nmcd.hdc, reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
        return CDRF_NEWFONT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

bool ListView::OnNotify(NMHDR* nm, LRESULT& result) {
    switch (nm->code) {
    case NM_CUSTOMDRAW:
        result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(nm));
        return true;
    case LVN_DELETEALLITEMS:
        // Clear frees the row data itself: no notification per row.
        result = clearing_ ? TRUE : FALSE;
        return true;
    case LVN_DELETEITEM: {
        // Rows removed by the control itself (window destroyed): free their data.
        auto* lv = reinterpret_cast<NMLISTVIEW*>(nm);
        if (!clearing_) delete reinterpret_cast<RowData*>(lv->lParam);
        return true;
    }
    case LVN_ITEMCHANGED: {
        auto* lv = reinterpret_cast<NMLISTVIEW*>(nm);
        if (!suppressCheckEvent_ && (lv->uChanged & LVIF_STATE) &&
            ((lv->uNewState ^ lv->uOldState) & LVIS_STATEIMAGEMASK) && (lv->uOldState & LVIS_STATEIMAGEMASK) &&
            ItemCheck)
            ItemCheck(lv->iItem + 1);
        return false;
    }
    case LVN_BEGINLABELEDITW:
        result = editFromCode_ ? FALSE : TRUE;  // TRUE keeps the edit box from opening
        return true;
    case LVN_ENDLABELEDITW:
        OnEndLabelEdit(reinterpret_cast<NMLVDISPINFOW*>(nm));
        result = FALSE;  // the row's text was set above, or stays
        return true;
    case LVN_COLUMNCLICK:
        if (ColumnClick) ColumnClick(reinterpret_cast<NMLISTVIEW*>(nm)->iSubItem + 1);
        return true;
    case NM_CLICK:
        if (ItemClick) ItemClick(reinterpret_cast<NMITEMACTIVATE*>(nm)->iItem + 1);
        return false;
    default:
        return false;
    }
}

bool ListView::ReadWhole(int row, NewRow& out) const {
    if (!hwnd_ || row < 1) return false;
    const int columns = std::max(1, std::min(ColumnCount(), kMaxSub));
    wchar_t buf[512];
    RowData* d = nullptr;
    for (int sub = 0; sub < kMaxSub; ++sub) {
        out.text[sub].clear();
        out.icon[sub] = 0;
        if (sub >= columns) continue;
        LVITEMW it{};
        it.mask = LVIF_TEXT | LVIF_IMAGE | (sub == 0 ? LVIF_PARAM : 0);
        it.iItem = row - 1;
        it.iSubItem = sub;
        it.pszText = buf;
        it.cchTextMax = static_cast<int>(std::size(buf));
        buf[0] = 0;
        if (!SendMessageW(hwnd_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it))) return false;
        if (sub == 0) d = reinterpret_cast<RowData*>(it.lParam);
        // The control may answer with its own buffer; a text that fills ours is read again whole.
        const wchar_t* text = it.pszText ? it.pszText : L"";
        const size_t n = wcslen(text);
        out.text[sub] = n + 1 >= std::size(buf) ? ItemText(hwnd_, row - 1, sub) : std::wstring(text, n);
        out.icon[sub] = it.iImage >= 0 ? it.iImage + 1 : 0;
    }
    for (int sub = 0; sub < kMaxSub; ++sub) {
        out.tag[sub] = d ? d->tag[sub] : std::wstring();
        out.bold[sub] = d && d->bold[sub];
    }
    return true;
}
