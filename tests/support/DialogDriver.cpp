#include "support/DialogDriver.h"

#include <dlgs.h>

namespace {
DialogDriver* g_driver = nullptr;

BOOL CALLBACK FindTop(HWND h, LPARAM lp) {
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    if (std::wstring(cls) == L"#32770" && IsWindowVisible(h) && IsWindowEnabled(h)) {
        *reinterpret_cast<HWND*>(lp) = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CancelOne(HWND h, LPARAM) {
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    if (std::wstring(cls) == L"#32770" && IsWindowVisible(h)) PostMessageW(h, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

BOOL CALLBACK FindStatic(HWND h, LPARAM lp) {
    wchar_t cls[32] = {};
    GetClassNameW(h, cls, 32);
    if (std::wstring(cls) == L"Static" && GetWindowTextLengthW(h) > 0) {
        *reinterpret_cast<HWND*>(lp) = h;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

DialogDriver::DialogDriver(std::vector<Step> steps, DWORD timeoutMs)
    : steps_(std::move(steps)), deadline_(GetTickCount() + timeoutMs) {
    g_driver = this;
    timer_ = SetTimer(nullptr, 0, 50, &DialogDriver::Tick);
}

DialogDriver::~DialogDriver() {
    KillTimer(nullptr, timer_);
    g_driver = nullptr;
}

void CALLBACK DialogDriver::Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_driver) g_driver->OnTick();
}

void DialogDriver::OnTick() {
    if (inTick_) return;
    inTick_ = true;
    if (next_ < steps_.size()) {
        if (static_cast<LONG>(GetTickCount() - deadline_) > 0) {
            EnumThreadWindows(GetCurrentThreadId(), &CancelOne, 0);
        } else if (steps_[next_](TopDialog())) {
            ++next_;
        }
    }
    inTick_ = false;
}

HWND DialogDriver::TopDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindTop, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND DialogDriver::FileNameBox(HWND dialog) {
    if (HWND h = GetDlgItem(dialog, cmb13)) return h;
    return GetDlgItem(dialog, edt1);
}

void DialogDriver::Click(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring DialogDriver::TextOf(HWND window) {
    std::wstring s(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(window, s.data(), static_cast<int>(s.size()))));
    return s;
}

std::wstring DialogDriver::BoxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    if (!text) EnumChildWindows(box, &FindStatic, reinterpret_cast<LPARAM>(&text));
    return text ? TextOf(text) : std::wstring();
}
