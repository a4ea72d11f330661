// The tree view's label editing, top-level sorting, expanded image and the
// selection after a removal, through a real tree in a shown window.
#include "Drive.h"
#include "platform/Text.h"
#include "platform/TreeView.h"
#include "platform/Window.h"
#include "support/Fixture.h"

#include <vector>

namespace {
class TreeForm : public Form {
public:
    ~TreeForm() override { Unload(); }
    bool Load() {
        if (!CreateForm(L"Quorix.TreeTestForm", L"tree", WS_OVERLAPPEDWINDOW, 0, nullptr, 0, 0, 400, 400))
            return false;
        if (!TreeView1.Create(hwnd_, 1)) return false;
        TreeView1.Move(0, 0, 380, 360);
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        Drive::Pump();
        return true;
    }
    TreeView TreeView1;
};

class TreeViewTest : public QuorixTest {
protected:
    void SetUp() override {
        QuorixTest::SetUp();
        ASSERT_TRUE(form.Load());
    }
    TreeForm form;
    TreeView& tree = form.TreeView1;

    HWND EditBox() const { return reinterpret_cast<HWND>(SendMessageW(tree.hwnd(), TVM_GETEDITCONTROL, 0, 0)); }

    // The texts of the top-level nodes in the order the control shows them.
    std::vector<std::string> TopLevelShown() const {
        std::vector<std::string> texts;
        auto h = reinterpret_cast<HTREEITEM>(SendMessageW(tree.hwnd(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
        for (; h; h = reinterpret_cast<HTREEITEM>(
                      SendMessageW(tree.hwnd(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(h))))
            texts.push_back(Text::ToAnsi(tree.Text(tree.IndexOf(h))));
        return texts;
    }

    // The 1-based image the control holds for the node: normal and selected.
    std::pair<int, int> ShownImages(int node) const {
        TVITEMW it{};
        it.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        it.hItem = tree.Handle(node);
        SendMessageW(tree.hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&it));
        return {it.iImage + 1, it.iSelectedImage + 1};
    }
};

std::vector<std::string> Ansi(std::initializer_list<const wchar_t*> texts) {
    std::vector<std::string> out;
    for (auto* t : texts) out.push_back(Text::ToAnsi(t));
    return out;
}
}  // namespace

// Editing started from code ends in the event with the typed text trimmed; the
// node takes it, or the handler's change of it, or keeps its old text when the
// handler refuses; Esc ends the edit with no event but the cancel.
TEST_F(TreeViewTest, LabelEditFromCodeTakesTrimmedTextOrKeepsTheOldOne) {
    struct Case {
        const char* name;
        std::wstring typed;
        UINT endKey;
        bool refuse;
        std::wstring handlerText;  // non-empty: the handler replaces the text
        std::wstring expectEvent;  // the text the event saw ("" with Esc: no event)
        std::wstring expectNode;
    };
    const Case cases[] = {
        {"taken, trimmed", L"  新类别 x  ", VK_RETURN, false, L"", L"新类别 x", L"新类别 x"},
        {"refused", L"坏名字", VK_RETURN, true, L"", L"坏名字", L"旧名"},
        {"changed by the handler", L"abc", VK_RETURN, false, L"ABC", L"abc", L"ABC"},
        {"blanks only", L"   ", VK_RETURN, true, L"", L"", L"旧名"},
        {"Esc", L"不要", VK_ESCAPE, false, L"", L"", L"旧名"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tree.Clear();
        int other = tree.Add(0, L"其它");
        int node = tree.Add(0, L"旧名");
        tree.Select(other);
        int events = 0, cancels = 0;
        std::wstring seen;
        tree.AfterLabelEdit = [&](TreeView::LabelEditEnd& e) {
            ++events;
            EXPECT_EQ(node, e.node);
            EXPECT_EQ(L"旧名", tree.Text(e.node));  // still the old text while the handler runs
            seen = e.text;
            e.cancel = c.refuse;
            if (!c.handlerText.empty()) e.text = c.handlerText;
        };
        tree.LabelEditCancelled = [&](int n) {
            ++cancels;
            EXPECT_EQ(node, n);
        };
        ASSERT_TRUE(tree.StartLabelEdit(node));
        EXPECT_EQ(node, tree.SelectedItem());
        EXPECT_TRUE(tree.Editing());
        HWND edit = EditBox();
        ASSERT_NE(nullptr, edit);
        EXPECT_EQ(L"旧名", Drive::WindowText(edit));
        Drive::Type(edit, c.typed);
        Drive::PostKey(edit, c.endKey);
        Drive::Pump();
        EXPECT_FALSE(tree.Editing());
        EXPECT_EQ(c.endKey == VK_ESCAPE ? 0 : 1, events);
        EXPECT_EQ(c.endKey == VK_ESCAPE ? 1 : 0, cancels);
        EXPECT_EQ(Text::ToAnsi(c.expectEvent), Text::ToAnsi(seen));
        EXPECT_EQ(Text::ToAnsi(c.expectNode), Text::ToAnsi(tree.Text(node)));
    }
}

// Manual mode (the default) opens an edit box only from code; automatic mode
// lets the control open one itself (as it does for a click on the selected
// node's text); BeforeLabelEdit can keep any edit from opening.
TEST_F(TreeViewTest, LabelEditModeDecidesWhoMayOpenTheEditBox) {
    int node = tree.Add(0, L"数据");
    tree.Select(node);
    auto controlOpens = [&] {
        // What the control does for a click on the selected node's text.
        HWND edit = reinterpret_cast<HWND>(
            SendMessageW(tree.hwnd(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(tree.Handle(node))));
        bool opened = edit != nullptr && tree.Editing();
        tree.EndLabelEdit(true);
        Drive::Pump();
        return opened;
    };
    EXPECT_EQ(TreeView::LabelEditMode::Manual, tree.LabelEdit());
    EXPECT_FALSE(controlOpens());
    EXPECT_TRUE(tree.StartLabelEdit());
    tree.EndLabelEdit(true);
    EXPECT_FALSE(controlOpens());  // still refused after an edit from code

    tree.SetLabelEdit(TreeView::LabelEditMode::Automatic);
    EXPECT_TRUE(controlOpens());

    tree.BeforeLabelEdit = [](int) { return false; };
    EXPECT_FALSE(controlOpens());
    EXPECT_FALSE(tree.StartLabelEdit());
    EXPECT_FALSE(tree.Editing());
}

// A refusing handler that shows a box moves the focus out of the edit box; the
// edit must end once, with one event, and keep the old text.
TEST_F(TreeViewTest, HandlerTakingTheFocusEndsTheEditOnce) {
    int node = tree.Add(0, L"旧名");
    int events = 0;
    tree.AfterLabelEdit = [&](TreeView::LabelEditEnd& e) {
        ++events;
        ::SetFocus(form.hwnd());  // as a message box taking the focus would
        Drive::Pump();
        e.cancel = true;
    };
    ASSERT_TRUE(tree.StartLabelEdit(node));
    Drive::Type(EditBox(), L"新名");
    tree.EndLabelEdit(false);
    Drive::Pump();
    EXPECT_EQ(1, events);
    EXPECT_EQ(L"旧名", tree.Text(node));
    EXPECT_FALSE(tree.Editing());
}

// Sorted on: the top-level nodes stand in alphabetical order (Latin before
// Chinese, case ignored), also after an add and a rename; off: where they are,
// new ones last. Indices stay in creation order throughout.
TEST_F(TreeViewTest, TopLevelSortingOnAndOff) {
    for (const wchar_t* name : {L"数据", L"banana", L"安全", L"Zebra", L"杂项", L"apple"}) tree.Add(0, name);
    int child = tree.Add(1, L"z 子类");
    tree.Add(1, L"a 子类");
    EXPECT_EQ(Ansi({L"数据", L"banana", L"安全", L"Zebra", L"杂项", L"apple"}), TopLevelShown());

    tree.SetSorted(true);
    EXPECT_TRUE(tree.Sorted());
    EXPECT_EQ(Ansi({L"apple", L"banana", L"Zebra", L"安全", L"数据", L"杂项"}), TopLevelShown());
    EXPECT_EQ(L"数据", tree.Text(1));
    EXPECT_EQ(child, tree.FirstChild(1));  // children are not sorted by it

    int mango = tree.Add(0, L"Mango");
    EXPECT_EQ(Ansi({L"apple", L"banana", L"Mango", L"Zebra", L"安全", L"数据", L"杂项"}), TopLevelShown());
    tree.SetText(6, L"月亮");  // apple renamed
    EXPECT_EQ(Ansi({L"banana", L"Mango", L"Zebra", L"安全", L"数据", L"月亮", L"杂项"}), TopLevelShown());
    ASSERT_TRUE(tree.StartLabelEdit(mango));
    Drive::Type(EditBox(), L"  Aardvark ");
    tree.EndLabelEdit(false);
    EXPECT_EQ(Ansi({L"Aardvark", L"banana", L"Zebra", L"安全", L"数据", L"月亮", L"杂项"}), TopLevelShown());

    tree.SetSorted(false);
    tree.Add(0, L"aaa");
    tree.SetText(2, L"zzz");  // banana renamed stays where it is
    EXPECT_EQ(Ansi({L"Aardvark", L"zzz", L"Zebra", L"安全", L"数据", L"月亮", L"杂项", L"aaa"}), TopLevelShown());

    tree.SortChildren(1);
    EXPECT_EQ(child, tree.NextSibling(tree.FirstChild(1)));
}

// A node with an expanded image shows it while expanded, by code or by the
// user's key, and its image again when collapsed; a selected image still wins
// while the node is selected.
TEST_F(TreeViewTest, ExpandedImageShowsWhileExpanded) {
    int node = tree.Add(0, L"数据", {}, 1);
    tree.Add(node, L"收藏夹", {}, 3);
    tree.SetExpandedImage(node, 2);
    EXPECT_EQ(2, tree.ExpandedImage(node));
    EXPECT_EQ(std::make_pair(1, 1), ShownImages(node));

    tree.SetExpanded(node, true);
    EXPECT_EQ(std::make_pair(2, 2), ShownImages(node));
    tree.SetExpanded(node, false);
    EXPECT_EQ(std::make_pair(1, 1), ShownImages(node));

    // The user's keys: right expands, left collapses, with the control's own notifications.
    tree.Select(node);
    tree.SetFocus();
    Drive::PostKey(tree.hwnd(), VK_RIGHT);
    Drive::Pump();
    ASSERT_TRUE(tree.Expanded(node));
    EXPECT_EQ(std::make_pair(2, 2), ShownImages(node));
    Drive::PostKey(tree.hwnd(), VK_LEFT);
    Drive::Pump();
    ASSERT_FALSE(tree.Expanded(node));
    EXPECT_EQ(std::make_pair(1, 1), ShownImages(node));

    tree.SetImage(node, 1, 4);
    tree.SetExpanded(node, true);
    EXPECT_EQ(std::make_pair(2, 4), ShownImages(node));
    tree.SetExpandedImage(node, 0);
    EXPECT_EQ(std::make_pair(1, 4), ShownImages(node));
}

// Removing by code moves the selection by one rule, raises AfterRemove with the
// node now selected and no NodeClick; removing elsewhere leaves it alone.
TEST_F(TreeViewTest, SelectionAfterRemoval) {
    struct Case {
        const char* name;
        const wchar_t* selected;
        const wchar_t* removed;
        const wchar_t* expect;
        bool event;
    };
    const Case cases[] = {
        {"child with a next sibling", L"A1", L"A1", L"A2", true},
        {"last child", L"A2", L"A2", L"A", true},
        {"only child", L"B1", L"B1", L"B", true},
        {"top-level with a next", L"A", L"A", L"B", true},
        {"last top-level", L"C", L"C", L"B", true},
        {"parent of the selection", L"A1", L"A", L"B", true},
        {"elsewhere", L"A1", L"C", L"A1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tree.Clear();
        int a = tree.Add(0, L"A");
        tree.Add(a, L"A1");
        tree.Add(a, L"A2");
        int b = tree.Add(0, L"B");
        tree.Add(b, L"B1");
        tree.Add(0, L"C");
        auto find = [&](const wchar_t* text) {
            for (int i = 1; i <= tree.Count(); ++i)
                if (tree.Text(i) == text) return i;
            return 0;
        };
        tree.Select(find(c.selected));
        int clicks = 0, removedEvents = 0, eventNode = -1;
        tree.NodeClick = [&](int) { ++clicks; };
        tree.AfterRemove = [&](int n) {
            ++removedEvents;
            eventNode = n;
            EXPECT_EQ(n, tree.SelectedItem());
        };
        int now = tree.Remove(find(c.removed));
        Drive::Pump();
        EXPECT_EQ(Text::ToAnsi(c.expect), Text::ToAnsi(tree.Text(tree.SelectedItem())));
        EXPECT_EQ(tree.SelectedItem(), now);
        EXPECT_EQ(0, clicks);
        EXPECT_EQ(c.event ? 1 : 0, removedEvents);
        if (c.event) {
            EXPECT_EQ(now, eventNode);
        }
        tree.NodeClick = nullptr;
        tree.AfterRemove = nullptr;
    }

    // The only node: the tree is empty and the event says so.
    tree.Clear();
    int only = tree.Add(0, L"数据");
    tree.Add(only, L"收藏夹");
    tree.Select(2);
    int eventNode = -1;
    tree.AfterRemove = [&](int n) { eventNode = n; };
    EXPECT_EQ(0, tree.Remove(only));
    EXPECT_EQ(0, eventNode);
    EXPECT_EQ(0, tree.Count());
    EXPECT_EQ(0, tree.SelectedItem());
}
