// Applying the ticked tips of the main window's tip list to the registry.
#include "common/Ini.h"
#include "common/Marks.h"
#include "common/TipRow.h"
#include "engine/Backup.h"
#include "engine/General.h"
#include "engine/Registry.h"
#include "engine/cRegistry.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <optional>

namespace {
// Backups of rows applied while no category node is selected (possible when
// the list shows a tip data file and there are no categories).
const wchar_t kNoCategorySection[] = L"(未选定类别)";

bool SettingOn(const wchar_t* key) {
    return Text::LeadingNumber(General::ReadIni(L"Data", key, General::ConfigPath())) > 0;
}

// The TypeCode of a row: the tag's digits; nothing when the tag holds no number.
std::optional<long long> TypeCodeOf(const std::wstring& tag) {
    std::wstring t = Text::Trim(tag);
    size_t i = (!t.empty() && (t[0] == L'-' || t[0] == L'+')) ? 1 : 0;
    if (i >= t.size() || t[i] < L'0' || t[i] > L'9') return std::nullopt;
    return Text::LeadingNumber(t);
}

bool DeleteValue(const std::wstring& keyPath, const std::wstring& valueName) {
    Registry::KeyPathParts parts = Registry::SplitKeyPath(keyPath);
    cRegistry reg;
    reg.ClassKey = parts.root;
    reg.SectionKey = parts.subkey;
    reg.ValueKey = valueName;
    return reg.DeleteValue();  // reports itself
}

// Writes the row's data by its TypeCode, or deletes the value. The writers
// colour and log the row; a row that fails before any write is reported here.
// Rows of an unknown TypeCode write nothing and are not coloured.
void WriteTip(long long typeCode, bool deleteChoice, const std::wstring& keyPath, const std::wstring& valueName,
              const std::wstring& data) {
    if (typeCode < 0 || typeCode > 3) return;
    if (deleteChoice) {
        DeleteValue(keyPath, valueName);
        return;
    }
    switch (static_cast<TypeCode>(typeCode)) {
    case TypeCode::String:
        Registry::SetStringValue(keyPath, valueName, data);
        break;
    case TypeCode::ExpandString: {
        Registry::KeyPathParts parts = Registry::SplitKeyPath(keyPath);
        cRegistry reg;
        reg.ClassKey = parts.root;
        reg.SectionKey = parts.subkey;
        reg.ValueKey = valueName;
        reg.ValueType = REG_EXPAND_SZ;
        reg.SetValue(RegValue(data));
        break;
    }
    case TypeCode::Binary: {
        if (data == TipRow::ZeroLengthBinaryText) {
            Registry::SetBinaryValue(keyPath, valueName, L"");
            break;
        }
        std::optional<std::vector<uint8_t>> bytes = General::HexToBytes(data);
        if (!bytes) {
            Registry::ReportWrite(false);
            break;
        }
        Registry::SetRawValue(keyPath, valueName, REG_BINARY,
                              std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
        break;
    }
    case TypeCode::Dword: {
        std::optional<uint32_t> n = General::HexToDword(data);
        if (!n) {
            Registry::ReportWrite(false);
            break;
        }
        Registry::SetDwordValue(keyPath, valueName, *n);
        break;
    }
    }
}
}  // namespace

void Form2::StartWork() {
    const int count = ListView1.Count();
    bool anyTicked = false;
    for (int i = 1; i <= count && !anyTicked; ++i) anyTicked = ListView1.Checked(i);
    if (!anyTicked) {
        App::MsgBox(L"请勾选要使用的技巧，然后再使用本命令。", MB_OK | MB_ICONERROR);
        return;
    }
    if (SettingOn(L"Start") && App::MsgBox(L"是否现在开始使用技巧？", MB_YESNO | MB_ICONQUESTION) != IDYES) return;

    WriteMode = WriteModes::Apply;
    HCURSOR oldCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    ProgressBar1.SetRange(0, count);
    ProgressBar1.SetVisible(true);
    ProgressBar1.SetFocus();

    int lostBackups = 0;
    // Backup records and log entries of the run are appended to their files
    // where the files allow it; each is on disk before the next row.
    Ini::AppendSession appendSession;
    Registry::ApplyRun run;
    for (int i = 1; i <= count; ++i) {
        if (!ListView1.Checked(i)) continue;
        Label1.Tag = Text::FromInt(i);
        ProgressBar1.SetValue(i);

        const std::wstring keyPath = ListView1.SubTag(i, 1);
        const std::wstring valueName = ListView1.SubBold(i, 3) ? std::wstring() : ListView1.SubText(i, 3);
        const std::wstring data = ListView1.SubText(i, 4);
        const bool deleteChoice = ListView1.SubIcon(i, 4) == TipRow::IconDelete;
        std::optional<long long> typeCode = TypeCodeOf(ListView1.SubTag(i, 2));

        // One handle for creating the key, reading the previous value and writing.
        Registry::HeldKey heldKey(keyPath);
        Registry::CreateKeyPath(keyPath);
        std::optional<Backup::Record> previous = Backup::Capture(keyPath, valueName);
        const COLORREF before = ListView1.ForeColor(i);
        ListView1.SetForeColor(i, ListView::kDefaultColor);  // this run's outcome decides the colour
        if (!typeCode || (*typeCode >= 0 && *typeCode <= 3 && !Registry::SplitKeyPath(keyPath).root))
            Registry::ReportWrite(false);  // no number for a type, or no registry root to write under
        else
            WriteTip(*typeCode, deleteChoice, keyPath, valueName, data);
        if (ListView1.ForeColor(i) == ListView::kDefaultColor) {
            ListView1.SetForeColor(i, before);  // nothing written: the row keeps its colour
            continue;
        }

        if (ListView1.ForeColor(i) != Registry::kAppliedColor || !SettingOn(L"SaveHistory")) continue;
        // Without a Bak folder backups are off.
        if (!App::FolderExists(Backup::Folder())) continue;
        const std::wstring& category = run.CategoryPath();
        const std::wstring section = category.empty() ? std::wstring(kNoCategorySection) : category;
        if (!previous || Backup::WriteFirst(Backup::TodayFile(), section, ListView1.Text(i), *previous) ==
                             Backup::Outcome::Failed)
            ++lostBackups;
    }

    StatusBar1.SetPanelText(3, L"技巧使用完成");
    ProgressBar1.SetVisible(false);
    SetCursor(oldCursor ? oldCursor : LoadCursorW(nullptr, IDC_ARROW));
    WriteMode = WriteModes::None;
    if (lostBackups > 0)
        App::MsgBox(L"有 " + Text::FromInt(lostBackups) + L" 个技巧已经使用，但原来的数据没能写入恢复文件，无法用恢复文件还原。",
                    MB_OK | MB_ICONERROR);
}
