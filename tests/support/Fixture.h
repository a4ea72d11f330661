#pragma once
// Shared test fixture: a fresh program folder per test, message boxes and input
// boxes answered by a script (an unexpected box fails the test), shell opens and process starts
// recorded instead of run, a fixed clock when asked, and a scratch registry key
// under HKEY_CURRENT_USER\Software\QuorixTest.
#include "platform/App.h"
#include "platform/Launch.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

class QuorixTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The next message box is answered with `answer`; when `expectedText` is not
    // empty the box's text must equal it.
    void ExpectBox(int answer, const std::wstring& expectedText = {});
    // Every box shown during the test, in order.
    std::vector<App::MsgBoxCall> boxes;

    // The next input box is answered with `answer` (empty: cancelled); when
    // `expectedPrompt` is not empty the box's prompt must equal it.
    void ExpectInput(const std::wstring& answer, const std::wstring& expectedPrompt = {});
    // Every input box shown during the test, in order.
    std::vector<App::InputBoxCall> inputs;
    // Every shell open and process start of the test, in order; nothing reaches
    // the system unless the test clears the recorder (Launch::SetRecorderForTests).
    std::vector<Launch::Call> launches;

    // The test's program folder, with a trailing backslash.
    std::wstring dir;
    std::wstring Path(const std::wstring& relative) const { return dir + relative; }
    void SetDate(int year, int month, int day);
    // Makes the folder look like one the program has run in before (a data
    // folder and the upgrade notice seen), so that a main-window start-up in a
    // test about something else shows no box of its own.
    void PrepareRunBefore();

    // Whole-file helpers (bytes as stored).
    static std::string ReadBytes(const std::wstring& path);
    static void WriteBytes(const std::wstring& path, const std::string& bytes);

    static const wchar_t* const kTestKey;      // L"HKEY_CURRENT_USER\\Software\\QuorixTest"
    static const char* const kTestSubkeyAnsi;  // "Software\\QuorixTest"

private:
    struct Expected {
        int answer;
        std::wstring text;
    };
    std::deque<Expected> expected_;
    struct ExpectedInput {
        std::wstring answer;
        std::wstring prompt;
    };
    std::deque<ExpectedInput> expectedInputs_;
};

// Registry helpers for tests: raw access below the code under test.
namespace TestReg {
bool Exists(const std::string& subkey, const std::string& value);
// Type and bytes of a value under HKEY_CURRENT_USER; false when missing.
bool Get(const std::string& subkey, const std::string& value, DWORD& type, std::string& bytes);
void Set(const std::string& subkey, const std::string& value, DWORD type, const std::string& bytes);
void DeleteTree(const std::string& subkey);
void CreateKey(const std::string& subkey);
bool KeyExists(const std::string& subkey);
}  // namespace TestReg

std::string Ansi(const std::wstring& w);
