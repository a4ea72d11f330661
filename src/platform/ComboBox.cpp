#include "platform/ComboBox.h"

#include "platform/Subclass.h"

namespace {
constexpr int kGap = 2;  // pixels around an image
int ImageWidth(HIMAGELIST list) {
    int cx = 0, cy = 0;
    return list && ImageList_GetIconSize(list, &cx, &cy) ? cx : 0;
}
int ImageHeight(HIMAGELIST list) {
    int cx = 0, cy = 0;
    return list && ImageList_GetIconSize(list, &cx, &cy) ? cy : 0;
}
}  // namespace

bool ComboBox::Create(HWND parent, int id, bool editable, HIMAGELIST images) {
    DWORD style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | (editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST);
    if (images) style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    images_ = images;
    ownHeight_ = true;
    if (!CreateChild(parent, L"COMBOBOX", style, 0, id)) return false;
    // No cut of typed or pasted text at the system's 30,000 characters: what
    // the text is saved into decides how much it may hold, and says so.
    if (editable) SendMessageW(hwnd_, CB_LIMITTEXT, 0, 0);
    if (images_) {
        // Rows as high as an image or a line of text, whichever is higher.
        const int rowHeight = ImageHeight(images_) + kGap;
        for (WPARAM part : {static_cast<WPARAM>(-1), static_cast<WPARAM>(0)})
            if (SendMessageW(hwnd_, CB_GETITEMHEIGHT, part, 0) < rowHeight)
                SendMessageW(hwnd_, CB_SETITEMHEIGHT, part, rowHeight);
        if (HWND edit = Edit()) {
            Subclass::Set(edit, EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
            IndentEdit();
        }
    }
    return true;
}

HWND ComboBox::Edit() const {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return hwnd_ && GetComboBoxInfo(hwnd_, &info) && info.hwndItem != hwnd_ ? info.hwndItem : nullptr;
}

// The edit part leaves room at its left for the selected item's image.
void ComboBox::IndentEdit() const {
    if (HWND edit = Edit())
        SendMessageW(edit, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(ImageWidth(images_) + 2 * kGap, 0));
}

LRESULT CALLBACK ComboBox::EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<ComboBox*>(ref);
    switch (msg) {
    case WM_SETFONT: {
        // A new font resets the margins.
        LRESULT r = Subclass::Def(h, msg, wp, lp);
        self->IndentEdit();
        return r;
    }
    case WM_PAINT: {
        LRESULT r = Subclass::Def(h, msg, wp, lp);
        if (int image = self->ShownImage()) {
            RECT rc;
            GetClientRect(h, &rc);
            HDC dc = GetDC(h);
            ImageList_Draw(self->images_, image - 1, dc, kGap, (rc.bottom - ImageHeight(self->images_)) / 2,
                           ILD_TRANSPARENT);
            ReleaseDC(h, dc);
        }
        return r;
    }
    case WM_NCDESTROY:
        Subclass::Remove(h, EditProc, 1);
        break;
    default:
        break;
    }
    return Subclass::Def(h, msg, wp, lp);
}

bool ComboBox::OnDrawItem(const DRAWITEMSTRUCT& d) {
    if (!images_ || d.CtlType != ODT_COMBOBOX) return false;
    HDC dc = d.hDC;
    RECT r = d.rcItem;
    const bool chosen = (d.itemState & ODS_SELECTED) != 0;
    const bool dimmed = (d.itemState & ODS_DISABLED) != 0;
    FillRect(dc, &r, GetSysColorBrush(chosen && !dimmed ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (d.itemID != static_cast<UINT>(-1)) {
        const int item = static_cast<int>(d.itemID) + 1;
        if (int image = ItemImage(item))
            ImageList_Draw(images_, image - 1, dc, r.left + kGap, r.top + (r.bottom - r.top - ImageHeight(images_)) / 2,
                           ILD_TRANSPARENT);
        std::wstring text = ItemText(item);
        RECT tr = r;
        tr.left += ImageWidth(images_) + 2 * kGap;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(dimmed ? COLOR_GRAYTEXT : chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        SelectObject(dc, old);
    }
    if ((d.itemState & ODS_FOCUS) && !(d.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &r);
    return true;
}

int ComboBox::AddItem(const std::wstring& text, int image) {
    LRESULT i = SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (i < 0) return 0;
    SendMessageW(hwnd_, CB_SETITEMDATA, static_cast<WPARAM>(i), image);
    return static_cast<int>(i) + 1;
}
int ComboBox::Count() const { return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0)) : 0; }
std::wstring ComboBox::ItemText(int item) const {
    if (item < 1 || item > Count()) return {};
    LRESULT n = SendMessageW(hwnd_, CB_GETLBTEXTLEN, item - 1, 0);
    if (n < 0) return {};
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(hwnd_, CB_GETLBTEXT, item - 1, reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(n));
    return s;
}
int ComboBox::ItemImage(int item) const {
    if (!images_ || item < 1 || item > Count()) return 0;
    LRESULT n = SendMessageW(hwnd_, CB_GETITEMDATA, item - 1, 0);
    return n > 0 && n != CB_ERR ? static_cast<int>(n) : 0;
}
int ComboBox::ShownImage() const { return ItemImage(ListIndex() + 1); }
int ComboBox::ListIndex() const { return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)) : -1; }
void ComboBox::SetListIndex(int index) {
    if (!hwnd_) return;
    SendMessageW(hwnd_, CB_SETCURSEL, index, 0);
    // The edit part shows or drops the image also when its text stays the same.
    if (HWND edit = Edit()) InvalidateRect(edit, nullptr, TRUE);
}
void ComboBox::SetText(const std::wstring& s) {
    if (!hwnd_) return;
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextW(hwnd_, s.c_str());
    if (HWND edit = Edit()) InvalidateRect(edit, nullptr, TRUE);
}
