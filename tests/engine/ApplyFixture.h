#pragma once
// Shared set-up of the apply and restore tests: the main window's tip list with
// rows to tick, a category node selected in the category window, config.ini
// with the settings the run reads, a Bak folder, a fixed date, and raw access
// to the values under HKEY_CURRENT_USER\Software\QuorixTest.
#include "common/Ini.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/Text.h"
#include "EngineTest.h"

#include <windows.h>

#include <string>

class ApplyFixture : public EngineTest {
protected:
    static constexpr COLORREF kBlue = RGB(0, 0, 255);
    static constexpr COLORREF kRed = RGB(255, 0, 0);
    static constexpr DWORD kMissing = 0xFFFF;
    static inline const std::wstring kSection = L"系统设置\\开始菜单";
    static inline const std::wstring kDay = L"05-06-2026";

    void SetUp() override {
        EngineTest::SetUp();
        Form2& form = Forms::Form2();
        ASSERT_NE(nullptr, form.hwnd());
        form.ListView1.Clear();
        form.WriteMode = WriteModes::None;
        form.Label1.Tag.clear();
        form.StatusBar1.SetPanelText(3, L"准备使用技巧");
        frmShadow& shadow = Forms::frmShadow();
        ASSERT_NE(nullptr, shadow.hwnd());
        shadow.TreeView1.Clear();
        int category = shadow.TreeView1.Add(0, L"系统设置");
        shadow.TreeView1.Add(category, L"收藏夹");
        shadow.TreeView1.Select(shadow.TreeView1.Add(category, L"开始菜单"));
        ASSERT_EQ(Ansi(kSection), Ansi(shadow.SelectedCategoryPath()));
        SetDate(2026, 5, 6);
        Setting(L"Start", L"0");
        Setting(L"SaveHistory", L"1");
        Setting(L"SaveLog", L"1");
        ASSERT_TRUE(CreateDirectoryW(Path(L"Bak").c_str(), nullptr));
        MakeKey();
    }
    void TearDown() override {
        Forms::Form2().ListView1.Clear();
        Forms::Form2().WriteMode = WriteModes::None;
        QuorixTest::TearDown();
    }

    void Setting(const wchar_t* key, const wchar_t* value) {
        ASSERT_TRUE(Ini::Write(Path(L"config.ini"), L"Data", key, value));
    }

    struct Tip {
        std::wstring name;
        std::wstring typeTag;    // "0" string, "1" binary, "2" DWORD, "3" expandable string
        std::wstring valueName;  // "" for the default value (shown bold)
        std::wstring data;
        bool deleteChoice = false;
        std::wstring keyPath = Key();
        bool ticked = true;
    };
    // Adds a tip row as the loader makes it; returns its 1-based index.
    static int AddRow(const Tip& t) {
        ListView& list = Forms::Form2().ListView1;
        int row = list.Add(t.name, 1);
        list.SetSubTag(row, 1, t.keyPath);
        list.SetSubTag(row, 2, t.typeTag);
        list.SetSubText(row, 3, t.valueName.empty() ? L"(默认)" : t.valueName);
        list.SetSubBold(row, 3, t.valueName.empty());
        list.SetSubText(row, 4, t.deleteChoice ? L"在注册表中删除该键名" : t.data);
        int code = static_cast<int>(Text::LeadingNumber(t.typeTag));
        list.SetSubIcon(row, 4, t.deleteChoice ? 6 : code + 2);
        list.SetChecked(row, t.ticked);
        return row;
    }
    static COLORREF Colour(int row) { return Forms::Form2().ListView1.ForeColor(row); }

    // Type and bytes stored under the test key; kMissing when there is no such value.
    static std::pair<DWORD, std::string> Stored(const std::string& value, const std::string& sub = {}) {
        DWORD type = 0;
        std::string bytes;
        if (!TestReg::Get(Sub(sub), value, type, bytes)) return {kMissing, {}};
        return {type, bytes};
    }
    static std::string Sz(const std::string& text) { return text + std::string(1, '\0'); }

    std::wstring BakFile(const std::wstring& day = kDay) const { return Path(L"Bak\\" + day + L".bak"); }
    std::wstring LogFile() const { return Path(L"logfile.txt"); }
};
