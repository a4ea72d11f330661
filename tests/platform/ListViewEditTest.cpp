// The list view's label editing started from code and its cut mark, through a
// real list in a shown window.
#include "Drive.h"
#include "platform/ListView.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "support/Fixture.h"

namespace {
class ListForm : public Form {
public:
    ~ListForm() override { Unload(); }
    bool Load() {
        if (!CreateForm(L"Quorix.ListTestForm", L"list", WS_OVERLAPPEDWINDOW, 0, nullptr, 0, 0, 400, 300))
            return false;
        if (!ListView1.Create(hwnd_, 1)) return false;
        ListView1.Move(0, 0, 380, 260);
        ListView1.AddColumn(L"名称", 150);
        ListView1.AddColumn(L"数据", 150);
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        Drive::Pump();
        return true;
    }
    ListView ListView1;
};

class ListViewEditTest : public QuorixTest {
protected:
    void SetUp() override {
        QuorixTest::SetUp();
        ASSERT_TRUE(form.Load());
        for (const wchar_t* name : {L"甲", L"旧值", L"丙"}) list.SetSubText(list.Add(name), 1, L"data");
    }
    ListForm form;
    ListView& list = form.ListView1;
    HWND EditBox() const { return reinterpret_cast<HWND>(SendMessageW(list.hwnd(), LVM_GETEDITCONTROL, 0, 0)); }
};
}  // namespace

// Editing the second row's text from code: the typed text, trimmed, is taken or
// refused by the handler; Esc cancels with its own event; other rows and the
// second column are untouched.
TEST_F(ListViewEditTest, LabelEditFromCodeTakenRefusedOrCancelled) {
    struct Case {
        const char* name;
        std::wstring typed;
        UINT endKey;
        bool refuse;
        std::wstring expectEvent;
        std::wstring expectRow;
    };
    const Case cases[] = {
        {"taken", L"  新值 1 ", VK_RETURN, false, L"新值 1", L"新值 1"},
        {"refused", L"甲", VK_RETURN, true, L"甲", L"旧值"},
        {"unchanged", L"旧值", VK_RETURN, false, L"旧值", L"旧值"},
        {"Esc", L"不要", VK_ESCAPE, false, L"", L"旧值"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        list.SetText(2, L"旧值");
        int events = 0, cancels = 0;
        std::wstring seen;
        list.AfterLabelEdit = [&](ListView::LabelEditEnd& e) {
            ++events;
            EXPECT_EQ(2, e.row);
            EXPECT_EQ(L"旧值", list.Text(e.row));
            seen = e.text;
            e.cancel = c.refuse;
        };
        list.LabelEditCancelled = [&](int row) {
            ++cancels;
            EXPECT_EQ(2, row);
        };
        ASSERT_TRUE(list.StartLabelEdit(2));
        EXPECT_TRUE(list.Editing());
        HWND edit = EditBox();
        ASSERT_NE(nullptr, edit);
        EXPECT_EQ(L"旧值", Drive::WindowText(edit));
        Drive::Type(edit, c.typed);
        Drive::PostKey(edit, c.endKey);
        Drive::Pump();
        EXPECT_FALSE(list.Editing());
        EXPECT_EQ(c.endKey == VK_ESCAPE ? 0 : 1, events);
        EXPECT_EQ(c.endKey == VK_ESCAPE ? 1 : 0, cancels);
        EXPECT_EQ(Text::ToAnsi(c.expectEvent), Text::ToAnsi(seen));
        EXPECT_EQ(Text::ToAnsi(c.expectRow), Text::ToAnsi(list.Text(2)));
        EXPECT_EQ(L"data", list.SubText(2, 1));
        EXPECT_EQ(L"甲", list.Text(1));
        EXPECT_EQ(L"丙", list.Text(3));
    }
    EXPECT_FALSE(list.StartLabelEdit(4));
    EXPECT_FALSE(list.StartLabelEdit(0));
}

// Only code opens an edit box: the control opening one on its own (a click on
// a selected row's text) is kept from it, also right after an edit from code.
TEST_F(ListViewEditTest, NoEditBoxWithoutStartLabelEdit) {
    auto controlOpens = [&] {
        SetWindowLongPtrW(list.hwnd(), GWL_STYLE, GetWindowLongPtrW(list.hwnd(), GWL_STYLE) | LVS_EDITLABELS);
        list.SetFocus();
        SendMessageW(list.hwnd(), LVM_EDITLABELW, 0, 0);
        bool opened = list.Editing();
        list.CancelLabelEdit();
        Drive::Pump();
        return opened;
    };
    EXPECT_FALSE(controlOpens());
    ASSERT_TRUE(list.StartLabelEdit(1));
    list.CancelLabelEdit();
    Drive::Pump();
    EXPECT_FALSE(list.Editing());
    EXPECT_EQ(0, GetWindowLongPtrW(list.hwnd(), GWL_STYLE) & LVS_EDITLABELS);
    EXPECT_FALSE(controlOpens());
}

// The cut mark is the control's LVIS_CUT state: set, read and cleared per row.
TEST_F(ListViewEditTest, CutMarkSetAndCleared) {
    auto rawCut = [&](int row) {
        return (SendMessageW(list.hwnd(), LVM_GETITEMSTATE, row - 1, LVIS_CUT) & LVIS_CUT) != 0;
    };
    EXPECT_TRUE(list.SetGhosted(1, true));
    EXPECT_TRUE(list.SetGhosted(3, true));
    EXPECT_TRUE(list.Ghosted(1));
    EXPECT_FALSE(list.Ghosted(2));
    EXPECT_TRUE(list.Ghosted(3));
    EXPECT_TRUE(rawCut(1) && !rawCut(2) && rawCut(3));
    list.SetSelectedItem(3);  // selection and focus leave the mark alone
    EXPECT_TRUE(list.Ghosted(3));
    EXPECT_TRUE(list.SetGhosted(1, false));
    EXPECT_FALSE(list.Ghosted(1));
    EXPECT_FALSE(rawCut(1));
    // Drawn dimmed: the marked row's text in the grey of disabled text, the others not.
    auto textColours = [&](int row) {
        InvalidateRect(list.hwnd(), nullptr, TRUE);
        UpdateWindow(list.hwnd());
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageW(list.hwnd(), LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&r));
        HDC dc = GetDC(list.hwnd());
        bool grey = false, black = false;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                COLORREF c = GetPixel(dc, x, y);
                grey = grey || c == GetSysColor(COLOR_GRAYTEXT);
                black = black || c == GetSysColor(COLOR_WINDOWTEXT);
            }
        ReleaseDC(list.hwnd(), dc);
        return std::make_pair(grey, black);
    };
    list.SetSelected(3, false);
    SetFocus(form.hwnd());  // no focus rectangle (drawn in the text's colour) over the focused row
    EXPECT_EQ(std::make_pair(false, true), textColours(2));
    EXPECT_EQ(std::make_pair(true, false), textColours(3));
    EXPECT_FALSE(list.SetGhosted(4, true));
    EXPECT_FALSE(list.Ghosted(4));
    list.Remove(1);
    EXPECT_TRUE(list.Ghosted(2));  // the mark goes with its row
}
