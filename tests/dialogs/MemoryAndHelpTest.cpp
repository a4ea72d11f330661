// The memory block's ownership, the file-title query and the help call's refusals.
#include "dialogs/cCommonDialog.h"
#include "dialogs/cMemory.h"
#include "support/Fixture.h"

#include <cstring>

namespace {
// True while `h` is a live global memory handle.
bool Live(HGLOBAL h) { return GlobalSize(h) != 0; }
}  // namespace

TEST(cMemoryTest, OwnsItsBlockUntilHandedOn) {
    HGLOBAL kept = nullptr;
    HGLOBAL freed = nullptr;
    {
        cMemory m;
        EXPECT_EQ(nullptr, m.Pointer());
        EXPECT_EQ(0u, m.Size());
        EXPECT_FALSE(m.LockMemory());
        ASSERT_TRUE(m.AllocateMemory(100, GMEM_MOVEABLE | GMEM_ZEROINIT));
        EXPECT_GE(m.Size(), 100u);
        void* p = m.Pointer();
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(p, m.Pointer());  // locked once
        EXPECT_FALSE(m.LockMemory());
        std::memcpy(p, "abc", 4);
        freed = m.Handle();
        m.FreeMemory();
        EXPECT_FALSE(Live(freed));
        EXPECT_EQ(nullptr, m.Handle());
        EXPECT_EQ(nullptr, m.Pointer());
        ASSERT_TRUE(m.AllocateMemory(10, GMEM_MOVEABLE));
        kept = m.Handle();
        std::memcpy(m.Pointer(), "xyz", 4);
        m.ReleaseDontFreeMemory();
        EXPECT_EQ(nullptr, m.Handle());
        EXPECT_EQ(nullptr, m.Pointer());
    }
    // Handed on: still alive after the object ended, unlocked, with its bytes.
    ASSERT_TRUE(Live(kept));
    EXPECT_EQ(0u, GlobalFlags(kept) & GMEM_LOCKCOUNT);
    EXPECT_STREQ("xyz", static_cast<const char*>(GlobalLock(kept)));
    GlobalUnlock(kept);

    // A written handle is owned: replaced or at the end, it is freed.
    HGLOBAL other = GlobalAlloc(GMEM_MOVEABLE, 8);
    {
        cMemory m;
        m.SetHandle(kept);
        EXPECT_EQ(kept, m.Handle());
        m.SetHandle(other);
        EXPECT_FALSE(Live(kept));
        EXPECT_TRUE(Live(other));
    }
    EXPECT_FALSE(Live(other));
}

TEST(GCommonDialogTest, FileTitle) {
    GCommonDialog g;
    EXPECT_EQ(L"技巧数据.upd", g.VBGetFileTitle(L"C:\\目录\\技巧数据.upd"));
    EXPECT_EQ(L"a.upd", g.VBGetFileTitle(L"a.upd"));
    EXPECT_EQ(L"", g.VBGetFileTitle(L"C:\\folder\\"));
    EXPECT_EQ(L"", g.VBGetFileTitle(L"a*b.upd"));
}

TEST(cCommonDialogHelpTest, ShowHelpRefusesTwoCommandsBeforeCallingTheViewer) {
    for (int32_t command : {HELP_MULTIKEY, HELP_SETWINPOS}) {
        cCommonDialog d;
        d.HelpFile = L"help.hlp";
        d.HelpCommand = command;
        EXPECT_EQ(13705, d.ShowHelp());
        EXPECT_EQ(13705, d.LastError().number);
        EXPECT_EQ(GCommonDialog::ProgramName() + L".cCommonDialog", d.LastError().source);
        EXPECT_EQ(L"Invalid WinHelp Command Passed to ShowHelp function.", d.LastError().description);
        EXPECT_EQ(nullptr, d.Layer());  // the help call makes no dialog layer
    }
}
