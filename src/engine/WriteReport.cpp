// How a registry write or delete reports its outcome: by the main window's
// WriteMode, read at the moment of the report.
#include "common/Ini.h"
#include "engine/General.h"
#include "engine/Registry.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

namespace Registry {
namespace {
ApplyRun* g_run = nullptr;  // the innermost live ApplyRun

void ReportApplied(::Form2& form, bool success) {
    long long row = Text::LeadingNumber(form.Label1.Tag);
    if (row < 1 || row > form.ListView1.Count()) return;  // no row to colour or name
    const int index = static_cast<int>(row);
    form.ListView1.SetForeColor(index, success ? kAppliedColor : kFailedColor);
    if (Text::LeadingNumber(General::ReadIni(L"Data", L"SaveLog", General::ConfigPath())) <= 0) return;
    const std::wstring name = form.ListView1.Text(index);
    const std::wstring key = success ? L"【使用成功】【" + name + L"】" : L"〖使用失败〗〖" + name + L"〗";
    // A log entry that cannot be written is lost: the write itself is done.
    const std::wstring category = g_run ? g_run->CategoryPath() : Forms::frmShadow().SelectedCategoryPath();
    Ini::Write(App::PathSlash() + L"logfile.txt", App::DateText(), key, category);
}
}  // namespace

ApplyRun::ApplyRun() : outer_(g_run) { g_run = this; }
ApplyRun::~ApplyRun() { g_run = outer_; }

const std::wstring& ApplyRun::CategoryPath() {
    if (!known_) {
        path_ = Forms::frmShadow().SelectedCategoryPath();
        known_ = true;
    }
    return path_;
}

void ReportWrite(bool success) {
    ::Form2& form = Forms::Form2();
    switch (form.WriteMode) {
    case WriteModes::Apply:
        ReportApplied(form, success);
        break;
    case WriteModes::Reg:
        if (!success) App::MsgBox(L"不存在这个名称的键值，导致修改失败", MB_OK | MB_ICONERROR);
        break;
    case WriteModes::Bak:
    case WriteModes::None:
        break;
    }
}

}  // namespace Registry
