#pragma once
// The main window: tip list, toolbar, status bar and the shared state the
// subsystems meet on.
#include "platform/Label.h"
#include "platform/ListView.h"
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

    WriteModes WriteMode = WriteModes::None;
    Label Label1;   // Tag: ApplyRowIndex while tips are applied
    ListView ListView1;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
};

namespace Forms {
// The one main window, created and loaded on first use.
::Form2& Form2();
}  // namespace Forms
