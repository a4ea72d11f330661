#pragma once
// Text box: one line that scrolls sideways, or several lines that wrap at the
// box's width and scroll down (a vertical scroll bar). Which one is fixed when
// the box is made: an edit control cannot change it afterwards.
#include "platform/Window.h"

#include <functional>

class TextBox : public Control {
public:
    enum class Lines { One, Wrapped };
    bool Create(HWND parent, int id, Lines lines = Lines::One);
    std::wstring Text() const { return CaptionText(); }
    // The caret goes before the first character, the box scrolls to the top and
    // there is nothing to undo, as WM_SETTEXT leaves it.
    void SetText(const std::wstring& s);
    // Raised when the box receives the keyboard focus.
    std::function<void()> GotFocus;
    bool OnCommand(UINT id, UINT code) override;

    // A wrapped box given a text of at least this many characters, by the
    // program or by a paste, takes it in pieces (see TextBox.cpp).
    static constexpr size_t LongText = 2048;

private:
    // Puts `s` into the box piece by piece and selects [selStart, selEnd);
    // false when the box did not take it whole.
    bool PutInPieces(const std::wstring& s, size_t selStart, size_t selEnd);
    // The same, or the text at once when the pieces did not go in whole; the text counts as changed by the user.
    void PutEdited(const std::wstring& s, size_t selStart, size_t selEnd);
    // The clipboard's text in place of the selection, when the result is long; false to leave it to the box.
    bool PasteLong();
    // Undo (and undo again) of a long paste; false when the box's own undo applies.
    bool UndoLongPaste();
    bool CanUndoLongPaste() const;
    static LRESULT CALLBACK WrappedProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);

    bool wrapped_ = false;
    // The last long paste: the text it left and the text before it, each with the selection undo gives it.
    struct PasteUndo {
        std::wstring now, other;  // the box's text, and what undo puts there
        size_t nowStart = 0, nowEnd = 0, otherStart = 0, otherEnd = 0;
        bool active = false;
    } undo_;
};
