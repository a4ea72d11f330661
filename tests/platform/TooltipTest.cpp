// The balloon tooltip over a real list view: what Create builds, what the
// setters send to an existing tip, replacement and release, and the tip as a
// user sees it when the pointer rests over the list.
#include "platform/ListView.h"
#include "platform/Text.h"
#include "platform/Tooltip.h"
#include "platform/Window.h"
#include "support/RealInput.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

class ListForm : public Form {
public:
    ~ListForm() override { Unload(); }
    bool Load(int rows = 6) {
        if (!CreateForm(L"Quorix.TooltipTestForm", L"提示测试", WS_OVERLAPPEDWINDOW, 0, nullptr, 80, 60, 760, 460))
            return false;
        if (!ListView1.Create(hwnd_, 1)) return false;
        RECT rc;
        GetClientRect(hwnd_, &rc);
        ListView1.Move(0, 0, rc.right, rc.bottom);
        ListView1.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
        ListView1.AddColumn(L"作用", 260);
        ListView1.AddColumn(L"命令", 80);
        ListView1.AddColumn(L"危险", 50);
        ListView1.AddColumn(L"键名", 150);
        ListView1.AddColumn(L"键值", 150);
        const wchar_t* names[] = {L"禁用自动播放", L"显示文件扩展名", L"关闭错误报告", L"加快菜单显示速度",
                                  L"隐藏桌面图标", L"禁止远程协助"};
        for (int i = 0; i < rows && i < 6; ++i) {
            int r = ListView1.Add(names[i]);
            ListView1.SetSubText(r, 1, i % 2 ? L"关" : L"开");
            ListView1.SetSubText(r, 3, L"NoDriveTypeAutoRun");
            ListView1.SetSubText(r, 4, L"ff");
        }
        Show();
        UpdateWindow(hwnd_);
        return true;
    }
    ListView ListView1;
};

void Pump(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    do {
        Ui::DoEvents();
        Sleep(10);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

// Top-level tip windows of this process (the list view's own tips included).
int TipWindowCount() {
    struct Ctx {
        DWORD pid;
        int n;
    } ctx{GetCurrentProcessId(), 0};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            wchar_t cls[64] = {};
            GetClassNameW(h, cls, 64);
            if (pid == c->pid && lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) ++c->n;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    return ctx.n;
}

// Records what is sent to tip windows of this thread (a WH_CALLWNDPROC hook):
// the title, colour, text and width messages with their arguments.
struct Sent {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    std::wstring text;  // the title, or the tool record's text
};
class TipMessages {
public:
    TipMessages() {
        current_ = this;
        hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Proc, nullptr, GetCurrentThreadId());
    }
    ~TipMessages() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    std::vector<Sent> Take() {
        std::vector<Sent> r;
        r.swap(sent_);
        return r;
    }
    bool hooked() const { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wp, LPARAM lp) {
        if (code == HC_ACTION && current_) {
            auto* m = reinterpret_cast<CWPSTRUCT*>(lp);
            switch (m->message) {
            case TTM_SETTITLEW:
                current_->sent_.push_back({m->message, m->wParam, m->lParam,
                                           m->lParam ? reinterpret_cast<const wchar_t*>(m->lParam) : L""});
                break;
            case TTM_ADDTOOLW:
            case TTM_UPDATETIPTEXTW: {
                auto* ti = reinterpret_cast<const TOOLINFOW*>(m->lParam);
                current_->sent_.push_back({m->message, m->wParam, m->lParam, ti->lpszText ? ti->lpszText : L""});
                break;
            }
            case TTM_SETTIPTEXTCOLOR:
            case TTM_SETTIPBKCOLOR:
            case TTM_SETMAXTIPWIDTH:
            case TTM_DELTOOLW:
                current_->sent_.push_back({m->message, m->wParam, m->lParam, {}});
                break;
            default:
                break;
            }
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static inline TipMessages* current_ = nullptr;
    HHOOK hook_ = nullptr;
    std::vector<Sent> sent_;
};

int CountOf(const std::vector<Sent>& v, UINT msg) {
    int n = 0;
    for (const Sent& s : v) n += s.msg == msg;
    return n;
}
const Sent* Find(const std::vector<Sent>& v, UINT msg) {
    for (const Sent& s : v)
        if (s.msg == msg) return &s;
    return nullptr;
}

// The one tool of a tip window, with its text.
struct ToolInfo {
    int count = 0;
    UINT flags = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 99;
    RECT rect{};
    std::wstring text;
};
ToolInfo GetTool(HWND tip) {
    ToolInfo r;
    r.count = static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    wchar_t buf[1024] = {};
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.lpszText = buf;
    if (!SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&ti))) return r;
    r.flags = ti.uFlags;
    r.hwnd = ti.hwnd;
    r.id = ti.uId;
    r.rect = ti.rect;
    TOOLINFOW q{};
    q.cbSize = sizeof(q);
    q.hwnd = ti.hwnd;
    q.uId = ti.uId;
    q.lpszText = buf;
    buf[0] = 0;
    SendMessageW(tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&q));
    r.text = buf;
    return r;
}

