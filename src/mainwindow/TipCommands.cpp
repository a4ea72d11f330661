// Deleting the selected tips, putting them into the category's 收藏夹, and the
// category favourites' commands of the main window.
#include "common/Marks.h"
#include "common/TipFile.h"
#include "common/TipRow.h"
#include "common/Ini.h"
#include "dialogs/Form4.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "mainwindow/ToolbarKeys.h"
#include "platform/App.h"
#include "platform/Text.h"
#include "platform/WaitCursor.h"
#include "transfer/DeleteTips.h"

#include <unordered_map>

namespace {

void Critical(const std::wstring& text) { App::MsgBox(text, MB_OK | MB_ICONERROR); }

void SetPropertiesButton(const wchar_t* key, bool on) {
    if (Library::Hooks().SetPropertiesButton) Library::Hooks().SetPropertiesButton(key, on);
}

// True when a record field can stand between the record's marks: nothing that
// breaks the file's line, and no FieldMark.
bool FieldFits(const std::wstring& field) { return TipFile::SafeField(field) && Ini::Holdable(field); }

// Whether the record made from a row can be stored so that it reads back as the
// row shows it: every field fits, and the label holds no JoinMark (the reader
// takes the first JoinMark as the end of the label).
bool RecordFits(const TipFile::TipRecord& r) {
    for (const std::wstring* f : {&r.keyPath, &r.valueName, &r.label, &r.data, &r.typeCode, &r.description, &r.dangerFlag})
        if (!FieldFits(*f)) return false;
    return r.label.find(Marks::JoinMarkChar) == std::wstring::npos;
}

}  // namespace

bool Form2::TipToolbarCommand(const std::wstring& key) {
    if (key == ToolbarKey::del2) del_Click();
    else if (key == ToolbarKey::scj) scj_Click();
    else if (key == ToolbarKey::viewscj) OpenFavouritesPage();
    else return false;
    return true;
}

bool Form2::TipMenuCommand(const std::wstring& key) {
    if (key == L"del") del_Click();
    else if (key == L"lbscj") lbscj_Click();
    else return false;
    return true;
}

// ---------------------------------------------------------------- deleting tips

void Form2::del_Click() {
    if (App::MsgBox(L"你确定要删除选定的技巧吗？", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) != IDYES) return;
    const std::vector<int> rows = ListView1.SelectedRows();
    std::vector<std::wstring> names;
    names.reserve(rows.size());
    for (int r : rows) names.push_back(ListView1.Text(r));
    int failed = 0;
    if (!rows.empty()) {
        std::wstring file, section;
        Transfer::Deleted deleted;
        if (Library::ListTarget(file, section)) {
            WaitCursor wait;
            deleted = Transfer::DeleteTips(file, section, names);
        } else {
            deleted.gone.assign(names.size(), false);  // no file to delete from
        }
        failed = deleted.Failed();
        // Only the rows of the tips that left the file go, from the last up.
        // The focus mark goes first (the first row takes it below).
        ListView1.SetRedraw(false);
        ListView1.ClearFocusedRow();
        for (size_t i = rows.size(); i-- > 0;)
            if (deleted.gone[i]) ListView1.Remove(rows[i]);
        ListView1.SetRedraw(true);
    }

    const int n = ListView1.Count();
    SetRowCommandsEnabled(n > 0);
    if (n == 0) {
        SetPropertiesButton(L"xiugai", false);
        if (Library::Hooks().SetValueBarEnabled) Library::Hooks().SetValueBarEnabled(false);
        if (Library::Hooks().SetLiveKeyFlag) Library::Hooks().SetLiveKeyFlag(L"no");
        if (Library::Hooks().ClearLiveValues) Library::Hooks().ClearLiveValues();
    } else {
        // The first row alone is selected and shown, so that the properties
        // window and the value bar never show a tip that is no longer listed.
        ListView1.ClearSelection();
        ListView1.SetSelectedItem(1);
        SetPropertiesButton(L"xiugai", true);
        if (Library::Hooks().SetValueBarEnabled) Library::Hooks().SetValueBarEnabled(true);
        if (Library::Hooks().ShowItem) Library::Hooks().ShowItem();
    }
    StatusBar1.SetPanelText(1, L"共有 " + Text::FromInt(n) + L" 个技巧");
    if (failed > 0)
        Critical(L"有 " + Text::FromInt(failed) +
                 L" 个技巧未能从技巧文件中删除，文件可能是只读的，或已被其它程序打开。这些技巧仍保留在列表中。");
}

