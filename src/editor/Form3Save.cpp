// Saving the tip the properties window holds: as a new tip (Xjok) or over the
// tip list's selected row (Xiugai), into the file and section the list shows
// and its mirror section. The row is brought up to date only when every write
// went through; a failed write puts the entries back as they were.
#include "editor/Form3.h"

#include "common/Ini.h"
#include "common/Marks.h"
#include "common/TipFile.h"
#include "common/TipRow.h"
#include "editor/Form1.h"
#include "editor/ValueTexts.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <algorithm>

namespace {
constexpr int kDeleteIcon = 8;
constexpr size_t kMaxIniText = 32766;  // the profile functions hold less than 32,767 characters

std::wstring TrimBlanks(const std::wstring& s) { return Text::TrimSpaces(s); }

// Text that a tip file can hold in one field.
bool Storable(const std::wstring& s) {
    return TipFile::SafeField(s) && Text::FitsAnsi(s) && s.size() <= kMaxIniText;
}

// A text longer than one entry of a tip file holds: refused by name, with its length.
std::wstring TooLong(const wchar_t* field, size_t length) {
    return std::wstring(L"“") + field + L"”的文字过长（" + Text::FromInt(static_cast<long long>(length)) +
           L" 个字符），技巧文件中的一项最多只能保存 " + Text::FromInt(static_cast<long long>(kMaxIniText)) +
           L" 个字符。请缩短后再保存。";
}

// The first control character of a text (C0, DEL, C1: a TAB among them), or npos.
size_t FirstControl(const std::wstring& s) {
    for (size_t i = 0; i < s.size(); ++i)
        if (s[i] < 0x20 || (s[i] >= 0x7F && s[i] <= 0x9F)) return i;
    return std::wstring::npos;
}

// One field of the record, for the message when the record as a whole is too long.
struct RecordPart {
    const wchar_t* field;
    size_t length;
    int tab;        // where its box is
    Control* box;
};

// The record is longer than one entry holds although each field fits: the
// fields to shorten. Those long enough that shortening any one of them can
// make the record fit ("或"); when none is, the longest ones that together
// can ("和"). The longest first.
std::wstring RecordTooLong(std::vector<RecordPart> parts, size_t recordLength) {
    const size_t over = recordLength - kMaxIniText;
    std::stable_sort(parts.begin(), parts.end(),
                     [](const RecordPart& a, const RecordPart& b) { return a.length > b.length; });
    std::vector<const RecordPart*> named;
    for (const RecordPart& part : parts)
        if (part.length >= over) named.push_back(&part);
    const bool eachAlone = !named.empty();
    if (!eachAlone) {
        size_t sum = 0;
        for (const RecordPart& part : parts) {
            if (sum >= over || part.length == 0) break;
            named.push_back(&part);
            sum += part.length;
        }
    }
    std::wstring list;
    for (size_t i = 0; i < named.size(); ++i) {
        if (i > 0) list += i + 1 == named.size() ? (eachAlone ? L"或" : L"和") : L"、";
        list += named[i]->field;
    }
    return L"技巧的内容过长（共 " + Text::FromInt(static_cast<long long>(recordLength)) +
           L" 个字符，技巧文件中的一项最多只能保存 " + Text::FromInt(static_cast<long long>(kMaxIniText)) +
           L" 个字符），无法保存。请缩短" + list + L"。";
}

std::wstring BadField(const wchar_t* field) {
    return std::wstring(L"“") + field +
           L"”中含有不能保存的内容：换行符、特殊标记字符、当前代码页（GBK）中没有的字符，或者文字过长。请修改后再保存。";
}
}  // namespace

struct Form3::SaveFields {
    std::wstring name, keyPath, valueName, descriptionTyped, description;
    int type = -1, danger = 1, defaultRow = 0;
    bool deleteChoice = false;
    std::wstring label, shown, record, options;
};

void Form3::Refuse(const std::wstring& message, int tab, Control& focus) {
    App::MsgBox(message, MB_OK | MB_ICONERROR);
    SelectTab(tab);
    focus.SetFocus();
}

