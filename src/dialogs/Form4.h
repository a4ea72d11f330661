#pragma once
// The multi-page dialog. One window whose pages share its controls: each opener
// shows its page's controls (ShowPage), sizes the window, sets the caption,
// fills the fields and shows it modally (ShowModal). The caption also names the
// page for the handlers that pages share (the double-click in ListView1). The
// dialog is unloaded whenever it is closed; the next opener loads it afresh.
#include "common/Config.h"
#include "engine/LiveValues.h"
#include "platform/Button.h"
#include "platform/CheckBox.h"
#include "platform/EditBox.h"
#include "platform/LinkLabel.h"
#include "platform/ImageList.h"
#include "platform/Label.h"
#include "platform/ListView.h"
#include "platform/TabStrip.h"
#include "platform/TextBox.h"
#include "platform/Picture.h"
#include "platform/Window.h"
#include "transfer/Transfer.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

class Form4 : public Form {
public:
    // The ids of every control of every page, one table for the whole window:
    // the dialog manager finds the default button, the access keys and the Tab
    // order by id, so no two controls of the window may share one.
    enum ControlId : int {
        // shared: the list pages' container, list and header
        IdPicture6 = 401, IdFrame6, IdListView1, IdFrame7, IdLabel28, IdLabel29, IdImage8, IdImage9,
        // restore page
        IdCommand22, IdCommand23, IdCommand24,
        // replace confirmation page
        IdPicture3, IdImage4, IdImage5, IdImage6, IdLabel11, IdLabel49, IdLabel12, IdLabel14, IdLabel52,
        IdLabel13, IdLabel15, IdCommand7, IdCommand9, IdCommand8, IdCommand10,
        // options page
        IdFrame1, IdCheck1, IdCheck2, IdCheck8, IdCheck6, IdCheck7, IdCheck9, IdCheck10, IdCheck11, IdFrame2,
        IdCheck4, IdCheck3, IdCheck5, IdFrame4, IdLabel30, IdCommand21, IdCommand1, IdCommand2,
        // about page
        IdPicture1, IdLabel6, IdLabel1, IdLabel26, IdLabel4, IdLabel27, IdLabel5, IdImage1, IdImage2, IdImage3,
        IdLine1, IdLine2, IdLine3, IdLine4, IdLine5, IdCommand3,
        // file-information page
        IdPicture4, IdImage7, IdText7, IdLabel20, IdText8, IdLabel21, IdText9, IdLabel24, IdLabel22, IdText10,
        IdLabel25, IdLabel23, IdText11, IdLine7, IdLine6, IdCommand12, IdCommand11,
        // value editor page
        IdPicture5, IdLabel31, IdText12, IdLabel32, IdText13, IdCommand13, IdCommand14,
        // favourites organiser page
        IdCommand15, IdCommand16, IdCommand17,
        // export page
        IdTabStrip1, IdFrame8, IdLabel16, IdText1, IdLabel17, IdText4, IdLabel18, IdText5, IdLabel19, IdText6,
        IdCommand20, IdCommand18, IdCommand19,
    };

    // The pages built so far, as bits: a control may belong to several. Each
    // page adds its bit and assigns its own controls.
    enum Page : unsigned {
        RestorePage = 1u << 0,
        ExportPage = 1u << 1,
        ReplacePage = 1u << 5,
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
    Picture Picture6;      // container of the shared list
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

    // The header's two pictures, by the numbers of the program's pictures
    // (platform/Icons; 0 leaves one empty).
    void SetBannerPictures(int image8, int image9);

    // Enter presses the default button, Esc the cancel button (either may be null).
    void SetDefaultButton(CommandButton* b);
    void SetCancelButton(CommandButton* b);

    // Fills and shows the restore page (modal).
    void OpenRestorePage();
    void Command22_Click();  // restore the selected day
    void Command23_Click();  // delete the selected day files
    void Command24_Click();  // leave the page

