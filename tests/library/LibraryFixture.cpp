#include "mainwindow/Form2.h"
#include "platform/Columns.h"
#include "fixtures/LibraryFixture.h"

#include "common/Ini.h"

void LibraryTest::SetUp() {
    QuorixTest::SetUp();
    PrepareRunBefore();
    Forms::UnloadFrmShadow();
    ::Form2& f = Forms::Form2();
    ASSERT_NE(nullptr, f.hwnd());
    // The main window as it is when created: every button enabled but paste.
    for (int i = 1; i <= f.Toolbar1.Count(); ++i) f.Toolbar1.SetEnabled(i, true);
    f.Toolbar1.SetEnabled(L"paste", false);
    for (auto& item : f.file.Items) item.visible = item.enabled = true;
    f.file.SetEnabled(L"paste", false);
    f.ListView1.Clear();
    f.SetCaption(App::Title());
    for (int p = 1; p <= 3; ++p) f.StatusBar1.SetPanelText(p, L"");
    Library::CurrentCategoryPath.clear();
    Library::CurrentDataFilePath.clear();
    Library::Services& h = Library::Hooks();
    h.ShowItem = [this] { calls.push_back("ShowItem"); };
    h.StartWork = [this] { calls.push_back("StartWork"); };
    h.Pasteok = [this] { calls.push_back("Pasteok"); };
    h.Closejqsx = [this] { calls.push_back("Closejqsx"); };
    h.OpenFind = [this](const std::vector<std::pair<std::wstring, int>>& rows) {
        calls.push_back("OpenFind");
        findRows = rows;
    };
    h.SetPropertiesButton = [this](const std::wstring& key, bool on) {
        calls.push_back(Ansi(key) + (on ? "=1" : "=0"));
    };
    h.SetValueBarEnabled = [this](bool on) { calls.push_back(on ? "valuebar=1" : "valuebar=0"); };
    h.ClearLiveValues = [this] { calls.push_back("ClearLiveValues"); };
    h.SetLiveKeyFlag = [this](const std::wstring& flag) { calls.push_back("LiveKeyFlag=" + Ansi(flag)); };
    h.AutoSizeTipColumns = [this](ListView& l, int w) {
        calls.push_back("AutoSize");
        Form2::AutoSizeTipColumns(l, w);
    };
}

void LibraryTest::TearDown() {
    Forms::UnloadFrmShadow();
    Library::Hooks() = Library::Services{};
    Library::Hooks().AutoSizeTipColumns = [](ListView& l, int w) { Form2::AutoSizeTipColumns(l, w); };
    QuorixTest::TearDown();
}

bool LibraryTest::Called(const std::string& what) const {
    for (const auto& c : calls)
        if (c == what) return true;
    return false;
}

::frmShadow& LibraryTest::shadow() {
    ::frmShadow& s = Forms::frmShadow();
    EXPECT_NE(nullptr, s.hwnd());
    EXPECT_NE(nullptr, s.TreeView1.hwnd());
    EXPECT_NE(nullptr, s.TreeView2.hwnd());
    return s;
}

void LibraryTest::WriteConfig(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    ASSERT_TRUE(Ini::Write(dir + L"config.ini", section, key, value));
}

void LibraryTest::WriteCategory(const std::wstring& name, const std::string& bytes) {
    CreateDirectoryW(DataDir().c_str(), nullptr);
    WriteBytes(DataDir() + name, bytes);
}

std::string LibraryTest::Record(const std::string& name, const std::string& keyPath, const std::string& valueName,
                                const std::string& label, const std::string& data, char type,
                                const std::string& desc, char danger) {
    using namespace Bytes;
    return name + "=" + keyPath + FM + valueName + FM + label + JM + data + FM + std::string(1, type) + FM + desc +
           FM + std::string(1, danger) + "\r\n";
}

std::map<std::wstring, bool> LibraryTest::Buttons() {
    std::map<std::wstring, bool> m;
    ::Form2& f = main();
    for (int i = 1; i <= f.Toolbar1.Count(); ++i)
        if (!f.Toolbar1.Key(i).empty()) m[f.Toolbar1.Key(i)] = f.Toolbar1.Enabled(i);
    return m;
}
