#include "platform/TextBox.h"

#include "platform/Subclass.h"

#include <algorithm>
#include <cmath>
#include <utility>

// Why a long text goes into a wrapped box in pieces. The system's wrapped edit
// box (Wine's) lays a paragraph out line by line, and measures each line over
// the whole rest of the paragraph before it looks for the break: a paragraph
// of n characters costs time growing with n squared. A description of 30,000
// characters without a line break took over 5 s to show or to paste, frozen,
// and a bare box of the same size took as long. Put in at the end of the text,
// a piece is laid out over itself and the last line before it only. Each piece
// also costs a pass over the whole text so far (the box's search for where
// lines may break), so the pieces grow with the square root of the length:
// about 170 characters for 30,000, a tenth of the time. The box is marked
// hidden while the pieces go in (its style, not ShowWindow, so that it keeps
// the focus and nothing around it is repainted): shown, it scrolls and updates
// its scroll bar for every piece, which costs more than the layout. Text in
// words breaks into the lines one WM_SETTEXT gives; in a long run of Chinese
// the box itself breaks a line one character sooner or later depending on how
// much text follows it, so there a line may differ by a character.
namespace {
size_t PieceSize(size_t length) {
    return std::max<size_t>(128, static_cast<size_t>(std::sqrt(static_cast<double>(length))));
}
constexpr UINT_PTR kWrappedSubclass = 7;
}  // namespace

bool TextBox::Create(HWND parent, int id, Lines lines) {
    // Without ES_AUTOHSCROLL a multi-line edit breaks its lines at its width.
    const DWORD style = WS_VISIBLE | WS_TABSTOP |
                        (lines == Lines::Wrapped ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL);
    if (!CreateChild(parent, L"EDIT", style, WS_EX_CLIENTEDGE, id)) return false;
    // No cut of typed or pasted text at the system's 30,000 characters: what
    // the text is saved into decides how much it may hold, and says so.
    SendMessageW(hwnd_, EM_LIMITTEXT, 0, 0);
    wrapped_ = lines == Lines::Wrapped;
    if (wrapped_) Subclass::Set(hwnd_, WrappedProc, kWrappedSubclass, 0);
    return true;
}

bool TextBox::OnCommand(UINT, UINT code) {
    if (code != EN_SETFOCUS || !GotFocus) return false;
    GotFocus();
    return true;
}

void TextBox::SetText(const std::wstring& s) {
    undo_.active = false;
    if (!wrapped_ || !hwnd_ || s.size() < LongText || !PutInPieces(s, 0, 0)) SetCaptionText(s);
    if (hwnd_) SendMessageW(hwnd_, EM_SETMODIFY, FALSE, 0);
}

bool TextBox::PutInPieces(const std::wstring& s, size_t selStart, size_t selEnd) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    if (style & WS_VISIBLE) SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~WS_VISIBLE);
    SetWindowTextW(hwnd_, L"");
    const size_t pieceSize = PieceSize(s.size());
    std::wstring piece;
    for (size_t at = 0; at < s.size();) {
        size_t n = std::min(pieceSize, s.size() - at);
        // A line break (CR LF) and a surrogate pair stay within one piece.
        const wchar_t last = s[at + n - 1];
        if (at + n < s.size() && (last == L'\r' || IS_HIGH_SURROGATE(last))) ++n;
        piece.assign(s, at, n);
        SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
        at += n;
    }
    if (style & WS_VISIBLE) SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | WS_VISIBLE);
    const bool whole = static_cast<size_t>(GetWindowTextLengthW(hwnd_)) == s.size();
    if (whole) {
        SendMessageW(hwnd_, EM_SETSEL, selStart, selEnd);
        SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
    }
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    return whole;
}

void TextBox::PutEdited(const std::wstring& s, size_t selStart, size_t selEnd) {
    if (!PutInPieces(s, selStart, selEnd)) {
        SetWindowTextW(hwnd_, s.c_str());
        SendMessageW(hwnd_, EM_SETSEL, selStart, selEnd);
        SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
    }
    SendMessageW(hwnd_, EM_SETMODIFY, TRUE, 0);
}

bool TextBox::PasteLong() {
    if (GetWindowLongPtrW(hwnd_, GWL_STYLE) & ES_READONLY) return false;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(hwnd_)) return false;
    std::wstring clip;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            clip = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    DWORD selStart = 0, selEnd = 0;
    SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    const std::wstring before = Text();
    const size_t a = std::min<size_t>(selStart, before.size()), b = std::clamp<size_t>(selEnd, a, before.size());
    if (clip.empty() || before.size() - (b - a) + clip.size() < LongText) return false;
    std::wstring after = before.substr(0, a) + clip + before.substr(b);
    const size_t caret = a + clip.size();
    PutEdited(after, caret, caret);
    // Undo puts the text back with what the paste replaced selected; undo
    // again pastes once more, the pasted text selected (as the box's own undo does).
    undo_ = {std::move(after), before, a, caret, a, b, true};
    return true;
}

bool TextBox::CanUndoLongPaste() const { return undo_.active && Text() == undo_.now; }

bool TextBox::UndoLongPaste() {
    if (!CanUndoLongPaste()) return false;
    std::swap(undo_.now, undo_.other);
    std::swap(undo_.nowStart, undo_.otherStart);
    std::swap(undo_.nowEnd, undo_.otherEnd);
    PutEdited(undo_.now, undo_.nowStart, undo_.nowEnd);
    return true;
}

LRESULT CALLBACK TextBox::WrappedProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    // The box is looked up only for the few messages handled here.
    const auto box = [h] { return dynamic_cast<TextBox*>(Control::FromHwnd(h)); };
    switch (msg) {
    case WM_PASTE:
        if (TextBox* b = box(); b && b->PasteLong()) return 0;
        break;
    case WM_KEYDOWN:
        // Shift+Insert pastes without a WM_PASTE of the box's own: send one.
        if (wp == VK_INSERT && (GetKeyState(VK_SHIFT) & 0x8000) && !(GetKeyState(VK_CONTROL) & 0x8000)) {
            SendMessageW(h, WM_PASTE, 0, 0);
            return 0;
        }
        break;
    case WM_UNDO:
    case EM_UNDO:
        if (TextBox* b = box(); b && b->UndoLongPaste()) return TRUE;
        break;
    case EM_CANUNDO:
        if (TextBox* b = box(); b && b->CanUndoLongPaste()) return TRUE;
        break;
    case WM_NCDESTROY:
        Subclass::Remove(h, WrappedProc, kWrappedSubclass);
        break;
    default:
        break;
    }
    return Subclass::Def(h, msg, wp, lp);
}