bool Form3::Validate(bool overSelected, SaveFields& f) {
    ::Form2& main = Forms::Form2();
    ListView& tips = main.ListView1;
    f.name = TrimBlanks(Text1.Text());
    if (f.name.empty()) return Refuse(L"请输入对本技巧作用的简短说明。", 1, Text1), false;
    f.keyPath = TrimBlanks(Text4.Text());
    if (f.keyPath.empty()) return Refuse(L"请输入键位。", 1, Text4), false;
    f.type = Combo1.ListIndex();
    if (f.type < 0) return Refuse(L"请选择键值数据的类型。", 2, Combo1), false;
    if (ListView1.Count() == 0) return Refuse(L"请输入键值数据。", 2, Text3), false;
    if (Form2::GetSelCount(ListView1.hwnd()) == 0)
        return Refuse(L"请在键值列表中选择一条键值作为默认值。", 2, ListView1), false;

    // Saving over a tip needs exactly one selected row, the one this window shows.
    // The shown tip is found by its row's identity, wherever a sort has put it.
    const int selected = overSelected ? main.ShownTipRow() : 0;
    if (overSelected && (Form2::GetSelCount(tips.hwnd()) != 1 || selected == 0 || !tips.Selected(selected)))
        return Refuse(L"请在技巧列表中只选定一个技巧（技巧属性窗口所显示的技巧）后再保存修改。", 1, Text1), false;

    // The name against the rows of the list.
    const std::wstring upper = Text::UpperCase(f.name);
    const bool keepsName = overSelected && upper == Text::UpperCase(tips.Text(selected));
    if (!keepsName) {
        for (int r = 1, n = tips.Count(); r <= n; ++r) {
            if (overSelected && r == selected) continue;
            if (Text::UpperCase(tips.Text(r)) == upper) return Refuse(L"已经存在作用相同的技巧。", 1, Text1), false;
        }
    }

    // Text the tip file cannot hold is refused before anything is written;
    // too long a text first, by name (the boxes themselves cut nothing).
    if (f.name.size() > kMaxIniText) return Refuse(TooLong(L"作用", f.name.size()), 1, Text1), false;
    if (f.keyPath.size() > kMaxIniText) return Refuse(TooLong(L"键位", f.keyPath.size()), 1, Text4), false;
    if (!TipFile::SafeName(f.name) || !Text::FitsAnsi(f.name) || f.name.size() > kMaxIniText)
        return Refuse(BadField(L"作用") + L"\r\n作用中也不能含有“=”，不能以“[”或“;”开头。", 1, Text1), false;
    if (!Storable(f.keyPath)) return Refuse(BadField(L"键位"), 1, Text4), false;
    // A key path with a TAB or another control character names no key that
    // applying could open: refused as a line break is, the character selected.
    if (size_t at = FirstControl(Text4.Text()); at != std::wstring::npos) {
        Refuse(L"“键位”中含有制表符（Tab）或其他控制字符，键位中不能含有这些字符。请删除后再保存。", 1, Text4);
        SendMessageW(Text4.hwnd(), EM_SETSEL, at, at + 1);
        SendMessageW(Text4.hwnd(), EM_SCROLLCARET, 0, 0);
        return false;
    }
    f.valueName = TrimBlanks(Text2.Text());
    if (f.valueName.size() > kMaxIniText) return Refuse(TooLong(L"键名", f.valueName.size()), 1, Text2), false;
    if (!Storable(f.valueName)) return Refuse(BadField(L"键名"), 1, Text2), false;
    f.descriptionTyped = Text5.Text();
    f.description = TrimBlanks(f.descriptionTyped);
    if (f.description.size() > kMaxIniText) return Refuse(TooLong(L"说明", f.description.size()), 1, Text5), false;
    if (!Storable(f.description)) return Refuse(BadField(L"说明"), 1, Text5), false;
    for (int r = 1, n = ListView1.Count(); r <= n; ++r) {
        const std::wstring label = ListView1.Text(r), stored = ListView1.SubTag(r, 0);
        if (label.size() > kMaxIniText || stored.size() > kMaxIniText) {
            ListView1.SetSelectedItem(r);
            return Refuse(TooLong(label.size() > kMaxIniText ? L"命令" : L"键值", std::max(label.size(), stored.size())) +
                              L"（第 " + Text::FromInt(r) + L" 条键值）",
                          2, ListView1),
                   false;
        }
        if (!Storable(label) || label.find(Marks::JoinMarkChar) != std::wstring::npos) {
            ListView1.SetSelectedItem(r);
            return Refuse(BadField(L"命令") + L"\r\n命令中也不能含有字符“" + Marks::JoinMark + L"”。（第 " +
                              Text::FromInt(r) + L" 条键值）",
                          2, ListView1),
                   false;
        }
        const bool deleteRow = ListView1.SubIcon(r, 0) == kDeleteIcon;
        if (!Storable(stored) || !Storable(ListView1.SubText(r, 1)) || (!deleteRow && stored == Marks::DeleteMark)) {
            ListView1.SetSelectedItem(r);
            return Refuse(BadField(L"键值") + L"\r\n要删除该键名，请选择“在注册表中删除该键名”。（第 " +
                              Text::FromInt(r) + L" 条键值）",
                          2, ListView1),
                   false;
        }
    }

    // The records.
    f.defaultRow = SelectedOption();
    f.deleteChoice = ListView1.SubIcon(f.defaultRow, 0) == kDeleteIcon;
    f.label = ListView1.Text(f.defaultRow);
    f.shown = ListView1.SubText(f.defaultRow, 1);
    const int dangerIndex = ImageCombo2.ListIndex();
    f.danger = dangerIndex == 1 ? 2 : 1;
    TipFile::TipRecord rec;
    rec.keyPath = f.keyPath;
    rec.valueName = f.valueName;
    rec.label = f.label;
    rec.data = f.deleteChoice ? Marks::DeleteMark : f.shown;
    rec.typeCode = Text::FromInt(f.type);
    rec.description = f.description;
    rec.dangerFlag = Text::FromInt(f.danger);
    f.record = TipFile::EncodeRecord(rec);
    TipFile::OptionList opts;
    for (int r = 1, n = ListView1.Count(); r <= n; ++r) {
        opts.labels.push_back(ListView1.Text(r));
        opts.data.push_back(ListView1.SubTag(r, 0));
    }
    f.options = TipFile::EncodeOptions(opts);
    if (f.record.size() > kMaxIniText) {
        const std::vector<RecordPart> parts{{L"键位", f.keyPath.size(), 1, &Text4},
                                            {L"键名", f.valueName.size(), 1, &Text2},
                                            {L"命令", f.label.size(), 2, &ListView1},
                                            {L"键值", rec.data.size(), 2, &ListView1},
                                            {L"说明", f.description.size(), 1, &Text5}};
        // The focus goes to the box of the field named first.
        const RecordPart& first = *std::max_element(
            parts.begin(), parts.end(), [](const RecordPart& a, const RecordPart& b) { return a.length < b.length; });
        return Refuse(RecordTooLong(parts, f.record.size()), first.tab, *first.box), false;
    }
    if (f.options.size() > kMaxIniText) return Refuse(L"键值列表的内容过长，无法保存。", 2, ListView1), false;
    return true;
}

