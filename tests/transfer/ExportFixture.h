#pragma once
// The exports through the real windows: a category file in DATA whose tips the
// category window loads into the main window's tip list, save dialogs answered
// at the GCommonDialog layer, and the export page driven inside its modal loop.
#include "common/Marks.h"
#include "common/TipFile.h"
#include "common/TipRow.h"
#include "dialogs/Form4.h"
#include "dialogs/GCommonDialog.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/Modal.h"
#include "platform/Text.h"
#include "support/Fixture.h"

#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class ExportFixture : public QuorixTest {
protected:
    static inline const std::wstring K = L"HKEY_CURRENT_USER\\Software\\QuorixTest";
    static inline const std::wstring FM = Marks::FieldMark, JM = Marks::JoinMark;
    static std::wstring Options(const std::wstring& label, const std::wstring& data) {
        return FM + label + FM + JM + FM + data + FM;
    }
    struct Tip {
        std::wstring name, valueName, label, data, type, description;
    };
    // The category's tips, in file order.
    static std::vector<Tip> CategoryTips() {
        return {
            {L"字符串", L"str", L"开", L"C:\\路径 \"引号\"", L"0", L"说明<b>&\"x\""},
            {L"默认值", L"", L"改", L"默认", L"0", L""},
            {L"二进制", L"bin", L"a", L"01 ab FF", L"1", L"二进制说明"},
            {L"双字", L"dw", L"一", L"1", L"2", L"DWORD"},
            {L"删除", L"gone", L"删", Marks::DeleteMark, L"0", L"删除值"},
            {L"扩展", L"exp", L"e", L"%SystemRoot%\\a", L"3", L"可扩充"},
        };
    }
    std::wstring CategoryFile() const { return dir + L"Data\\系统设置.qix"; }

    void SetUp() override {
        QuorixTest::SetUp();
        PrepareRunBefore();
        Forms::UnloadFrmShadow();
        for (const Tip& t : CategoryTips()) {
            TipFile::TipRecord r{K, t.valueName, t.label, t.data, t.type, t.description, L"1"};
            ASSERT_TRUE(TipFile::WriteTip(CategoryFile(), TipFile::DataSection, t.name, TipFile::EncodeRecord(r),
                                          Options(t.label, t.data)));
        }
        ::Form2& main = Forms::Form2();
        ASSERT_NE(nullptr, main.hwnd());
        Forms::UnloadFrmShadow();  // a first start-up of the main window loads it
        main.ListView1.Clear();
        ASSERT_NE(nullptr, Forms::frmShadow().hwnd());  // its load shows the category's tips
        ASSERT_EQ(static_cast<int>(CategoryTips().size()), main.ListView1.Count());
        for (int i = 1; i <= main.ListView1.Count(); ++i) main.ListView1.SetSelected(i, false);
        GCommonDialog::SetResponderForTests([this](GCommonDialog::SystemCall& c) -> BOOL {
            if (c.kind != GCommonDialog::SystemCall::Save) {
                ADD_FAILURE() << "not a save dialog";
                return FALSE;
            }
            SaveCall call;
            const OPENFILENAMEA& o = *c.ofn;
            call.owner = o.hwndOwner;
            if (::Form4* page = Forms::Form4IfLoaded()) call.page = page->hwnd();
            call.mainEnabled = IsWindowEnabled(Forms::Form2().hwnd()) != FALSE;
            call.title = o.lpstrTitle ? Text::FromAnsi(o.lpstrTitle) : L"";
            for (const char* p = o.lpstrFilter; p && *p; p += std::strlen(p) + 1)
                call.filter.push_back(Text::FromAnsi(p));
            call.defaultExt = o.lpstrDefExt ? Text::FromAnsi(o.lpstrDefExt) : L"";
            call.initDir = o.lpstrInitialDir ? Text::FromAnsi(o.lpstrInitialDir) : L"";
            call.flags = o.Flags;
            saves.push_back(call);
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected save dialog: " << Text::ToAnsi(call.title);
                return FALSE;
            }
            std::wstring answer = answers.front();
            answers.pop_front();
            if (answer.empty()) return FALSE;  // cancelled
            std::string bytes = Text::ToAnsi(answer) + '\0';
            std::memcpy(o.lpstrFile, bytes.data(), bytes.size());
            return TRUE;
        });
    }
    void TearDown() override {
        GCommonDialog::SetResponderForTests(nullptr);
        Modal::SetHookForTests(nullptr);
        if (::Form4* f = Forms::IfLoaded<::Form4>()) f->Close();
        Forms::UnloadFrmShadow();
        Forms::Form2().ListView1.Clear();
        EXPECT_TRUE(answers.empty()) << answers.size() << " save dialog answer(s) never asked for";
        QuorixTest::TearDown();
    }

    // What each save dialog was shown with.
    struct SaveCall {
        HWND owner = nullptr;
        HWND page = nullptr;       // the multi-page dialog while it was up
        bool mainEnabled = false;  // the main window's state while the dialog was up
        std::wstring title, defaultExt, initDir;
        std::vector<std::wstring> filter;
        DWORD flags = 0;
    };
    std::vector<SaveCall> saves;
    // The answers of the next save dialogs: a path, or empty for a cancel.
    std::deque<std::wstring> answers;

    static ::Form2& main() { return Forms::Form2(); }
    static ListView& list() { return Forms::Form2().ListView1; }
    static int RowOf(const std::wstring& name) {
        for (int i = 1; i <= list().Count(); ++i)
            if (list().Text(i) == name) return i;
        return 0;
    }
    static void Select(std::initializer_list<const wchar_t*> names) {
        for (int i = 1; i <= list().Count(); ++i) list().SetSelected(i, false);
        for (const wchar_t* n : names) list().SetSelected(RowOf(n), true);
    }
    // The selected rows as every export reads them.
    static std::vector<TipRow::Cells> SelectedCells() {
        std::vector<TipRow::Cells> out;
        for (int i = 1; i <= list().Count(); ++i)
            if (list().Selected(i)) out.push_back(TipRow::ReadRow(list(), i));
        return out;
    }

    // Opens the export page from the main toolbar; `work` runs once it is up.
    void OpenPage(const std::function<void(::Form4&)>& work) {
        bool ran = false;
        Modal::SetHookForTests([&](HWND h) {
            ran = true;
            ::Form4& f = Forms::Form4();
            ASSERT_EQ(f.hwnd(), h);
            EXPECT_FALSE(IsWindowEnabled(main().hwnd()));  // modal
            work(f);
        });
        main().Toolbar1_ButtonClick(L"daochu");
        Modal::SetHookForTests(nullptr);
        EXPECT_TRUE(ran);
        EXPECT_EQ(nullptr, Forms::IfLoaded<::Form4>());
        EXPECT_TRUE(IsWindowEnabled(main().hwnd()));
    }
    static int FormatRow(::Form4& f, const std::wstring& text) {
        for (int i = 1; i <= f.ListView1.Count(); ++i)
            if (f.ListView1.Text(i) == text) return i;
        return 0;
    }
    static POINT RowCentre(::Form4& f, int row) {
        RECT r{};
        r.left = LVIR_BOUNDS;
        SendMessageW(f.ListView1.hwnd(), LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&r));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    static void DoubleClickAt(::Form4& f, POINT pt) {
        SendMessageW(f.ListView1.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        SendMessageW(f.ListView1.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    // Runs the export of `format` from the page: choose the row, press 确定.
    void ExportFromPage(const std::wstring& format) {
        OpenPage([&](::Form4& f) {
            int row = FormatRow(f, format);
            ASSERT_NE(0, row);
            f.ListView1.SetSelectedItem(row);
            f.Command18.PerformClick();
            EXPECT_TRUE(f.Exists());  // the page stays open
            f.Command19.PerformClick();
        });
    }
};
