#pragma once
// The value bar: one line under the main window with the selected tip's value.
#include "platform/ComboBox.h"
#include "platform/Window.h"

class Form1 : public Form {
public:
    ~Form1() override;
    bool Load();  // creates the window, not shown

    ComboBox ImageCombo1;  // editable; item 1 is the delete choice
    HWND Command1 = nullptr;  // the "+" button (insert menu)

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void LayoutControls();
};

namespace Forms {
::Form1& Form1();
::Form1* Form1IfLoaded();
}  // namespace Forms
