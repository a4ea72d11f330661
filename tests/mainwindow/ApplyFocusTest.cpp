// After an apply run the keyboard works on the tip list again: the progress bar
// that held the focus during the run is hidden, and the list takes the focus.
#include "fixtures/ApplyFixture.h"

#include "mainwindow/ToolbarKeys.h"

using std::wstring;

class ApplyFocusTest : public ApplyFixture {};

TEST_F(ApplyFocusTest, F3WorksRightAfterAnApplyRun) {
    const wstring file = Path(L"焦点.upd");
    for (const wchar_t* name : {L"一", L"二"}) {
        TipFile::TipRecord r{Key(), name, L"启用", L"值", L"0", L"说明", L"1"};
        ASSERT_TRUE(TipFile::WriteTip(file, TipFile::DataSection, name, TipFile::EncodeRecord(r),
                                      TipFile::EncodeOptions({{L"启用"}, {L"值"}})));
    }
    Form2& form = Forms::Form2();
    form.Show();
    SetForegroundWindow(form.hwnd());
    Forms::frmShadow().Shownode(file, TipFile::DataSection);
    ASSERT_EQ(2, form.ListView1.Count());
    ASSERT_TRUE(form.Toolbar1.Enabled(ToolbarKey::xuan));
    form.ListView1.SetChecked(1, true);
    form.ListView1.SetFocus();
    ASSERT_EQ(form.ListView1.hwnd(), GetFocus());

    // F5 on the list runs the apply; then F3 goes wherever the focus is.
    SendMessageW(GetFocus(), WM_KEYDOWN, VK_F5, 0);
    SendMessageW(GetFocus(), WM_KEYUP, VK_F5, 0);
    ASSERT_EQ(L"技巧使用完成", form.StatusBar1.PanelText(3));
    EXPECT_FALSE(form.ProgressBar1.Visible());
    EXPECT_EQ(form.ListView1.hwnd(), GetFocus());
    SendMessageW(GetFocus(), WM_KEYDOWN, VK_F3, 0);
    SendMessageW(GetFocus(), WM_KEYUP, VK_F3, 0);
    EXPECT_TRUE(form.ListView1.Checked(2));
}
