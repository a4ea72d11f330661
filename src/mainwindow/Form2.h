#pragma once
// The main window: tip list, toolbar, status bar and the shared state the
// subsystems meet on. It is the program's start-up window: its load step brings
// the program up, its unload step saves the interface state and ends it.
#include "platform/ImageList.h"
#include "platform/Label.h"
#include "platform/ListView.h"
#include "platform/Menu.h"
#include "platform/ProgressBar.h"
#include "platform/StatusBar.h"
#include "platform/Toolbar.h"
#include "platform/Window.h"
#include "mainwindow/ToolbarKeys.h"

#include <optional>
#include <string>

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
    void Saveini();   // writes the default settings
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

    // ---- tip list ----
    void ListView1_ColumnClick(int column);
    void ComClick(int column);
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

    // ---- apply speed: settings read once per run ----
    // SaveLog as the running apply read it at its start (a change during the
    // run counts from the next run).
    bool runSaveLog_ = false;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnDestroyed() override;
    void LayoutControls();

private:
    bool CreateWindowAndControls();
    void Form_Load();
    void Form_Unload();
    void SetImages();
    void ReportApplied(bool success);
    // The category path of log entries: during an apply run the selection asked
    // once, when first needed (the run handles no messages, so it cannot change).
    std::wstring ReportCategoryPath();

    bool loading_ = false;
    bool endedAsSecond_ = false;
    bool activatedOnce_ = false;        // ActivatedOnce
    bool dataFreshlyInitialised_ = false;  // DataFreshlyInitialised
    int sortKey_ = 0;
    int sortOrder_ = 0;
    int headerIcon_[5] = {};
    HICON refreshIcon_ = nullptr;  // the status bar's reload mark; the bar does not destroy it
    bool applying_ = false;                     // inside StartWork's run
    std::optional<std::wstring> runCategory_;  // the run's category path, once asked
};

namespace Forms {
// The one main window, created and loaded on first use.
::Form2& Form2();
// The main window when it exists, else nullptr (nothing is created).
::Form2* Form2IfLoaded();
}  // namespace Forms