// ---------------------------------------------------------------- 收藏夹

void Form2::scj_Click() {
    if (GetSelCount(ListView1.hwnd()) == 0) return;
    ::frmShadow& shadow = Forms::frmShadow();
    const int node = shadow.TreeView1.SelectedItem();
    if (!node) {
        Critical(L"没有选定任何技巧类别，无法将选定的技巧放入收藏夹。");
        return;
    }
    const std::wstring file = shadow.TreeView1.NodeTag(node);
    const std::wstring& section = TipFile::FavouritesSection;
    const std::wstring mirror = TipFile::MirrorOf(section);
    int refused = 0, failed = 0, written = 0;
    {
        WaitCursor wait;
        // The tips go to a copy of the file that takes its place when all are written.
        Ini::FileTransaction tx(file);
        // What 收藏夹 holds now, so that a tip whose option list cannot be
        // written gets its old record back (or none, as before).
        std::unordered_map<std::wstring, std::wstring> before = TipFile::ReadSectionByName(file, section);
        for (int r : ListView1.SelectedRows()) {
            const std::wstring name = ListView1.Text(r);
            const TipFile::TipRecord record = TipRow::RecordFromRow(ListView1, r);
            const std::wstring options = ListView1.SubTag(r, 4);
            if (!TipFile::SafeName(name) || !Ini::Holdable(name) || !RecordFits(record) || !Ini::SafeValue(options)) {
                ++refused;
                continue;
            }
            const std::wstring text = TipFile::EncodeRecord(record);
            if (!Ini::Write(file, section, name, text)) {
                ++failed;
                continue;
            }
            if (!Ini::Write(file, mirror, name, options)) {
                auto old = before.find(Text::UpperCase(name));
                if (old != before.end()) Ini::Write(file, section, name, old->second);
                else Ini::DeleteKey(file, section, name);
                ++failed;
                continue;
            }
            before[Text::UpperCase(name)] = text;
            ++written;
        }
        if (!tx.Commit()) failed += written;
    }
    if (refused == 0 && failed == 0) {
        App::MsgBox(L"已经将选定的技巧放入收藏夹。", MB_OK | MB_ICONINFORMATION);
        return;
    }
    std::wstring text = L"有 " + Text::FromInt(refused + failed) + L" 个技巧未能放入收藏夹。";
    if (refused > 0)
        text += L"\r\n其中 " + Text::FromInt(refused) + L" 个技巧的名称或内容无法保存在技巧文件中。";
    if (failed > 0)
        text += L"\r\n其中 " + Text::FromInt(failed) + L" 个技巧写入文件失败，文件可能是只读的，或已被其它程序打开。";
    Critical(text);
}

// ---------------------------------------------------------------- category favourites

void Form2::lbscj_Click() {
    Library::AddCategoryFavourite();
    ViewFavorite();
}

void Form2::OpenFavouritesPage() { Forms::Form4().OpenFavouritesPage(); }

bool Form2::FavouriteMenuClick(const std::wstring& itemKey) {
    if (itemKey.compare(0, 3, L"scj") != 0) return false;
    const MenuItem* item = Toolbar1.ButtonMenus(ToolbarKey::viewscj).Item(itemKey);
    if (item) Library::ShowCategoryFavourite(item->text);
    return true;
}
