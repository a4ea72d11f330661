// The value editor page of the multi-page dialog: creates a value under the
// selected tip's key, or changes the data of a value listed on the properties
// window's 查看 tab, then brings that list up to date without reading the
// registry again.
//
// The caption tells the mode (edit when it starts with 编辑) and the kind. An
// edited value keeps its own name and type and is edited whole: all of its
// bytes, an expandable string as stored (its references unexpanded), a
// default value in the kind of its type, and a type the page has no kind for
// as its bytes.
#include "dialogs/Form4.h"
#include "editor/Form3.h"
#include "engine/ValueText.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/SelectAllText.h"
#include "platform/Text.h"
#include "platform/Twips.h"

namespace {
const wchar_t kHint[] = L"键值(&V):";
const wchar_t kBinaryHint[] = L"键值(&V):[00 01 02 ab bc]";
const wchar_t kDwordHint[] = L"键值(&V):[十六进制值]";
const wchar_t kBadData[] = L"输入的数据格式不符合要求";
const wchar_t kNameEmpty[] = L"键名不能为空";
const wchar_t kNameTaken[] = L"指定的名称已存在，请键入别的名称。";
const wchar_t kNoTip[] = L"没有选定技巧，不知道要写入哪个键位。";

const wchar_t kNewString[] = L"新建字符串";
const wchar_t kEditString[] = L"编辑字符串";
const wchar_t kNewExpand[] = L"新建可扩充字符串";
const wchar_t kEditExpand[] = L"编辑可扩充字符串";
const wchar_t kNewBinary[] = L"新建二进制值";
const wchar_t kEditBinary[] = L"编辑二进制值";
const wchar_t kNewDword[] = L"新建 DWORD 值";
const wchar_t kEditDword[] = L"编辑 DWORD 值";


int X(long long twips) { return Twips::ToPixelsX(twips); }
int Y(long long twips) { return Twips::ToPixelsY(twips); }

enum class Kind { String, ExpandString, Binary, Dword };

Kind KindOfCaption(const std::wstring& caption) {
    if (caption == kNewExpand || caption == kEditExpand) return Kind::ExpandString;
    if (caption == kNewBinary || caption == kEditBinary) return Kind::Binary;
    if (caption == kNewDword || caption == kEditDword) return Kind::Dword;
    return Kind::String;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// A DWORD's four bytes, least significant first, or most significant first
// for a big-endian DWORD.
std::vector<BYTE> DwordBytes(uint32_t v, DWORD type) {
    std::vector<BYTE> b{BYTE(v), BYTE(v >> 8), BYTE(v >> 16), BYTE(v >> 24)};
    if (type == REG_DWORD_BIG_ENDIAN) std::swap(b[0], b[3]), std::swap(b[1], b[2]);
    return b;
}

uint32_t DwordOfBytes(const std::vector<BYTE>& b, DWORD type) {
    uint32_t v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    if (type == REG_DWORD_BIG_ENDIAN) v = (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
    return v;
}
}  // namespace

void Form4::LoadValueEditorPage(bool editMode) {
    // The page's controls, in their tab order: the labels' access keys (Alt+N,
    // Alt+V) lead to the box after each.
    Picture5.CreateOwnerDrawn(hwnd_, IdPicture5, L"", false);
    Label31.Create(hwnd_, IdLabel31, L"键值名(&N):");
    Text12.Create(hwnd_, IdText12);
    Label32.Create(hwnd_, IdLabel32, kHint);
    Text13.Create(hwnd_, IdText13);
    // A value is edited whole: typing stays possible in a box holding more
    // than the system's default limit of characters.
    SendMessageW(Text13.hwnd(), EM_SETLIMITTEXT, 0, 0);
    Command13.Create(hwnd_, IdCommand13, L"确定");
    Command14.Create(hwnd_, IdCommand14, L"取消");
    Command13.Click = [this] { Command13_Click(); };
    Command14.Click = [this] { Command14_Click(); };
    Text12.GotFocus = [this] { Text12_GotFocus(); };
    Text13.GotFocus = [this] { Text13_GotFocus(); };
    for (Control* c : std::initializer_list<Control*>{&Picture5, &Label31, &Text12, &Label32, &Text13, &Command13,
                                                      &Command14})
        AddToPage(*c, ValueEditorPage);

    // 1. Only this page shows, its container at the window's top left.
    ShowPage(ValueEditorPage);
    Picture5.Move(0, 0, X(6090), Y(2265));
    Label31.Move(X(165), Y(165), X(5400), Y(240));
    Text12.Move(X(150), Y(420), X(5535), Y(300));
    Label32.Move(X(165), Y(870), X(5400), Y(240));
    Text13.Move(X(150), Y(1125), X(5535), Y(300));
    Command13.Move(X(3300), Y(1590), X(1125), Y(300));
    Command14.Move(X(4560), Y(1590), X(1125), Y(300));

    // 2. Size.
    SetWidth(5895);
    SetHeight(2385);

    // 3. The name box: editable for a new value; locked, on the button face and
    // out of the tab order for an existing one.
    Text12.SetLocked(editMode);
    LONG style = GetWindowLongW(Text12.hwnd(), GWL_STYLE);
    SetWindowLongW(Text12.hwnd(), GWL_STYLE, editMode ? style & ~WS_TABSTOP : style | WS_TABSTOP);

    // 4. Enter and Esc.
    SetDefaultButton(&Command13);
    SetCancelButton(&Command14);
}

void Form4::OpenValueEditorNew(NewValueKind kind) {
    if (!Load()) return;
    valueRow_ = 0;
    valueOpened_ = LiveValue{};
    valueShown_.clear();
    LoadValueEditorPage(false);
    switch (kind) {
    case NewValueKind::String: SetCaption(kNewString); break;
    case NewValueKind::ExpandString: SetCaption(kNewExpand); break;
    case NewValueKind::Binary:
        SetCaption(kNewBinary);
        Label32.SetCaption(kBinaryHint);
        break;
    case NewValueKind::Dword:
        SetCaption(kNewDword);
        Label32.SetCaption(kDwordHint);
        break;
    }
    Text12.SetFocus();
    ShowModal();
}

void Form4::OpenValueEditorEdit(int row) {
    const LiveValue* live = Forms::Form3().LiveValueAt(row);
    if (!live) {
        Unload();  // loaded by the caller's touch: nothing to show
        return;
    }
    const LiveValue value = *live;
    if (!Load()) return;
    valueRow_ = row;
    valueOpened_ = value;
    LoadValueEditorPage(true);
    Text12.SetText(LiveValues::NameText(value));

    std::wstring caption = kEditBinary, hint = kBinaryHint, data;
    if (value.unsetDefault) {
        caption = kEditString;
        hint = kHint;
    } else if (value.type == REG_SZ || value.type == REG_EXPAND_SZ) {
        caption = value.type == REG_SZ ? kEditString : kEditExpand;
        hint = kHint;
        data = ValueText::StringOfBytes(value.data);
    } else if ((value.type == REG_DWORD || value.type == REG_DWORD_BIG_ENDIAN) && value.data.size() == 4) {
        caption = kEditDword;
        hint = kDwordHint;
        data = ValueText::DwordText(DwordOfBytes(value.data, value.type));
    } else {
        // Binary, and every type without a kind of its own: its bytes, all of them.
        data = ValueText::BinaryText(value.data);
    }
    SetCaption(caption);
    Label32.SetCaption(hint);
    Text13.SetText(data);
    valueShown_ = data;
    Text13.SetFocus();
    ShowModal();
}

void Form4::Command13_Click() {
    const std::wstring caption = Caption();
    const bool edit = caption.starts_with(L"编辑");
    const Kind kind = KindOfCaption(caption);
    Form3& props = Forms::Form3();

    // 1. A new value needs a name that no listed row has.
    LiveValue v;
    if (edit) {
        v.name = valueOpened_.name;
    } else {
        v.name = Text::TrimSpaces(Text12.Text());
        if (v.name.empty()) {
            App::MsgBox(kNameEmpty, MB_OK | MB_ICONERROR);
            Text12.SetFocus();
            return;
        }
        for (int r = 1; r <= props.ListView2.Count(); ++r) {
            if (SameName(v.name, props.ListView2.Text(r))) {
                App::MsgBox(kNameTaken, MB_OK | MB_ICONERROR);
                Text12.SetFocus();
                return;
            }
        }
    }

    // 2. The data, by kind. An edited string is written as the box holds it, a
    // new one trimmed; binary and DWORD data are read strictly.
    const std::wstring typed = Text13.Text();
    switch (kind) {
    case Kind::String:
    case Kind::ExpandString: {
        v.type = kind == Kind::String ? REG_SZ : REG_EXPAND_SZ;
        const bool unchanged = edit && !valueOpened_.unsetDefault && typed == valueShown_;
        // Data left as it was keeps its bytes, whatever follows its first null.
        v.data = unchanged ? valueOpened_.data : ValueText::StringBytes(edit ? typed : Text::TrimSpaces(typed));
        break;
    }
    case Kind::Binary: {
        auto bytes = ValueText::ParseBinary(typed);
        if (!bytes) {
            App::MsgBox(kBadData, MB_OK | MB_ICONERROR);
            Text13.SetFocus();
            return;
        }
        v.type = edit ? valueOpened_.type : REG_BINARY;
        v.data.assign(bytes->begin(), bytes->end());
        break;
    }
    case Kind::Dword: {
        auto number = ValueText::ParseDword(typed);
        if (!number) {
            App::MsgBox(kBadData, MB_OK | MB_ICONERROR);
            Text13.SetFocus();
            return;
        }
        v.type = edit ? valueOpened_.type : REG_DWORD;
        v.data = DwordBytes(*number, v.type);
        break;
    }
    }

    // 3. The key of the tip selected in the tip list; with none selected there
    // is no key to write under.
    Form2& main = Forms::Form2();
    const int tip = main.ListView1.SelectedItem();
    if (tip == 0 || !main.ListView1.Selected(tip)) {
        App::MsgBox(kNoTip, MB_OK | MB_ICONERROR);
        return;
    }
    HKEY root = nullptr;
    std::wstring subKey;
    const bool haveKey = main.LiveTargetKey(root, subKey);

    // A new value never replaces one the list does not show.
    LiveValue existing;
    if (!edit && haveKey && LiveValues::ReadOne(root, subKey, v.name, existing) == ERROR_SUCCESS) {
        App::MsgBox(kNameTaken, MB_OK | MB_ICONERROR);
        Text12.SetFocus();
        return;
    }

    // 4. The write, reported as the value editor's; a failure keeps the page
    // open and the list as it was.
    main.WriteMode = WriteModes::Reg;
    const bool written = haveKey && LiveValues::Write(root, subKey, v) == ERROR_SUCCESS;
    main.ReportWrite(written);
    main.WriteMode = WriteModes::None;
    if (!written) {
        Text13.SetFocus();
        return;
    }

    // 5. The live-value list: the edited row shows the new data; a new value
    // is added as the only selected row.
    if (edit) {
        props.SetLiveRow(valueRow_, v);
    } else {
        const int row = props.AddLiveRow(v);
        for (int r = 1; r <= props.ListView2.Count(); ++r) props.ListView2.SetSelected(r, r == row);
        props.ListView2.SetSelectedItem(row);
        props.ListView2.EnsureVisible(row);
    }
    Close();
}

void Form4::Command14_Click() { Close(); }

void Form4::Text12_GotFocus() { General::SelectAllText(Text12); }

void Form4::Text13_GotFocus() { General::SelectAllText(Text13); }