COLORREF TextColor(HWND tip) { return static_cast<COLORREF>(SendMessageW(tip, TTM_GETTIPTEXTCOLOR, 0, 0)); }
COLORREF BackColorOf(HWND tip) { return static_cast<COLORREF>(SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)); }


// Rests the pointer at a point of the list and waits for the tip to show.
// `shownAt` gets the pointer's screen position when the tip came up.
bool RestOver(const ListView& list, HWND tip, POINT client, POINT* shownAt = nullptr, DWORD timeoutMs = 6000) {
    POINT p = client;
    ClientToScreen(list.hwnd(), &p);
    RealInput::MoveTo(p);
    DWORD end = GetTickCount() + timeoutMs;
    int nudge = 0;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        Ui::DoEvents();
        if (IsWindowVisible(tip)) {
            if (shownAt) GetCursorPos(shownAt);
            Pump(150);  // let it settle at its final place and size
            return true;
        }
        Sleep(20);
        // A small move now and then, as a resting hand makes.
        // Once in a long while (well beyond the initial delay, which each
        // move starts again) a small move, as a resting hand makes.
        if (++nudge % 120 == 0) {
            POINT q{p.x + (nudge / 120) % 2, p.y};
            RealInput::MoveTo(q);
        }
    }
    POINT cur;
    GetCursorPos(&cur);
    HWND under = WindowFromPoint(p);
    wchar_t cls[64] = {};
    GetClassNameW(under, cls, 64);
    ADD_FAILURE() << "tip not shown; pointer " << cur.x << "," << cur.y << " wanted " << p.x << "," << p.y
                  << " under " << Text::ToAnsi(cls) << " list " << (under == list.hwnd());
    return false;
}

void LeaveList() {
    RealInput::MoveTo({2, GetSystemMetrics(SM_CYSCREEN) - 3});
    Pump(200);
}

const std::wstring kFiveLines =
    L"键位: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\r\n"
    L"类型：双字节值(REG_DWORD)\r\n"
    L"键名: NoDriveTypeAutoRun\r\n"
    L"键值: ff\r\n"
    L"命令: 开";

class TooltipTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(form.Load()) << "no window (is there a display?)";
        tipsBefore = TipWindowCount();
    }
    void TearDown() override { LeaveList(); }
    ListForm form;
    int tipsBefore = 0;
};

}  // namespace

// A new object holds the documented initial values; setting stores only, and
// Create without a control makes no window.
TEST_F(TooltipTest, PropertiesOnlyStoreUntilCreate) {
    Tooltip t;
    EXPECT_EQ(0, t.Style());
    EXPECT_FALSE(t.Centered());
    EXPECT_EQ(nullptr, t.ParentControl());
    EXPECT_EQ(0, t.Icon());
    EXPECT_EQ(0u, t.ForeColor());
    EXPECT_EQ(0u, t.BackColor());
    EXPECT_EQ(L"", t.Title());
    EXPECT_EQ(L"", t.TipText());
    EXPECT_EQ(Tooltip::kNoMaxWidth, t.MaxTipWidth());
    EXPECT_EQ(nullptr, t.hwnd());

    t.SetStyle(1);
    t.SetCentered(true);
    t.SetIcon(3);
    t.SetForeColor(RGB(1, 2, 3));
    t.SetBackColor(RGB(4, 5, 6));
    t.SetTitle(L"标题");
    t.SetTipText(L"一\r\n二");
    t.SetMaxTipWidth(300);
    EXPECT_EQ(1, t.Style());
    EXPECT_TRUE(t.Centered());
    EXPECT_EQ(3, t.Icon());
    EXPECT_EQ(RGB(1, 2, 3), t.ForeColor());
    EXPECT_EQ(RGB(4, 5, 6), t.BackColor());
    EXPECT_EQ(L"标题", t.Title());
    EXPECT_EQ(L"一\r\n二", t.TipText());
    EXPECT_EQ(300, t.MaxTipWidth());
    EXPECT_EQ(tipsBefore, TipWindowCount());

    EXPECT_FALSE(t.Create());
    EXPECT_EQ(nullptr, t.hwnd());
    EXPECT_EQ(tipsBefore, TipWindowCount());
    t.Release();
    t.Release();
    EXPECT_EQ(tipsBefore, TipWindowCount());
}

