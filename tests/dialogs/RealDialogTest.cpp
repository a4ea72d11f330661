// The system's own dialogs (Wine's), worked from a thread timer inside their
// modal loops or from the object's hook events.
#include "support/DialogDriver.h"
#include "dialogs/cCommonDialog.h"
#include "dialogs/mDialogHook.h"
#include "platform/Text.h"
#include "support/Fixture.h"

#include <cderr.h>
#include <dlgs.h>

#include <string>
#include <vector>

namespace {
// Types `name` into a file dialog's name box and presses OK.
DialogDriver::Step TypeAndOk(std::wstring name) {
    return [name](HWND d) {
        if (!d) return false;
        HWND box = DialogDriver::FileNameBox(d);
        if (!box) return false;
        SetWindowTextW(box, name.c_str());
        DialogDriver::Click(d, IDOK);
        return true;
    };
}

DialogDriver::Step Press(int id) {
    return [id](HWND d) {
        if (!d || !GetDlgItem(d, id)) return false;
        DialogDriver::Click(d, id);
        return true;
    };
}

class RealDialogTest : public QuorixTest {
protected:
    void TearDown() override {
        EXPECT_EQ(nullptr, DialogDriver::TopDialog()) << "a system dialog is still up";
        QuorixTest::TearDown();
    }
};
}  // namespace

TEST_F(RealDialogTest, OpenReturnsAChineseNameAndCancelReturnsNothing) {
    const std::wstring name = L"技巧数据甲.upd";
    WriteBytes(Path(name), "[数据]\r\n");
    {
        DialogDriver drive({TypeAndOk(name)});
        cCommonDialog d;
        d.CancelError = true;
        d.DialogTitle = L"打开技巧数据文件";
        d.InitDir = dir;
        d.flags = 0x1800;
        d.Filter = L"技巧数据文件 (*.upd)|*.upd";
        EXPECT_EQ(0, d.ShowOpen());
        EXPECT_TRUE(drive.Finished());
        EXPECT_EQ(dir + name, d.filename);
        EXPECT_EQ(name, d.FileTitle);
        EXPECT_EQ(std::wstring(L"技巧数据文件 (*.upd)\0*.upd", 20), d.Filter);
        EXPECT_EQ(1, d.FilterIndex);
    }
    {
        DialogDriver drive({Press(IDCANCEL)});
        cCommonDialog d;
        d.CancelError = true;
        d.InitDir = dir;
        d.flags = 0x1800;
        d.Filter = L"技巧数据文件 (*.upd)|*.upd";
        EXPECT_EQ(0, d.ShowOpen());
        EXPECT_TRUE(drive.Finished());
        EXPECT_EQ(L"", d.filename);
        EXPECT_EQ(-1, d.FilterIndex);
        EXPECT_EQ(0u, d.Layer()->ExtendedError());
    }
}

TEST_F(RealDialogTest, SaveAsksBeforeReplacingTheNameWithTheDefaultExtension) {
    WriteBytes(Path(L"tips.upd"), "old");
    std::wstring question;
    DialogDriver drive({TypeAndOk(L"tips"), [&](HWND d) {
                            // The system's own question, over the save dialog.
                            if (!d || !GetDlgItem(d, IDYES)) return false;
                            question = DialogDriver::BoxText(d);
                            DialogDriver::Click(d, IDYES);
                            return true;
                        }});
    cCommonDialog d;
    d.CancelError = true;
    d.DialogTitle = L"新建技巧数据文件";
    d.InitDir = dir;
    d.flags = 2;
    d.DefaultExt = L"upd";
    d.Filter = L"技巧数据文件 (*.upd)|*.upd";
    EXPECT_EQ(0, d.ShowSave());
    EXPECT_TRUE(drive.Finished());
    EXPECT_FALSE(question.empty());
    EXPECT_EQ(dir + L"tips.upd", d.filename);
    EXPECT_EQ("old", ReadBytes(Path(L"tips.upd")));  // the dialog only names it
}

