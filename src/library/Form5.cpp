#include "platform/Subclass.h"
#include "library/Form5.h"

#include "common/Ini.h"
#include "common/TipFile.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"
#include "platform/Twips.h"

#include <commctrl.h>

const wchar_t* const Form5::kFind = L"查找(&F)";
const wchar_t* const Form5::kFindNext = L"查找下一个(&N)";
const wchar_t* const Form5::kNothingFound = L"已经搜索完指定区域，但未发现要搜索的技巧。";

namespace {
enum : int { IdPicture5 = 501, IdLabel27, IdText12, IdCommand13, IdCommand14, IdFrame5, IdOption1, IdOption2, IdListView1 };

int X(long long twips) { return Twips::ToPixelsX(twips); }
int Y(long long twips) { return Twips::ToPixelsY(twips); }

void ShowItem() {
    if (Library::Hooks().ShowItem) Library::Hooks().ShowItem();
}
}  // namespace

Form5::~Form5() { Unload(); }

bool Form5::Load() {
    if (Exists()) return true;
    // The load step: the main window owns the find window (it stays above it
    // and is hidden and minimised with it).
    HWND owner = Forms::Form2().hwnd();
    // The container and the frame draw no background of their own: the window
    // paints its background under its controls (it does not clip them).
    if (!CreateForm(L"Quorix.Form5", L"查找技巧", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    WS_EX_DLGMODALFRAME, owner, 0, 0, X(5715), Y(1530)))
        return false;
    Found = false;
    Picture5.CreateOwnerDrawn(hwnd_, IdPicture5);
    Label27.Create(hwnd_, IdLabel27, L"查找内容:");
    Text12.Create(hwnd_, IdText12);
    Frame5.Create(hwnd_, IdFrame5, L"搜索");
    Option1.Create(hwnd_, IdOption1, L"整个类别(&A)", true);
    Option2.Create(hwnd_, IdOption2, L"当前类别(&Y)", false);
    Command13.Create(hwnd_, IdCommand13, kFind);
    Command14.Create(hwnd_, IdCommand14, L"取消");
    ListView1.Create(hwnd_, IdListView1);
    ListView1.SetVisible(false);
    ListView1.AddColumn(L"", 60);

    Picture5.Move(0, 0, X(5895), Y(1515));
    Label27.Move(X(105), Y(150), X(810), Y(180));
    Text12.Move(X(960), Y(90), X(3015), Y(300));
    Command13.Move(X(4065), Y(90), X(1455), Y(300));
    Command14.Move(X(4065), Y(555), X(1455), Y(300));
    Frame5.Move(X(180), Y(495), X(3720), Y(540));
    Option1.Move(X(180 + 195), Y(495 + 240), X(1305), Y(180));
    Option2.Move(X(180 + 2235), Y(495 + 240), X(1305), Y(180));
    ListView1.Move(X(570), Y(1845), X(420), Y(240));
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (Control* c : std::initializer_list<Control*>{&Label27, &Text12, &Command13, &Command14, &Frame5, &Option1, &Option2})
        SendMessageW(c->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    Option1.SetValue(true);
    Command13.SetEnabled(false);
    SendMessageW(Command13.hwnd(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    Text12.Change = [this] { Text12_Change(); };
    Text12.GotFocus = [this] { Text12_GotFocus(); };
    Command13.Click = [this] { Command13_Click(); };
    Command14.Click = [this] { Command14_Click(); };
    // Enter, Esc and Tab in the window's controls (the program's message loop
    // has no dialog manager for modeless windows).
    for (Control* c : std::initializer_list<Control*>{&Text12, &Option1, &Option2, &Command13, &Command14})
        Subclass::Set(c->hwnd(), &Form5::KeyProc, 1, reinterpret_cast<DWORD_PTR>(this));
    // At the centre of the screen.
    RECT r;
    GetWindowRect(hwnd_, &r);
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void Form5::Open(const std::vector<std::pair<std::wstring, int>>& scopeRows) {
    if (!Load()) return;
    // A new opening starts a new walk over the category shown now.
    ListView1.Clear();
    Command13.SetCaption(kFind);
    SetWidth(5715);
    SetHeight(1530);
    SetCaption(L"查找技巧");
    const ::frmShadow& shadow = Forms::frmShadow();
    for (const auto& [section, node] : scopeRows) {
        int row = ListView1.Add(section);
        // The node is kept by its path, so that a node added or removed meanwhile
        // cannot make the walk load another one.
        ListView1.SetSubTag(row, 0, shadow.TreeView1.FullPath(node));
    }
    if (ListView1.Count() > 0) ListView1.SetSelectedItem(1);
    Show();
    SetForegroundWindow(hwnd_);
    Text12.SetFocus();
}

int Form5::ScopeNode(int row) const {
    const std::wstring path = ListView1.SubTag(row, 0);
    if (path.empty()) return 0;
    const ::frmShadow& shadow = Forms::frmShadow();
    const TreeView& tree = shadow.TreeView1;
    for (int n = 1; n <= tree.Count(); ++n)
        if (tree.FullPath(n) == path) return n;
    return 0;
}

std::wstring Form5::SearchText() const { return Text::UpperCase(Text::Trim(Text12.Text())); }

void Form5::Text12_Change() { Command13.SetEnabled(!Text::Trim(Text12.Text()).empty()); }

void Form5::Text12_GotFocus() { Text12.SetSelection(0, static_cast<int>(Text12.Text().size())); }

void Form5::Find() {
    Found = false;
    const std::wstring search = SearchText();
    ListView& list = Forms::Form2().ListView1;
    const int n = list.Count();
    int last = 0;
    // Marks accumulate: rows that do not match keep their look. One scroll, to
    // the last match, ends as scrolling to each match in turn would.
    SendMessageW(list.hwnd(), WM_SETREDRAW, FALSE, 0);
    list.NoteRecolouredRows(true);
    for (int r = 1; r <= n; ++r) {
        if (Text::UpperCase(list.Text(r)).find(search) == std::wstring::npos) continue;
        list.SetSubBold(r, 0, true);
        Found = true;
        last = r;
    }
    list.NoteRecolouredRows(false);
    SendMessageW(list.hwnd(), WM_SETREDRAW, TRUE, 0);
    if (last) list.EnsureVisible(last);
    InvalidateRect(list.hwnd(), nullptr, TRUE);
}

void Form5::ShowScopeRow(int row, int node) {
    ::frmShadow& shadow = Forms::frmShadow();
    ListView1.SetSelectedItem(row);
    shadow.TreeView1.Select(node);  // no click handling: no ticks, no refit, the caption stays
    const int selected = shadow.TreeView1.SelectedItem();
    shadow.Shownode(shadow.TreeView1.NodeTag(selected), ListView1.Text(row));
    Library::CurrentCategoryPath = shadow.TreeView1.FullPath(selected);
    ShowItem();
    Find();
}

void Form5::SwitchToCategoryMode() {
    // As a click on the category would: the list leaves the tip data file.
    ::frmShadow& shadow = Forms::frmShadow();
    int node = ListView1.SelectedItem() ? ScopeNode(ListView1.SelectedItem()) : 0;
    if (!node) node = ScopeNode(1);
    if (!node) node = shadow.TreeView1.SelectedItem();
    if (!node) return;
    node = shadow.TreeView1.Root(node);
    shadow.TreeView1.Select(node);
    Library::CurrentCategoryPath.clear();
    shadow.TreeView1_NodeClick(node);
}

void Form5::Command13_Click() {
    if (Option1.Value()) {
        if (!Forms::Form2().CategoryMode()) SwitchToCategoryMode();
        if (Command13.Caption() == kFind) {
            Command13.SetCaption(kFindNext);
            if (ListView1.Count() > 0) {
                ListView1.SetSelectedItem(1);
                if (int node = ScopeNode(1)) {
                    ShowScopeRow(1, node);
                    if (Found) return;
                }
            }
        }
        Walk();
        return;
    }
    Find();
    if (!Found) App::MsgBox(kNothingFound, MB_OK | MB_ICONEXCLAMATION);
}

void Form5::Walk() {
    const std::wstring search = SearchText();
    const ::frmShadow& shadow = Forms::frmShadow();
    const int count = ListView1.Count();
    for (int row = ListView1.SelectedItem() + 1; row <= count; ++row) {
        const int node = ScopeNode(row);
        if (!node) continue;  // its node is gone
        // Only the key names are read; the section is loaded once it holds a match.
        for (const std::wstring& key : Ini::Keys(shadow.TreeView1.NodeTag(node), ListView1.Text(row))) {
            if (Text::UpperCase(Text::Trim(key)).find(search) == std::wstring::npos) continue;
            ShowScopeRow(row, node);
            return;
        }
    }
    App::MsgBox(kNothingFound, MB_OK | MB_ICONEXCLAMATION);
    Command13.SetCaption(kFind);
}

void Form5::Command14_Click() { Unload(); }

LRESULT CALLBACK Form5::KeyProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<Form5*>(ref);
    switch (msg) {
    case WM_KEYDOWN:
        if (wp == VK_RETURN) {
            (h == self->Command14.hwnd() ? self->Command14 : self->Command13).PerformClick();
            return 0;
        }
        if (wp == VK_ESCAPE) {
            self->Command14.PerformClick();
            return 0;
        }
        if (wp == VK_TAB) {
            HWND next = GetNextDlgTabItem(self->hwnd_, h, GetKeyState(VK_SHIFT) < 0);
            if (next) SetFocus(next);
            return 0;
        }
        break;
    case WM_CHAR:
        if (wp == L'\r' || wp == 27 || wp == L'\t') return 0;  // handled at key-down
        // Outside the search box a letter alone is an access key, as in a dialog.
        if (h != self->Text12.hwnd() && self->AccessKey(static_cast<wchar_t>(wp))) return 0;
        break;
    case WM_SYSCHAR:
        if (self->AccessKey(static_cast<wchar_t>(wp))) return 0;
        break;
    case WM_NCDESTROY:
        Subclass::Remove(h, &Form5::KeyProc, 1);
        break;
    default:
        break;
    }
    return Subclass::Def(h, msg, wp, lp);
}

bool Form5::AccessKey(wchar_t key) {
    const wchar_t upper = Text::UpperCase(std::wstring(1, key))[0];
    auto named = [upper](const std::wstring& caption) {
        const size_t amp = caption.find(L'&');
        return amp != std::wstring::npos && amp + 1 < caption.size() &&
               Text::UpperCase(caption.substr(amp + 1, 1))[0] == upper;
    };
    for (OptionButton* o : {&Option1, &Option2}) {
        if (!o->Enabled() || !named(o->CaptionText())) continue;
        o->SetFocus();
        o->SetValue(true);
        return true;
    }
    if (Command13.Enabled() && named(Command13.Caption())) {
        Command13.PerformClick();
        return true;
    }
    return false;
}

HWND Form5::FocusTarget() const {
    if (lastFocus_ && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_) && IsWindowEnabled(lastFocus_) &&
        IsWindowVisible(lastFocus_))
        return lastFocus_;
    return Text12.hwnd();
}

LRESULT Form5::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_CLOSE:
        Unload();
        return 0;
    case WM_ACTIVATE:
        // The keyboard stays with the control that had it: after a message box,
        // and when the window is activated by a click on its caption (the system
        // would give it to the window itself, where no key does anything).
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND f = GetFocus();
            if (f && IsChild(hwnd_, f)) lastFocus_ = f;
            return 0;
        }
        if (!HIWORD(wp)) ::SetFocus(FocusTarget());
        return 0;
    case WM_SETFOCUS:
        ::SetFocus(FocusTarget());
        return 0;
    case WM_SYSCHAR:
        if (AccessKey(static_cast<wchar_t>(wp))) return 0;
        break;
    default:
        break;
    }
    return Form::WndProc(msg, wp, lp);
}

namespace Library {
void OpenFindWindow() {
    ::frmShadow& shadow = Forms::frmShadow();
    const TreeView& tree = shadow.TreeView1;
    const int selected = tree.SelectedItem();
    if (!selected) return;  // no category to search
    const int category = tree.Children(selected) > 0 ? selected : tree.Parent(selected);
    if (!category) return;
    std::vector<std::pair<std::wstring, int>> rows{{TipFile::DataSection, category}};
    for (int c = tree.FirstChild(category); c; c = tree.NextSibling(c)) rows.emplace_back(tree.Text(c), c);
    if (Hooks().OpenFind) Hooks().OpenFind(rows);
}
}  // namespace Library

namespace Forms {
::Form5& Form5() { return Loaded<::Form5>(); }
::Form5* Form5IfLoaded() { return IfLoaded<::Form5>(); }
void UnloadForm5() {
    if (::Form5* f = Form5IfLoaded()) f->Unload();
}
}  // namespace Forms
