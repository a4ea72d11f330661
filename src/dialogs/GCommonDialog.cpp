#include "dialogs/GCommonDialog.h"

#include "dialogs/cCommonDialog.h"
#include "dialogs/cMemory.h"
#include "dialogs/mDialogHook.h"
#include "platform/App.h"
#include "platform/Modal.h"
#include "platform/Text.h"

#include <cderr.h>
#include <commctrl.h>
#include <winspool.h>

#include <cmath>
#include <cstring>
#include <utility>

namespace {
GCommonDialog::Responder g_responder;

constexpr int32_t kMaxFilter = 32766;  // the filter walk counts with a 16-bit counter
constexpr size_t kSingleBuffer = 260;
constexpr size_t kMultiBuffer = 8192;

HWND OwnerOf(HWND owner) { return owner == reinterpret_cast<HWND>(static_cast<intptr_t>(-1)) ? nullptr : owner; }

// Whole number nearest to num / den, halves to even (den > 0).
long long RoundHalfEven(long long num, long long den) {
    long long q = num / den, r = num % den;
    if (r < 0) {
        r += den;
        --q;
    }
    if (2 * r > den || (2 * r == den && (q & 1))) ++q;
    return q;
}

// The font size in ten-thousandths of a point, as the font object keeps it.
long long SizeUnits(double size) { return std::llround(size * 10000.0); }

// The application printer's device context: the default printer's, nullptr
// when there is none. The caller deletes it.
HDC DefaultPrinterDC() {
    char name[512];
    DWORD n = sizeof name;
    if (!GetDefaultPrinterA(name, &n)) return nullptr;
    return CreateDCA("WINSPOOL", name, nullptr, nullptr);
}

// Copies the printer settings a print or page-setup dialog returned, frees the
// returned blocks and sets the printer object.
void TakePrinterSettings(HGLOBAL devMode, HGLOBAL devNames, DEVMODEA& record, PrinterObject* printer) {
    cMemory mode, names;
    mode.SetHandle(devMode);
    names.SetHandle(devNames);
    const auto* dm = static_cast<const DEVMODEA*>(mode.Pointer());
    if (!dm) return;
    record = DEVMODEA{};
    std::memcpy(&record, dm, std::min<size_t>(sizeof record, mode.Size()));
    if (printer) {
        if (dm->dmFields & DM_COPIES) printer->Copies = dm->dmCopies;
        if (dm->dmFields & DM_ORIENTATION) printer->Orientation = dm->dmOrientation;
        if (dm->dmFields & DM_PAPERSIZE) printer->PaperSize = dm->dmPaperSize;
        if (dm->dmFields & DM_PRINTQUALITY) printer->PrintQuality = dm->dmPrintQuality;
    }
}
}  // namespace

StdFont StdFont::New() {
    StdFont f;
    LOGFONTW lf{};
    if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) {
        f.Name = lf.lfFaceName;
        HDC dc = GetDC(nullptr);
        int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (dc) ReleaseDC(nullptr, dc);
        if (dpi <= 0) dpi = 96;
        // Points to four decimals, as the font object keeps them.
        long long units = RoundHalfEven(std::llabs(static_cast<long long>(lf.lfHeight)) * 72 * 10000, dpi);
        f.Size = static_cast<double>(units) / 10000.0;
        f.Weight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
        f.Bold = f.Weight >= FW_BOLD;
    }
    if (f.Name.empty()) f.Name = L"MS Shell Dlg";
    if (f.Size <= 0) f.Size = 9;
    return f;
}

void GCommonDialog::SetResponderForTests(Responder responder) { g_responder = std::move(responder); }

std::wstring GCommonDialog::ProgramName() { return App::ExeName(); }

GCommonDialog::Error GCommonDialog::RaiseDlgError(int32_t number, const std::wstring& description) {
    if (number < 1001) return {number, ProgramName() + L".VBError", description};
    return {DlgErrorCode(number), ProgramName() + L".CommonDialog", description};
}

