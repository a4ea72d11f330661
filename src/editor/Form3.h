#pragma once
// The tip properties window (docked to the right of the main window while the
// windows are linked). Its controls are in place; what fills them comes later.
#include "platform/ComboBox.h"
#include "platform/ListView.h"
#include "platform/TabStrip.h"
#include "platform/TextBox.h"
#include "platform/Window.h"

class Form3 : public Form {
public:
    ~Form3() override;
    // Creates the window (not shown) and installs its minimum-size procedure.
    bool Load();

    TabStrip TabStrip1;    // 常规, 键值, 查看
    ComboBox Combo1;       // TypeCode: list index 0 string, 1 binary, 2 DWORD, 3 expandable string
    TextBox Text3;         // label of the option being edited
    ComboBox ImageCombo1;  // data of the option being edited; item 1 is the delete choice
    ListView ListView1;    // the option list: label, data shown; small icon 8 = delete choice
    ListView ListView2;    // live values of the tip's key; Tag: LiveKeyFlag

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void LayoutControls();
};

namespace Forms {
// The one properties window, created and loaded on first use.
::Form3& Form3();
// The properties window when it exists, else nullptr (nothing is created).
::Form3* Form3IfLoaded();
}  // namespace Forms