namespace {
// A save that could not write: the file was left as it was (the save's writes
// went to a copy that is dropped).
void ReportFailure(const std::wstring& file) {
    App::MsgBox(L"保存技巧失败：无法写入文件“" + file +
                    L"”，文件可能是只读的，或者已被其它程序打开或使用。技巧没有保存，文件没有任何改变。",
                MB_OK | MB_ICONERROR);
}

// Cells of the row the save leaves.
TipRow::Cells RowCells(const std::wstring& name, const std::wstring& keyPath, const std::wstring& valueName,
                       const std::wstring& descriptionTyped, int type, int danger, const std::wstring& label,
                       const std::wstring& shown, bool deleteChoice, const std::wstring& options) {
    TipRow::Cells c;
    c.name = name;
    c.label = label;
    c.keyPath = keyPath;
    c.dangerIcon = danger + 31;
    c.typeCode = Text::FromInt(type);
    c.defaultValue = valueName.empty();
    c.valueName = c.defaultValue ? TipRow::DefaultValueText : valueName;
    c.description = descriptionTyped;
    c.dataText = deleteChoice ? std::wstring(ValueTexts::DeleteChoice) : shown;
    c.dataIcon = deleteChoice ? TipRow::IconDelete : type + 2;
    c.options = options;
    return c;
}
}  // namespace

