// The insert menu 插入 of both "+" buttons: a folder, a file, a font name, a
// colour in two forms, today's date or the time, put in place of the selection
// of the value box whose "+" was pressed last. A cancelled dialog (or a folder
// without a path) inserts nothing, so the box's selection stays as it was.
#include "dialogs/GCommonDialog.h"
#include "dialogs/cCommonDialog.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"

#include <cstdio>

namespace {
constexpr int32_t kFileFlags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;  // 6144
constexpr int32_t kColorFlags = CC_FULLOPEN | CC_ANYCOLOR;            // 258

// The colour dialog of both colour items; false after a cancel.
bool AskColour(HWND owner, int32_t& colour) {
    cCommonDialog d;
    d.DialogTitle = L"颜色选择器";
    d.flags = kColorFlags;
    d.CancelError = true;
    d.hwnd = owner;
    d.ShowColor();
    if (!d.Layer() || d.Layer()->APIReturn() == 0) return false;
    colour = d.Color & 0xFFFFFF;
    return true;
}

std::wstring Format(const wchar_t* pattern, int a, int b, int c) {
    wchar_t buffer[32];
    swprintf(buffer, 32, pattern, a, b, c);
    return buffer;
}
}  // namespace

void Form2::BuildInsertMenu() {
    cha.Items.clear();
    cha.Add(L"ml", L"目录名(&C)");
    cha.Add(L"wjm", L"文件名(&F)");
    cha.Add(L"ztm", L"字体名(&N)");
    cha.Add(L"rgb", L"RGB颜色值(&R)");
    cha.Add(L"hexys", L"十六进制颜色值(&H)");
    cha.Add(L"dqrq", L"当前日期(&D)");
    cha.Add(L"dqsj", L"当前时间(&T)");
    cha.Click = [this](const std::wstring& key) {
        if (key == L"ml") ml_Click();
        else if (key == L"wjm") wjm_Click();
        else if (key == L"ztm") ztm_Click();
        else if (key == L"rgb") rgb_Click();
        else if (key == L"hexys") hexys_Click();
        else if (key == L"dqrq") dqrq_Click();
        else if (key == L"dqsj") dqsj_Click();
    };
}

void Form2::InsertIntoTarget(const std::wstring& text) {
    ::Form3* props = Forms::Form3IfLoaded();
    // An unloaded properties window holds no "ok": the value bar is the target.
    ComboBox& box = props && props->Command3.Tag == L"ok" ? props->ImageCombo1 : Forms::Form1().ImageCombo1;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!box.Exists() || !GetComboBoxInfo(box.hwnd(), &info) || !info.hwndItem) return;
    // The edit field keeps its selection while the menu has the focus; the
    // replacement notifies the box as typing does.
    SendMessageW(info.hwndItem, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring Form2::OpenDirectoryTV(HWND odtvOwner, const std::wstring& odtvTitle) {
    std::wstring path;
    GCommonDialog::BrowseForFolder(odtvOwner, odtvTitle, path);
    return path;
}

void Form2::ml_Click() {
    const std::wstring path = OpenDirectoryTV(hwnd_, L"请选择文件目录");
    if (!path.empty()) InsertIntoTarget(path);
}

void Form2::wjm_Click() {
    cCommonDialog d;
    d.DialogTitle = L"请选择文件";
    d.CancelError = true;
    d.hwnd = hwnd_;
    d.flags = kFileFlags;
    d.InitDir = App::CurrentFolder();
    d.Filter = L"可执行文件|*.exe;*.com;*.bat|文本文件|*.txt|全部文件 (*.*)|*.*";
    d.FilterIndex = 3;
    d.ShowOpen();
    if (!d.filename.empty()) InsertIntoTarget(d.filename);
}

void Form2::ztm_Click() {
    cCommonDialog d;
    d.DialogTitle = L"选择字体";
    d.CancelError = true;
    d.hwnd = hwnd_;
    d.flags = 0;
    d.ShowFont();
    if (!d.Layer() || d.Layer()->APIReturn() == 0) return;
    const std::wstring face = d.FontName();
    if (!face.empty()) InsertIntoTarget(face);
}

void Form2::rgb_Click() {
    int32_t colour = 0;
    if (!AskColour(hwnd_, colour)) return;
    // A colour value holds red in its lowest byte.
    InsertIntoTarget(Format(L"%d %d %d", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
}

void Form2::hexys_Click() {
    int32_t colour = 0;
    if (!AskColour(hwnd_, colour)) return;
    // The value as it is: blue, green, red from the left.
    wchar_t buffer[16];
    swprintf(buffer, 16, L"&H%06X", static_cast<unsigned>(colour));
    InsertIntoTarget(buffer);
}

void Form2::dqrq_Click() { InsertIntoTarget(App::DateText()); }

void Form2::dqsj_Click() {
    const SYSTEMTIME t = App::Now();
    InsertIntoTarget(Format(L"%02d:%02d:%02d", t.wHour, t.wMinute, t.wSecond));
}
