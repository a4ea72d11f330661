#pragma once
// The value bar: one line under the main window with the selected tip's value.
// Enter writes the value (or the delete choice) into the selected tip row.
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/ImageList.h"
#include "platform/Label.h"
#include "platform/Window.h"

class Form1 : public Form {
public:
    ~Form1() override;
    bool Load();  // creates the window, not shown

    Label Label1;            // "键值:"
    ComboBox ImageCombo1;    // editable; item 1 is the delete choice
    CommandButton Command1;  // the "+" button (insert menu)
    ImageList ImageList1;    // image 1: the delete choice

    void Form_Resize();
    // The bar's outer height (its client area 315 twips high, the frame round it).
    static int OuterHeight();
    // The "+": the insert menu, writing into this box.
    void Command1_Click();
    // A character typed into the box; Enter (13) writes the value into the selected tip row.
    void ImageCombo1_KeyPress(int keyAscii);

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool planning_ = false;  // the layout runs before the controls exist: it gives each its place
    static LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
};

namespace Forms {
::Form1& Form1();
::Form1* Form1IfLoaded();
}  // namespace Forms
