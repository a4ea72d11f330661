#pragma once
// The main window: tip list, toolbar, status bar and the shared state the
// subsystems meet on. It is the program's start-up window: its load step brings
// the program up, its unload step saves the interface state and ends it.
#include "common/Config.h"
#include "platform/ImageList.h"
#include "platform/Label.h"
#include "platform/ListView.h"
#include "platform/Menu.h"
#include "platform/ProgressBar.h"
#include "platform/StatusBar.h"
#include "platform/Toolbar.h"
#include "platform/Tooltip.h"
#include "platform/Window.h"
#include "mainwindow/ToolbarKeys.h"
#include "transfer/Transfer.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// What the current registry writes are made for, which decides how
// Form2::ReportWrite shows their results. Set by each operation that writes,
// for its duration, and put back to None at its end.
enum class WriteModes {
    None,
    Apply,  // applying ticked tips: colour the row at ApplyRowIndex and log it
    Reg,    // the value editor or a live-value rename: report a failure in a box
    Bak,    // restoring a backup: report nothing
};

class Form2 : public Form {
public:
    ~Form2() override;
    // Creates the window and its controls and runs the start-up (Form_Load); the
    // window is not shown. False when the program is to end: a second instance,
    // or a window that could not be created. Can run again after Unload.
    bool Load();
    // Runs the shut-down (Form_Unload) and destroys the window; nothing when it does not exist.
    void Unload();
    // Set by the program's entry: destroying the window ends the message loop.
    bool QuitOnDestroy = false;
    // True when the last Load ended at once because another instance runs.
    bool EndedAsSecondInstance() const { return endedAsSecond_; }

    // ---- controls ----
    Toolbar Toolbar1;
    ListView ListView1;      // the tip list; Tag: the command line after start-up
    StatusBar StatusBar1;    // panel 1 summary, panel 2 reload, panel 3 progress text
    ProgressBar ProgressBar1;
    Label Label1;            // Tag: ApplyRowIndex while tips are applied
    Label Label2;            // hidden scratch label
    ImageList ImageList1;    // toolbar images, small and report icons of the tip list
    ImageList ImageList2;    // large icons of the tip list
    PopupMenu file;          // popup menu shared by the tip list and the category window's lists

    // ---- shared state ----
    WriteModes WriteMode = WriteModes::None;
    // Shows the result of one registry write or delete as WriteMode asks:
    //  - Apply: the tip row at ApplyRowIndex (leading number of Label1.Tag,
    //    1-based) turns blue on success, red on failure; then, when SaveLog in
    //    [Data] of config.ini is above 0, a log entry goes to logfile.txt in the
    //    program folder: section today's date (MM-DD-YYYY), key "【使用成功】【name】"
    //    or "〖使用失败〗〖name〗", value the category tree's selected path (empty
    //    when no node is selected). A row index that names no row shows nothing.
    //  - Reg: a failure shows "不存在这个名称的键值，导致修改失败" (critical icon, OK).
    //  - Bak, None: nothing.
    void ReportWrite(bool success);
    // The text colours of an applied tip row: written, and failed.
    static constexpr COLORREF kAppliedColor = RGB(0, 0, 255);  // blue
    static constexpr COLORREF kFailedColor = RGB(255, 0, 0);   // red

    // Command availability follows the rows: enables or disables the toolbar
    // buttons and popup items that act on rows.
    void SetRowCommandsEnabled(bool rowsPresent);
    // Category mode while `tjlb` is enabled; data-file mode while it is disabled.
    bool CategoryMode() const { return Toolbar1.Enabled(ToolbarKey::tjlb); }
    // WindowLink: the pressed state of `cklj`.
    bool WindowLink() const { return Toolbar1.Pressed(ToolbarKey::cklj); }
    // PropertyWindowOn: the text of the `viewok` menu item `jqsx`.
    bool PropertyWindowOn() const;
    static const wchar_t* const kJqsxOn;
    static const wchar_t* const kJqsxOff;

    // ---- start-up and shut-down ----
    void Form_Activate();
    void Updata();    // creates the data folder from Databak when it is missing
    bool Saveini();   // writes the default settings; false when a write failed
    // True while the main window's load step runs (the start-up, before any window shows).
    bool Loading() const { return loading_; }
    // The saved sort column (1 to 5), 0 when the list starts unsorted.
    static int SavedSortColumn();
    void ViewFavorite();  // rebuilds the category-favourites menu of `viewscj`

    // ---- layout ----
    void Form_Resize();

    // ---- view mode (0 large icons, 1 small icons, 2 list, 3 report) ----
    int View() const;
    bool SetView(int mode);  // a mode outside 0..3 is refused
    void MarkView(int mode); // marks the mode's item of `viewok`, unmarks the others
    void NextView();         // a click on `viewok`

