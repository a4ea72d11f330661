#pragma once
// Deleting tips, 收藏夹 and the category favourites through the real windows:
// category files and tip data files written byte by byte, the category window
// loaded over them, the main window's real commands, keys and menus, and the
// real properties window and value bar behind the library's hooks.
#include "fixtures/FreshMainWindow.h"
#include "support/HeldFile.h"
#include "common/Ini.h"
#include "dialogs/Form4.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "mainwindow/ToolbarKeys.h"
#include "platform/Menu.h"
#include "platform/Modal.h"
#include "platform/Text.h"
#include "support/Fixture.h"

#include <memory>
#include <string>
#include <vector>

namespace Gbk {
inline const std::string FM = "\xFF";      // FieldMark
inline const std::string JM = "\x81\x88";  // JoinMark 亪
inline const std::string DM = "\xAD\x95";  // DeleteMark 瓡
inline const std::string Data = "\xCA\xFD\xBE\xDD";              // 数据
inline const std::string Fav = "\xCA\xD5\xB2\xD8\xBC\xD0";       // 收藏夹
inline const std::string Sub = "\xD7\xD3\xC0\xE0";               // 子类
inline const std::string Cat = "\xCF\xB5\xCD\xB3";               // 系统
inline const std::string Jia = "\xBC\xD7", Yi = "\xD2\xD2", Bing = "\xB1\xFB", Ding = "\xB6\xA1", Wu = "\xCE\xEC";
inline const std::string Same = "\xCD\xAC\xC3\xFB";              // 同名
inline const std::string KP = "HKEY_CURRENT_USER\\Software\\QuorixTest";

// A new-layout record and a one-choice option list.
inline std::string Rec(const std::string& value, const std::string& label, const std::string& data, char type = '0',
                       const std::string& desc = "d", char danger = '1') {
    return KP + FM + value + FM + label + JM + data + FM + std::string(1, type) + FM + desc + FM +
           std::string(1, danger);
}
inline std::string Opts(const std::string& label, const std::string& data) { return FM + label + FM + JM + FM + data + FM; }

struct Tip {
    std::string name, record, options;
};
// A tip with a record and option list made from its name.
inline Tip Simple(const std::string& name) { return {name, Rec("v" + name, "l", "d" + name), Opts("l", "d" + name)}; }
// A section and its mirror section, as the profile functions write them.
inline std::string Section(const std::string& name, const std::vector<Tip>& tips) {
    std::string s = "[" + name + "]\r\n";
    for (const Tip& t : tips) s += t.name + "=" + t.record + "\r\n";
    s += "[" + FM + name + FM + "]\r\n";
    for (const Tip& t : tips) s += t.name + "=" + t.options + "\r\n";
    return s;
}
}  // namespace Gbk

class TipCommandsTest : public QuorixTest {
protected:
    void SetUp() override {
        QuorixTest::SetUp();
        PrepareRunBefore();
        ::Form2& f = FreshMainWindow();
        ASSERT_NE(nullptr, f.hwnd());
        f.ListView1.Unsort();  // rows in file order
        f.Toolbar1.ButtonMenus(ToolbarKey::viewscj).Items.clear();
        f.InstallLibraryHooks();  // the real properties window and value bar
        CreateDirectoryW(Path(L"DATA").c_str(), nullptr);
        // A category tree tall enough to show its nodes.
        WritePrivateProfileStringA("Data", "FileListHeight", "2600", Ansi(Path(L"config.ini")).c_str());
    }
    void TearDown() override {
        Modal::SetHookForTests(nullptr);
        PopupMenu::SetChooserForTests(nullptr);
        Ini::FailNthWriteForTests(0);
        Forms::UnloadForm4();
        Forms::UnloadFrmShadow();
        QuorixTest::TearDown();
    }

    ::Form2& main() { return Forms::Form2(); }
    ListView& list() { return main().ListView1; }
    ::frmShadow& shadow() { return Forms::frmShadow(); }
    std::wstring CatFile(const std::string& name) { return Path(L"DATA\\" + Text::FromAnsi(name) + L".qix"); }

    // Shows a category-tree node by its full path, as a click does.
    int Show(const std::wstring& fullPath) {
        ::frmShadow& s = shadow();
        for (int n = 1; n <= s.TreeView1.Count(); ++n)
            if (s.TreeView1.FullPath(n) == fullPath) {
                Library::CurrentCategoryPath.clear();
                s.TreeView1.Select(n);
                s.TreeView1_NodeClick(n);
                return n;
            }
        ADD_FAILURE() << "no node " << Ansi(fullPath);
        return 0;
    }
    // Shows a tip data file of the file list, adding it first.
    void ShowFile(const std::wstring& path) { shadow().TreeView2_NodeClick(shadow().AddOrSelectEntry(path)); }
    void Select(std::initializer_list<int> rows) {
        for (int r = 1; r <= list().Count(); ++r) list().SetSelected(r, false);
        for (int r : rows) list().SetSelected(r, true);
    }
    std::vector<std::string> Rows() {
        std::vector<std::string> v;
        for (int r = 1; r <= list().Count(); ++r) v.push_back(Ansi(list().Text(r)));
        return v;
    }
    std::vector<int> SelectedRows() {
        std::vector<int> v;
        for (int r = 1; r <= list().Count(); ++r)
            if (list().Selected(r)) v.push_back(r);
        return v;
    }
};

