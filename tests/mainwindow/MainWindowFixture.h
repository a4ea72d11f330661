#pragma once
// Start-up and shut-down of the real main window in a fresh program folder.
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "common/Config.h"
#include "common/Ini.h"
#include "platform/Menu.h"
#include "platform/Text.h"
#include "support/Fixture.h"

class MainWindowTest : public QuorixTest {
protected:
    void TearDown() override {
        Stop();
        PopupMenu::SetChooserForTests(nullptr);
        App::SetPrevInstanceForTests(std::nullopt);
        QuorixTest::TearDown();
    }
    // Loads the main window (the whole start-up) and shows it, as the program does.
    Form2& Start() {
        Form2& f = Forms::Form2();
        EXPECT_TRUE(f.Exists());
        f.Show();
        Ui::DoEvents();
        return f;
    }
    // Closes the main window as its close box does.
    void Stop() {
        if (Form2* f = Forms::Form2IfLoaded()) {
            SendMessageW(f->hwnd(), WM_CLOSE, 0, 0);
            Ui::DoEvents();
        }
    }
    std::wstring Setting(const std::wstring& key) { return Ini::Read(Config::Path(), Config::DataSection, key); }
    void Set(const std::wstring& key, const std::wstring& value) {
        ASSERT_TRUE(Ini::Write(Config::Path(), Config::DataSection, key, value));
    }
    // A data folder and settings file as a program that has run before leaves them.
    void MakeRunBefore() {
        CreateDirectoryW(Path(L"Data").c_str(), nullptr);
        const std::pair<const wchar_t*, const wchar_t*> keys[] = {
            {L"Width_1", L"7500"}, {L"Height_1", L"4800"}, {L"Left_1", L"4500"}, {L"Top_1", L"1500"},
            {L"Width_2", L"2300"}, {L"Height_2", L"3510"}, {L"Width_3", L"2300"}, {L"Height_3", L"3510"},
            {L"View", L"3"},       {L"FormLink", L"1"},    {L"AutoWidth", L"1"},  {L"OldUpdate", L"1"},
        };
        for (const auto& [key, value] : keys) Set(key, value);
    }
    static RECT Outer(HWND h) {
        RECT r{};
        GetWindowRect(h, &r);
        return r;
    }
};
