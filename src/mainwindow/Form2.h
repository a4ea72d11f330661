#pragma once
// The main window: tip list, toolbar, status bar and the shared state the
// subsystems meet on.
#include "platform/ImageList.h"
#include "platform/Label.h"
#include "platform/ListView.h"
#include "platform/Menu.h"
#include "platform/ProgressBar.h"
#include "platform/StatusBar.h"
#include "platform/Toolbar.h"
#include "platform/Window.h"

// What the registry writers are doing the current write for. Set by each
// operation that writes, for its duration, and put back to None at its end.
enum class WriteModes {
    None,
    Apply,  // applying ticked tips: colour the row at ApplyRowIndex and log it
    Reg,    // the value editor or a live-value rename: report a failure in a box
    Bak,    // restoring a backup: report nothing
};

class Form2 : public Form {
public:
    ~Form2() override;
    // Creates the window and its controls (not shown). True when it exists.
    bool Load();

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

    // Command availability follows the rows: enables or disables the toolbar
    // buttons and popup items that act on rows.
    void SetRowCommandsEnabled(bool rowsPresent);
    // Category mode while `tjlb` is enabled; data-file mode while it is disabled.
    bool CategoryMode() const { return Toolbar1.Enabled(L"tjlb"); }

    // Applies every ticked tip of the list to the registry (toolbar `start`, F5).
    void StartWork();
    // Opens the restore page of the multi-page dialog (toolbar `viewhf`).
    void OpenRestorePage();

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
    void LayoutControls();
};

namespace Forms {
// The one main window, created and loaded on first use.
::Form2& Form2();
}  // namespace Forms
