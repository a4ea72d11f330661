// Popup menus with a submenu, chosen through the test chooser: an item of the
// submenu reaches Click by its key; an item under a hidden or disabled parent,
// or the parent itself, is never chosen.
#include "platform/Menu.h"
#include "support/Fixture.h"

namespace {
class MenuTest : public QuorixTest {
protected:
    void TearDown() override {
        PopupMenu::SetChooserForTests(nullptr);
        QuorixTest::TearDown();
    }
};
}  // namespace

TEST_F(MenuTest, SubmenuItemsAreChosenByKeyOnlyWhileTheirParentIsUsable) {
    PopupMenu menu;
    MenuItem& parent = menu.Add(L"new", L"新建(&N)");
    parent.Sub.push_back(MenuItem{L"a", L"甲"});
    parent.Sub.push_back(MenuItem{L"b", L"乙"});
    menu.Add(L"edit", L"修改(&M)");
    std::vector<std::wstring> clicked;
    menu.Click = [&](const std::wstring& key) { clicked.push_back(key); };
    ASSERT_NE(nullptr, menu.Item(L"b"));
    EXPECT_EQ(L"乙", menu.Item(L"b")->text);

    struct Case {
        const char* name;
        bool parentVisible, parentEnabled, itemEnabled;
        const wchar_t* choose;
        const wchar_t* expected;  // "" = nothing chosen
    };
    const Case cases[] = {
        {"sub item", true, true, true, L"b", L"b"},
        {"parent itself", true, true, true, L"new", L""},
        {"hidden parent", false, true, true, L"b", L""},
        {"disabled parent", true, false, true, L"b", L""},
        {"disabled item", true, true, false, L"b", L""},
        {"top item", false, true, true, L"edit", L"edit"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clicked.clear();
        menu.SetVisible(L"new", c.parentVisible);
        menu.SetEnabled(L"new", c.parentEnabled);
        menu.SetEnabled(L"b", c.itemEnabled);
        PopupMenu::SetChooserForTests([&](const PopupMenu&) { return std::wstring(c.choose); });
        EXPECT_EQ(c.expected, menu.Popup(nullptr, POINT{0, 0}));
        EXPECT_EQ(*c.expected ? 1u : 0u, clicked.size());
    }
}
