// App::InputBox: a small modal window of our own (prompt, edit box, 确定, 取消).
#include "platform/App.h"
#include "platform/Button.h"
#include "platform/Label.h"
#include "platform/Modal.h"
#include "platform/SelectAllText.h"
#include "platform/TextBox.h"
#include "platform/Twips.h"
#include "platform/Window.h"

namespace App {
namespace {
InputBoxResponder g_inputResponder;

enum : int { IdPrompt = 100, IdText = 101 };

class InputBoxForm : public Form {
public:
    ~InputBoxForm() override { Unload(); }

    // Shows the box modally; true when it was closed by 确定, with the text in `answer`.
    bool Run(const InputBoxCall& call, std::wstring& answer) {
        HWND owner = GetActiveWindow();
        int w = Twips::ToPixelsX(6135), h = Twips::ToPixelsY(2385);
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        int x = work.left + (work.right - work.left - w) / 2;
        int y = work.top + (work.bottom - work.top - h) / 2;
        if (!CreateForm(L"Quorix.InputBox", call.title, WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
                        owner, x, y, w, h))
            return false;
        RECT client;
        GetClientRect(hwnd_, &client);
        int cw = client.right, ch = client.bottom;
        int margin = Twips::ToPixelsX(120), bw = Twips::ToPixelsX(1215), bh = Twips::ToPixelsY(345);
        int eh = Twips::ToPixelsY(315);
        bool made = Prompt.Create(hwnd_, IdPrompt, call.prompt) && OK.Create(hwnd_, IDOK, L"确定") &&
                    Cancel.Create(hwnd_, IDCANCEL, L"取消") && Answer.Create(hwnd_, IdText);
        if (!made) {
            Unload();
            return false;
        }
        Prompt.Move(margin, margin, cw - 3 * margin - bw, ch - 3 * margin - eh);
        OK.Move(cw - margin - bw, margin, bw, bh);
        Cancel.Move(cw - margin - bw, margin + bh + margin / 2, bw, bh);
        Answer.Move(margin, ch - margin - eh, cw - 2 * margin, eh);
        SendMessageW(OK.hwnd(), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
        Answer.SetText(call.defaultText);
        General::SelectAllText(Answer);
        OK.Click = [this] { Finish(true); };
        Cancel.Click = [this] { Finish(false); };
        accepted_ = false;
        focused_ = false;
        Modal::Run(hwnd_);
        answer = text_;
        return accepted_;
    }

private:
    Label Prompt;
    CommandButton OK;
    CommandButton Cancel;
    TextBox Answer;
    bool accepted_ = false;
    bool focused_ = false;
    std::wstring text_;

    void Finish(bool accepted) {
        if (!hwnd_) return;
        accepted_ = accepted;
        text_ = accepted ? Answer.Text() : std::wstring();
        Modal::Ending(hwnd_);
        Unload();
    }

    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override {
        switch (msg) {
        case DM_GETDEFID:
            return MAKELRESULT(IDOK, DC_HASDEFID);
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && !focused_) {
                focused_ = true;
                Answer.SetFocus();
                return 0;
            }
            break;
        case WM_COMMAND:
            // Enter and Esc from the dialog manager when no button took them.
            if (!lp || !Control::FromHwnd(reinterpret_cast<HWND>(lp))) {
                if (LOWORD(wp) == IDOK) {
                    Finish(true);
                    return 0;
                }
                if (LOWORD(wp) == IDCANCEL) {
                    Finish(false);
                    return 0;
                }
            }
            break;
        case WM_CLOSE:
            Finish(false);
            return 0;
        default:
            break;
        }
        return Form::WndProc(msg, wp, lp);
    }
};
}  // namespace

std::wstring InputBox(const std::wstring& prompt, const std::wstring& title, const std::wstring& defaultText) {
    InputBoxCall call{prompt, title.empty() ? Title() : title, defaultText};
    if (g_inputResponder) return g_inputResponder(call);
    InputBoxForm form;
    std::wstring answer;
    return form.Run(call, answer) ? answer : std::wstring();
}

void SetInputBoxResponder(InputBoxResponder responder) { g_inputResponder = std::move(responder); }

}  // namespace App
