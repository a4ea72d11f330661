#include "dialogs/cCommonDialog.h"

#include "dialogs/cMemory.h"
#include "platform/Text.h"

#include <olectl.h>

#include <cmath>
#include <cstring>
#include <utility>

namespace {
constexpr int32_t kInvalidHelpCommand = 13705;

// Whole number nearest to v, halves to even.
long long RoundHalfEven(double v) {
    double r = std::nearbyint(v);  // the default rounding mode: to nearest, halves to even
    return static_cast<long long>(r);
}
}  // namespace

cCommonDialog::cCommonDialog() { FilterIndex = 1; }

cCommonDialog::~cCommonDialog() {
    if (printerDC_) DeleteDC(printerDC_);
}

GCommonDialog& cCommonDialog::Dialog() {
    if (!dlg_) dlg_ = std::make_unique<GCommonDialog>();
    return *dlg_;
}

StdFont& cCommonDialog::FontObject() {
    if (!font_) font_ = std::make_shared<StdFont>(StdFont::New());
    return *font_;
}

int32_t cCommonDialog::Fail(const Error& e) {
    lastError_ = e;
    return e.number;
}

// ---- splitting a multiple selection ----

void cCommonDialog::ParseMultiFileName(std::wstring& sDir, std::vector<std::wstring>& sFiles,
                                       int32_t& iFileCount) const {
    auto add = [&](const std::wstring& part) {
        ++iFileCount;
        sFiles.resize(static_cast<size_t>(iFileCount));
        sFiles[static_cast<size_t>(iFileCount) - 1] = part;
    };
    const size_t pair = filename.find(std::wstring(2, L'\0'));
    if (pair != std::wstring::npos) {
        const std::wstring text = filename.substr(0, pair);
        size_t pos = 0;
        for (;;) {
            size_t end = text.find(L'\0', pos);
            if (end == std::wstring::npos) {
                add(text.substr(pos));  // the last part is always a file
                break;
            }
            std::wstring part = text.substr(pos, end - pos);
            if (sDir.empty()) sDir = std::move(part);
            else add(part);
            pos = end + 1;
        }
        return;
    }
    iFileCount = 1;
    sFiles.assign(1, std::wstring());
    const size_t slash = filename.rfind(L'\\');
    if (slash != std::wstring::npos && slash >= 1) {
        sDir = filename.substr(0, slash);
        sFiles[0] = filename.substr(slash + 1);
    } else {
        sDir.clear();
        sFiles[0] = filename;
    }
}

// ---- hook relays ----

LRESULT cCommonDialog::InitDialog(HWND hDlg) {
    if (OnInitDialog) OnInitDialog(hDlg);
    return 0;
}
LRESULT cCommonDialog::FileChange(HWND hDlg) {
    if (OnFileChange) OnFileChange(hDlg);
    return 0;
}
LRESULT cCommonDialog::FolderChange(HWND hDlg) {
    if (OnFolderChange) OnFolderChange(hDlg);
    return 0;
}
LRESULT cCommonDialog::TypeChange(HWND hDlg) {
    if (OnTypeChange) OnTypeChange(hDlg);
    return 0;
}
void cCommonDialog::DialogClose() {
    if (OnDialogClose) OnDialogClose();
}
bool cCommonDialog::ConfirmOK() {
    bool cancel = false;
    if (OnConfirmOK) OnConfirmOK(cancel);
    return !cancel;
}

// ---- placing the dialog ----

HWND cCommonDialog::DialogWindow(HWND hDlg) const {
    if (fileDialog_) {
        HWND parent = GetParent(hDlg);
        if (parent) return parent;
    }
    return hDlg;
}

void cCommonDialog::CentreDialog(HWND hDlg, HWND centreTo) {
    HWND window = DialogWindow(hDlg);
    RECT area{};
    if (centreTo && IsWindow(centreTo)) {
        GetWindowRect(centreTo, &area);
    } else if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    if (area.right <= 0 || area.bottom <= 0) return;
    RECT r{};
    if (!GetWindowRect(window, &r)) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int left = area.left + ((area.right - area.left) - w) / 2;
    const int top = area.top + ((area.bottom - area.top) - h) / 2;
    MoveWindow(window, left, top, w, h, TRUE);
}