BOOL GCommonDialog::CallSystem(SystemCall& call, DWORD& extendedError) {
    // The dialog keeps the program as modal as it was: owned by the modal
    // window up, every other window disabled, and every window's enabled
    // state as before once it is gone.
    HWND* owner = nullptr;
    switch (call.kind) {
    case SystemCall::Open:
    case SystemCall::Save: owner = &call.ofn->hwndOwner; break;
    case SystemCall::Color: owner = &call.cc->hwndOwner; break;
    case SystemCall::Font: owner = &call.cf->hwndOwner; break;
    case SystemCall::Print: owner = &call.pd->hwndOwner; break;
    case SystemCall::PageSetup: owner = &call.psd->hwndOwner; break;
    case SystemCall::Folder: owner = &call.bi->hwndOwner; break;
    }
    Modal::SystemDialog modal(owner ? *owner : nullptr);
    if (owner) *owner = modal.Owner();
    if (g_responder) {
        BOOL r = g_responder(call);
        extendedError = r ? 0 : call.extendedError;
        return r;
    }
    BOOL r = FALSE;
    switch (call.kind) {
    case SystemCall::Open: r = GetOpenFileNameA(call.ofn); break;
    case SystemCall::Save: r = GetSaveFileNameA(call.ofn); break;
    case SystemCall::Color: r = ChooseColorA(call.cc); break;
    case SystemCall::Font: r = ChooseFontA(call.cf); break;
    case SystemCall::Print: r = PrintDlgA(call.pd); break;
    case SystemCall::PageSetup: r = PageSetupDlgA(call.psd); break;
    case SystemCall::Folder:
        call.picked = SHBrowseForFolderW(call.bi);
        extendedError = 0;
        return call.picked != nullptr;
    }
    extendedError = r ? 0 : CommDlgExtendedError();
    return r;
}

bool GCommonDialog::BrowseForFolder(HWND Owner, const std::wstring& prompt, std::wstring& path) {
    // The browser's tree is built by the shell's COM objects.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    BROWSEINFOW bi{};
    bi.hwndOwner = OwnerOf(Owner);
    bi.pidlRoot = nullptr;
    bi.lpszTitle = prompt.c_str();
    bi.ulFlags = 0;
    SystemCall call{SystemCall::Folder};
    call.bi = &bi;
    DWORD ignored = 0;
    bool found = false;
    if (CallSystem(call, ignored) && call.picked) {
        wchar_t buffer[MAX_PATH + 1] = {};
        if (SHGetPathFromIDListW(call.picked, buffer) && buffer[0]) {
            path = buffer;  // ends at the first NUL
            found = true;
        }
    }
    if (call.picked) CoTaskMemFree(call.picked);
    if (SUCCEEDED(com)) CoUninitialize();
    return found;
}

void GCommonDialog::BeginHook(bool hook, cCommonDialog* sink) {
    if (!hook) return;
    mDialogHook::SetHookTarget(this);
    sink_ = sink;
}

void GCommonDialog::EndHook() {
    mDialogHook::ClearHookTarget();
    sink_ = nullptr;
}

LRESULT GCommonDialog::DialogHook(HWND hDlg, UINT msg, WPARAM, LPARAM lParam) {
    if (!sink_) return 0;
    switch (msg) {
    case WM_INITDIALOG: return sink_->InitDialog(hDlg);
    case WM_NCDESTROY: sink_->DialogClose(); return 0;
    case WM_NOTIFY: {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (!hdr) return 0;
        switch (hdr->code) {
        case CDN_SELCHANGE: return sink_->FileChange(hDlg);
        case CDN_FOLDERCHANGE: return sink_->FolderChange(hDlg);
        case CDN_TYPECHANGE: return sink_->TypeChange(hDlg);
        case CDN_FILEOK:
            if (!sink_->ConfirmOK()) {
                SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, 1);
                return 1;
            }
            SetWindowLongPtrA(hDlg, DWLP_MSGRESULT, 0);
            return 0;
        }
        return 0;
    }
    }
    return 0;
}

