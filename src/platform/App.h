#pragma once
// Runtime services the windows rely on: the program's folder and title, the
// previous-instance test, the command line, message boxes, today's date, and
// small file and folder helpers. Tests replace the program folder, the clock and
// the answer to message boxes through the seams at the end.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace App {

// The program's folder, without a trailing backslash (as the runtime gives it).
std::wstring Path();
// The folder with exactly one backslash at its end.
std::wstring PathSlash();
// The program's file name without folder and extension (the source of raised errors).
std::wstring ExeName();
// The process's current folder ("" when it cannot be read).
std::wstring CurrentFolder();
// The program's title, used as the caption of every message box.
std::wstring Title();
// True when another instance of the program is running (a named mutex, taken
// by the first caller in this process).
bool PrevInstance();
// The command line after the program's own name.
std::wstring Command();

// Message box with the program's title unless another one is given. `style` is
// the MB_ flags; the result is the IDOK/IDYES/... answer.
int MsgBox(const std::wstring& text, UINT style = MB_OK, const std::wstring& title = {});

// Input box: a modal window of the program's own, centred on the screen, with
// the prompt, an edit box holding `defaultText` (selected), and the buttons
// 确定 (Enter) and 取消 (Esc, the close box). Returns the text as typed when
// 确定 is pressed, the empty text when cancelled (as in VB, an empty answer and
// a cancel look the same). The program's title unless another one is given.
std::wstring InputBox(const std::wstring& prompt, const std::wstring& title = {},
                      const std::wstring& defaultText = {});

// Today's date and time (local).
SYSTEMTIME Now();
// Two-digit month, two-digit day and four-digit year joined by dashes ("12-10-2026").
std::wstring DateText();
std::wstring DateText(const SYSTEMTIME& t);

// ---- file and folder helpers (paths are UTF-16, converted at each call) ----
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
bool MakeFolder(const std::wstring& path);
bool RemoveFile(const std::wstring& path);
// Names (not paths) of the files in `folder` matching `pattern` ("*.qix").
std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& pattern);
// The path with every component as the file system stores it (long names, stored
// case); the drive's two characters are kept. Empty when a component is missing.
std::wstring LongPath(const std::wstring& path);
// Writes an empty file (zero bytes), replacing any existing one.
bool CreateEmptyFile(const std::wstring& path);

// ---- test seams ----
struct MsgBoxCall {
    std::wstring text;
    std::wstring title;
    UINT style = 0;
};
using MsgBoxResponder = std::function<int(const MsgBoxCall&)>;
// While a responder is set, message boxes are not shown: the responder answers.
void SetMsgBoxResponder(MsgBoxResponder responder);
struct InputBoxCall {
    std::wstring prompt;
    std::wstring title;  // as shown: the program's title when none was given
    std::wstring defaultText;
};
// While a responder is set, input boxes are not shown: the responder's text is
// the answer (empty for a cancel).
using InputBoxResponder = std::function<std::wstring(const InputBoxCall&)>;
void SetInputBoxResponder(InputBoxResponder responder);
void SetPathForTests(std::optional<std::wstring> folder);
void SetNowForTests(std::optional<SYSTEMTIME> now);
void SetCommandForTests(std::optional<std::wstring> command);
// While the program folder is replaced for tests, PrevInstance answers this
// (false when not set) instead of taking the named mutex, so that test
// programs running side by side do not see each other as instances.
void SetPrevInstanceForTests(std::optional<bool> running);

// The modifier keys held now, as the key and mouse events take them: 1 Shift,
// 2 Ctrl, 4 Alt.
int ShiftState();
}  // namespace App