    // ---- commands ----
    void Toolbar1_ButtonClick(const std::wstring& key);
    void Toolbar1_ButtonDropDown(const std::wstring& key);
    void Toolbar1_ButtonMenuClick(const std::wstring& buttonKey, const std::wstring& itemKey);
    void cklj_Click();   // the link button, after its value has flipped
    void ToggleLink();   // F8
    void OpenHelp();     // the help file through the shell
    void OpenLog();      // logfile.txt through the shell
    void cmm_Click();    // the popup's 重命名: an edit of the category tree's selected node

    // ---- tip list ----
    void ListView1_ColumnClick(int column);
    // `rowsInOrder`: the rows were put in in the order of the list's present
    // sort (the start-up's fill), so a click that keeps that order sorts nothing.
    void ComClick(int column, bool rowsInOrder = false);
    void ComSort(int column);
    int SortColumn() const { return sortKey_ + 1; }
    bool SortDescending() const { return sortOrder_ == 1; }
    // Direction icon of a column header: 0 none, 1 ascending, 2 descending.
    int HeaderIcon(int column) const;
    void ListView1_KeyDown(int keyCode, int shift);
    // F1: the help viewer with help.chm beside the program.
    void StartHelpViewer();
    void ListView1_RightClick(POINT screenPt);
    void PrepareFileMenuForTipList();
    void all_Click();
    void no_Click();
    // Moves the selected tip to its previous or next alternative value.
    void StepOption(bool forward);
    void StatusBar1_PanelClick(int panel);
    static int GetSelCount(HWND listView);
    // Fits the tip list's columns: every column but the third (危险) to `width`
    // while the list is in report view, then the third to 240 twips in any view.
    // False when the list has no third column.
    static bool AutoSizeTipColumns(ListView& list, int width);

    // ---- commands carried out by the engine and the library ----
    // Applies every ticked tip of the list to the registry (toolbar `start`, F5):
    // asks first when Start is on, shows the progress, applies each ticked row
    // through the engine and shows each row's result (ReportWrite).
    void StartWork();
    // Opens the restore page of the multi-page dialog (toolbar `viewhf`).
    void OpenRestorePage();
    // Reloads the tips the list shows from their file (status bar panel 2).
    void ReloadShownTips();

    // ---- exports ----
    // Opens the export page of the multi-page dialog (toolbar `daochu`).
    void OpenExportPage();
    // The exports of the selected tips, each asking for its file: a tip data
    // file; a registry file ("98": header REGEDIT4, any other text: version
    // 5.00); a text file; an HTML page. The chosen file is replaced only once
    // the whole new file is written; a failure is shown in a critical box.
    void SaveZY();
    void SaveReg(const std::wstring& strSj);
    void SaveTxt();
    void Savehtml();
    // ---- settings writes (fixes) ----
    // The one message for settings of config.ini that could not be written
    // (read-only, or held by another program): shown once per start-up or shut-down.
    static void ReportSettingsNotWritten();
    static void ReportSettingsUnreadable(Config::FileState state);
    // ---- properties window, value bar and candidate values (ShowItem.cpp, Properties.cpp) ----
    // Shows the tip list's selected row in the properties window and the value bar.
    void ShowItem();
    // The tip ShowItem showed last, by the row's identity (0 none): the row a
    // save over the tip replaces and the value bar writes into, wherever a sort
    // has moved it.
    ListView::RowId ShownTip = 0;
    // The row of the shown tip (0 when it is no longer listed).
    int ShownTipRow() const { return ListView1.RowOf(ShownTip); }
    // The tip list's current row changed (a key, a click, a sort, code): when
    // exactly one row is selected and it is not the tip shown, it is shown.
    // Runs once the change is complete, however many rows it touched.
    void ListView1_CurrentRowChanged();
    // Decoders of an option list's label part and data part into Form3.ListView1.
    static void ShowValueNames(const std::wstring& labels);
    static void ShowValueData(const std::wstring& data);
    // Switches the properties window on or off (F2, the `viewok` item `jqsx`).
    void Closejqsx();
    // Rebuilds the candidate popup from the option list; a chosen candidate (item 1..n).
    void ShowValue();
    void Valueok_Click(int index);
    void form3del_Click();
    void form3sy_Click();
    void form3xy_Click();
    PopupMenu form3menu;  // 删除, 上移, 下移 over the option list
    PopupMenu Valuemenu;  // key "0" the hidden template, keys "1".."n" the candidates
    // The tip list's mouse: press point in twips (X as the command-column test left it).
    POINT LastListMouseDown{0, 0};
    void ListView1_MouseDown(int button, int shift, int x, int y);
    void ListView1_MouseMove(int button, int shift, int x, int y);
    void ListView1_MouseUp(int button, int shift, int x, int y);
    void ListView1_DblClick();
    void ListView1_ItemClick();
    bool HandPointer() const { return handPointer_; }
    // ---- live values of the selected tip's key (LiveValuesView.cpp) ----
    // Lists the values under the selected tip's key in Form3.ListView2.
    void Showvaluesx();
    // `shezhi` of `file`: switches the listing on and off (ViewCheck).
    void shezhi_Click();
    // The live list's popup: 新建 (regxj: regzfc, regejz, regdword, regkc),
    // 修改 regxg, separator reg1, 删除 regsc, 重命名 regcmm.
    PopupMenu regform3;
    void regxg_Click();   // Regxgok
    void regsc_Click();   // deletes the selected live values
    void regcmm_Click();  // starts renaming the selected live value in place
    void SetUpLiveValueMenu();  // builds regform3 (start-up)
    // The key of the selected tip for the live values: its key path trimmed, a
    // backslash added when it has none, the root named exactly by the text
    // before the first backslash (one of six; HKEY_PERFORMANCE_DATA is none).
    // False when no tip is selected or the root name selects no key.
    bool LiveTargetKey(HKEY& root, std::wstring& subKey) const;
    // ---- value editor page: new and edited live values ----
    void Regxgok();          // edits the selected live value
    void regzfc_Click();     // new string value
    void regkc_Click();      // new expandable string value
    void regejz_Click();     // new binary value
    void regdword_Click();   // new DWORD value
    // Hooks the library calls, pointed at the real windows (start-up).
    void InstallLibraryHooks();
    // ---- options and about pages, the makers' addresses ----
    void OpenOptionsPage();  // toolbar `set`
    void OpenAboutPage();    // toolbar `about`
    void OpenHomePage();     // toolbar `web`: the home page in the system's browser
    void WriteToMakers();    // toolbar `email`: a new mail in the system's mail program

