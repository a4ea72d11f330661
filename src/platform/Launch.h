#pragma once
// The one way the program hands something to the system: opening a document or
// an address with the program associated with it, and starting a process.
// Neither waits, and neither shows a message of the system's own on failure
// (the callers ignore the result, as a user sees nothing happen either way).
//
// Test seam: while a recorder is set, nothing is opened or started; each request
// is handed to the recorder instead, so that no address leaves a test.
#include <windows.h>

#include <functional>
#include <string>

namespace Launch {

// One request as the system would get it. A process start has an empty verb and
// no owner; its target is the program and `parameters` the rest of its command line.
struct Call {
    std::wstring verb;
    std::wstring target;
    std::wstring parameters;
    int show = SW_SHOWNORMAL;
    HWND owner = nullptr;
};

// Asks the shell to carry out `verb` ("open") on a document or address, with
// `owner` as the owner of any window the shell shows. True when the shell
// reports success.
bool Open(HWND owner, const std::wstring& verb, const std::wstring& target, const std::wstring& parameters = {},
          int show = SW_SHOWNORMAL);
// Starts `program` with the command line `program parameters` in the show state
// given (the new window takes the focus). True when the process started.
bool Start(const std::wstring& program, const std::wstring& parameters, int show = SW_SHOWNORMAL);
// `path` in double quotes, for a command line.
std::wstring Quoted(const std::wstring& path);

using Recorder = std::function<void(const Call&)>;
// Set only by tests; nullptr lets requests reach the system again.
void SetRecorderForTests(Recorder recorder);

}  // namespace Launch
