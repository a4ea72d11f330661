#pragma once
// Drives the system's own dialogs from a thread timer. A thread timer's
// callback runs inside whatever modal loop is up on this thread (the system
// dialog's, or a message box the dialog shows), so the steps work the real
// dialog as a user would and the Show method returns by itself.
//
// Each step is called on every tick with the innermost system dialog of the
// thread (nullptr when none is up) until it answers true; then the next one.
// When the steps do not finish in time every dialog up is cancelled, so a test
// never hangs, and Finished() stays false.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class DialogDriver {
public:
    using Step = std::function<bool(HWND dialog)>;
    explicit DialogDriver(std::vector<Step> steps, DWORD timeoutMs = 15000);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool Finished() const { return next_ >= steps_.size(); }
    size_t StepsDone() const { return next_; }

    // The innermost system dialog of this thread: a visible, enabled top-level
    // window of the dialog class.
    static HWND TopDialog();
    // The control that holds a file dialog's file name (combo box or edit).
    static HWND FileNameBox(HWND dialog);
    // Posts a click of the button `id` to `dialog` (posted, so no step nests).
    static void Click(HWND dialog, int id);
    static std::wstring TextOf(HWND window);
    // The text of a message box (its static text).
    static std::wstring BoxText(HWND box);

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    void OnTick();

    std::vector<Step> steps_;
    size_t next_ = 0;
    DWORD deadline_;
    UINT_PTR timer_ = 0;
    bool inTick_ = false;
};