std::wstring GCommonDialog::StrZToStr(const std::string& bytes) {
    return Text::FromAnsi(std::string_view(bytes.data(), strnlen(bytes.data(), bytes.size())));
}

std::string GCommonDialog::StrToBytes(const std::wstring& text) { return Text::ToAnsi(text); }

std::wstring GCommonDialog::BytesToStr(const char* bytes, size_t size) {
    return Text::FromAnsi(std::string_view(bytes, strnlen(bytes, size)));
}

std::wstring GCommonDialog::FilterLookup(const std::wstring& converted, int32_t n) {
    // Pairs of NUL-ended texts (description, pattern), up to the closing pair of NULs.
    std::vector<std::wstring> parts;
    size_t pos = 0;
    while (pos < converted.size() && converted[pos] != L'\0') {
        size_t end = converted.find(L'\0', pos);
        if (end == std::wstring::npos) end = converted.size();
        parts.push_back(converted.substr(pos, end - pos));
        pos = end + 1;
    }
    if (n < 1 || static_cast<size_t>(n) * 2 > parts.size()) return {};
    return parts[2 * (n - 1)] + L'\0' + parts[2 * (n - 1) + 1];
}

bool GCommonDialog::VBGetOpenFileName(FileArgs& a) {
    int32_t flags = a.flags & ~(OFN_ENABLEHOOK | OFN_ENABLETEMPLATE);
    if (a.MultiSelect) flags |= OFN_ALLOWMULTISELECT;
    if (a.ReadOnly) flags |= OFN_READONLY;
    if (a.HideReadOnly) flags |= OFN_HIDEREADONLY;
    if (a.FileMustExist) flags |= OFN_FILEMUSTEXIST;
    return FileDialog(a, flags, true);
}

bool GCommonDialog::VBGetSaveFileName(FileArgs& a) {
    int32_t flags = a.flags & ~(OFN_ENABLEHOOK | OFN_ENABLETEMPLATE);
    if (a.OverWritePrompt) flags |= OFN_OVERWRITEPROMPT;
    flags |= OFN_HIDEREADONLY;
    return FileDialog(a, flags, false);
}

