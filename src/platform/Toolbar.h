#pragma once
// Toolbar with keyed buttons (VB style): buttons count from 1 and carry a key,
// a description, a tool tip, a 1-based image and, for drop-down buttons, a
// button menu. A check button's pressed state is its value.
#include "platform/Menu.h"
#include "platform/Window.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

class Toolbar : public Control {
public:
    enum class Style { Plain, Separator, Check, DropDown };

    // `place`: CCS_TOP for a toolbar along its parent's top; a toolbar its
    // window places itself is made with CCS_NOPARENTALIGN | CCS_NORESIZE, where
    // its layout put it.
    bool Create(HWND parent, int id, DWORD place = CCS_TOP);
    void SetImageList(HIMAGELIST list);

    struct ButtonSpec {
        std::wstring key;
        Style style = Style::Plain;
        std::wstring description = {}, toolTip = {};
        int image = 0;  // 1-based, 0 none
    };
    // Appends the buttons in one step (the toolbar lays itself out once); their
    // tool tips are made after them.
    void AddButtons(const std::vector<ButtonSpec>& specs);
    // Appends a button; returns its 1-based index.
    int AddButton(const std::wstring& key, Style style, const std::wstring& description = {},
                  const std::wstring& toolTip = {}, int image = 0);
    int Count() const { return static_cast<int>(buttons_.size()); }
    int IndexOf(const std::wstring& key) const;  // 0 when no button has the key
    std::wstring Key(int index) const;
    std::wstring Description(int index) const;
    std::wstring ToolTip(int index) const;
    Style ButtonStyle(int index) const;

    bool Enabled(int index) const;
    bool Enabled(const std::wstring& key) const { return Enabled(IndexOf(key)); }
    void SetEnabled(int index, bool on);
    void SetEnabled(const std::wstring& key, bool on) { SetEnabled(IndexOf(key), on); }
    // The value of a check button: pressed or not.
    bool Pressed(const std::wstring& key) const;
    void SetPressed(const std::wstring& key, bool on);
    int Image(const std::wstring& key) const;
    void SetImage(const std::wstring& key, int image);
    // Screen rectangle of a button (for dropping its menu).
    RECT ButtonRect(int index) const;
    // Height the toolbar wants at its current width, in pixels.
    int PreferredHeight() const;
    void AutoSize();
    // For a toolbar along its parent's top: sizes it to the parent's width and
    // makes it as tall as its rows of buttons (a wrapped toolbar sizes itself
    // a row taller than its buttons fill), and keeps that height until the next call.
    void FitToRows();

    // The drop-down menu of a button.
    PopupMenu& ButtonMenus(const std::wstring& key);

    // Raised with the clicked button's key (separators and disabled buttons raise nothing).
    std::function<void(const std::wstring& key)> ButtonClick;
    // Raised with the button's key when its drop-down arrow is pressed, before its menu opens.
    std::function<void(const std::wstring& key)> ButtonDropDown;
    // Raised with the button's key and the chosen menu item's key.
    std::function<void(const std::wstring& buttonKey, const std::wstring& itemKey)> ButtonMenuClick;

    // What a user's click does: a click on the button, or on its drop-down arrow.
    void Click(const std::wstring& key);
    void DropDown(const std::wstring& key);

    bool OnNotify(NMHDR* nm, LRESULT& result) override;
    bool OnCommand(UINT id, UINT code) override;

private:
    struct Button {
        std::wstring key, description, toolTip;
        Style style = Style::Plain;
        int image = 0;
        PopupMenu menu;
    };
    static constexpr int kFirstId = 4000;
    int CommandId(int index) const { return kFirstId + index; }
    void MakeToolTips();
    std::vector<Button> buttons_;
};