// What Create builds from each set of properties.
TEST_F(TooltipTest, CreateBuildsTheTipFromItsProperties) {
    HWND fresh = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, form.hwnd(), nullptr,
                                 Ui::Instance(), nullptr);
    ASSERT_TRUE(fresh);
    const COLORREF sysText = TextColor(fresh), sysBack = BackColorOf(fresh);
    DestroyWindow(fresh);

    struct Case {
        int style;
        bool centered;
        int icon;
        const wchar_t* title;
        COLORREF fore, back;
        bool balloon;
        bool titleSent;
    } cases[] = {
        {0, false, 0, L"", 0, 0, false, false},                             // plain rectangle, nothing extra
        {1, false, 1, L"禁用自动播放", 0, 0, true, true},                 // the row tooltip's shape
        {2, true, 0, L"Title only", 0, 0, false, true},                    // any style but 1 is rectangular
        {-1, false, 3, L"", 0, 0, false, true},                            // an icon alone is sent
        {1, true, 2, L"色", RGB(200, 0, 0), RGB(0, 0, 160), true, true},  // both colours sent
    };
    RECT client;
    GetClientRect(form.ListView1.hwnd(), &client);
    TipMessages sent;
    ASSERT_TRUE(sent.hooked());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " icon " << c.icon);
        Tooltip t;
        t.SetTipText(kFiveLines);
        t.SetParentControl(&form.ListView1);
        t.SetStyle(c.style);
        t.SetCentered(c.centered);
        t.SetIcon(c.icon);
        t.SetTitle(c.title);
        t.SetForeColor(c.fore);
        t.SetBackColor(c.back);
        sent.Take();
        ASSERT_TRUE(t.Create());
        HWND tip = t.hwnd();
        ASSERT_TRUE(tip);
        EXPECT_EQ(tipsBefore + 1, TipWindowCount());
        std::vector<Sent> msgs = sent.Take();
        EXPECT_EQ(1, CountOf(msgs, TTM_ADDTOOLW));
        EXPECT_EQ(0, CountOf(msgs, TTM_SETMAXTIPWIDTH));  // none unless asked for

        DWORD style = static_cast<DWORD>(GetWindowLongW(tip, GWL_STYLE));
        EXPECT_EQ(DWORD(TTS_ALWAYSTIP | TTS_NOPREFIX), style & (TTS_ALWAYSTIP | TTS_NOPREFIX));
        EXPECT_EQ(c.balloon, (style & TTS_BALLOON) != 0);
        EXPECT_TRUE(GetWindowLongW(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_EQ(form.hwnd(), GetWindow(tip, GW_OWNER));
        EXPECT_FALSE(IsWindowVisible(tip));

        ToolInfo tool = GetTool(tip);
        EXPECT_EQ(1, tool.count);
        EXPECT_EQ(UINT(TTF_SUBCLASS | (c.centered ? TTF_CENTERTIP : 0)), tool.flags & ~TTF_IDISHWND);
        EXPECT_EQ(form.ListView1.hwnd(), tool.hwnd);
        EXPECT_EQ(0u, tool.id);
        EXPECT_TRUE(EqualRect(&client, &tool.rect));
        EXPECT_EQ(kFiveLines, tool.text);

        const Sent* title = Find(msgs, TTM_SETTITLEW);
        ASSERT_EQ(c.titleSent, title != nullptr);
        if (title) {
            EXPECT_EQ(std::wstring(c.title), title->text);
            EXPECT_EQ(WPARAM(c.icon), title->wp);
        }
        EXPECT_EQ(c.fore ? 1 : 0, CountOf(msgs, TTM_SETTIPTEXTCOLOR));
        EXPECT_EQ(c.back ? 1 : 0, CountOf(msgs, TTM_SETTIPBKCOLOR));
        EXPECT_EQ(c.fore ? c.fore : sysText, TextColor(tip));
        EXPECT_EQ(c.back ? c.back : sysBack, BackColorOf(tip));
    }
    EXPECT_EQ(tipsBefore, TipWindowCount());
}

