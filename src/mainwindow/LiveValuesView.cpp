// The live values of the selected tip's key on the properties window's 查看
// tab: the listing, its switch, and the popup's delete and rename.
#include "editor/Form3.h"
#include "common/Config.h"
#include "engine/LiveValues.h"
#include "engine/Registry.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

namespace {

// The key a live-value operation works on: the selected tip's key path,
// trimmed, with a backslash added when it has none; the root named exactly
// (case matters) by the text before the first backslash, the subkey after it.
struct LiveKey {
    HKEY root = nullptr;  // nullptr: the name selects no key
    std::wstring subKey;
};

// The six root names, matched case for case (not HKEY_PERFORMANCE_DATA).
HKEY LiveRoot(const std::wstring& name) {
    const HKEY root = Registry::RootKeyFromName(name);
    return root == HKEY_PERFORMANCE_DATA ? nullptr : root;
}

LiveKey TargetKey(const Form2& main) {
    LiveKey k;
    const int row = main.ListView1.SelectedItem();
    if (row < 1) return k;
    std::wstring path = Text::TrimSpaces(main.ListView1.SubTag(row, 1));
    if (path.find(L'\\') == std::wstring::npos) path += L'\\';
    const size_t slash = path.find(L'\\');
    k.root = LiveRoot(path.substr(0, slash));
    k.subKey = path.substr(slash + 1);
    return k;
}

}  // namespace

bool Form2::LiveTargetKey(HKEY& root, std::wstring& subKey) const {
    LiveKey k = TargetKey(*this);
    if (!k.root) return false;
    root = k.root;
    subKey = std::move(k.subKey);
    return true;
}

void Form2::Showvaluesx() {
    if (ListView1.Count() == 0) return;
    ::Form3& props = Forms::Form3();
    const LiveKey key = TargetKey(*this);
    if (!key.root) {
        // No key to read: nothing shown, and nothing for the popup to act on.
        props.ClearLiveRows();
        props.ListView2.Tag = L"no";
        return;
    }
    std::vector<LiveValue> values;
    const bool opened = LiveValues::Read(key.root, key.subKey, values);
    props.ListView2.Tag = opened ? L"yes" : L"no";
    if (!opened) {
        props.ClearLiveRows();
        return;
    }
    // The default value, when set, leads the list; otherwise the unset-default row does.
    std::vector<LiveValue> rows;
    rows.reserve(values.size() + 1);
    rows.push_back(Form3::UnsetDefaultRow());
    for (LiveValue& v : values) {
        if (v.name.empty()) rows.front() = std::move(v);
        else rows.push_back(std::move(v));
    }
    props.SetLiveRows(std::move(rows));
    props.FitLiveColumns();
}

void Form2::shezhi_Click() {
    MenuItem* item = file.Item(L"shezhi");
    if (!item) return;
    if (item->checked) {
        item->checked = false;
        if (!Config::Write(Config::ViewCheck, L"0") && Config::FirstFailure(Config::ViewCheck)) ReportSettingsNotWritten();
        Forms::Form3().ClearLiveRows();
    } else {
        item->checked = true;
        if (!Config::Write(Config::ViewCheck, L"1") && Config::FirstFailure(Config::ViewCheck)) ReportSettingsNotWritten();
        Showvaluesx();
    }
}

void Form2::SetUpLiveValueMenu() {
    regform3.Items.clear();
    MenuItem& regxj = regform3.Add(L"regxj", L"新建(&N)");
    regxj.Sub.push_back(MenuItem{L"regzfc", L"字符串值(&S)"});
    regxj.Sub.push_back(MenuItem{L"regejz", L"二进制值(&B)"});
    regxj.Sub.push_back(MenuItem{L"regdword", L"DWORD 值(&D)"});
    regxj.Sub.push_back(MenuItem{L"regkc", L"可扩充字符串值(&E)"});
    regform3.Add(L"regxg", L"修改(&M)");
    regform3.Add(L"reg1", L"-");
    regform3.Add(L"regsc", L"删除(&D)");
    regform3.Add(L"regcmm", L"重命名(&R)");
    regform3.Click = [this](const std::wstring& key) {
        if (key == L"regzfc") regzfc_Click();
        else if (key == L"regejz") regejz_Click();
        else if (key == L"regdword") regdword_Click();
        else if (key == L"regkc") regkc_Click();
        else if (key == L"regxg") regxg_Click();
        else if (key == L"regsc") regsc_Click();
        else if (key == L"regcmm") regcmm_Click();
    };
}

void Form2::regxg_Click() { Regxgok(); }

void Form2::regcmm_Click() {
    ::Form3& props = Forms::Form3();
    const int row = props.ListView2.SelectedItem();
    if (row < 1 || !props.ListView2.Selected(row)) return;
    props.ListView2.StartLabelEdit(row);
}

void Form2::regsc_Click() {
    if (App::MsgBox(L"你确定要删除选定的键值吗？", MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
    HKEY root = nullptr;
    std::wstring subKey;
    if (!LiveTargetKey(root, subKey)) return;
    ::Form3& props = Forms::Form3();
    WriteMode = WriteModes::Reg;
    // From the last row up, so the rows still to do keep their numbers. A row
    // goes only when its value was deleted; the unset-default row has no value.
    bool failed = false;
    for (int row = props.ListView2.Count(); row >= 1; --row) {
        if (!props.ListView2.Selected(row)) continue;
        const LiveValue* v = props.LiveValueAt(row);
        if (!v || v->unsetDefault) continue;
        if (LiveValues::Remove(root, subKey, v->name) == ERROR_SUCCESS) props.RemoveLiveRow(row);
        else failed = true;
    }
    if (failed) ReportWrite(false);
    WriteMode = WriteModes::None;
    props.EnsureDefaultRow();
}
