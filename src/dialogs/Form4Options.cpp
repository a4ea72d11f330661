// The options page of the multi-page dialog (its initial layout): the eleven
// switches of config.ini [Data] as three-state boxes, written back by 确定,
// and the frame that resets the tip database.
#include "common/Config.h"
#include "common/Ini.h"
#include "dialogs/Form4.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Twips.h"

namespace {

const wchar_t kOptionsCaption[] = L"选项";

int X(long long twips) { return Twips::ToPixelsX(twips); }
int Y(long long twips) { return Twips::ToPixelsY(twips); }

// Places a control given in twips of the dialog's client area.
void Place(Control& c, long long left, long long top, long long width, long long height) {
    c.Move(X(left), Y(top), X(width), Y(height));
}
}  // namespace

std::vector<std::pair<CheckBox*, const Config::Key*>> Form4::OptionBoxes() {
    return {{&Check1, &Config::AutoCheck}, {&Check2, &Config::AutoWidth},   {&Check3, &Config::Listview_1},
            {&Check4, &Config::Listview_2}, {&Check5, &Config::Listview_3}, {&Check6, &Config::SaveLog},
            {&Check7, &Config::SaveFile},  {&Check8, &Config::Tip},         {&Check9, &Config::Start},
            {&Check10, &Config::SaveHistory}, {&Check11, &Config::Choice}};
}

void Form4::LoadOptionsAndAbout() {
    // Creation order is the tab order: down the first frame, then left to
    // right through the second.
    struct BoxDef {
        CheckBox& box;
        int id;
        const wchar_t* caption;
    };
    Frame1.Create(hwnd_, IdFrame1, L"通用");
    const BoxDef general[] = {
        {Check1, IdCheck1, L"查看“收藏夹”的技巧时自动全部勾选(&C)"},
        {Check2, IdCheck2, L"允许列宽度自动适应(&A)"},
        {Check8, IdCheck8, L"显示提示(&T)"},
        {Check6, IdCheck6, L"开启日志功能(&L)"},
        {Check7, IdCheck7, L"保存文件列表目录(&S)"},
        {Check9, IdCheck9, L"询问是否开始使用技巧(&Q)"},
        {Check10, IdCheck10, L"开启备份功能(&B)"},
        {Check11, IdCheck11, L"全部勾选时不勾选具有危险性的技巧(&N)"},
    };
    long long top = 300;
    for (const BoxDef& d : general) {
        d.box.Create(hwnd_, d.id, d.caption);
        Place(d.box, 165 + 360, 135 + top, 3735, 300);
        top += 285;
    }
    Frame2.Create(hwnd_, IdFrame2, L"查看技巧");
    const BoxDef view[] = {{Check4, IdCheck4, L"热跟踪"}, {Check3, IdCheck3, L"网格线"}, {Check5, IdCheck5, L"整行选择"}};
    long long left = 360;
    for (const BoxDef& d : view) {
        d.box.Create(hwnd_, d.id, d.caption);
        Place(d.box, 165 + left, 2895 + 330, 1125, 300);
        left += 1320;
    }
    Frame4.Create(hwnd_, IdFrame4, L"恢复原始技巧数据库");
    Label30.Create(hwnd_, IdLabel30, L"注意：此功能会覆盖当前使用的技巧数据库，请小心使用。");
    Command21.Create(hwnd_, IdCommand21, L"开始恢复(&R)");
    Command1.Create(hwnd_, IdCommand1, L"确定");
    Command2.Create(hwnd_, IdCommand2, L"取消");
    Place(Frame1, 165, 135, 4350, 2655);
    Place(Frame2, 165, 2895, 4350, 795);
    Place(Frame4, 180, 3795, 4350, 795);
    Place(Label30, 180 + 150, 3795 + 285, 2550, 420);  // two whole lines
    Place(Command21, 180 + 2970, 3795 + 180, 1290, 525);
    Place(Command1, 870, 4695, 1215, 300);
    Place(Command2, 2535, 4695, 1215, 300);
    Command21.Click = [this] { ResetButton_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };

    for (Control* c : std::initializer_list<Control*>{&Frame1, &Frame2, &Frame4, &Label30, &Command21, &Command1,
                                                      &Command2})
        AddToPage(*c, OptionsPage);
    for (auto& [box, key] : OptionBoxes()) AddToPage(*box, OptionsPage);

    LoadAboutControls();
}

void Form4::OpenOptionsPage() {
    if (!Load()) return;
    ShowPage(OptionsPage);
    SetCaption(kOptionsCaption);
    SetDefaultButton(&Command1);
    SetCancelButton(&Command2);
    SetWidth(4770);
    SetHeight(5520);
    // Each box shows the whole number of its key; a number other than 0, 1 or
    // 2 is refused by the box, which stays clear.
    for (auto& [box, key] : OptionBoxes()) {
        box->SetValue(CheckBox::Clear);
        box->SetValue(Config::Whole(*key));
    }
    Check1.SetFocus();
    ShowModal();
}

void Form4::Command1_Click() {
    // Every key is tried; one that cannot be written keeps its old value, and
    // the page stays open so that nothing the user set is lost unannounced.
    bool allWritten = true;
    {
        // The options go to a copy of config.ini that takes its place in one step.
        Ini::FileTransaction tx(Config::Path());
        for (auto& [box, key] : OptionBoxes())
            if (!Config::WriteInt(*key, box->Value())) allWritten = false;
        allWritten = tx.Commit() && allWritten;
    }
    if (!allWritten) {
        App::MsgBox(L"无法把选项全部写入 config.ini（该文件可能是只读的或正被其它程序使用），有的设置没有保存。",
                    MB_OK | MB_ICONERROR);
        return;
    }
    if (::Form2* main = Forms::Form2IfLoaded()) {
        ListView& list = main->ListView1;
        list.SetExtendedStyle(LVS_EX_GRIDLINES, Check3.Value() != CheckBox::Clear ? LVS_EX_GRIDLINES : 0);
        list.SetExtendedStyle(LVS_EX_TRACKSELECT, Check4.Value() != CheckBox::Clear ? LVS_EX_TRACKSELECT : 0);
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT, Check5.Value() != CheckBox::Clear ? LVS_EX_FULLROWSELECT : 0);
    }
    Close();
}

void Form4::Command2_Click() { Close(); }