    // Shared list events: the point of the last mouse-down, and the double-click
    // on a row, which runs the page's command by the caption: the export under
    // "导出技巧", the restore under "恢复窗口", nothing under any other.
    void ListView1_MouseDown(POINT clientPt);
    void ListView1_DblClick();

    // ---- export page ("导出技巧") ----
    TabStrip TabStrip1;       // 导出格式 (Frame6: the format list), 文件信息设置 (Frame8)
    Frame Frame8;             // defaults of a new tip data file's information
    Label Label16, Label17, Label18, Label19;  // 作者: 网页: 邮箱: 其它:
    TextBox Text1, Text4, Text5, Text6;        // author, Web, email, other of [Fileinfo]
    CommandButton Command20;  // 保存(&S): the four boxes into config.ini
    CommandButton Command18;  // 确定(&O): export in the selected format (default button)
    CommandButton Command19;  // 取消(&C): close (cancel button)
    // Fills and shows the export page (modal).
    void OpenExportPage();
    void Command18_Click();
    void Command19_Click();
    void Command20_Click();
    void TabStrip1_Click();
    // Adds `pages` to the pages of controls already on a page.
    void JoinPages(unsigned pages, std::initializer_list<Control*> controls);
    // ---- options page and about page ----
    static constexpr unsigned OptionsPage = 1u << 20;
    static constexpr unsigned AboutPage = 1u << 21;
    // Options page: the dialog's initial layout.
    Frame Frame1;       // 通用
    CheckBox Check1;    // AutoCheck
    CheckBox Check2;    // AutoWidth
    CheckBox Check8;    // Tip
    CheckBox Check6;    // SaveLog
    CheckBox Check7;    // SaveFile
    CheckBox Check9;    // Start
    CheckBox Check10;   // SaveHistory
    CheckBox Check11;   // Choice
    Frame Frame2;       // 查看技巧
    CheckBox Check4;    // Listview_2, hot tracking
    CheckBox Check3;    // Listview_1, grid lines
    CheckBox Check5;    // Listview_3, full-row select
    Frame Frame4;       // 恢复原始技巧数据库
    Label Label30;
    CommandButton Command21;  // 开始恢复(&R)
    CommandButton Command1;   // 确定
    CommandButton Command2;   // 取消
    // About page: Picture1 holds the place of the page's container.
    Picture Picture1;
    Picture Label6;     // the title's shadow
    Picture Label1;     // the title
    Label Label26;      // (0813)
    LinkLabel Label4;   // home page
    LinkLabel Label27;  // second home page
    LinkLabel Label5;   // mail address
    Picture Image1, Image2, Image3;
    Picture Line1, Line2, Line3, Line4, Line5;
    CommandButton Command3;  // 关闭(&C)

