// The main window's side of the properties window and the value bar: the
// switch (F2, `jqsx`), the candidate popup, the option list's menu, and the
// library's hooks pointed at the real windows.
#include "common/Config.h"
#include "common/TipRow.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "library/Library.h"
#include "mainwindow/Form2.h"
#include "mainwindow/ToolbarKeys.h"
#include "platform/App.h"
#include "platform/OnScreen.h"
#include "platform/Text.h"

void Form2::Closejqsx() {
    MenuItem* jqsx = Toolbar1.ButtonMenus(ToolbarKey::viewok).Item(L"jqsx");
    // A setting that cannot be written is told once in a run.
    bool tell = false;
    const auto write = [&tell](const Config::Key& key, bool written) {
        if (!written && Config::FirstFailure(key)) tell = true;
    };
    if (!PropertyWindowOn()) {
        ShowItem();
        if (jqsx) jqsx->text = kJqsxOn;
        write(Config::Form2Visible, Config::Write(Config::Form2Visible, L"1"));
        ::Form3& props = Forms::Form3();
        props.SetWidth(static_cast<long long>(Config::Number(Config::Width_3)));
        props.SetHeight(static_cast<long long>(Config::Number(Config::Height_3)));
        props.SetTop(static_cast<long long>(Config::Number(Config::Top_3)));
        props.SetLeft(static_cast<long long>(Config::Number(Config::Left_3)));
        OnScreen::Keep(props.hwnd());
        Form_Resize();
        SetWindowLongPtrW(props.hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwnd_));
    } else {
        if (jqsx) jqsx->text = kJqsxOff;
        write(Config::Form2Visible, Config::Write(Config::Form2Visible, L"0"));
        if (::Form3* props = Forms::Form3IfLoaded()) {
            write(Config::Width_3, Config::WriteMeasure(Config::Width_3, static_cast<double>(props->Width())));
            write(Config::Height_3, Config::WriteMeasure(Config::Height_3, static_cast<double>(props->Height())));
            write(Config::Top_3, Config::WriteMeasure(Config::Top_3, static_cast<double>(props->Top())));
            write(Config::Left_3, Config::WriteMeasure(Config::Left_3, static_cast<double>(props->Left())));
            props->Hide();
            props->Unload();
        }
    }
    if (tell)
        App::MsgBox(L"无法写入设置文件“" + Config::Path() + L"”，技巧属性窗口的设置没有保存。", MB_OK | MB_ICONERROR);
}

// ---------------------------------------------------------------- candidate popup

void Form2::ShowValue() {
    if (Valuemenu.Items.empty()) Valuemenu.Add(L"0", L"Valueok");
    Valuemenu.Items.front().visible = true;
    Valuemenu.Items.resize(1);
    ::Form3& props = Forms::Form3();
    for (int i = 1, n = props.ListView1.Count(); i <= n; ++i) Valuemenu.Add(Text::FromInt(i), props.ListView1.Text(i));
    Valuemenu.Items.front().visible = false;
}

void Form2::Valueok_Click(int index) {
    ::Form3& props = Forms::Form3();
    ListView& options = props.ListView1;
    if (index < 1 || index > options.Count()) return;
    for (int r = 1, n = options.Count(); r <= n; ++r) options.SetSelected(r, r == index);
    options.SetSelectedItem(index);
    props.ShowValue();
    // The candidate belongs to the tip shown, which is the row whose 命令 cell was pressed.
    const int row = ShownTipRow();
    if (row == 0) return;
    ListView1.SetSubText(row, 4, options.SubText(index, 1));
    ListView1.SetSubIcon(row, 4, options.SubIcon(index, 0) == 8 ? TipRow::IconDelete : props.Combo1.ListIndex() + 2);
    if (index < static_cast<int>(Valuemenu.Items.size())) ListView1.SetSubText(row, 1, Valuemenu.Items[index].text);
}

// ---------------------------------------------------------------- option list menu

void Form2::form3del_Click() { Forms::Form3().DeleteOption(); }
void Form2::form3sy_Click() { Forms::Form3().MoveOption(true); }
void Form2::form3xy_Click() { Forms::Form3().MoveOption(false); }

// ---------------------------------------------------------------- the library's hooks

void Form2::InstallLibraryHooks() {
    Library::Services& h = Library::Hooks();
    h.ShowItem = [] { Forms::Form2().ShowItem(); };
    h.Closejqsx = [] { Forms::Form2().Closejqsx(); };
    h.SetPropertiesButton = [](const std::wstring& key, bool on) {
        ::Form3& props = Forms::Form3();
        if (key == L"edit") {
            props.Toolbar2.SetEnabled(L"edit", on);
            props.Command2.SetEnabled(on);
        } else {
            props.Toolbar1.SetEnabled(key, on);
        }
    };
    h.SetValueBarEnabled = [](bool on) {
        ::Form1& bar = Forms::Form1();
        bar.ImageCombo1.SetEnabled(on);
        bar.Command1.SetEnabled(on);
    };
    h.ClearLiveValues = [] { Forms::Form3().ClearLiveRows(); };
    h.SetLiveKeyFlag = [](const std::wstring& flag) { Forms::Form3().ListView2.Tag = flag; };
}