// With a window, the title goes only while title and icon are both set; the
// colours go as set, black included; text and width at once; style, centring
// and the tool's rectangle wait for the next Create.
TEST_F(TooltipTest, SettersUpdateAnExistingTip) {
    Tooltip t;
    t.SetParentControl(&form.ListView1);
    t.SetStyle(1);
    t.SetTitle(L"甲");
    t.SetIcon(1);
    t.SetTipText(L"一行");
    ASSERT_TRUE(t.Create());
    HWND tip = t.hwnd();
    TipMessages sent;

    // {change, title sent?, its icon, its text}
    struct Step {
        const wchar_t* title;  // nullptr: set the icon instead
        int icon;
        bool sent;
    } steps[] = {
        {L"乙", 0, true},     // title with icon 1 set: sent
        {nullptr, 2, true},   // icon with title 乙: sent
        {nullptr, 0, false},  // icon 0: waits for Create
        {L"", 0, false},      // empty title: waits for Create
        {nullptr, 3, false},  // title still empty
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(testing::Message() << "title " << (st.title ? "set" : "-") << " icon " << st.icon);
        if (st.title)
            t.SetTitle(st.title);
        else
            t.SetIcon(st.icon);
        std::vector<Sent> msgs = sent.Take();
        ASSERT_EQ(st.sent ? 1 : 0, CountOf(msgs, TTM_SETTITLEW));
        if (st.sent) {
            EXPECT_EQ(t.Title(), msgs[0].text);
            EXPECT_EQ(WPARAM(t.Icon()), msgs[0].wp);
        }
    }

    t.SetForeColor(RGB(255, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), TextColor(tip));
    t.SetForeColor(0);  // black is sent too
    EXPECT_EQ(0u, TextColor(tip));
    t.SetBackColor(0);
    EXPECT_EQ(0u, BackColorOf(tip));

    t.SetTipText(kFiveLines);
    EXPECT_EQ(kFiveLines, GetTool(tip).text);
    t.SetMaxTipWidth(420);
    EXPECT_EQ(420, SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
    std::vector<Sent> msgs = sent.Take();
    EXPECT_EQ(1, CountOf(msgs, TTM_UPDATETIPTEXTW));

    t.SetStyle(0);
    t.SetCentered(true);
    RECT before = GetTool(tip).rect;
    form.ListView1.Move(0, 0, 300, 200);
    EXPECT_TRUE(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON);
    EXPECT_FALSE(GetTool(tip).flags & TTF_CENTERTIP);
    RECT still = GetTool(tip).rect;
    EXPECT_TRUE(EqualRect(&before, &still));

    // The next Create replaces the window and takes every stored value,
    // sending the title because the icon is set, and the width.
    sent.Take();
    ASSERT_TRUE(t.Create());
    EXPECT_FALSE(IsWindow(tip));
    tip = t.hwnd();
    msgs = sent.Take();
    const Sent* title = Find(msgs, TTM_SETTITLEW);
    ASSERT_TRUE(title);
    EXPECT_EQ(L"", title->text);
    EXPECT_EQ(3u, title->wp);
    EXPECT_EQ(0, CountOf(msgs, TTM_SETTIPTEXTCOLOR));  // colours of 0 are not sent
    EXPECT_EQ(0, CountOf(msgs, TTM_SETTIPBKCOLOR));
    EXPECT_EQ(1, CountOf(msgs, TTM_SETMAXTIPWIDTH));
    EXPECT_EQ(420, SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0));
    EXPECT_FALSE(GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON);
    EXPECT_TRUE(GetTool(tip).flags & TTF_CENTERTIP);
    RECT now = GetTool(tip).rect, client;
    GetClientRect(form.ListView1.hwnd(), &client);
    EXPECT_TRUE(EqualRect(&client, &now));
    EXPECT_GT(before.right, now.right);  // the list is narrower now
    EXPECT_EQ(kFiveLines, GetTool(tip).text);

    // A release removes the tool before the window goes.
    t.Release();
    msgs = sent.Take();
    EXPECT_EQ(1, CountOf(msgs, TTM_DELTOOLW));
}

