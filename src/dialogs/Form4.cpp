#include "platform/App.h"
#include "dialogs/Form4.h"

#include "mainwindow/Form2.h"
#include "platform/Icons.h"
#include "platform/Modal.h"
#include "platform/Twips.h"

namespace {

int X(long long twips) { return Twips::ToPixelsX(twips); }
int Y(long long twips) { return Twips::ToPixelsY(twips); }
}  // namespace

Form4::~Form4() { Unload(); }

bool Form4::Load() {
    if (Exists()) return true;
    HWND owner = Forms::Form2().hwnd();
    // The pages' containers and frames draw no background of their own: the
    // dialog paints its background under its controls (it does not clip them).
    if (!CreateForm(L"Quorix.Form4", L"选项", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    WS_EX_DLGMODALFRAME, owner, CW_USEDEFAULT, CW_USEDEFAULT, X(5505), Y(3540)))
        return false;
    pageControls_.clear();
    defaultButton_ = cancelButton_ = nullptr;
    lastMouseDown_ = {-1, -1};

    ImageList1.Create(32, 32);
    HICON file = LoadIconW(nullptr, IDI_INFORMATION);
    ImageList1.SetIcon(6, file);

    // Header, then the list's frame before the controls placed over it.
    Frame7.Create(hwnd_, IdFrame7, L"", false);
    Image8.Create(hwnd_, IdImage8, L"", false);
    Image9.Create(hwnd_, IdImage9, L"", false);
    Label28.Create(hwnd_, IdLabel28, L"", false);
    Label29.Create(hwnd_, IdLabel29, L"", false);
    Picture6.CreateOwnerDrawn(hwnd_, IdPicture6, L"", false);
    Frame6.Create(hwnd_, IdFrame6, L"", false);
    ListView1.Create(hwnd_, IdListView1);
    ListView1.SetVisible(false);
    ListView1.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT, 0);
    ListView1.AddColumn(L"", 120);
    ListView1.SetImageLists(ImageList1.handle(), nullptr);
    Command22.Create(hwnd_, IdCommand22, L"开始恢复(&S)", false);
    Command23.Create(hwnd_, IdCommand23, L"删除(&D)", false);
    Command24.Create(hwnd_, IdCommand24, L"退出", false);
    Command22.Click = [this] { Command22_Click(); };
    Command23.Click = [this] { Command23_Click(); };
    Command24.Click = [this] { Command24_Click(); };

    AddToPage(Frame7, RestorePage);
    AddToPage(Label28, RestorePage);
    AddToPage(Label29, RestorePage);
    AddToPage(Image9, RestorePage);
    AddToPage(Picture6, RestorePage);
    AddToPage(Frame6, RestorePage);
    AddToPage(ListView1, RestorePage);
    AddToPage(Command22, RestorePage);
    AddToPage(Command23, RestorePage);
    AddToPage(Command24, RestorePage);

    // Header and list geometry shared by the list pages.
    Frame7.Move(X(75), 0, X(5280), Y(780));
    Image9.Move(X(4680), Y(180), X(480), Y(480));
    Image8.Move(X(4680), Y(180), X(480), Y(480));
    Label28.Move(X(240), Y(180), X(4300), Y(255));
    Label29.Move(X(480), Y(450), X(4100), Y(255));
    LoadOptionsAndAbout();
    LoadReplacePage();
    return true;
}

void Form4::AddToPage(Control& c, unsigned pages) { pageControls_.emplace_back(&c, pages); }

void Form4::ShowPage(unsigned pages) {
    for (auto& [c, p] : pageControls_) c->SetVisible((p & pages) != 0);
}

