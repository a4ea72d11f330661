#pragma once
// The tip properties window "技巧属性", docked to the right of the main window
// while the windows are linked. Three tabs: 常规 (name, key path, value name,
// danger, description), 键值 (type, the option list and the editors of one
// option), 查看 (the live values under the tip's key). The 键值 controls form
// the panel Picture1: they sit on the window itself, 345 twips down, and are
// shown and hidden together.
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/ImageList.h"
#include "platform/Label.h"
#include "platform/ListView.h"
#include "platform/TabStrip.h"
#include "platform/TextBox.h"
#include "platform/Toolbar.h"
#include "platform/Window.h"
#include "engine/LiveValues.h"

#include <string>
#include <vector>

class Form3 : public Form {
public:
    ~Form3() override;
    // Creates the window (not shown) and runs its load step.
    bool Load();
    // Puts the window procedure back and destroys the window; the next use creates it afresh.
    void Unload();

    // ---- tab 常规 ----
    TabStrip TabStrip1;    // 常规, 键值, 查看
    Label Label2, Label1, Label4, Label9, Label6;
    TextBox Text1;         // 作用: the tip's name
    TextBox Text4;         // 键位: KeyPath (multi-line)
    TextBox Text2;         // 键名: value name; empty = the key's default value
    ComboBox ImageCombo2;  // 危险: item 1 没有危险性, item 2 具有危险性
    TextBox Text5;         // 说明: description (multi-line)
    // ---- tab 键值 (panel Picture1) ----
    Label Label8, Label3, Label5, Label7;
    ComboBox Combo1;       // TypeCode: list index 0 string, 1 binary, 2 DWORD, 3 expandable string
    TextBox Text3;         // label of the option being edited
    ComboBox ImageCombo1;  // data of the option being edited; item 1 is the delete choice
    CommandButton Command3;  // "+": the insert menu; Tag: InsertTarget
    Toolbar Toolbar2;      // add, edit
    ListView ListView1;    // the option list: label, data shown; small icon 8 = delete choice
    CommandButton Command1, Command2;  // carry Alt+A and Alt+E; under ListView1
    // ---- tab 查看 ----
    ListView ListView2;    // live values of the tip's key; Tag: LiveKeyFlag
    // ---- bottom ----
    Toolbar Toolbar1;      // xj, next, separator, xiugai
    ImageList ImageList1;  // 4..7 value types, 8 delete choice, 11 and 12 danger

    // True when the box's delete choice (item 1) is what it holds.
    static bool DeleteChoiceSelected(const ComboBox& box);
    // The option list's selected row (0 none).
    int SelectedOption() const;

    // ---- the window's events ----
    void Form_Resize();
    void TabStrip1_Click();
    // Selects tab n (1-based) and switches the controls as a click does; false for no such tab.
    bool SelectTab(int n);
    // Key preview: true when the key was used here.
    bool Form_KeyDown(int keyCode, int shift);
    void Toolbar1_ButtonClick(const std::wstring& key);
    void Toolbar2_ButtonClick(const std::wstring& key);
    void Falt(ListView& lv);
    void Text1_GotFocus();
    void Text2_GotFocus();
    void Text3_GotFocus();
    // `next`: clears the editor.
    void ClearEditor();

    // ---- option list editor ----
    void Command1_Click();  // add
    void Command2_Click();  // edit the selected row
    void Command3_Click();  // "+": the insert menu, writing into the data box
    void ShowValue();       // the selected row into the label and data boxes
    void ListView1_ItemClick(int row);
    // A release over the option list: button 2 over a row pops up form3menu.
    void ListView1_MouseUp(int button, POINT clientPt);
    void DeleteOption();    // form3menu 删除
    void MoveOption(bool up);  // form3menu 上移 / 下移

    // ---- saving ----
    void Xiugai();  // save over the tip list's selected row
    void Xjok();    // save as a new tip

    // ---- tab 查看: live value rows (Form3LiveRows.cpp) ----
    // Each row of ListView2 keeps its value (type and raw bytes) beside what it
    // shows: text 名称, sub-item 1 数据, kind in the row's tag, small icon, and
    // blue text when it is the value the selected tip writes. Every change to
    // the rows goes through these, so rows and values stay in step.
    int AddLiveRow(const LiveValue& v);            // appends a row; its 1-based index
    void SetLiveRow(int row, const LiveValue& v);  // rewrites one row and its value
    const LiveValue* LiveValueAt(int row) const;   // nullptr when no such row
    void RemoveLiveRow(int row);
    void ClearLiveRows();
    // Inserts a row before `row` (1 = at the top); its 1-based index.
    int InsertLiveRow(int row, const LiveValue& v);
    // Replaces every row at once (one clear, redraw off while filling).
    void SetLiveRows(std::vector<LiveValue> values);
    // Fits both columns to the rows' texts (nothing when there are no rows).
    void FitLiveColumns();
    // The row that stands for a default value that is not set.
    static LiveValue UnsetDefaultRow();
    // Puts the unset-default row at the top when the list is empty or its
    // first row is not a default value.
    void EnsureDefaultRow();
    // The live list's mouse and label editing (Form3LiveList.cpp). Points are
    // the list's client pixels.
    void ListView2_MouseDown(int button, int shift, int x, int y);
    // The right button: the popup regform3, as the rows under the point and the selection allow.
    void ListView2_MouseUp(int button, int shift, int x, int y);
    // The row under the last press to the value editor; false when there is no
    // row there or its kind cannot be edited there (multi-string, QWORD, other).
    bool ListView2_DblClick();
    // The rename: the value is copied whole (type and bytes, read with the W
    // functions) under the new name, and the old one deleted only once the copy
    // is written; a name that exists, in any case, is refused.
    void ListView2_AfterLabelEdit(ListView::LabelEditEnd& e);
    // True for the kinds the value editor edits (strings, binary, DWORD, the default rows).
    static bool LiveKindEditable(const LiveValue& v);
    POINT LiveMouseDown{0, 0};  // the last press in the live list (client pixels)

    // Twips the last layout gave (what the controls were sized from).
    struct LayoutTwips {
        long long tabStrip1Width = 0, text1Width = 0, imageCombo1Width = 0, text5Height = 0, listView1Width = 0, listView1Height = 0,
                  listView2Width = 0, listView2Height = 0, picture1Width = 0, picture1Height = 0;
    } layout;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    struct SaveFields;
    bool Validate(bool overSelected, SaveFields& f);
    void Refuse(const std::wstring& message, int tab, Control& focus);
    void ShowTabControls(int tab);
    void PlaceTwips(Control& c, long long left, long long top, long long width, long long height);
    void SetOptionRow(int row, const std::wstring& label, bool deleteChoice, const std::wstring& boxText);
    void SubclassChildren();
    static LRESULT CALLBACK ChildKeyProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
    int tab_ = 1;
    bool planning_ = false;  // the layout runs before the controls exist: it gives each its place
    std::vector<LiveValue> liveRows_;  // ListView2's values, in row order
    bool LiveRowIsTipsValue(const LiveValue& v) const;
    ListView::NewRow MakeLiveRow(const LiveValue& v, bool tipsValue) const;
    void SetUpLiveList();
};

namespace Forms {
// The one properties window, created and loaded on first use.
::Form3& Form3();
// The properties window when it exists, else nullptr (nothing is created).
::Form3* Form3IfLoaded();
}  // namespace Forms
