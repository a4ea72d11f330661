// The rows of the live-value list (tab 查看): each row shows one registry value
// and keeps that value, type and raw bytes, beside it in liveRows_.
#include "editor/Form3.h"

#include "mainwindow/Form2.h"
#include "platform/Text.h"

#include <utility>

namespace {
constexpr COLORREF kTipsValueColor = RGB(0, 0, 255);  // blue: the value the selected tip writes
}

LiveValue Form3::UnsetDefaultRow() {
    LiveValue v;
    v.unsetDefault = true;
    return v;
}

bool Form3::LiveRowIsTipsValue(const LiveValue& v) const {
    if (v.unsetDefault) return false;
    const ::Form2* main = Forms::Form2IfLoaded();
    if (!main || !main->ListView1.Exists()) return false;
    const int row = main->ListView1.SelectedItem();
    if (row < 1 || !main->ListView1.Selected(row)) return false;
    // The tip writes the default value when its 键名 cell is bold.
    const bool tipDefault = main->ListView1.SubBold(row, 3);
    if (v.name.empty()) return tipDefault;
    return !tipDefault && Text::UpperCase(v.name) == Text::UpperCase(main->ListView1.SubText(row, 3));
}

ListView::NewRow Form3::MakeLiveRow(const LiveValue& v, bool tipsValue) const {
    ListView::NewRow r;
    r.text[0] = LiveValues::NameText(v);
    r.text[1] = LiveValues::Display(v);
    r.icon[0] = LiveValues::Icon(v);
    r.tag[0] = LiveValues::Kind(v);
    r.fore = tipsValue ? kTipsValueColor : ListView::kDefaultColor;
    return r;
}

int Form3::InsertLiveRow(int row, const LiveValue& v) {
    if (!ListView2.Exists()) return 0;
    liveRows_.resize(static_cast<size_t>(ListView2.Count()));  // a list emptied elsewhere holds no values
    const int at = ListView2.Insert(row, MakeLiveRow(v, LiveRowIsTipsValue(v)));
    if (at < 1) return 0;
    liveRows_.insert(liveRows_.begin() + (at - 1), v);
    return at;
}

int Form3::AddLiveRow(const LiveValue& v) { return InsertLiveRow(ListView2.Count() + 1, v); }

void Form3::SetLiveRow(int row, const LiveValue& v) {
    if (row < 1 || row > ListView2.Count() || static_cast<size_t>(row) > liveRows_.size()) return;
    ListView::NewRow r = MakeLiveRow(v, LiveRowIsTipsValue(v));
    ListView2.SetText(row, r.text[0]);
    ListView2.SetSubText(row, 1, r.text[1]);
    ListView2.SetSubIcon(row, 0, r.icon[0]);
    ListView2.SetSubTag(row, 0, r.tag[0]);
    ListView2.SetForeColor(row, r.fore);
    liveRows_[static_cast<size_t>(row) - 1] = v;
}

const LiveValue* Form3::LiveValueAt(int row) const {
    if (row < 1 || row > ListView2.Count() || static_cast<size_t>(row) > liveRows_.size()) return nullptr;
    return &liveRows_[static_cast<size_t>(row) - 1];
}

void Form3::RemoveLiveRow(int row) {
    if (row < 1 || row > ListView2.Count()) return;
    ListView2.Remove(row);
    if (static_cast<size_t>(row) <= liveRows_.size()) liveRows_.erase(liveRows_.begin() + (row - 1));
}

void Form3::ClearLiveRows() {
    ListView2.Clear();
    liveRows_.clear();
}

void Form3::SetLiveRows(std::vector<LiveValue> values) {
    if (!ListView2.Exists()) return;
    ListView2.SetRedraw(false);
    ClearLiveRows();
    // The tip's value name is asked once for the whole list.
    bool tipDefault = false, haveTip = false;
    std::wstring tipName;
    if (const ::Form2* main = Forms::Form2IfLoaded(); main && main->ListView1.Exists()) {
        const int row = main->ListView1.SelectedItem();
        if (row >= 1 && main->ListView1.Selected(row)) {
            haveTip = true;
            tipDefault = main->ListView1.SubBold(row, 3);
            tipName = Text::UpperCase(main->ListView1.SubText(row, 3));
        }
    }
    std::vector<ListView::NewRow> rows;
    rows.reserve(values.size());
    for (const LiveValue& v : values) {
        bool tips = false;
        if (haveTip && !v.unsetDefault)
            tips = v.name.empty() ? tipDefault : !tipDefault && Text::UpperCase(v.name) == tipName;
        rows.push_back(MakeLiveRow(v, tips));
    }
    ListView2.AddRows(std::move(rows));
    liveRows_ = std::move(values);
    liveRows_.resize(static_cast<size_t>(ListView2.Count()));
    ListView2.SetRedraw(true);
}

void Form3::EnsureDefaultRow() {
    const LiveValue* first = LiveValueAt(1);
    if (!first || !first->name.empty()) InsertLiveRow(1, UnsetDefaultRow());
}
