#include "platform/Launch.h"

#include <shellapi.h>

namespace Launch {
namespace {
Recorder g_recorder;
}

bool Open(HWND owner, const std::wstring& verb, const std::wstring& target, const std::wstring& parameters,
          int show) {
    if (g_recorder) {
        g_recorder({verb, target, parameters, show, owner});
        return true;
    }
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.hwnd = owner;
    info.lpVerb = verb.empty() ? nullptr : verb.c_str();
    info.lpFile = target.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = show;
    return ShellExecuteExW(&info) != FALSE;
}

bool Start(const std::wstring& program, const std::wstring& parameters, int show) {
    if (g_recorder) {
        g_recorder({L"", program, parameters, show, nullptr});
        return true;
    }
    std::wstring commandLine = parameters.empty() ? program : program + L" " + parameters;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

void SetRecorderForTests(Recorder recorder) { g_recorder = std::move(recorder); }

}  // namespace Launch