void Form4::SetDefaultButton(CommandButton* b) {
    if (defaultButton_ && defaultButton_->Exists())
        SendMessageW(defaultButton_->hwnd(), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    defaultButton_ = b;
    if (b && b->Exists()) SendMessageW(b->hwnd(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void Form4::SetCancelButton(CommandButton* b) { cancelButton_ = b; }

void Form4::SetBannerPictures(int image8, int image9) {
    const std::pair<Label*, int> pictures[] = {{&Image8, image8}, {&Image9, image9}};
    for (int i = 0; i < 2; ++i) {
        auto [image, number] = pictures[i];
        if (!image->Exists()) continue;
        HWND h = image->hwnd();
        SetWindowLongPtrW(h, GWL_STYLE, (GetWindowLongPtrW(h, GWL_STYLE) & ~SS_TYPEMASK) | SS_ICON);
        HICON icon = number ? Icons::Create(number, 32) : nullptr;
        SendMessageW(h, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        if (banner_[i]) DestroyIcon(banner_[i]);
        banner_[i] = icon;
    }
}

void Form4::CentreOnScreen() {
    if (!Exists()) return;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form4::ShowModal() {
    if (!Exists()) return;
    // Every page opens at the centre of the screen, at the size its opener gave.
    CentreOnScreen();
    Modal::Run(hwnd_);
}

void Form4::ListView1_MouseDown(POINT clientPt) { lastMouseDown_ = clientPt; }

void Form4::ListView1_DblClick() {
    if (lastMouseDown_.x < 0 || !ListView1.HitTest(lastMouseDown_)) return;
    const std::wstring caption = Caption();
    if (caption == L"导出技巧") Command18_Click();
    else if (caption == L"恢复窗口") Command22_Click();
}

LRESULT Form4::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT r = 0; OptionsAndAboutMessage(msg, wp, lp, r)) return r;
    switch (msg) {
    case DM_GETDEFID:
        if (defaultButton_ && defaultButton_->Exists())
            return MAKELRESULT(GetDlgCtrlID(defaultButton_->hwnd()), DC_HASDEFID);
        return 0;
    case WM_COMMAND:
        // Enter and Esc from the dialog manager, when no button answered them.
        if (lp == 0 || !Control::FromHwnd(reinterpret_cast<HWND>(lp))) {
            if (LOWORD(wp) == IDOK && defaultButton_) {
                defaultButton_->PerformClick();
                return 0;
            }
            if (LOWORD(wp) == IDCANCEL && cancelButton_) {
                cancelButton_->PerformClick();
                return 0;
            }
        }
        break;
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<NMHDR*>(lp);
        if (nm->hwndFrom == ListView1.hwnd() && (nm->code == NM_CLICK || nm->code == NM_DBLCLK)) {
            ListView1_MouseDown(reinterpret_cast<NMITEMACTIVATE*>(lp)->ptAction);
            if (nm->code == NM_DBLCLK) ListView1_DblClick();
            return 0;
        }
        break;
    }
    case WM_DRAWITEM:
        if (DrawKeyPathLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
        break;
    case WM_NEXTDLGCTL: {
        // The dialog manager moves the focus with this message (a label's
        // access key: to the label, then on to the next box in the Tab order);
        // the window is no system dialog, so it does the move itself.
        HWND target = LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0);
        if (target && (target == hwnd_ || IsChild(hwnd_, target))) SetFocus(target);
        return 0;
    }
    case WM_CLOSE:
        Close();
        return 0;
    default:
        if (msg == Modal::KeyPreviewMessage()) {
            const int shift = App::ShiftState();
            return Form_KeyDown(static_cast<int>(wp), shift) ? 1 : 0;
        }
        break;
    }
    return Form::WndProc(msg, wp, lp);
}

void Form4::Close() {
    // However the favourites organiser closes, the menu shows what is left.
    if (Exists() && Caption() == L"整理类别收藏夹")
        if (::Form2* main = Forms::Form2IfLoaded()) main->ViewFavorite();
    Modal::Ending(hwnd_);
    Unload();
}

void Form4::OnDestroyed() {
    // The controls' own state outside their windows: tags and the shared
    // list's sort order (the restore page sorts it, the export page does not).
    for (auto& [c, p] : pageControls_) c->Tag.clear();
    ListView1.Unsort();
    pageControls_.clear();
    defaultButton_ = cancelButton_ = nullptr;
    lastMouseDown_ = {-1, -1};
    pending_ = nullptr;
    tips_ = nullptr;  // the tool tip window went with the dialog
    FileInfoFile.clear();
    valueRow_ = 0;
    valueOpened_ = LiveValue{};
    valueShown_.clear();
    for (HICON& icon : banner_) {
        if (icon) DestroyIcon(icon);
        icon = nullptr;
    }
}

void DelItmx(ListView& sListview) {
    for (int i = sListview.Count(); i >= 1; --i)
        if (sListview.Selected(i)) sListview.Remove(i);
}

namespace Forms {
::Form4& Form4() { return Loaded<::Form4>(); }
::Form4* Form4IfLoaded() { return IfLoaded<::Form4>(); }
void UnloadForm4() {
    if (::Form4* form = Form4IfLoaded()) form->Close();
}
}  // namespace Forms