void cCommonDialog::GetDialogSize(HWND hDlg, int32_t& lL, int32_t& lT, int32_t& lW, int32_t& lH) const {
    RECT r{};
    if (!GetWindowRect(DialogWindow(hDlg), &r)) return;
    lL = r.left;
    lT = r.top;
    lW = r.right - r.left;
    lH = r.bottom - r.top;
}

void cCommonDialog::SetHelpPosition(int32_t x, int32_t Y, int32_t dx, int32_t dy, int32_t eWindowType) {
    HELPWININFOA info{};
    info.wStructSize = sizeof info;
    info.x = x;
    info.y = Y;
    info.dx = dx;
    info.dy = dy;
    info.wMax = eWindowType;
    cMemory block;
    if (!block.AllocateMemory(sizeof info, GMEM_MOVEABLE | GMEM_ZEROINIT)) return;
    void* p = block.Pointer();
    if (!p) return;
    std::memcpy(p, &info, sizeof info);
    const HWND owner = hwnd == reinterpret_cast<HWND>(static_cast<intptr_t>(-1)) ? nullptr : hwnd;
    WinHelpA(owner, Text::ToAnsi(HelpFile).c_str(), HELP_SETWINPOS, reinterpret_cast<ULONG_PTR>(p));
}  // the block is freed here

// ---- font properties ----

bool cCommonDialog::FontBold() { return FontObject().Bold; }
void cCommonDialog::SetFontBold(bool v) {
    FontObject().Bold = v;
    FontObject().Weight = v ? FW_BOLD : FW_NORMAL;
}
bool cCommonDialog::FontItalic() { return FontObject().Italic; }
void cCommonDialog::SetFontItalic(bool v) { FontObject().Italic = v; }
std::wstring cCommonDialog::FontName() { return FontObject().Name; }
void cCommonDialog::SetFontName(const std::wstring& v) { FontObject().Name = v; }
int32_t cCommonDialog::FontSize() { return static_cast<int32_t>(RoundHalfEven(FontObject().Size)); }
void cCommonDialog::SetFontSize(int32_t v) { FontObject().Size = v; }
bool cCommonDialog::FontStrikethru() { return FontObject().Strikethrough; }
void cCommonDialog::SetFontStrikethru(bool v) { FontObject().Strikethrough = v; }
bool cCommonDialog::FontUnderline() { return FontObject().Underline; }
void cCommonDialog::SetFontUnderline(bool v) { FontObject().Underline = v; }
std::shared_ptr<StdFont> cCommonDialog::Font() {
    FontObject();
    return font_;
}
void cCommonDialog::SetFont(std::shared_ptr<StdFont> font) { font_ = std::move(font); }

int32_t cCommonDialog::CustomColor(int16_t index) { return Dialog().CustomColor(index); }
void cCommonDialog::SetCustomColor(int16_t index, int32_t value) { Dialog().SetCustomColor(index, value); }

// ---- the dialogs ----

int32_t cCommonDialog::ShowOpen() { return RunFileDialog(false); }

int32_t cCommonDialog::ShowSave() { return RunFileDialog(true); }

// The open and save dialogs take the same fields; only the flags they pick out
// of `flags`, the FilterIndex fix-up and the system call differ.
int32_t cCommonDialog::RunFileDialog(bool save) {
    fileDialog_ = true;
    lastError_ = {};
    GCommonDialog::FileArgs a;
    if (save) {
        a.OverWritePrompt = FlagSet(flags, OFN_OVERWRITEPROMPT);
    } else {
        a.FileMustExist = FlagSet(flags, OFN_FILEMUSTEXIST);
        a.MultiSelect = FlagSet(flags, OFN_ALLOWMULTISELECT);
        a.ReadOnly = FlagSet(flags, OFN_READONLY);
        a.HideReadOnly = FlagSet(flags, OFN_HIDEREADONLY);
        if (FilterIndex == 0) FilterIndex = 1;
    }
    a.filename = filename;
    a.FileTitle = FileTitle;
    a.Filter = Filter;
    a.FilterIndex = FilterIndex;
    a.InitDir = InitDir;
    a.DlgTitle = DialogTitle;
    a.DefaultExt = DefaultExt;
    a.Owner = hwnd;
    a.flags = flags;
    a.Hook = HookDialog;
    a.EventSink = this;
    GCommonDialog& g = Dialog();
    if (save) g.VBGetSaveFileName(a);
    else g.VBGetOpenFileName(a);
    if (g.Raised().number) return Fail(g.Raised());
    filename = std::move(a.filename);
    FileTitle = std::move(a.FileTitle);
    Filter = std::move(a.Filter);
    FilterIndex = a.FilterIndex;
    flags = a.flags;
    return 0;
}

