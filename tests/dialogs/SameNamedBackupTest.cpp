// Two tip data files holding a tip of the same name, applied on one day under
// the same category: each tip's previous value is kept in the day's backup file
// (the second under a derived key), and both come back through the engine's day
// restore and through the restore page; the first record of a tip still wins.
#include "fixtures/ApplyFixture.h"

#include "dialogs/Form4.h"
#include "engine/Backup.h"
#include "platform/Modal.h"

#include <vector>

using std::string;
using std::wstring;

namespace {
string Dword(uint32_t v) { return string(reinterpret_cast<const char*>(&v), 4); }
}  // namespace

class SameNamedBackupTest : public ApplyFixture {
protected:
    // A tip data file holding the one tip 同名 for `valueName` under the test key.
    wstring DataFile(const wstring& file, const wstring& valueName, const wstring& data, const wchar_t* type) {
        const wstring path = Path(file);
        TipFile::TipRecord r{Key(), valueName, L"启用", data, type, L"说明", L"1"};
        EXPECT_TRUE(TipFile::WriteTip(path, TipFile::DataSection, L"同名", TipFile::EncodeRecord(r),
                                      TipFile::EncodeOptions({{L"启用"}, {data}})));
        return path;
    }
    // Shows the file in the tip list as the file list does, ticks its tip and applies it.
    static void ApplyFile(const wstring& path) {
        Form2& form = Forms::Form2();
        Forms::frmShadow().Shownode(path, TipFile::DataSection);
        ASSERT_EQ(1, form.ListView1.Count());
        form.ListView1.SetChecked(1, true);
        form.StartWork();
        EXPECT_EQ(kBlue, Colour(1));
    }
    void ExpectBefore() {
        EXPECT_EQ(std::make_pair(DWORD(REG_SZ), Sz("old A")), Stored("A"));
        EXPECT_EQ(std::make_pair(DWORD(REG_DWORD), Dword(5)), Stored("B"));
    }
    void ExpectAfter() {
        EXPECT_EQ(std::make_pair(DWORD(REG_SZ), Sz("new A")), Stored("A"));
        EXPECT_EQ(std::make_pair(DWORD(REG_DWORD), Dword(0x99)), Stored("B"));
    }
};

TEST_F(SameNamedBackupTest, BothSameNamedTipsAreRestored) {
    TestReg::Set(Sub(), "A", REG_SZ, Sz("old A"));
    TestReg::Set(Sub(), "B", REG_DWORD, Dword(5));
    const wstring first = DataFile(L"一.upd", L"A", L"new A", L"0");
    const wstring second = DataFile(L"二.upd", L"B", L"99", L"2");

    ApplyFile(first);
    ApplyFile(second);
    ApplyFile(first);  // again the same day: its first record stays
    ExpectAfter();
    EXPECT_EQ((std::vector<wstring>{L"同名", L"同名 (2)"}), Ini::Keys(BakFile(), kSection));
    const wstring FM(1, Marks::FieldMarkChar);
    EXPECT_EQ(Key() + FM + L"A" + FM + L"old A" + FM + L"1", Ini::Read(BakFile(), kSection, L"同名"));
    EXPECT_EQ(Key() + FM + L"B" + FM + L"5" + FM + L"4", Ini::Read(BakFile(), kSection, L"同名 (2)"));

    // The engine's day restore brings both back.
    Backup::DayCounts counts = Backup::RestoreDay(BakFile());
    EXPECT_EQ(2, counts.restored);
    EXPECT_EQ(0, counts.notRestored);
    ExpectBefore();

    // Applied again, then restored from the restore page opened in the main window.
    ApplyFile(second);
    ApplyFile(first);
    ExpectAfter();
    EXPECT_EQ(2u, Ini::Keys(BakFile(), kSection).size());
    ExpectBox(IDYES, L"您确定要使用选定的恢复文件进行还原吗？");
    ExpectBox(IDOK, L"还原完成。");
    bool ran = false;
    Modal::SetHookForTests([&](HWND) {
        ran = true;
        Form4& page = Forms::Form4();
        ASSERT_EQ(1, page.ListView1.Count());
        page.Command22_Click();
        page.Command24_Click();
    });
    Forms::Form2().OpenRestorePage();
    Modal::SetHookForTests(nullptr);
    EXPECT_TRUE(ran);
    ExpectBefore();
}