// One tip window per object; releases are safe in every state and leave no
// window behind, however often the tip is rebuilt.
TEST_F(TooltipTest, ReleaseAndRecreateLeaveNoWindow) {
    auto t = std::make_unique<Tooltip>();
    t->SetParentControl(&form.ListView1);
    t->SetStyle(1);
    t->SetTitle(L"标题");
    t->SetIcon(1);
    ASSERT_TRUE(t->Create());
    HWND first = t->hwnd();
    ASSERT_TRUE(t->Create());
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(tipsBefore + 1, TipWindowCount());

    HWND second = t->hwnd();
    t->Release();
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(nullptr, t->hwnd());
    t->Release();
    EXPECT_EQ(tipsBefore, TipWindowCount());
    EXPECT_EQ(L"标题", t->Title());  // the properties stay for a re-create

    // The row tooltip's cycle: a new object each time, the old one released.
    for (int i = 0; i < 25; ++i) {
        t = std::make_unique<Tooltip>();
        t->SetTipText(L"第 " + std::to_wstring(i) + L" 个");
        t->SetParentControl(&form.ListView1);
        t->SetStyle(1);
        ASSERT_TRUE(t->Create());
    }
    EXPECT_EQ(tipsBefore + 1, TipWindowCount());
    HWND last = t->hwnd();
    t.reset();  // releasing the object while the list exists removes the tip at once
    EXPECT_FALSE(IsWindow(last));
    EXPECT_EQ(tipsBefore, TipWindowCount());
    // The list still works once its tool is gone.
    SendMessageW(form.ListView1.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 40));
    EXPECT_EQ(6, form.ListView1.Count());
}

// Over an empty list, after the list's window went, or with a control that
// has no window: nothing fails and nothing is left.
TEST_F(TooltipTest, ReleaseOnEmptyOrGoneWindows) {
    ListForm empty;
    ASSERT_TRUE(empty.Load(0));
    int base = TipWindowCount();
    {
        Tooltip t;
        t.SetParentControl(&empty.ListView1);
        ASSERT_TRUE(t.Create());
        EXPECT_EQ(base + 1, TipWindowCount());
        t.Release();
        EXPECT_EQ(base, TipWindowCount());
    }

    // The owner window goes first: the tip went with it; releasing is harmless.
    Tooltip t;
    t.SetParentControl(&empty.ListView1);
    ASSERT_TRUE(t.Create());
    HWND tip = t.hwnd();
    empty.Unload();
    EXPECT_FALSE(IsWindow(tip));
    EXPECT_EQ(nullptr, t.hwnd());
    t.Release();
    t.SetTitle(L"无窗口");  // nothing to send to
    EXPECT_EQ(tipsBefore, TipWindowCount());

    // A control without a window: Create fails after dropping the old tip.
    Tooltip u;
    u.SetParentControl(&form.ListView1);
    ASSERT_TRUE(u.Create());
    HWND old = u.hwnd();
    u.SetParentControl(&empty.ListView1);
    EXPECT_FALSE(u.Create());
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(nullptr, u.hwnd());
    EXPECT_EQ(tipsBefore, TipWindowCount());
}

