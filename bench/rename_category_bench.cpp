// Renames a sub-category of 3,000 tips through the windows (the tree's edit box
// on the selected node, ended as Enter ends it) and compares the time with
// what a user waits for when loading that sub-category (a click on its node),
// and with the floor measured in the same run: one GetPrivateProfileSectionA of
// the section and one WritePrivateProfileSectionA of the result under another
// name. Goal: the rename within 3 times the load.
//
//   wine rename_category_bench.exe
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include "BenchClock.h"
#include "BenchFolder.h"

namespace {
const int kTips = 3000;

std::string A(const std::wstring& w) { return Text::ToAnsi(w); }

std::string Header(const std::string& name) {
    std::string s = "[";
    s += name;
    s += "]\r\n";
    return s;
}

std::string MakeFile() {
    const std::string FM = "\xFF", JM = "\x81\x88";
    std::string data = Header(A(L"数据")) + A(L"一个") + "=HKEY_CURRENT_USER\\Software\\Bench" + FM + "V" + FM +
                       "a" + JM + "1" + FM + "2" + FM + "d" + FM + "1\r\n";
    std::string section = Header(A(L"子类0")), mirror = Header(FM + A(L"子类0") + FM);
    for (int i = 0; i < kTips; ++i) {
        std::string name = A(L"技巧") + std::to_string(i);
        section += name + "=HKEY_CURRENT_USER\\Software\\Bench\\K" + std::to_string(i % 50) + FM + "Value" +
                   std::to_string(i) + FM + A(L"开") + JM + "1" + FM + "2" + FM + A(L"说明文字") +
                   " description text of the tip" + FM + (i % 7 ? "1" : "2") + "\r\n";
        mirror += name + "=" + FM + A(L"开") + FM + A(L"关") + FM + JM + FM + "1" + FM + "0" + FM + "\r\n";
    }
    return data + section + mirror + Header(A(L"收藏夹"));
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

std::string ReadSection(const std::string& section, const std::string& file) {
    std::string buf(1 << 16, '\0');
    for (;;) {
        DWORD n = GetPrivateProfileSectionA(section.c_str(), buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
        if (n < buf.size() - 2) {
            buf.resize(n + 1);
            buf.push_back('\0');
            return buf;
        }
        buf.assign(buf.size() * 4, '\0');
    }
}

int NodeNamed(const TreeView& tree, const std::wstring& path) {
    for (int n = 1; n <= tree.Count(); ++n)
        if (tree.FullPath(n) == path) return n;
    return 0;
}
}  // namespace

int wmain() {
    const std::wstring folder = BenchFolder(L"quorix_rename_bench");
    const std::string config = A(folder + L"\\config.ini");
    WritePrivateProfileStringA("Data", "AutoWidth", "1", config.c_str());
    WritePrivateProfileStringA("Data", "View", "3", config.c_str());
    const std::wstring file = folder + L"\\Data\\系统.qix";
    WriteFileBytes(file, MakeFile());
    bool boxShown = false;
    App::SetMsgBoxResponder([&](const App::MsgBoxCall& c) {
        std::fprintf(stderr, "message box: %s\n", A(c.text).c_str());
        boxShown = true;
        return IDOK;
    });
    ::Form2& main = Forms::Form2();
    ::frmShadow& shadow = Forms::frmShadow();
    main.Show();
    Ui::DoEvents();
    TreeView& tree = shadow.TreeView1;

    const int rounds = 5;
    double load = 1e9, rename = 1e9, bare = 1e9;
    std::wstring current = L"子类0";
    for (int round = 1; round <= rounds; ++round) {
        // The load: a click on the node (after one on the category, so that it is not the node shown).
        int category = NodeNamed(tree, L"系统");
        tree.Select(category);
        shadow.TreeView1_NodeClick(category);
        int node = NodeNamed(tree, L"系统\\" + current);
        tree.Select(node);
        double t0 = Seconds();
        shadow.TreeView1_NodeClick(node);
        UpdateWindow(main.ListView1.hwnd());
        load = std::min(load, Seconds() - t0);
        if (main.ListView1.Count() != kTips) std::printf("rows shown: %d\n", main.ListView1.Count());

        // The rename: the edit box on the node, the new text, Enter.
        const std::wstring next = L"子类" + std::to_wstring(round);
        tree.StartLabelEdit(node);
        HWND edit = reinterpret_cast<HWND>(SendMessageW(tree.hwnd(), TVM_GETEDITCONTROL, 0, 0));
        SetWindowTextW(edit, next.c_str());
        t0 = Seconds();
        tree.EndLabelEdit(false);
        UpdateWindow(tree.hwnd());
        rename = std::min(rename, Seconds() - t0);
        if (tree.Text(node) != next) std::printf("rename did not happen (round %d)\n", round);
        current = next;

        // The floor: one read of the section, one write of it under another name.
        const std::string f = A(file), other = A(L"副本");
        t0 = Seconds();
        std::string lines = ReadSection(A(current), f);
        WritePrivateProfileSectionA(other.c_str(), lines.c_str(), f.c_str());
        bare = std::min(bare, Seconds() - t0);
        WritePrivateProfileStringA(other.c_str(), nullptr, nullptr, f.c_str());
    }
    std::printf("%d tips, best of %d\n", kTips, rounds);
    std::printf("%-34s %9.1f ms\n", "load (click on the node)", load * 1000);
    std::printf("%-34s %9.1f ms\n", "rename (edit box, Enter)", rename * 1000);
    std::printf("%-34s %9.1f ms\n", "floor (one read, one section write)", bare * 1000);
    std::printf("rename / load %.2f (goal: 3 or less), rename / floor %.2f\n", rename / load, rename / bare);
    if (boxShown) std::printf("a message box was shown: the figures are not of a clean run\n");
    main.Unload();
    DeleteFileW(file.c_str());
    DeleteFileW((folder + L"\\config.ini").c_str());
    RemoveDirectoryW((folder + L"\\Data").c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
