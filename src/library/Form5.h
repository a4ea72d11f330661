#pragma once
// The find window: finds tips by name, either over the sections of one category
// (its own tips, each sub-category, 收藏夹), showing the next section that holds
// a match at each press, or in the rows the tip list shows. Matching rows of the
// tip list are set in bold. Modeless, owned by the main window.
#include "platform/Button.h"
#include "platform/EditBox.h"
#include "platform/Label.h"
#include "platform/ListView.h"
#include "platform/OptionButton.h"
#include "platform/Picture.h"
#include "platform/Window.h"

#include <string>
#include <utility>
#include <vector>

class Form5 : public Form {
public:
    ~Form5() override;
    // Creates the window; its load step makes the main window its owner. Not shown.
    bool Load();

    // ---- controls ----
    Picture Picture5;         // container of the visible controls; draws nothing
    Label Label27;            // 查找内容:
    EditBox Text12;           // the search text
    CommandButton Command13;  // 查找(&F) / 查找下一个(&N): the caption is the walk state
    CommandButton Command14;  // 取消
    Frame Frame5;             // 搜索
    OptionButton Option1;     // 整个类别(&A): the whole category
    OptionButton Option2;     // 当前类别(&Y): the rows shown
    ListView ListView1;       // FindScopeList (never shown): one row per section of the category

    // The opening steps: the scope list and the walk start afresh, the rows
    // (section name, category-tree node) are listed, the first selected, and
    // the window is shown modeless.
    void Open(const std::vector<std::pair<std::wstring, int>>& scopeRows);

    // Marks the rows of the tip list whose name holds the search text; sets Found.
    void Find();
    bool Found = false;
    void Command13_Click();
    void Command14_Click();
    void Text12_Change();
    void Text12_GotFocus();

    // The tree node a scope row stands for, found by its path in the tree
    // (0 when that node is gone).
    int ScopeNode(int row) const;

    static const wchar_t* const kFind;      // 查找(&F)
    static const wchar_t* const kFindNext;  // 查找下一个(&N)
    static const wchar_t* const kNothingFound;

protected:
    LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    std::wstring SearchText() const;
    // The control an access key (the letter after "&" in its caption) names is
    // worked as a click on it; false when no enabled control has that key.
    bool AccessKey(wchar_t key);
    // The control that has, or last had, the keyboard within the window.
    HWND FocusTarget() const;
    HWND lastFocus_ = nullptr;
    // Shows the section of a scope row (its node selected, no click handling) and marks the matches.
    void ShowScopeRow(int row, int node);
    void Walk();
    void SwitchToCategoryMode();
    static LRESULT CALLBACK KeyProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
};

namespace Forms {
// The find window, created on first use.
::Form5& Form5();
::Form5* Form5IfLoaded();
void UnloadForm5();
}  // namespace Forms