// The tip as a user meets it: the pointer rests over the list and the tip
// shows; where it stands follows Centered; five lines break at CR LF under a
// maximum width; leaving the list hides it; a release takes it off at once.
TEST_F(TooltipTest, ShowsWhileThePointerRestsOverTheList) {
    RECT lr;
    GetClientRect(form.ListView1.hwnd(), &lr);
    POINT at{60, 70};  // on a row, well left of the list's centre

    struct Shown {
        RECT rect{};
        POINT pointer{};
        bool ok = false;
    };
    auto show = [&](bool centered, const std::wstring& text, int maxWidth, POINT where) {
        Shown s;
        Tooltip t;
        t.SetTipText(text);
        t.SetParentControl(&form.ListView1);
        t.SetTitle(L"禁用自动播放");
        t.SetIcon(1);
        t.SetStyle(1);
        t.SetCentered(centered);
        t.SetMaxTipWidth(maxWidth);
        if (!t.Create()) return s;
        LeaveList();
        s.ok = RestOver(form.ListView1, t.hwnd(), where, &s.pointer);
        GetWindowRect(t.hwnd(), &s.rect);
        return s;
    };

    RECT toolScreen = lr;
    MapWindowPoints(form.ListView1.hwnd(), HWND_DESKTOP, reinterpret_cast<POINT*>(&toolScreen), 2);

    Shown plain = show(false, L"键位: 一行", 600, at);
    ASSERT_TRUE(plain.ok) << "the tip never showed";
    EXPECT_LE(plain.rect.left, plain.pointer.x);
    EXPECT_GE(plain.rect.right, plain.pointer.x);

    Shown five = show(false, kFiveLines, 600, at);
    ASSERT_TRUE(five.ok);
    // Four more lines than the one-line tip, each at least a small font's height.
    EXPECT_GE((five.rect.bottom - five.rect.top) - (plain.rect.bottom - plain.rect.top), 4 * 11);
    EXPECT_LE(five.rect.right - five.rect.left, 600 + 60);  // wrapped to the width, margins aside

    // Not centred: the tip follows the pointer. Centred: it stands at the
    // tool's middle wherever the pointer rests.
    POINT right{at.x + 150, at.y};
    Shown plainRight = show(false, L"键位: 一行", 600, right);
    ASSERT_TRUE(plainRight.ok);
    EXPECT_EQ(plain.rect.left - plain.pointer.x, plainRight.rect.left - plainRight.pointer.x);
    EXPECT_EQ(plain.rect.top - plain.pointer.y, plainRight.rect.top - plainRight.pointer.y);

    Shown centred = show(true, L"居中", 600, at);
    Shown centredRight = show(true, L"居中", 600, right);
    ASSERT_TRUE(centred.ok && centredRight.ok);
    EXPECT_TRUE(EqualRect(&centred.rect, &centredRight.rect));
    int toolMid = (toolScreen.left + toolScreen.right) / 2;
    EXPECT_LT(centred.rect.left, toolMid);
    EXPECT_GT(centred.rect.right, toolMid);

    // Leaving hides it; a release while shown removes it.
    Tooltip t;
    t.SetTipText(kFiveLines);
    t.SetParentControl(&form.ListView1);
    t.SetStyle(1);
    ASSERT_TRUE(t.Create());
    LeaveList();
    ASSERT_TRUE(RestOver(form.ListView1, t.hwnd(), at));
    LeaveList();
    Pump(300);
    EXPECT_FALSE(IsWindowVisible(t.hwnd()));
    ASSERT_TRUE(RestOver(form.ListView1, t.hwnd(), {at.x + 200, at.y + 40}));
    HWND shown = t.hwnd();
    t.Release();
    EXPECT_FALSE(IsWindow(shown));
    EXPECT_EQ(tipsBefore, TipWindowCount());
}

// Holds the row balloon up over a filled list while QUORIX_SHOT_MARK names a
// file: the test writes it once the balloon shows, then waits (at most 20 s)
// until the file is gone, so that a screen capture can be taken meanwhile.
TEST_F(TooltipTest, HoldBalloonForScreenCapture) {
    const char* mark = std::getenv("QUORIX_SHOT_MARK");
    if (!mark || !*mark) GTEST_SKIP() << "set QUORIX_SHOT_MARK to hold the balloon for a capture";
    form.ListView1.SetSelectedItem(2);
    Tooltip t;
    t.SetTipText(kFiveLines);
    t.SetParentControl(&form.ListView1);
    t.SetTitle(form.ListView1.Text(2));
    t.SetIcon(1);
    t.SetStyle(1);
    t.SetMaxTipWidth(600);
    ASSERT_TRUE(t.Create());
    LeaveList();
    ASSERT_TRUE(RestOver(form.ListView1, t.hwnd(), {120, 46}));
    HANDLE f = CreateFileA(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    CloseHandle(f);
    DWORD end = GetTickCount() + 20000;
    while (GetFileAttributesA(mark) != INVALID_FILE_ATTRIBUTES && static_cast<LONG>(end - GetTickCount()) > 0) {
        Ui::DoEvents();
        Sleep(20);
    }
    EXPECT_TRUE(IsWindowVisible(t.hwnd()));
}