bool GCommonDialog::FileDialog(FileArgs& a, int32_t flags, bool open) {
    raised_ = {};
    const size_t size = (open && (flags & OFN_ALLOWMULTISELECT)) ? kMultiBuffer : kSingleBuffer;
    // Everything that can be refused is refused before the dialog.
    std::string file = Text::ToAnsi(a.filename), title = Text::ToAnsi(a.FileTitle);
    if (file.size() > size || title.size() > size) {
        raised_ = RaiseDlgError(5, L"Invalid procedure call or argument");
        return false;
    }
    if (a.Filter.size() > static_cast<size_t>(kMaxFilter)) {
        raised_ = RaiseDlgError(6, L"Overflow");
        return false;
    }
    std::wstring converted;
    converted.reserve(a.Filter.size() + 2);
    for (wchar_t c : a.Filter) converted += (c == L'|' || c == L':') ? L'\0' : c;
    converted += L'\0';
    converted += L'\0';
    const std::string filter = Text::ToAnsi(converted);
    file.resize(size + 1, '\0');  // one byte more than offered: the end stays NUL
    title.resize(size + 1, '\0');
    const std::string initDir = Text::ToAnsi(a.InitDir), dlgTitle = Text::ToAnsi(a.DlgTitle),
                      defExt = Text::ToAnsi(a.DefaultExt);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = OwnerOf(a.Owner);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(a.FilterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(size);
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = static_cast<DWORD>(size);
    ofn.lpstrInitialDir = initDir.empty() ? nullptr : initDir.c_str();
    ofn.lpstrTitle = dlgTitle.empty() ? nullptr : dlgTitle.c_str();
    ofn.lpstrDefExt = defExt.empty() ? nullptr : defExt.c_str();
    if (a.Hook) {
        flags |= OFN_EXPLORER | OFN_ENABLEHOOK;
        ofn.lpfnHook = HookAddress(&mDialogHook::FileDlgHookProc);
    }
    ofn.Flags = static_cast<DWORD>(flags);

    SystemCall call{open ? SystemCall::Open : SystemCall::Save};
    call.ofn = &ofn;
    BeginHook(a.Hook, a.EventSink);
    apiReturn_ = CallSystem(call);
    EndHook();

    if (!apiReturn_) {
        a.filename.clear();
        a.FileTitle.clear();
        a.Filter.clear();
        a.flags = 0;
        a.FilterIndex = open ? -1 : 0;
        return false;
    }
    if (open && (ofn.Flags & OFN_ALLOWMULTISELECT)) {
        // The whole buffer: the caller splits it (cCommonDialog::ParseMultiFileName).
        a.filename = Text::FromAnsi(std::string_view(file.data(), size));
    } else {
        a.filename = StrZToStr(file);
        a.FileTitle = StrZToStr(title);
    }
    a.flags = static_cast<int32_t>(ofn.Flags);
    a.FilterIndex = static_cast<int32_t>(ofn.nFilterIndex);
    a.Filter = FilterLookup(converted, a.FilterIndex);
    return true;
}

std::wstring GCommonDialog::VBGetFileTitle(const std::wstring& sFile) const {
    char buf[260] = {};
    if (GetFileTitleA(Text::ToAnsi(sFile).c_str(), buf, sizeof buf) != 0) return {};
    return BytesToStr(buf, sizeof buf);
}

void GCommonDialog::InitCustomColors() {
    if (customColorsFilled_) return;
    for (int i = 0; i < 16; ++i) customColors_[i] = GetSysColor(i);
    customColorsFilled_ = true;
}

int32_t GCommonDialog::CustomColor(int16_t index) {
    InitCustomColors();
    return (index < 0 || index > 15) ? -1 : static_cast<int32_t>(customColors_[index]);
}

void GCommonDialog::SetCustomColor(int16_t index, int32_t value) {
    InitCustomColors();
    if (index >= 0 && index <= 15) customColors_[index] = static_cast<COLORREF>(value);
}

bool GCommonDialog::VBChooseColor(int32_t& Color, bool AnyColor, bool FullOpen, bool DisableFullOpen, HWND Owner,
                                  int32_t /*flags: the switches make the flag word*/, bool Hook,
                                  cCommonDialog* EventSink) {
    raised_ = {};
    DWORD flags = CC_RGBINIT | (AnyColor ? CC_ANYCOLOR : CC_SOLIDCOLOR);
    if (FullOpen) flags |= CC_FULLOPEN;
    if (DisableFullOpen) flags |= CC_PREVENTFULLOPEN;
    flags &= ~static_cast<DWORD>(CC_ENABLEHOOK | CC_ENABLETEMPLATE);
    InitCustomColors();

    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = OwnerOf(Owner);
    cc.rgbResult = static_cast<COLORREF>(Color);
    cc.lpCustColors = customColors_;
    if (Hook) {
        flags |= CC_ENABLEHOOK;
        cc.lpfnHook = HookAddress(&mDialogHook::ColorDlgHookProc);
    }
    cc.Flags = flags;

    SystemCall call{SystemCall::Color};
    call.cc = &cc;
    BeginHook(Hook, EventSink);
    apiReturn_ = CallSystem(call);
    EndHook();
    if (!apiReturn_) {
        Color = -1;
        return false;
    }
    Color = static_cast<int32_t>(cc.rgbResult);
    return true;
}

bool GCommonDialog::VBChooseFont(StdFont& CurFont, HDC PrinterDC, HWND Owner, int32_t& Color, int32_t MinSize,
                                 int32_t MaxSize, int32_t& flags, bool Hook, cCommonDialog* EventSink) {
    raised_ = {};
    apiReturn_ = 0;
    extendedError_ = 0;
    HDC ownDC = nullptr;  // a printer context made here, deleted here
    HDC dc = PrinterDC;
    if (PrinterDC == kNoPrinterDC) {
        dc = nullptr;
        if (flags & CF_PRINTERFONTS) dc = ownDC = DefaultPrinterDC();
    } else {
        flags |= CF_PRINTERFONTS;
    }
    if (!(flags & CF_PRINTERFONTS)) flags |= CF_SCREENFONTS;
    if (Color != 0) flags |= CF_EFFECTS;
    if (MinSize != 0 || MaxSize != 0) flags |= CF_LIMITSIZE;
    flags = (flags & ~(CF_APPLY | CF_ENABLETEMPLATE | CF_ENABLEHOOK)) | CF_INITTOLOGFONTSTRUCT;

    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    if (dpi <= 0) dpi = 96;
    const long long units = SizeUnits(CurFont.Size);

    LOGFONTA lf{};
    // The point size as a character height in pixels: Size * 20 / twips per pixel.
    lf.lfHeight = static_cast<LONG>(-RoundHalfEven(units * 20 * dpi, 10000LL * 1440));
    lf.lfWeight = CurFont.Weight;
    lf.lfItalic = CurFont.Italic ? 0xFF : 0;
    lf.lfUnderline = CurFont.Underline ? 0xFF : 0;
    lf.lfStrikeOut = CurFont.Strikethrough ? 0xFF : 0;
    // The face in the code page, cut at a character boundary so a NUL ends it.
    std::wstring face = CurFont.Name;
    std::string faceBytes = StrToBytes(face);
    while (faceBytes.size() > LF_FACESIZE - 1 && !face.empty()) {
        face.pop_back();
        faceBytes = StrToBytes(face);
    }
    std::memcpy(lf.lfFaceName, faceBytes.data(), faceBytes.size());

    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = OwnerOf(Owner);
    cf.hDC = dc;
    cf.lpLogFont = &lf;
    cf.iPointSize = static_cast<INT>(RoundHalfEven(units * 10, 10000));
    cf.Flags = static_cast<DWORD>(flags);
    cf.rgbColors = static_cast<COLORREF>(Color);
    cf.nSizeMin = MinSize;
    cf.nSizeMax = MaxSize;
    if (Hook) {
        cf.Flags |= CF_ENABLEHOOK;
        cf.lpfnHook = HookAddress(&mDialogHook::FontDlgHookProc);
    }

    SystemCall call{SystemCall::Font};
    call.cf = &cf;
    BeginHook(Hook, EventSink);
    apiReturn_ = CallSystem(call);
    EndHook();
    if (ownDC) DeleteDC(ownDC);
    if (!apiReturn_) return false;

    flags = static_cast<int32_t>(cf.Flags);
    Color = static_cast<int32_t>(cf.rgbColors);
    CurFont.Bold = (cf.nFontType & BOLD_FONTTYPE) != 0;
    CurFont.Italic = lf.lfItalic != 0;
    CurFont.Strikethrough = lf.lfStrikeOut != 0;
    CurFont.Underline = lf.lfUnderline != 0;
    CurFont.Weight = lf.lfWeight;
    CurFont.Size = cf.iPointSize / 10.0;
    CurFont.Name = BytesToStr(lf.lfFaceName, sizeof lf.lfFaceName);
    return true;
}

bool GCommonDialog::VBPrintDlg(PrintArgs& a) {
    raised_ = {};
    int32_t flags = a.flags;
    if (a.DisablePageNumbers) flags |= PD_NOPAGENUMS;
    if (a.DisablePrintToFile) flags |= PD_DISABLEPRINTTOFILE;
    if (a.DisableSelection) flags |= PD_NOSELECTION;
    if (a.PrintToFile) flags |= PD_PRINTTOFILE;
    if (!a.ShowPrintToFile) flags |= PD_HIDEPRINTTOFILE;
    if (a.PreventWarning) flags |= PD_NOWARNING;
    if (a.Collate) flags |= PD_COLLATE;
    flags |= PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE;
    if (a.PrintRange == 1) flags |= PD_PAGENUMS;
    else if (a.PrintRange == 2) flags |= PD_SELECTION;
    flags &= ~(PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK | PD_ENABLEPRINTTEMPLATE | PD_ENABLESETUPTEMPLATE |
               PD_ENABLEPRINTTEMPLATEHANDLE | PD_ENABLESETUPTEMPLATEHANDLE);

    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = OwnerOf(a.Owner);
    pd.nFromPage = static_cast<WORD>(a.FromPage);
    pd.nToPage = static_cast<WORD>(a.ToPage);
    pd.nMinPage = 0;
    pd.nMaxPage = 0xFFFF;
    pd.nCopies = static_cast<WORD>(a.Copies);
    if (a.Hook) {
        if (flags & PD_PRINTSETUP) {
            flags |= PD_ENABLESETUPHOOK;
            pd.lpfnSetupHook = HookAddress(&mDialogHook::PrintSetupHookProc);
        } else {
            flags |= PD_ENABLEPRINTHOOK;
            pd.lpfnPrintHook = HookAddress(&mDialogHook::PrintDlgHookProc);
        }
    }
    pd.Flags = static_cast<DWORD>(flags);

    SystemCall call{SystemCall::Print};
    call.pd = &pd;
    BeginHook(a.Hook, a.EventSink);
    apiReturn_ = CallSystem(call);
    EndHook();
    if (!apiReturn_) {
        cMemory mode, names;  // whatever the system left is freed
        mode.SetHandle(pd.hDevMode);
        names.SetHandle(pd.hDevNames);
        return false;
    }
    a.hdc = pd.hDC;
    a.PrintRange = (pd.Flags & PD_PAGENUMS) ? 1 : (pd.Flags & PD_SELECTION) ? 2 : 0;
    a.FromPage = pd.nFromPage;
    a.ToPage = pd.nToPage;
    a.PrintToFile = (pd.Flags & PD_PRINTTOFILE) != 0;
    a.Collate = (pd.Flags & PD_COLLATE) != 0;
    a.Copies = pd.nCopies;
    TakePrinterSettings(pd.hDevMode, pd.hDevNames, printerSettings_, a.Printer);
    return true;
}

bool GCommonDialog::VBPageSetupDlg2(PageSetupArgs& a) {
    raised_ = {};
    int32_t flags = a.flags;
    if (a.DisableMargins) flags |= PSD_DISABLEMARGINS;
    if (a.DisableOrientation) flags |= PSD_DISABLEORIENTATION;
    if (a.DisablePaper) flags |= PSD_DISABLEPAPER;
    if (a.DisablePrinter) flags |= PSD_DISABLEPRINTER;
    const long scale = a.Units ? 100 : 1000;
    flags &= ~(PSD_INHUNDREDTHSOFMILLIMETERS | PSD_INTHOUSANDTHSOFINCHES);
    flags |= (a.Units ? PSD_INHUNDREDTHSOFMILLIMETERS : PSD_INTHOUSANDTHSOFINCHES) | PSD_MARGINS | PSD_MINMARGINS;
    flags &= ~(PSD_ENABLEPAGESETUPHOOK | PSD_ENABLEPAGESETUPTEMPLATE | PSD_ENABLEPAGESETUPTEMPLATEHANDLE |
               PSD_ENABLEPAGEPAINTHOOK);
    auto in = [scale](float v) { return static_cast<LONG>(std::lround(v * scale)); };
    auto out = [scale](LONG v) { return static_cast<float>(v) / scale; };

    PAGESETUPDLGA psd{};
    psd.lStructSize = sizeof psd;
    psd.hwndOwner = OwnerOf(a.Owner);
    psd.rtMargin = {in(a.LeftMargin), in(a.TopMargin), in(a.RightMargin), in(a.BottomMargin)};
    psd.rtMinMargin = {in(a.MinLeftMargin), in(a.MinTopMargin), in(a.MinRightMargin), in(a.MinBottomMargin)};
    if (a.Hook) {
        flags |= PSD_ENABLEPAGESETUPHOOK;
        psd.lpfnPageSetupHook = HookAddress(&mDialogHook::PageSetupHookProc);
    }
    psd.Flags = static_cast<DWORD>(flags);

    SystemCall call{SystemCall::PageSetup};
    call.psd = &psd;
    BeginHook(a.Hook, a.EventSink);
    apiReturn_ = CallSystem(call);
    EndHook();
    if (!apiReturn_) {
        cMemory mode, names;
        mode.SetHandle(psd.hDevMode);
        names.SetHandle(psd.hDevNames);
        return false;
    }
    a.LeftMargin = out(psd.rtMargin.left);
    a.TopMargin = out(psd.rtMargin.top);
    a.RightMargin = out(psd.rtMargin.right);
    a.BottomMargin = out(psd.rtMargin.bottom);
    a.MinLeftMargin = out(psd.rtMinMargin.left);
    a.MinTopMargin = out(psd.rtMinMargin.top);
    a.MinRightMargin = out(psd.rtMinMargin.right);
    a.MinBottomMargin = out(psd.rtMinMargin.bottom);
    TakePrinterSettings(psd.hDevMode, psd.hDevNames, printerSettings_, a.Printer);
    a.PaperSize = printerSettings_.dmPaperSize;
    a.Orientation = printerSettings_.dmOrientation;
    a.PrintQuality = printerSettings_.dmPrintQuality;
    return true;
}

bool GCommonDialog::VBPageSetupDlg(PageSetupWholeArgs& a) {
    PageSetupArgs f;
    f.Owner = a.Owner;
    f.DisableMargins = a.DisableMargins;
    f.DisableOrientation = a.DisableOrientation;
    f.DisablePaper = a.DisablePaper;
    f.DisablePrinter = a.DisablePrinter;
    f.LeftMargin = static_cast<float>(a.LeftMargin);
    f.MinLeftMargin = static_cast<float>(a.MinLeftMargin);
    f.RightMargin = static_cast<float>(a.RightMargin);
    f.MinRightMargin = static_cast<float>(a.MinRightMargin);
    f.TopMargin = static_cast<float>(a.TopMargin);
    f.MinTopMargin = static_cast<float>(a.MinTopMargin);
    f.BottomMargin = static_cast<float>(a.BottomMargin);
    f.MinBottomMargin = static_cast<float>(a.MinBottomMargin);
    f.PaperSize = a.PaperSize;
    f.Orientation = a.Orientation;
    f.PrintQuality = a.PrintQuality;
    f.Units = a.Units;
    f.Printer = a.Printer;
    f.flags = a.flags;
    f.Hook = a.Hook;
    f.EventSink = a.EventSink;
    if (!VBPageSetupDlg2(f)) return false;
    auto whole = [](float v) { return static_cast<int32_t>(std::lround(v)); };
    a.LeftMargin = whole(f.LeftMargin);
    a.MinLeftMargin = whole(f.MinLeftMargin);
    a.RightMargin = whole(f.RightMargin);
    a.MinRightMargin = whole(f.MinRightMargin);
    a.TopMargin = whole(f.TopMargin);
    a.MinTopMargin = whole(f.MinTopMargin);
    a.BottomMargin = whole(f.BottomMargin);
    a.MinBottomMargin = whole(f.MinBottomMargin);
    a.PaperSize = f.PaperSize;
    a.Orientation = f.Orientation;
    a.PrintQuality = f.PrintQuality;
    return true;
}
