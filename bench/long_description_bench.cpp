// A long description as a user meets it, on the program as it runs: Quorix.exe
// in a program folder of its own (the settings its first start writes) showing
// a category of two tips, the second with a description (说明) of 30,000
// characters (Chinese, no line break: one paragraph that the box wraps).
// Showing: the first row is clicked, then the clock runs from the Down key
// until the properties window's 说明 box holds the long text and the program is
// idle. Pasting: the first tip shown, a click into its 说明 box, Ctrl+End, and
// the clock runs from Ctrl+V (the clipboard holding the same 30,000 characters)
// until the box holds them and the program is idle. Five times each.
// The floor, in the same run: a bare window of the benchmark with a bare edit
// box of the same size, style and font (multi-line, wrapped, vertical scroll
// bar, no length limit), given the same text by WM_SETTEXT, and the same
// clipboard pasted into it (WM_PASTE after the same short text), each drawn once.
//   wine build/bench/long_description_bench.exe [program folder] [characters] [properties window width, twips]
//   (defaults: 30000 characters, the width a first start gives)
#include "Outside.h"

#include <cstdio>

namespace {
const wchar_t kShort[] = L"短的说明";

std::wstring LongText(size_t n) {
    const std::wstring sentence = L"这是一段很长的技巧说明文字，用来看属性窗口显示和粘贴长文字要多久。";
    std::wstring s;
    while (s.size() < n) s += sentence;
    s.resize(n);
    return s;
}

std::string Category(const std::wstring& longText) {
    std::wstring data = L"[数据]\r\n", mirror = L"[" + TipFile::MirrorOf(L"数据") + L"]\r\n";
    const wchar_t* names[] = {L"短说明技巧", L"长说明技巧"};
    for (int i = 0; i < 2; ++i) {
        TipFile::TipRecord r{L"HKEY_CURRENT_USER\\Software\\QuorixBench\\Long", L"V" + std::to_wstring(i), L"启用",
                             L"1", L"0", i == 0 ? std::wstring(kShort) : longText, L"1"};
        data += std::wstring(names[i]) + L"=" + TipFile::EncodeRecord(r) + L"\r\n";
        mirror += std::wstring(names[i]) + L"=" + TipFile::EncodeOptions({{L"启用", L"关闭"}, {L"1", L"0"}}) + L"\r\n";
    }
    return Text::ToAnsi(data + mirror);
}

struct LowerSearch {
    HWND found = nullptr;
    LONG top = -1;
};
// The properties window's 说明 box: the lower of its two multi-line boxes.
HWND DescriptionBox(const Outside::Program& p) {
    LowerSearch s;
    EnumChildWindows(
        p.Window(L"Quorix.Form3"),
        [](HWND h, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<LowerSearch*>(lp);
            wchar_t cls[16];
            RECT r;
            if (GetClassNameW(h, cls, 16) && _wcsicmp(cls, L"Edit") == 0 && (GetWindowLongW(h, GWL_STYLE) & ES_MULTILINE) &&
                GetWindowRect(h, &r) && r.top > s->top)
                s->found = h, s->top = r.top;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

int Length(HWND box) { return static_cast<int>(SendMessageW(box, WM_GETTEXTLENGTH, 0, 0)); }

void PutOnClipboard(HWND owner, const std::wstring& text) {
    if (!OpenClipboard(owner)) return;
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(mem), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
}

void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
}

// The bare box: a window of the benchmark with one edit box as the program makes its 说明 box.
class FloorBox {
public:
    FloorBox(int width, int height) {
        window_ = CreateWindowExW(0, L"STATIC", L"floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, width + 60,
                                  height + 80, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        box_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 10, 10,
                               width, height, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(box_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        SendMessageW(box_, EM_LIMITTEXT, 0, 0);
        Size(width, height);
        Pump();
    }
    ~FloorBox() { DestroyWindow(window_); }
    FloorBox(const FloorBox&) = delete;
    FloorBox& operator=(const FloorBox&) = delete;
    HWND Window() const { return window_; }
    // The box at the size of the program's, in a corner of the screen behind
    // the program's windows: the benchmark's clicks and keys go to the program.
    void Size(int width, int height) {
        SetWindowPos(window_, HWND_BOTTOM, GetSystemMetrics(SM_CXSCREEN) - width - 60,
                     GetSystemMetrics(SM_CYSCREEN) - height - 80, width + 60, height + 80, SWP_NOACTIVATE);
        SetWindowPos(box_, nullptr, 10, 10, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
    }
    double Show(const std::wstring& text) {
        SetWindowTextW(box_, kShort);
        Pump();
        const double t0 = Seconds();
        SetWindowTextW(box_, text.c_str());
        UpdateWindow(box_);
        const double t = Seconds() - t0;
        Pump();
        return t;
    }
    // The clipboard pasted after the short text, the box focused.
    double Paste() {
        SetWindowTextW(box_, kShort);
        SetFocus(box_);
        SendMessageW(box_, EM_SETSEL, 4, 4);
        Pump();
        const double t0 = Seconds();
        SendMessageW(box_, WM_PASTE, 0, 0);
        UpdateWindow(box_);
        const double t = Seconds() - t0;
        Pump();
        return t;
    }

private:
    HWND window_ = nullptr, box_ = nullptr;
};
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = Outside::ProgramDir(argc, argv);
    const size_t n = argc > 2 ? static_cast<size_t>(_wtoi(argv[2])) : 30000;
    const std::wstring text = LongText(n);
    const std::wstring dir = Outside::MakeProgramFolder(L"quorix_long_description_bench", program, false,
                                                        {{L"系统.qix", Category(text)}});
    if (argc > 3)
        WritePrivateProfileStringW(L"Data", L"Width_3", argv[3], (dir + L"\\config.ini").c_str());
    FloorBox floor(200, 300);
    Outside::Program p;
    p.Start(dir, L"", [](const Outside::Program& q) { return Outside::Rows(q) == 2; });
    Outside::Front(p.Main());
    Outside::ClickRow(p, 1);
    HWND box = nullptr;
    if (!Outside::WaitFor([&] { return (box = DescriptionBox(p)) != nullptr && Length(box) == 4; }, 30)) {
        std::printf("the properties window shows no 说明 box\n");
        return 1;
    }
    RECT r;
    GetWindowRect(box, &r);
    floor.Size(r.right - r.left, r.bottom - r.top);
    const int chars = static_cast<int>(text.size());

    std::vector<double> shows, showFloors;
    // A key pressed while the list still handles a click is lost (the list's
    // drag detection takes the keys): the rounds go up and down by keys alone.
    Sleep(500);
    p.Idle();
    for (int round = 0; round < 5; ++round) {
        if (round > 0) Outside::Key(VK_UP);
        if (!Outside::WaitFor([&] { return Length(box) == 4; }, 60)) return 1;
        p.Idle();
        const double t0 = Seconds();
        Outside::Key(VK_DOWN);
        if (!Outside::WaitFor([&] { return Length(box) == chars; }, 120)) {
            std::printf("the long 说明 was not shown (%d characters there)\n", Length(box));
            return 1;
        }
        p.Idle();
        shows.push_back(Seconds() - t0);
        showFloors.push_back(floor.Show(text));
    }

    std::vector<double> pastes, pasteFloors;
    for (int round = 0; round < 5; ++round) {
        PutOnClipboard(floor.Window(), text);
        Outside::Front(p.Main());
        Outside::ClickRow(p, 1);
        if (!Outside::WaitFor([&] { return Length(box) == 4; }, 60)) return 1;
        Sleep(300);  // the clicks handled whole before the next input (as above)
        Outside::Front(p.Window(L"Quorix.Form3"));
        Outside::ClickWindow(box);
        Sleep(300);
        p.Idle();
        Outside::Key(VK_END, true);
        p.Idle();
        const double t0 = Seconds();
        Outside::Key('V', true);
        if (!Outside::WaitFor([&] { return Length(box) == chars + 4; }, 120)) {
            std::printf("the paste did not arrive in 说明 (%d characters there)\n", Length(box));
            return 1;
        }
        p.Idle();
        pastes.push_back(Seconds() - t0);
        pasteFloors.push_back(floor.Paste());
    }
    const double s = Outside::Median(shows), sf = Outside::Median(showFloors);
    const double v = Outside::Median(pastes), vf = Outside::Median(pasteFloors);
    std::printf("说明 of %d characters, box %ld x %ld pixels (median of 5)\n", chars, r.right - r.left, r.bottom - r.top);
    std::printf("%-32s %8s %10s %8s\n", "", "ms", "floor ms", "x floor");
    std::printf("  shown (Down key onto the tip)  %8.0f %10.0f %8.2f\n", s * 1000, sf * 1000, s / sf);
    std::printf("  pasted (Ctrl+V)                %8.0f %10.0f %8.2f\n", v * 1000, vf * 1000, v / vf);
    p.Close();
    BenchFiles::RemoveTree(dir);
    return 0;
}