TEST_F(RealDialogTest, ColourChosen) {
    DialogDriver drive({[](HWND d) {
        // Fully open (flags 258): the red, green and blue boxes, then OK.
        if (!d || !GetDlgItem(d, 706)) return false;
        SetDlgItemInt(d, 706, 18, FALSE);
        SetDlgItemInt(d, 707, 52, FALSE);
        SetDlgItemInt(d, 708, 86, FALSE);
        DialogDriver::Click(d, IDOK);
        return true;
    }});
    cCommonDialog d;
    d.CancelError = true;
    d.flags = 258;
    d.ShowColor();
    EXPECT_TRUE(drive.Finished());
    EXPECT_EQ(static_cast<int32_t>(RGB(18, 52, 86)), d.Color);
}

TEST_F(RealDialogTest, FontChosen) {
    std::wstring chosenFace;
    DialogDriver drive({[&](HWND d) {
        HWND faces = d ? GetDlgItem(d, cmb1) : nullptr;
        if (!faces || SendMessageW(faces, CB_GETCOUNT, 0, 0) < 2) return false;
        // Another face than the one the dialog starts with, and 12 points.
        LRESULT current = SendMessageW(faces, CB_GETCURSEL, 0, 0);
        LRESULT pick = current == 0 ? 1 : 0;
        wchar_t face[LF_FACESIZE] = {};
        SendMessageW(faces, CB_GETLBTEXT, pick, reinterpret_cast<LPARAM>(face));
        chosenFace = face;
        SendMessageW(faces, CB_SETCURSEL, pick, 0);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(faces));
        HWND sizes = GetDlgItem(d, cmb3);
        SendMessageW(sizes, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"12"));
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(cmb3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
        DialogDriver::Click(d, IDOK);
        return true;
    }});
    cCommonDialog d;
    d.CancelError = true;
    d.ShowFont();
    EXPECT_TRUE(drive.Finished());
    ASSERT_FALSE(chosenFace.empty());
    EXPECT_EQ(chosenFace, d.FontName());
    EXPECT_EQ(12, d.FontSize());
    EXPECT_DOUBLE_EQ(12.0, d.Font()->Size);
}

TEST_F(RealDialogTest, HookEventsAndARefusedOk) {
    WriteBytes(Path(L"a.upd"), "x");
    cCommonDialog d;
    d.HookDialog = true;
    d.InitDir = dir;
    d.flags = 0x1800;
    HWND hookDlg = nullptr;
    GCommonDialog* targetDuring = nullptr;
    int confirms = 0, closes = 0;
    d.OnInitDialog = [&](HWND h) {
        hookDlg = h;
        targetDuring = mDialogHook::GetHookTarget();
    };
    d.OnConfirmOK = [&](bool& cancel) {
        ++confirms;
        cancel = confirms == 1;  // the first OK is refused
    };
    d.OnDialogClose = [&] { ++closes; };
    HWND firstDialog = nullptr;
    int ticksAfterRefusal = 0;
    DialogDriver drive({[&](HWND top) {
                            if (!top) return false;
                            firstDialog = top;
                            return TypeAndOk(L"a.upd")(top);
                        },
                        [&](HWND top) {
                            // Refused: after a few ticks the same dialog is still up.
                            if (confirms < 1) return false;
                            if (++ticksAfterRefusal < 4) return false;
                            EXPECT_EQ(firstDialog, top);
                            EXPECT_TRUE(IsWindow(firstDialog));
                            return TypeAndOk(L"a.upd")(top);
                        }});
    EXPECT_EQ(0, d.ShowOpen());
    EXPECT_TRUE(drive.Finished());
    EXPECT_NE(nullptr, hookDlg);
    EXPECT_EQ(d.Layer(), targetDuring);
    EXPECT_EQ(nullptr, mDialogHook::GetHookTarget());
    EXPECT_EQ(2, confirms);
    EXPECT_EQ(1, closes);
    EXPECT_EQ(dir + L"a.upd", d.filename);
}