void Form3::Xjok() {
    SaveFields f;
    if (!Validate(false, f)) return;
    std::wstring file, section;
    if (!Library::ListTarget(file, section)) {
        App::MsgBox(L"没有选定要保存到的技巧类别或技巧数据文件。", MB_OK | MB_ICONERROR);
        return;
    }
    const std::wstring mirror = TipFile::MirrorOf(section);
    // The writes go to a copy of the file that takes its place when both are made.
    Ini::FileTransaction save(file);
    if (!Ini::Write(file, section, f.name, f.record) || !Ini::Write(file, mirror, f.name, f.options)) {
        save.Discard();
        ReportFailure(file);
        return;
    }
    if (!save.Commit()) {
        ReportFailure(file);
        return;
    }

    ::Form2& main = Forms::Form2();
    ListView& tips = main.ListView1;
    TipRow::Cells c = RowCells(f.name, f.keyPath, f.valueName, f.descriptionTyped, f.type, f.danger, f.label,
                               f.shown, f.deleteChoice, f.options);
    const int row = TipRow::AddRow(tips, c, main.CategoryMode());
    if (row > 0) {
        for (int r = 1, n = tips.Count(); r <= n; ++r) tips.SetSelected(r, false);
        tips.SetSelectedItem(row);
        tips.EnsureVisible(row);
        main.ShownTip = tips.IdOf(row);
    }
    const int n = tips.Count();
    main.SetRowCommandsEnabled(n != 0);
    bool categoryNode = false;
    if (::frmShadow* shadow = Forms::frmShadowIfLoaded()) {
        int node = shadow->TreeView1.SelectedItem();
        categoryNode = node > 0 && shadow->TreeView1.Children(node) > 0;
    }
    main.Toolbar1.SetEnabled(ToolbarKey::scj, n != 0 && categoryNode);
    Toolbar1.SetEnabled(L"xiugai", n != 0);
    ::Form1& bar = Forms::Form1();
    bar.ImageCombo1.SetEnabled(n != 0);
    bar.Command1.SetEnabled(n != 0);
    main.Showvaluesx();
}

void Form3::Xiugai() {
    SaveFields f;
    if (!Validate(true, f)) return;
    std::wstring file, section;
    if (!Library::ListTarget(file, section)) {
        App::MsgBox(L"没有选定要保存到的技巧类别或技巧数据文件。", MB_OK | MB_ICONERROR);
        return;
    }
    ::Form2& main = Forms::Form2();
    ListView& tips = main.ListView1;
    const int row = main.ShownTipRow();
    const std::wstring oldKey = tips.Text(row);
    const std::wstring mirror = TipFile::MirrorOf(section);
    // The writes go to a copy of the file that takes its place when all of them
    // are made: a failure anywhere leaves the old record and option list as they were.
    Ini::FileTransaction save(file);
    const bool ok = Ini::DeleteKey(file, section, oldKey) && Ini::DeleteKey(file, mirror, oldKey) &&
                    Ini::Write(file, section, f.name, f.record) && Ini::Write(file, mirror, f.name, f.options);
    if (!ok) save.Discard();
    if (!ok || !save.Commit()) {
        ReportFailure(file);
        return;
    }

    TipRow::Cells c = RowCells(f.name, f.keyPath, f.valueName, f.descriptionTyped, f.type, f.danger, f.label,
                               f.shown, f.deleteChoice, f.options);
    tips.SetText(row, c.name);
    TipRow::SetCells(tips, row, c);
    main.Showvaluesx();
}