    // ---- row balloon tooltip ----
    // The balloon over the tip list that describes the tip of `row`, as
    // [Data] Tip asks: built when Tip reads empty (Tip=1 is written first) or
    // its number is 1; with any other value a balloon of an earlier tip is
    // released. Title: the tip's name; text: RowTooltipText.
    void ShowRowTooltip(int row);
    // Removes the balloon and its window (nothing when there is none).
    void ReleaseRowTooltip();
    // A pointer move over the tip list (client pixels): releases the balloon
    // when the list has no rows, no row is selected, or the pointer is outside
    // the selected row's band (from 15 twips below its top to 90 twips above
    // its bottom).
    void RowTooltip_MouseMove(POINT clientPt);
    // Key path, type, value name, data and command label of a row, one line
    // each, joined by CR LF.
    std::wstring RowTooltipText(int row) const;
    std::unique_ptr<Tooltip> RowTooltip;
    // ---- tip clipboard, paste and import ----
    // What the last paste or import left (the replace page's last answer), and
    // whether it wrote at least one tip.
    Transfer::ReplaceAnswer ReplaceAnswer = Transfer::ReplaceAnswer::Ask;
    bool TransferWrittenFlag = false;
    void copy_Click();   // records the selected rows' names in the tip clipboard
    void cut_Click();    // the same, with the cut mark on the selected rows
    void paste_Click();  // Pasteok
    // Pastes the clipboard's tips into the list target (refusing the source
    // itself), reloads the list when something was written and reports tips
    // that could not be written.
    void Pasteok();
    // The paste loops into a category-tree node and into a tip data file.
    Transfer::Counts GetDword(const std::vector<std::wstring>& names, const std::wstring& sourceSection,
                              const std::wstring& sourceFile);
    Transfer::Counts GetDwordTree(const std::vector<std::wstring>& names, const std::wstring& sourceSection,
                                  const std::wstring& sourceFile);
    // Imports section 数据 of the tip data file `Pathname` into the selected
    // category-tree node (`strSj2` names its section, as the caller knows it).
    // Imports the file's tips into `node` (taken before the question was asked).
    Transfer::Counts Shownode(const std::wstring& Pathname, const std::wstring& strSj2, int node);
    // The toolbar's `open`: asks for a tip data file, confirms, imports, reloads and reports.
    void open_Click();
    // ---- insert menu (InsertMenu.cpp) ----
    // 插入: the popup of both "+" buttons; its items put a ready-made text in
    // place of the selection of the box InsertTarget names (Form3.Command3.Tag:
    // "ok" the properties window's data box, anything else the value bar's box).
    PopupMenu cha;
    void BuildInsertMenu();
    void ml_Click();     // a folder's path
    void wjm_Click();    // a file's full path
    void ztm_Click();    // a font's face name
    void rgb_Click();    // a colour as red, green and blue in decimal
    void hexys_Click();  // a colour as "&H" and six hex digits (blue, green, red)
    void dqrq_Click();   // today's date, mm-dd-yyyy
    void dqsj_Click();   // the time, hh:mm:ss
    // The folder browser owned by `odtvOwner` with the prompt `odtvTitle`: the
    // chosen folder's path, or the empty text after a cancel or for an item
    // without a path.
    std::wstring OpenDirectoryTV(HWND odtvOwner, const std::wstring& odtvTitle);
    // Puts `text` in place of the selection of the box InsertTarget names
    // (at the caret when nothing is selected).
    void InsertIntoTarget(const std::wstring& text);
    // ---- deleting tips, tip favourites, category favourites (TipCommands.cpp) ----
    // Deletes the selected tips from the file the list shows after a question
    // (toolbar `del2`, Del, popup `del`): each tip's record, then its option
    // list. Removes the rows of the tips deleted, tells of the others in one
    // message, and shows the first row left.
    void del_Click();
    // Copies the selected rows, as they show, into section 收藏夹 of the file of
    // the category tree's selected node (toolbar `scj`, F9); reports success
    // only when every tip was written whole.
    void scj_Click();
    // Adds the category tree's selected node to the category favourites (popup `lbscj`).
    void lbscj_Click();
    // Opens the favourites organiser page (toolbar `viewscj`).
    void OpenFavouritesPage();
    // The commands above by toolbar key (`del2`, `scj`, `viewscj`) and by the
    // popup menu's key (`del`, `lbscj`); true when the key was one of them.
    bool TipToolbarCommand(const std::wstring& key);
    bool TipMenuCommand(const std::wstring& key);
    // A category favourite chosen in the `viewscj` menu (item key "scj..."); true when it was one.
    bool FavouriteMenuClick(const std::wstring& itemKey);
    // ---- apply speed: settings read once per run ----
    // SaveLog as the running apply read it at its start (a change during the
    // run counts from the next run).
    bool runSaveLog_ = false;
    int logLost_ = 0;              // log entries of the current run that could not be written
    bool logFailureTold_ = false;  // a lost log entry has been told in this run of the program
    void TellLostLogEntries();

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDestroyed() override;
    void LayoutControls();

private:
    void CopyOrCut(bool cut);
    Transfer::Counts PasteInto(const std::vector<std::wstring>& names, const std::wstring& sourceSection,
                               const std::wstring& sourceFile, bool categoryTarget);
    bool CreateWindowAndControls();
    void Form_Load();
    void Form_Unload();
    void SetImages();
    // Gives the satellites not yet made the outer sizes the start-up will give them.
    void PlanSatelliteSizes();
    void ReportApplied(bool success);
    // The category path of log entries: during an apply run the selection asked
    // once, when first needed (the run handles no messages, so it cannot change).
    std::wstring ReportCategoryPath();

