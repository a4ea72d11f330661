#pragma once
// The multi-page dialog. One window whose pages share its controls: each opener
// shows its page's controls (ShowPage), sizes the window, sets the caption,
// fills the fields and shows it modally (ShowModal). The caption also names the
// page for the handlers that pages share (the double-click in ListView1). The
// dialog is unloaded whenever it is closed; the next opener loads it afresh.
#include "platform/Button.h"
#include "platform/EditBox.h"
#include "platform/LinkLabel.h"
#include "platform/ImageList.h"
#include "platform/Label.h"
#include "platform/ListView.h"
#include "platform/Window.h"

#include <string>
#include <utility>
#include <vector>

class Form4 : public Form {
public:
    // The pages built so far, as bits: a control may belong to several. Each
    // page adds its bit and assigns its own controls.
    enum Page : unsigned {
        RestorePage = 1u << 0,
        FileInfoPage = 1u << 4,  // file information of a tip data file
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

    // ---- file-information page (a tip data file's section Fileinfo) ----
    Label Picture4;            // the page's container
    Label Image7;              // the page's icon
    EditBox Text7;             // Use
    Label Label20, Label21, Label22, Label23;  // 作者: 网页: 邮箱: 其它:
    EditBox Text8, Text9, Text10, Text11;      // author, Web, email, other
    LinkLabel Label24;         // 登录: opens the web page
    LinkLabel Label25;         // 写信: writes a mail
    Label Line6, Line7;        // separators above the buttons
    CommandButton Command12;   // 修改(&W) / 保存(&S)
    CommandButton Command11;   // 关闭(&C)
    // Opens the page for the tip data file `file` (modal); returns once it is closed.
    void OpenFileInfoPage(const std::wstring& file);
    void Command12_Click();  // the edit/save toggle
    void Command11_Click();  // close without writing
    void Label24_Click();    // the web link
    void Label25_Click();    // the mail link
    // The file the page shows and saves.
    std::wstring FileInfoFile;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
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
