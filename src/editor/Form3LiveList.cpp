// The live-value list's mouse, popup, double click and in-place rename.
#include "platform/Subclass.h"
#include "editor/Form3.h"

#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <commctrl.h>
#include <windowsx.h>

namespace {

LRESULT CALLBACK LiveListMouseProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* form = reinterpret_cast<Form3*>(ref);
    // Every message to the list passes here: the key states (a round trip to
    // the system each) are asked only by the mouse messages below.
    const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_MBUTTONDOWN:
        form->ListView2_MouseDown(msg == WM_LBUTTONDOWN ? 1 : 4, App::ShiftState(), x, y);
        break;
    case WM_RBUTTONDOWN: {
        // The list follows the button itself until it is released (selecting
        // the row under it); the release is the popup.
        const int shift = App::ShiftState();
        form->ListView2_MouseDown(2, shift, x, y);
        LRESULT r = Subclass::Def(h, msg, wp, lp);
        POINT pt;
        GetCursorPos(&pt);
        ScreenToClient(h, &pt);
        form->ListView2_MouseUp(2, shift, pt.x, pt.y);
        return r;
    }
    case WM_LBUTTONDBLCLK: {
        form->ListView2_MouseDown(1, App::ShiftState(), x, y);
        LRESULT r = Subclass::Def(h, msg, wp, lp);
        form->ListView2_DblClick();
        return r;
    }
    case WM_NCDESTROY:
        Subclass::Remove(h, LiveListMouseProc, 2);
        break;
    default:
        break;
    }
    return Subclass::Def(h, msg, wp, lp);
}

bool IsDefaultRow(const LiveValue& v) { return v.unsetDefault || v.name.empty(); }

}  // namespace

void Form3::SetUpLiveList() {
    Subclass::Set(ListView2.hwnd(), LiveListMouseProc, 2, reinterpret_cast<DWORD_PTR>(this));
    ListView2.AfterLabelEdit = [this](ListView::LabelEditEnd& e) { ListView2_AfterLabelEdit(e); };
}

bool Form3::LiveKindEditable(const LiveValue& v) {
    if (v.unsetDefault) return true;
    switch (v.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_BINARY:
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: return true;
    default: return false;
    }
}

void Form3::ListView2_MouseDown(int, int, int x, int y) { LiveMouseDown = POINT{x, y}; }

void Form3::ListView2_MouseUp(int button, int, int x, int y) {
    if (button != 2) return;
    if (ListView2.Tag == L"no") return;
    ::Form2& main = Forms::Form2();
    PopupMenu& menu = main.regform3;
    const int row = ListView2.HitTest(POINT{x, y});
    if (row == 0) {
        menu.SetVisible(L"regxj", true);
        for (const wchar_t* key : {L"regxg", L"reg1", L"regsc", L"regcmm"}) menu.SetVisible(key, false);
    } else {
        menu.SetVisible(L"regxj", false);
        for (const wchar_t* key : {L"regxg", L"reg1", L"regsc", L"regcmm"}) menu.SetVisible(key, true);
        menu.SetEnabled(L"regsc", true);
        if (Form2::GetSelCount(ListView2.hwnd()) >= 2) {
            menu.SetEnabled(L"regxg", false);
            menu.SetEnabled(L"regcmm", false);
        } else {
            const LiveValue* v = LiveValueAt(ListView2.SelectedItem());
            menu.SetEnabled(L"regxg", !v || LiveKindEditable(*v));
            menu.SetEnabled(L"regcmm", !v || !IsDefaultRow(*v));
        }
    }
    POINT screen{x, y};
    ClientToScreen(ListView2.hwnd(), &screen);
    menu.Popup(hwnd_, screen);
}

bool Form3::ListView2_DblClick() {
    const int row = ListView2.HitTest(LiveMouseDown);
    if (row == 0) return false;
    const LiveValue* v = LiveValueAt(row);
    if (v && !LiveKindEditable(*v)) return false;
    Forms::Form2().Regxgok();
    return true;
}

void Form3::ListView2_AfterLabelEdit(ListView::LabelEditEnd& e) {
    // A box emptied before the edit ended brings no text at all, which reads
    // as the row's own name: the box itself tells that nothing was typed.
    if (HWND box = reinterpret_cast<HWND>(SendMessageW(ListView2.hwnd(), LVM_GETEDITCONTROL, 0, 0))) {
        std::wstring typed(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
        typed.resize(static_cast<size_t>(GetWindowTextW(box, typed.data(), static_cast<int>(typed.size()))));
        if (Text::TrimSpaces(typed).empty()) {
            e.cancel = true;
            return;
        }
    }
    const std::wstring newName = Text::TrimSpaces(e.text);
    const LiveValue* old = LiveValueAt(e.row);
    if (newName.empty() || !old || IsDefaultRow(*old)) {
        e.cancel = true;
        return;
    }
    ::Form2& main = Forms::Form2();
    HKEY root = nullptr;
    std::wstring subKey;
    if (!main.LiveTargetKey(root, subKey)) {
        e.cancel = true;
        return;
    }
    // A name the list shows, or the key holds, in any case, is taken.
    const std::wstring upper = Text::UpperCase(newName);
    bool taken = false;
    for (int r = 1; r <= ListView2.Count() && !taken; ++r) taken = Text::UpperCase(ListView2.Text(r)) == upper;
    LiveValue existing;
    if (!taken) taken = LiveValues::ReadOne(root, subKey, newName, existing) == ERROR_SUCCESS;
    if (taken) {
        App::MsgBox(L"指定的名称已存在，请键入别的名称。", MB_OK | MB_ICONERROR);
        e.cancel = true;
        return;
    }

    main.WriteMode = WriteModes::Reg;
    // The value as stored now, copied whole; the old name goes only once the
    // copy is there, and the copy goes again when the old name cannot be deleted.
    LiveValue value;
    bool done = LiveValues::ReadOne(root, subKey, old->name, value) == ERROR_SUCCESS;
    if (done) {
        value.name = newName;
        done = LiveValues::Write(root, subKey, value) == ERROR_SUCCESS;
        if (done && LiveValues::Remove(root, subKey, old->name) != ERROR_SUCCESS) {
            LiveValues::Remove(root, subKey, newName);
            done = false;
        }
    }
    if (!done) main.ReportWrite(false);
    main.WriteMode = WriteModes::None;
    if (!done) {
        e.cancel = true;
        return;
    }
    // The row keeps its kind, icon, data and colour; it now stands for the new name.
    liveRows_[static_cast<size_t>(e.row) - 1] = std::move(value);
    e.text = newName;
}