TEST_F(RealDialogTest, CentreDialogOnTheWorkAreaAndOnAWindow) {
    HWND frame = CreateWindowExW(0, L"STATIC", L"centre", WS_POPUP | WS_VISIBLE, 40, 60, 300, 200, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(nullptr, frame);
    cCommonDialog d;
    d.HookDialog = true;
    d.InitDir = dir;
    HWND hookDlg = nullptr;
    d.OnInitDialog = [&](HWND h) { hookDlg = h; };
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int32_t l = 0, t = 0, w = 0, h = 0;
    int32_t l2 = 0, t2 = 0, w2 = 0, h2 = 0;
    DialogDriver drive({[&](HWND top) {
                            if (!top || !hookDlg) return false;
                            d.CentreDialog(hookDlg, nullptr);
                            d.GetDialogSize(hookDlg, l, t, w, h);
                            d.CentreDialog(hookDlg, frame);
                            d.GetDialogSize(hookDlg, l2, t2, w2, h2);
                            RECT r{};
                            GetWindowRect(top, &r);
                            EXPECT_EQ(r.left, l2);  // the dialog window itself, not the hook's child
                            EXPECT_EQ(r.right - r.left, w2);
                            return true;
                        },
                        Press(IDCANCEL)});
    d.ShowOpen();
    DestroyWindow(frame);
    EXPECT_TRUE(drive.Finished());
    ASSERT_GT(w, 0);
    EXPECT_EQ(work.left + ((work.right - work.left) - w) / 2, l);
    EXPECT_EQ(work.top + ((work.bottom - work.top) - h) / 2, t);
    EXPECT_EQ(w, w2);  // the size is kept
    EXPECT_EQ(h, h2);
    EXPECT_EQ(40 + (300 - w) / 2, l2);
    EXPECT_EQ(60 + (200 - h) / 2, t2);
}

TEST_F(RealDialogTest, PrintDialogCancelled) {
    // Wine shows its print dialog even without a printer.
    std::wstring caption;
    bool hasOk = false;
    DialogDriver drive({[&](HWND d) {
        if (!d) return false;
        caption = DialogDriver::TextOf(d);
        hasOk = GetDlgItem(d, IDOK) != nullptr;
        DialogDriver::Click(d, IDCANCEL);
        return true;
    }});
    cCommonDialog d;
    d.Copies = 2;
    d.FromPage = 1;
    d.ToPage = 3;
    d.ShowPrinter();
    EXPECT_TRUE(drive.Finished());
    EXPECT_EQ(2, d.Copies);
    EXPECT_EQ(nullptr, d.PrinterDC());
    EXPECT_FALSE(caption.empty());
    EXPECT_TRUE(hasOk);
    EXPECT_EQ(0, d.Layer()->APIReturn());
    EXPECT_EQ(0u, d.Layer()->ExtendedError());  // a cancel, not a failure
}

TEST_F(RealDialogTest, PageSetupWithoutAPrinter) {
    // Wine says there is no default printer in a box of its own, then fails.
    std::wstring box;
    DialogDriver drive({[&](HWND d) {
        if (!d) return false;
        box = DialogDriver::BoxText(d);
        DialogDriver::Click(d, GetDlgItem(d, IDOK) ? IDOK : IDCANCEL);
        return true;
    }});
    GCommonDialog g;
    GCommonDialog::PageSetupWholeArgs a;
    a.LeftMargin = 20;
    a.Units = 1;
    EXPECT_FALSE(g.VBPageSetupDlg(a));
    EXPECT_TRUE(drive.Finished());
    EXPECT_FALSE(box.empty());
    EXPECT_EQ(static_cast<DWORD>(PDERR_NODEFAULTPRN), g.ExtendedError());
    EXPECT_EQ(20, a.LeftMargin);
}
