// The file-information page of the multi-page dialog: shows the section
// Fileinfo of one tip data file, lets the user edit and save it, and opens the
// author's web page or a mail to the author.
#include "dialogs/Form4.h"
#include "library/FileInfo.h"
#include "platform/App.h"
#include "platform/Launch.h"
#include "platform/Text.h"
#include "platform/Twips.h"

namespace {
const wchar_t kFileInfoCaption[] = L"文件信息";
const wchar_t kEdit[] = L"修改(&W)";
const wchar_t kSave[] = L"保存(&S)";


int X(long long twips) { return Twips::ToPixelsX(twips); }
int Y(long long twips) { return Twips::ToPixelsY(twips); }
}  // namespace

void Form4::OpenFileInfoPage(const std::wstring& file) {
    if (!Load()) return;
    FileInfoFile = file;

    // The page's controls, in the tab order of the boxes and buttons.
    Picture4.CreateOwnerDrawn(hwnd_, IdPicture4, L"", false);
    Image7.Create(hwnd_, IdImage7, L"", false);
    SetWindowLongW(Image7.hwnd(), GWL_STYLE, GetWindowLongW(Image7.hwnd(), GWL_STYLE) | SS_ICON);
    SendMessageW(Image7.hwnd(), STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_INFORMATION)), 0);
    Text7.Create(hwnd_, IdText7);
    Label20.Create(hwnd_, IdLabel20, L"作者:");
    Text8.Create(hwnd_, IdText8);
    Label21.Create(hwnd_, IdLabel21, L"网页:");
    Text9.Create(hwnd_, IdText9);
    Label24.Create(hwnd_, IdLabel24, L"登录");
    Label22.Create(hwnd_, IdLabel22, L"邮箱:");
    Text10.Create(hwnd_, IdText10);
    Label25.Create(hwnd_, IdLabel25, L"写信");
    Label23.Create(hwnd_, IdLabel23, L"其它:");
    Text11.Create(hwnd_, IdText11);
    Line7.Create(hwnd_, IdLine7, L"");
    Line6.Create(hwnd_, IdLine6, L"");
    SetWindowLongW(Line7.hwnd(), GWL_STYLE, GetWindowLongW(Line7.hwnd(), GWL_STYLE) | SS_ETCHEDHORZ);
    SetWindowLongW(Line6.hwnd(), GWL_STYLE, GetWindowLongW(Line6.hwnd(), GWL_STYLE) | SS_ETCHEDHORZ);
    Command12.Create(hwnd_, IdCommand12, kEdit);
    Command11.Create(hwnd_, IdCommand11, L"关闭(&C)");
    Command12.Click = [this] { Command12_Click(); };
    Command11.Click = [this] { Command11_Click(); };
    Label24.Click = [this] { Label24_Click(); };
    Label25.Click = [this] { Label25_Click(); };
    for (Control* c : std::initializer_list<Control*>{&Picture4, &Image7, &Text7, &Label20, &Text8, &Label21, &Text9,
                                                      &Label24, &Label22, &Text10, &Label25, &Label23, &Text11, &Line7,
                                                      &Line6, &Command12, &Command11})
        AddToPage(*c, FileInfoPage);

    // 1. Only this page shows; its container fills the window from (0, 0).
    ShowPage(FileInfoPage);
    Picture4.Move(0, 0, X(5295), Y(3150));
    Image7.Move(X(180), Y(210), X(480), Y(480));
    Text7.Move(X(855), Y(330), X(4230), Y(270));
    Label20.Move(X(270), Y(915), X(450), Y(210));
    Text8.Move(X(855), Y(855), X(3795), Y(270));
    Label21.Move(X(270), Y(1260), X(450), Y(210));
    Text9.Move(X(855), Y(1200), X(3795), Y(270));
    Label24.Move(X(4740), Y(1260), X(360), Y(210));
    Label22.Move(X(270), Y(1590), X(450), Y(210));
    Text10.Move(X(855), Y(1545), X(3795), Y(270));
    Label25.Move(X(4740), Y(1590), X(360), Y(210));
    Label23.Move(X(270), Y(1920), X(450), Y(210));
    Text11.Move(X(855), Y(1875), X(3795), Y(270));
    Line7.Move(X(120), Y(2250), X(4995), 2);
    Line6.Move(X(120), Y(2265), X(4995), 2);
    Command12.Move(X(1200), Y(2355), X(1365), Y(300));
    Command11.Move(X(2625), Y(2355), X(1365), Y(300));

    // 2. Size, Esc, caption.
    SetWidth(5295);
    SetHeight(3150);
    SetCancelButton(&Command11);
    SetCaption(kFileInfoCaption);

    // 3. The five boxes, read-only until 修改 is pressed.
    FileInfo::Info info = FileInfo::Read(file);
    Text7.SetText(info.use);
    Text8.SetText(info.author);
    Text9.SetText(info.web);
    Text10.SetText(info.email);
    Text11.SetText(info.other);
    for (EditBox* box : {&Text7, &Text8, &Text9, &Text10, &Text11}) box->SetLocked(true);
    Command12.SetFocus();

    // 4. Modal.
    ShowModal();
}

void Form4::Command12_Click() {
    EditBox* boxes[] = {&Text7, &Text8, &Text9, &Text10, &Text11};
    if (Command12.Caption() == kEdit) {
        Command12.SetCaption(kSave);
        for (EditBox* box : boxes) box->SetLocked(false);
        return;
    }
    FileInfo::Info info{Text::Trim(Text7.Text()), Text::Trim(Text8.Text()), Text::Trim(Text9.Text()),
                        Text::Trim(Text10.Text()), Text::Trim(Text11.Text())};
    // Text the file cannot hold is refused before anything is written; the
    // boxes stay editable with what the user typed.
    if (FileInfo::Refusal r = FileInfo::Check(info); r != FileInfo::Refusal::None) {
        App::MsgBox(FileInfo::RefusalText(r), MB_OK | MB_ICONERROR);
        return;
    }
    if (!FileInfo::Write(FileInfoFile, info)) {
        App::MsgBox(L"无法保存文件信息：技巧数据文件可能是只读的或已被其它程序使用。", MB_OK | MB_ICONERROR);
        return;
    }
    Command12.SetCaption(kEdit);
    for (EditBox* box : boxes) box->SetLocked(true);
}

void Form4::Command11_Click() { Close(); }

void Form4::Label24_Click() {
    if (auto address = FileInfo::WebAddress(Text9.Text()))
        Launch::Open(hwnd_, L"open", *address, {}, SW_SHOWNORMAL);
}

void Form4::Label25_Click() {
    if (auto address = FileInfo::MailAddress(Text10.Text()))
        Launch::Open(hwnd_, L"open", *address, {}, SW_SHOWNORMAL);
}
