// The tip list stays fully painted through the main window's size changes:
// what the screen shows of it after each change is what the list draws when
// asked to draw itself whole.
#include "MainWindowFixture.h"

#include "common/TipFile.h"
#include "support/RealInput.h"

namespace {
// The pixels of a window's client area as the screen shows them.
std::vector<DWORD> OnScreen(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    POINT origin{0, 0};
    ClientToScreen(w, &origin);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = r.right;
    bi.bmiHeader.biHeight = -r.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, r.right, r.bottom, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    std::vector<DWORD> out(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + r.right * r.bottom);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return out;
}

// Lets everything queued run, paints included.
void Settle(int ms = 400) {
    for (int waited = 0; waited < ms; waited += 20) {
        Ui::DoEvents();
        Sleep(20);
    }
    Ui::DoEvents();
}

// The rows of the list (band by band) whose pixels differ between two pictures.
std::vector<int> DifferingBands(const std::vector<DWORD>& a, const std::vector<DWORD>& b, int width, int band) {
    std::vector<int> rows;
    if (a.size() != b.size() || width <= 0) return {-1};
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) {
            const int row = static_cast<int>(i / static_cast<size_t>(width)) / band;
            if (rows.empty() || rows.back() != row) rows.push_back(row);
        }
    return rows;
}
}  // namespace

class RepaintTest : public MainWindowTest {
protected:
    void WriteCategory() {
        CreateDirectoryW(Path(L"Data").c_str(), nullptr);
        const std::wstring file = Path(L"Data\\重绘.qix");
        const wchar_t* names[] = {L"第一个技巧", L"第二个技巧", L"第三个技巧", L"第四个技巧", L"第五个技巧", L"第六个技巧"};
        for (const wchar_t* name : names) {
            TipFile::TipRecord r{kTestKey, name, L"启用", L"1", L"0", L"说明", L"1"};
            ASSERT_TRUE(TipFile::WriteTip(file, TipFile::DataSection, name, TipFile::EncodeRecord(r),
                                          TipFile::EncodeOptions({{L"启用", L"关闭"}, {L"1", L"0"}})));
        }
    }
    // The list as the screen shows it must be what it draws when asked to draw itself whole.
    static void ExpectFullyPainted(Form2& f, const char* when) {
        SCOPED_TRACE(when);
        HWND list = f.ListView1.hwnd();
        Settle();
        RECT r{};
        GetClientRect(list, &r);
        ASSERT_GT(r.right, 0);
        const std::vector<DWORD> shown = OnScreen(list);
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Settle(100);
        const std::vector<DWORD> whole = OnScreen(list);
        RECT item{LVIR_BOUNDS, 0, 0, 0};
        SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        const int band = item.bottom - item.top > 0 ? item.bottom - item.top : 16;
        EXPECT_EQ(std::vector<int>{}, DifferingBands(shown, whole, r.right, band))
            << "bands of the list (one row high each, from the top) that the screen showed otherwise";
    }
    // A double click on the main window's caption, with the mouse.
    static void DoubleClickCaption(Form2& f) {
        RECT w{};
        GetWindowRect(f.hwnd(), &w);
        // Left of the caption's buttons, right of its icon.
        POINT pt{w.left + 40, w.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
        SetForegroundWindow(f.hwnd());
        RealInput::Click(pt);
        RealInput::Click(pt);
        Settle();
    }
};

TEST_F(RepaintTest, TheListIsWholeAfterMaximisingAndRestoringANarrowWindow) {
    MakeRunBefore();
    WriteCategory();
    Form2& f = Start();
    ASSERT_EQ(6, f.ListView1.Count());
    SetForegroundWindow(f.hwnd());
    // Narrowed until the toolbar needs three rows (as a drag ends).
    RECT w = Outer(f.hwnd());
    SetWindowPos(f.hwnd(), nullptr, 0, 0, 290, w.bottom - w.top, SWP_NOMOVE | SWP_NOZORDER);
    SendMessageW(f.hwnd(), WM_EXITSIZEMOVE, 0, 0);
    ExpectFullyPainted(f, "narrowed");
    // A row clicked (its balloon up).
    RECT row{LVIR_LABEL, 0, 0, 0};
    ASSERT_TRUE(SendMessageW(f.ListView1.hwnd(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
    POINT pt{row.left + 10, (row.top + row.bottom) / 2};
    ClientToScreen(f.ListView1.hwnd(), &pt);
    RealInput::Click(pt);
    Settle();
    ASSERT_TRUE(f.ListView1.Selected(2));
    DoubleClickCaption(f);
    ASSERT_TRUE(IsZoomed(f.hwnd()));
    ExpectFullyPainted(f, "maximised");
    DoubleClickCaption(f);
    ASSERT_FALSE(IsZoomed(f.hwnd()));
    ExpectFullyPainted(f, "restored");
}

TEST_F(RepaintTest, TheListIsWholeAfterAOneStepResize) {
    MakeRunBefore();
    WriteCategory();
    Form2& f = Start();
    ASSERT_EQ(6, f.ListView1.Count());
    f.ListView1.SetSelectedItem(2);
    RECT w = Outer(f.hwnd());
    for (int width : {900, 300, 900, 330, 600}) {
        SetWindowPos(f.hwnd(), nullptr, 0, 0, width, w.bottom - w.top, SWP_NOMOVE | SWP_NOZORDER);
        SendMessageW(f.hwnd(), WM_EXITSIZEMOVE, 0, 0);
        ExpectFullyPainted(f, ("width " + std::to_string(width)).c_str());
    }
}