int32_t cCommonDialog::TranslateColor(int32_t color, HPALETTE palette) {
    COLORREF rgb = 0;
    if (OleTranslateColor(static_cast<OLE_COLOR>(color), palette, &rgb) != S_OK) return -1;
    return static_cast<int32_t>(rgb);
}

void cCommonDialog::ShowColor() {
    fileDialog_ = false;
    int32_t start = TranslateColor(Color);
    const bool anyColor = FlagSet(flags, CC_ANYCOLOR), fullOpen = FlagSet(flags, CC_FULLOPEN),
               disableFullOpen = FlagSet(flags, CC_PREVENTFULLOPEN);
    if (Dialog().VBChooseColor(start, anyColor, fullOpen, disableFullOpen, hwnd, flags, HookDialog, this))
        Color = start;
}

void cCommonDialog::ShowFont() {
    fileDialog_ = false;
    GCommonDialog& g = Dialog();
    StdFont& font = FontObject();
    // The font object is shared with whoever set it: keep it alive for the call.
    std::shared_ptr<StdFont> keep = font_;
    g.VBChooseFont(font, GCommonDialog::kNoPrinterDC, hwnd, FontColor, Min, Max, flags, HookDialog, this);
}

void cCommonDialog::ShowPrinter() {
    fileDialog_ = false;
    GCommonDialog::PrintArgs a;
    a.PrintRange = FlagSet(flags, PD_PAGENUMS) ? 1 : FlagSet(flags, PD_SELECTION) ? 2 : 0;
    a.DisablePageNumbers = !FlagSet(flags, PD_PAGENUMS);
    a.FromPage = FromPage;
    a.ToPage = ToPage;
    a.DisableSelection = FlagSet(flags, PD_NOSELECTION);
    a.Copies = Copies;
    a.ShowPrintToFile = !FlagSet(flags, PD_HIDEPRINTTOFILE);
    a.DisablePrintToFile = FlagSet(flags, PD_DISABLEPRINTTOFILE);
    a.PrintToFile = FlagSet(flags, PD_PRINTTOFILE);
    a.Collate = FlagSet(flags, PD_COLLATE);
    a.PreventWarning = FlagSet(flags, PD_NOWARNING);
    a.Owner = hwnd;
    a.Printer = Object.get();
    a.flags = flags;
    a.Hook = HookDialog;
    a.EventSink = this;
    if (!Dialog().VBPrintDlg(a)) return;
    Copies = a.Copies;
    FromPage = a.FromPage;
    ToPage = a.ToPage;
    if (printerDC_) DeleteDC(printerDC_);
    printerDC_ = a.hdc;
}

std::wstring cCommonDialog::ApiErrorText(DWORD code) {
    char buf[256] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buf,
                             sizeof buf, nullptr);
    return n ? Text::FromAnsi(std::string_view(buf, n)) : std::wstring();
}

std::wstring cCommonDialog::LastDllErrorText() { return ApiErrorText(GetLastError()); }

int32_t cCommonDialog::ShowHelp() {
    lastError_ = {};
    const std::wstring source = GCommonDialog::ProgramName() + L".cCommonDialog";
    if (HelpCommand == HELP_MULTIKEY || HelpCommand == HELP_SETWINPOS)
        return Fail({kInvalidHelpCommand, source, L"Invalid WinHelp Command Passed to ShowHelp function."});
    const HWND owner = hwnd == reinterpret_cast<HWND>(static_cast<intptr_t>(-1)) ? nullptr : hwnd;
    const ULONG_PTR context = static_cast<ULONG_PTR>(Text::LeadingNumber(HelpContext));
    SetLastError(0);
    if (WinHelpA(owner, Text::ToAnsi(HelpFile).c_str(), static_cast<UINT>(HelpCommand), context)) return 0;
    const DWORD code = GetLastError();
    if (!code) return Fail({5, source, L"Invalid procedure call or argument"});
    return Fail({static_cast<int32_t>(code), source, LastDllErrorText()});
}