    bool loading_ = false;
    // The client size the controls were last laid out for; stale when what
    // they are laid out by (the toolbar's pictures) changed since.
    SIZE laidOut_{-1, -1};
    bool layoutStale_ = true;
    bool endedAsSecond_ = false;
    bool activatedOnce_ = false;        // ActivatedOnce
    bool dataFreshlyInitialised_ = false;  // DataFreshlyInitialised
    int sortKey_ = 0;
    int sortOrder_ = 0;
    int headerIcon_[5] = {};
    HICON refreshIcon_ = nullptr;  // the status bar's reload mark; the bar does not destroy it
    bool applying_ = false;                     // inside StartWork's run
    std::optional<std::wstring> runCategory_;  // the run's category path, once asked
    // Properties window and candidate values.
    void SetUpTipListMouse();
    // Shows one row (ShowItem's steps from 3 on); the option decoder reads the
    // value icon of rowBeingShown_.
    void ShowRow(int row);
    int rowBeingShown_ = 0;
    bool currentRowPending_ = false;  // a ListView1_CurrentRowChanged is posted
    HWND focusBeforeInactive_ = nullptr;  // the control that had the focus when the window lost it
    bool CommandColumnTest(int x);
    int RowAtTwips(int x, int y) const;
    bool handPointer_ = false;
};

namespace Forms {
// The one main window, created and loaded on first use.
::Form2& Form2();
// The main window when it exists, else nullptr (nothing is created).
::Form2* Form2IfLoaded();
}  // namespace Forms
