#pragma once
// The multi-page dialog. One window whose pages share its controls: each opener
// shows its page's controls (ShowPage), sizes the window, sets the caption,
// fills the fields and shows it modally (ShowModal). The caption also names the
// page for the handlers that pages share (the double-click in ListView1). The
// dialog is unloaded whenever it is closed; the next opener loads it afresh.
#include "platform/Button.h"
#include "platform/ImageList.h"
#include "platform/Label.h"
#include "platform/ListView.h"
#include "platform/Window.h"
#include "transfer/Transfer.h"

#include <string>
#include <utility>
#include <vector>

class Form4 : public Form {
public:
    // The pages built so far, as bits: a control may belong to several. Each
    // page adds its bit and assigns its own controls.
    enum Page : unsigned {
        RestorePage = 1u << 0,
        ReplacePage = 1u << 5,
    };

    ~Form4() override;
    bool Load();
    // Shows the controls of `pages` and hides every other page's controls.
    void ShowPage(unsigned pages);
    // Shows the window modally; returns once it is closed (and unloaded).
    void ShowModal();
    // Closes (unloads) the dialog; every page leaves through here.
    void Close();

    // ---- shared controls ----
    Label Picture6;        // container of the shared list
    Frame Frame6;          // frame of the list and its buttons
    ListView ListView1;    // the shared list (restore: one row per backup file)
    Frame Frame7;          // page header
    Label Label28;         // header title
    Label Label29;         // header text
    Label Image8;          // header pictures
    Label Image9;
    ImageList ImageList1;  // large icons of ListView1

    // ---- restore page ----
    CommandButton Command22;  // 开始恢复(&S)
    CommandButton Command23;  // 删除(&D)
    CommandButton Command24;  // 退出

    // Enter presses the default button, Esc the cancel button (either may be null).
    void SetDefaultButton(CommandButton* b);
    void SetCancelButton(CommandButton* b);

    // Fills and shows the restore page (modal).
    void OpenRestorePage();
    void Command22_Click();  // restore the selected day
    void Command23_Click();  // delete the selected day files
    void Command24_Click();  // leave the page

    // Shared list events: the point of the last mouse-down, and the double-click
    // that runs the restore while the caption is "恢复窗口".
    void ListView1_MouseDown(POINT clientPt);
    void ListView1_DblClick();

    // ---- replace confirmation page ("确认技巧替换") ----
    Label Picture3;    // the page's container
    Label Image4, Image5, Image6;  // two documents; the existing tip; the incoming tip
    Label Label11;     // "此类别已包含 " name " 技巧"
    Label Label49;     // "是否将已存在的技巧"
    Label Label12;     // existing key path
    Label Label14;     // existing value name
    Label Label52;     // "替换为"
    Label Label13;     // incoming key path
    Label Label15;     // incoming value name
    CommandButton Command7;   // 是(Y)
    CommandButton Command9;   // 全部(&A)
    CommandButton Command8;   // 否(&N)
    CommandButton Command10;  // 取消
    // Fills the page for the clash of `tip` with row `row` of `list` and shows it
    // modally; returns once it is closed, with tip.answer set (Ask after 是, 否
    // and the close box, All after 全部, Stop after 取消).
    void OpenReplacePage(Transfer::PendingTip& tip, const ListView& list, int row);
    void Command7_Click();   // 是: write the tip, go on asking
    void Command9_Click();   // 全部: write the tip and the rest without asking
    void Command8_Click();   // 否: keep the existing tip
    void Command10_Click();  // 取消: stop
    // The keys the dialog sees before its controls (Y, N and A on the replace
    // page); true when the key was used.
    bool Form_KeyDown(int keyCode, int shift);
    // A label's tool tip (empty when it has none) and whether it is drawn bold.
    std::wstring ToolTipText(const Label& label) const;
    bool LabelBold(const Label& label) const;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void LoadReplacePage();
    void SetToolTip(Label& label, const std::wstring& text);
    void SetBold(Label& label, bool on);
    void ReplaceAnswered(Transfer::ReplaceAnswer answer, bool write);
    Transfer::PendingTip* pending_ = nullptr;
    HWND tips_ = nullptr;
    HFONT boldFont_ = nullptr;
    void AddToPage(Control& c, unsigned pages);
    std::vector<std::pair<Control*, unsigned>> pageControls_;
    CommandButton* defaultButton_ = nullptr;
    CommandButton* cancelButton_ = nullptr;
    POINT lastMouseDown_{-1, -1};
};

// Removes every selected row of `sListview`, from the last row to the first;
// the other rows keep their order.
void DelItmx(ListView& sListview);

namespace Forms {
// The dialog, loaded on first use after each unload.
::Form4& Form4();
}  // namespace Forms
