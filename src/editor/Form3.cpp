#include "editor/Form3.h"

#include "editor/ValueTexts.h"
#include "platform/Resize.h"
#include "platform/Twips.h"

namespace {
enum : int { IdTabStrip1 = 301, IdCombo1, IdText3, IdImageCombo1, IdListView1, IdListView2 };
}

Form3::~Form3() { Unload(); }

bool Form3::Load() {
    if (Exists()) return true;
    if (!CreateForm(L"Quorix.Form3", L"技巧属性", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN,
                    WS_EX_TOOLWINDOW, nullptr, 0, 0, Twips::ToPixelsX(2300), Twips::ToPixelsY(3510)))
        return false;
    TabStrip1.Create(hwnd_, IdTabStrip1);
    TabStrip1.AddTab(L"常规");
    TabStrip1.AddTab(L"键值");
    TabStrip1.AddTab(L"查看");
    TabStrip1.Select(1);
    Combo1.Create(hwnd_, IdCombo1, false);
    for (const wchar_t* t : {L"字符串值(REG_SZ)", L"二进制值(REG_BINARY)", L"DWORD值(REG_DWORD)",
                             L"可扩充字符串值(REG_EXPAND_SZ)"})
        Combo1.AddItem(t);
    Text3.Create(hwnd_, IdText3);
    ImageCombo1.Create(hwnd_, IdImageCombo1, true);
    ImageCombo1.AddItem(ValueTexts::DeleteChoice);
    ListView1.Create(hwnd_, IdListView1, LVS_SINGLESEL);
    ListView1.SetExtendedStyle(LVS_EX_CHECKBOXES, 0);
    ListView1.AddColumn(L"说明", 70);
    ListView1.AddColumn(L"键值", 70);
    ListView2.Create(hwnd_, IdListView2);
    ListView2.SetExtendedStyle(LVS_EX_CHECKBOXES, 0);
    ListView2.AddColumn(L"名称", 70);
    ListView2.AddColumn(L"数据", 70);
    ListView2.SetVisible(false);
    ListView2.Tag = L"no";
    Resize::InstallSideMinSize(hwnd_);
    LayoutControls();
    return true;
}

void Form3::LayoutControls() {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    const int pad = 4, row = 22;
    TabStrip1.Move(2, 1, rc.right - 4, 22);
    int y = 28;
    Combo1.Move(pad, y, rc.right - 2 * pad, 200);
    y += row + 2;
    Text3.Move(pad, y, rc.right - 2 * pad, row);
    y += row + 2;
    ImageCombo1.Move(pad, y, rc.right - 2 * pad, 200);
    y += row + 4;
    ListView1.Move(pad, y, rc.right - 2 * pad, rc.bottom - y - pad);
    ListView2.Move(pad, 28, rc.right - 2 * pad, rc.bottom - 28 - pad);
}

LRESULT Form3::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_SIZE:
        LayoutControls();
        return 0;
    case WM_CLOSE:
        // Closing the window by its frame only hides it; the main window decides when it goes.
        Hide();
        return 0;
    default:
        return Form::WndProc(msg, wp, lp);
    }
}

namespace Forms {
::Form3& Form3() { return Loaded<::Form3>(); }
::Form3* Form3IfLoaded() { return IfLoaded<::Form3>(); }
}  // namespace Forms