    // The eleven switches in the order 确定 writes them: box and key.
    std::vector<std::pair<CheckBox*, const Config::Key*>> OptionBoxes();
    // Sizes, fills (from config.ini) and shows the options page (modal).
    void OpenOptionsPage();
    void Command1_Click();  // 确定: writes the eleven switches, styles the tip list, closes
    void Command2_Click();  // 取消: closes, nothing written
    // 开始恢复(&R): after a Yes, the shipped category files of Databak replace
    // their namesakes in the data folder (made when missing), all or none, and
    // the category tree is built again.
    void ResetButton_Click();
    // Shows the about page (modal).
    void OpenAboutPage();
    void Command3_Click();  // 关闭
    void Label4_Click();
    void Label27_Click();
    void Label5_Click();
    // Places the window at the centre of the screen.
    void CentreOnScreen();
    // The fonts and pictures of the about page, freed once its controls are gone.
    struct AboutArt {
        HFONT titleFont = nullptr;
        HICON icons[3] = {};
        void Free();
        ~AboutArt() { Free(); }
    };
    AboutArt aboutArt;
    // Creates the controls of both pages (from Load).
    void LoadOptionsAndAbout();
    void LoadAboutControls();
    // Messages of the about page's controls (colours, the drawn title) and the
    // freeing of its art; true when handled, with the answer in `result`.
    bool OptionsAndAboutMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // ---- replace confirmation page ("确认技巧替换") ----
    Picture Picture3;  // the page's container
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
    // What a key path line (键位：) shows: its caption, then the path cut in
    // its middle with an ellipsis to fit the space left on the label.
    std::wstring KeyPathLineShown(const Label& label) const;
    // ---- file-information page (a tip data file's section Fileinfo) ----
    Picture Picture4;          // the page's container
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
    // ---- value editor page (a value under the selected tip's key) ----
    static constexpr unsigned ValueEditorPage = 1u << 8;
    Picture Picture5;          // the page's container
    Label Label31;             // 键值名(&N):
    EditBox Text12;            // the value's name; locked in edit mode
    Label Label32;             // 键值(&V): and the data's format hint
    EditBox Text13;            // the value's data
    CommandButton Command13;   // 确定 (default button)
    CommandButton Command14;   // 取消 (cancel button)
    // The four kinds a new value can have.
    enum class NewValueKind { String, ExpandString, Binary, Dword };
    // Opens the page for a new value of `kind` (modal).
    void OpenValueEditorNew(NewValueKind kind);
    // Opens the page for the live value in row `row` of the properties window's
    // live-value list (modal); nothing when the row holds no value.
    void OpenValueEditorEdit(int row);
    // 确定: checks the entry, writes the value and updates the live-value list;
    // the page stays open when the entry is refused or the write fails.
    void Command13_Click();
    void Command14_Click();  // 取消: closes, nothing written
    void Text12_GotFocus();
    void Text13_GotFocus();

    // ---- favourites organiser page ("整理类别收藏夹") ----
    // The category favourites in the shared list (one column 名称), deleted
    // one by one or all at once; closing the page by any way rebuilds the
    // main window's favourites menu (Close).
    static constexpr unsigned FavouritesPage = 1u << 13;
    CommandButton Command15;  // 删除(&D)
    CommandButton Command16;  // 全部删除(&C)
    CommandButton Command17;  // 关闭(&C), the cancel button
    // Fills the list from the `viewscj` menu's items and shows the page (modal).
    void OpenFavouritesPage();
    void Command15_Click();  // deletes the selected entries; an entry that cannot be deleted stays
    void Command16_Click();  // after a question, deletes every entry
    void Command17_Click();  // closes the page

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    // The window is gone: what its pages kept outside their controls' windows
    // goes with it, so the next page starts from its own state.
    void OnDestroyed() override;

private:
    void LoadReplacePage();
    void SetToolTip(Label& label, const std::wstring& text);
    bool DrawKeyPathLine(const DRAWITEMSTRUCT& item);
    void SetBold(Label& label, bool on);
    void ReplaceAnswered(Transfer::ReplaceAnswer answer, bool write);
    Transfer::PendingTip* pending_ = nullptr;
    HWND tips_ = nullptr;
    HFONT boldFont_ = nullptr;
    void AddToPage(Control& c, unsigned pages);
    std::vector<std::pair<Control*, unsigned>> pageControls_;
    // The value editor's edit mode: the live row and its value as opened, and
    // the text its data box was filled with.
    int valueRow_ = 0;
    LiveValue valueOpened_;
    std::wstring valueShown_;
    void LoadValueEditorPage(bool editMode);
    CommandButton* defaultButton_ = nullptr;
    CommandButton* cancelButton_ = nullptr;
    POINT lastMouseDown_{-1, -1};
    HICON banner_[2] = {};  // the header's pictures, freed once the window is gone
};

// Removes every selected row of `sListview`, from the last row to the first;
// the other rows keep their order.
void DelItmx(ListView& sListview);

namespace Forms {
// The dialog, loaded on first use after each unload.
::Form4& Form4();
// The dialog when it is loaded, else nullptr (nothing is created).
::Form4* Form4IfLoaded();
// Unloads the dialog when it is loaded (the main window's shut-down).
void UnloadForm4();
}  // namespace Forms
