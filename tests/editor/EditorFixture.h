#pragma once
// The real program started in a fresh folder with one category file in code
// page 936: the main window, the category window, the properties window and
// the value bar, wired as the program wires them.
#include "common/Config.h"
#include "common/Ini.h"
#include "common/Marks.h"
#include "common/TipRow.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "editor/modMenu.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/Menu.h"
#include "platform/Text.h"
#include "support/Fixture.h"

#include <map>
#include <string>

namespace Bytes {
inline const std::string FM = "\xFF";
inline const std::string JM = "\x81\x88";
inline const std::string DM = "\xAD\x95";
inline std::string A(const std::wstring& w) { return Text::ToAnsi(w); }
inline const std::string Data = "\xCA\xFD\xBE\xDD";  // 数据
inline std::string Section(const std::string& name) { return "[" + name + "]\r\n"; }
inline std::string Mirror(const std::string& name) { return "[" + FM + name + FM + "]\r\n"; }
}  // namespace Bytes

class EditorTest : public QuorixTest {
protected:
    void TearDown() override {
        Stop();
        PopupMenu::SetChooserForTests(nullptr);
        Ini::FailNthWriteForTests(0);
        QuorixTest::TearDown();
    }
    std::wstring CategoryFile() const { return dir + L"Data\\示例.qix"; }
    // Starts the program on a category file holding `bytes`.
    Form2& Start(const std::string& bytes) {
        PrepareRunBefore();
        CreateDirectoryW(Path(L"Data").c_str(), nullptr);
        const std::pair<const wchar_t*, const wchar_t*> keys[] = {
            {L"Width_1", L"7500"}, {L"Height_1", L"4800"}, {L"Left_1", L"3000"}, {L"Top_1", L"1500"},
            {L"Width_2", L"2300"}, {L"Height_2", L"3510"}, {L"Width_3", L"2600"}, {L"Height_3", L"4800"},
            {L"View", L"3"},       {L"FormLink", L"1"},    {L"AutoWidth", L"1"},  {L"OldUpdate", L"1"},
            {L"Tip", L"1"},        {L"Form2Visible", L"1"}, {L"ViewCheck", L"0"},
        };
        for (const auto& [key, value] : keys) Ini::Write(Config::Path(), Config::DataSection, key, value);
        WriteBytes(CategoryFile(), bytes);
        Form2& f = Forms::Form2();
        EXPECT_TRUE(f.Exists());
        f.Show();
        Ui::DoEvents();
        return f;
    }
    void Stop() {
        if (Form2* f = Forms::Form2IfLoaded()) {
            SendMessageW(f->hwnd(), WM_CLOSE, 0, 0);
            Ui::DoEvents();
        }
    }
    Form2& main() { return Forms::Form2(); }
    ListView& tips() { return Forms::Form2().ListView1; }
    Form3& props() { return Forms::Form3(); }
    // A click on a row: it alone is selected, then the item click shows it.
    void Click(int row) {
        for (int r = 1; r <= tips().Count(); ++r) tips().SetSelected(r, r == row);
        tips().SetSelectedItem(row);
        main().ListView1_ItemClick();
    }
    int RowNamed(const std::wstring& name) {
        for (int r = 1; r <= tips().Count(); ++r)
            if (tips().Text(r) == name) return r;
        return 0;
    }
    // Entries of a section as stored: key -> value bytes.
    std::map<std::string, std::string> Entries(const std::string& sectionLine) {
        std::map<std::string, std::string> out;
        std::string all = ReadBytes(CategoryFile());
        size_t p = all.find(sectionLine);
        if (p == std::string::npos) return out;
        p += sectionLine.size();
        while (p < all.size() && all[p] != '[') {
            size_t e = all.find("\r\n", p);
            if (e == std::string::npos) e = all.size();
            std::string line = all.substr(p, e - p);
            size_t eq = line.find('=');
            if (eq != std::string::npos) out[line.substr(0, eq)] = line.substr(eq + 1);
            p = e + 2;
        }
        return out;
    }
    static std::string Rec(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& label,
                           const std::string& data, char type, const std::wstring& desc, char danger) {
        using namespace Bytes;
        return A(keyPath) + FM + A(valueName) + FM + A(label) + JM + data + FM + std::string(1, type) + FM + A(desc) +
               FM + std::string(1, danger);
    }
    static std::string Opts(std::initializer_list<std::wstring> labels, std::initializer_list<std::string> data) {
        using namespace Bytes;
        std::string s = FM;
        for (const auto& l : labels) s += A(l) + FM;
        s += JM + FM;
        for (const auto& d : data) s += d + FM;
        return s;
    }
    static std::string Line(const std::wstring& name, const std::string& value) {
        return Bytes::A(name) + "=" + value + "\r\n";
    }
    // Fills the editor with a tip, through its own commands.
    void Fill(const std::wstring& name, const std::wstring& keyPath, const std::wstring& valueName, int type,
              std::initializer_list<std::pair<std::wstring, std::wstring>> options, int selected,
              const std::wstring& desc, int dangerIndex) {
        Form3& p = props();
        p.ClearEditor();
        p.Text1.SetText(name);
        p.Text4.SetText(keyPath);
        p.Text2.SetText(valueName);
        p.Combo1.SetListIndex(type);
        for (const auto& [label, data] : options) {
            p.Text3.SetText(label);
            if (data == TipRow::DeleteText) p.ImageCombo1.SetListIndex(0);
            else p.ImageCombo1.SetText(data);
            p.Command1_Click();
        }
        for (int r = 1; r <= p.ListView1.Count(); ++r) p.ListView1.SetSelected(r, r == selected);
        p.ListView1.SetSelectedItem(selected);
        p.Text5.SetText(desc);
        p.ImageCombo2.SetListIndex(dangerIndex);
    }
};
