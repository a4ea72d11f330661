#pragma once
// The layer under cCommonDialog: fills the system's dialog records (the ANSI
// variants, at this build's record sizes) from the values it is handed, calls
// the system dialog and turns the record back into results. Texts are UTF-16
// here and go to the records in the ANSI code page (platform/Text).
//
// Only cCommonDialog creates and calls it; the shell's folder browser, which
// keeps no state, is a static call of its own (BrowseForFolder). A result of false means the user
// cancelled or the dialog failed (ExtendedError tells which), or, when
// Raised().number is not 0, that an argument was refused before any dialog.
//
// Test seam: a responder set by a test answers in place of the system dialog.
// It gets the record as filled (texts already in the code page) and answers in
// it as the system would; its result is the system function's result.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class cCommonDialog;

// The font object behind the font properties: face, size in points (kept to
// four decimals), styles and weight.
struct StdFont {
    std::wstring Name;
    double Size = 0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    int32_t Weight = FW_NORMAL;

    // A new font object: the system's default interface face and size.
    static StdFont New();
};

// Printer settings that the print and page-setup dialogs set (cCommonDialog's
// `Object`).
struct PrinterObject {
    int32_t Copies = 1;
    int32_t Orientation = DMORIENT_PORTRAIT;
    int32_t PaperSize = DMPAPER_A4;
    int32_t PrintQuality = 0;
};

class GCommonDialog {
public:
    // An error raised to the caller (number 0: none), as the runtime would.
    struct Error {
        int32_t number = 0;
        std::wstring source;
        std::wstring description;
    };

    GCommonDialog() = default;  // Class_Initialize: nothing to do
    GCommonDialog(const GCommonDialog&) = delete;
    GCommonDialog& operator=(const GCommonDialog&) = delete;

    // Relays a hooked dialog's message to the event sink of the running dialog
    // (see mDialogHook): WM_INITDIALOG, WM_NCDESTROY and the file dialog's
    // notifications. A refused CDN_FILEOK stores 1 as the dialog's result and
    // answers 1, so the dialog stays open. Anything else, or no sink: 0.
    LRESULT DialogHook(HWND hDlg, UINT msg, WPARAM wParam, LPARAM lParam);

    // The last system dialog function's result, and after a zero result the
    // system's extended error (CommDlgExtendedError; 0 when the user cancelled).
    int32_t APIReturn() const { return apiReturn_; }
    DWORD ExtendedError() const { return extendedError_; }
    // What the last call raised before any dialog (number 0 when nothing).
    const Error& Raised() const { return raised_; }

    // In and out of the file dialogs. The Show methods copy their properties
    // in and the results back out.
    struct FileArgs {
        std::wstring filename;   // in: start name; out: the choice, empty after a cancel
        std::wstring FileTitle;  // in: start title; out: the name alone (single choice)
        bool FileMustExist = false;  // open only
        bool MultiSelect = false;    // open only
        bool ReadOnly = false;       // open only
        bool HideReadOnly = false;   // open only
        bool OverWritePrompt = false;  // save only
        std::wstring Filter;     // in: "desc|pattern|..."; out: the chosen "desc\0pattern"
        int32_t FilterIndex = 1; // in: 1-based pair shown first; out: the pair chosen
        std::wstring InitDir;    // empty: the system's own start folder
        std::wstring DlgTitle;   // empty: the system's own title
        std::wstring DefaultExt; // empty: no extension added
        HWND Owner = nullptr;    // nullptr or (HWND)-1: no owner
        int32_t flags = 0;       // in: OFN_ bits; out: the returned flag word
        bool Hook = false;
        cCommonDialog* EventSink = nullptr;
    };
    // Buffers: 8192 code-page bytes for the file name and the title when the
    // flag word allows several files, else 260. A start name or title longer
    // than its buffer raises 5, a filter of 32767 characters or more raises 6.
    bool VBGetOpenFileName(FileArgs& a);
    bool VBGetSaveFileName(FileArgs& a);
    // The file title the system gives for a path (GetFileTitleA); empty when
    // the call fails.
    std::wstring VBGetFileTitle(const std::wstring& sFile) const;

    // `Color` in: the start colour; out: the chosen colour, -1 after a zero
    // result. `flags` is not read: the switches make the dialog's flag word.
    bool VBChooseColor(int32_t& Color, bool AnyColor, bool FullOpen, bool DisableFullOpen, HWND Owner,
                       int32_t flags, bool Hook, cCommonDialog* EventSink);
    // The 16 custom colours the colour dialogs of this object share, filled
    // with the system colours 0 to 15 on first use. Outside 0 to 15: reads -1,
    // writes are ignored.
    int32_t CustomColor(int16_t index);
    void SetCustomColor(int16_t index, int32_t value);

    // No printer device context handed to VBChooseFont.
    static inline const HDC kNoPrinterDC = reinterpret_cast<HDC>(static_cast<intptr_t>(-1));
    // `flags` is adjusted before the dialog opens and holds the returned flag
    // word after a choice; `Color` the chosen colour. A choice is written into
    // `CurFont`; a zero result leaves it as it was.
    bool VBChooseFont(StdFont& CurFont, HDC PrinterDC, HWND Owner, int32_t& Color, int32_t MinSize, int32_t MaxSize,
                      int32_t& flags, bool Hook, cCommonDialog* EventSink);

    struct PrintArgs {
        HDC hdc = nullptr;         // out: the printer device context (the caller owns it)
        int32_t PrintRange = 0;    // in/out: 0 all, 1 pages, 2 selection
        bool DisablePageNumbers = false;
        int32_t FromPage = 0, ToPage = 0;
        bool DisableSelection = false;
        int32_t Copies = 0;
        bool ShowPrintToFile = true, DisablePrintToFile = false, PrintToFile = false;
        bool Collate = false, PreventWarning = false;
        HWND Owner = nullptr;
        PrinterObject* Printer = nullptr;
        int32_t flags = 0;
        bool Hook = false;
        cCommonDialog* EventSink = nullptr;
    };
    bool VBPrintDlg(PrintArgs& a);

    template <class Margin>
    struct PageSetupArgsT {
        HWND Owner = nullptr;
        bool DisableMargins = false, DisableOrientation = false, DisablePaper = false, DisablePrinter = false;
        Margin LeftMargin{}, MinLeftMargin{}, RightMargin{}, MinRightMargin{};
        Margin TopMargin{}, MinTopMargin{}, BottomMargin{}, MinBottomMargin{};
        int32_t PaperSize = 0, Orientation = 0, PrintQuality = 0;
        int32_t Units = 0;  // not 0: millimetres, else inches
        PrinterObject* Printer = nullptr;
        int32_t flags = 0;
        bool Hook = false;
        cCommonDialog* EventSink = nullptr;
    };
    using PageSetupArgs = PageSetupArgsT<float>;
    using PageSetupWholeArgs = PageSetupArgsT<int32_t>;
    bool VBPageSetupDlg2(PageSetupArgs& a);
    bool VBPageSetupDlg(PageSetupWholeArgs& a);

    // The shell's folder browser (SHBrowseForFolderW) owned by `Owner`, with
    // `prompt` above the tree, rooted at the desktop and with no flags, so any
    // item can be picked. True with the picked item's file-system path in
    // `path`; false after a cancel or for an item that has no path (the
    // computer, the network), leaving `path` as it was.
    static bool BrowseForFolder(HWND Owner, const std::wstring& prompt, std::wstring& path);

    // A copy of the printer settings the last print or page-setup dialog chose.
    DEVMODEA GetRecordCopy() const { return printerSettings_; }

    // ---- test seam ----
    struct SystemCall {
        enum Kind { Open, Save, Color, Font, Print, PageSetup, Folder } kind;
        OPENFILENAMEA* ofn = nullptr;
        CHOOSECOLORA* cc = nullptr;
        CHOOSEFONTA* cf = nullptr;
        PRINTDLGA* pd = nullptr;
        PAGESETUPDLGA* psd = nullptr;
        // The folder browser: the record as filled, and the item picked (an ID
        // list the shell allocated; the caller frees it). Answer TRUE with an
        // item, FALSE for a cancel.
        BROWSEINFOW* bi = nullptr;
        PIDLIST_ABSOLUTE picked = nullptr;
        DWORD extendedError = 0;  // what CommDlgExtendedError gives after a zero answer
    };
    using Responder = std::function<BOOL(SystemCall&)>;
    // While set, no system dialog is shown: the responder answers.
    static void SetResponderForTests(Responder responder);

    // The error `number` as this layer raises it: up to 1000 a runtime error
    // (source: the program's name and ".VBError"); above, a dialog error with
    // the facility bits &H80040000 (source: the program's name and ".CommonDialog").
    static Error RaiseDlgError(int32_t number, const std::wstring& description);
    // The program's file name without folder and extension.
    static std::wstring ProgramName();

private:
    static BOOL CallSystem(SystemCall& call, DWORD& extendedError);
    BOOL CallSystem(SystemCall& call) { return CallSystem(call, extendedError_); }
    bool FileDialog(FileArgs& a, int32_t flags, bool open);
    void InitCustomColors();
    void BeginHook(bool hook, cCommonDialog* sink);
    void EndHook();

    static std::wstring StrZToStr(const std::string& bytes);
    static std::wstring FilterLookup(const std::wstring& converted, int32_t n);
    static std::string StrToBytes(const std::wstring& text);
    static std::wstring BytesToStr(const char* bytes, size_t size);
    static int32_t DlgErrorCode(int32_t number) { return static_cast<int32_t>(0x80040000u | static_cast<uint32_t>(number)); }
    template <class T>
    static bool IsArrayEmpty(const std::vector<T>& a) { return a.empty(); }
    template <class Proc>
    static auto HookAddress(Proc proc) { return proc; }

    int32_t apiReturn_ = 0;
    DWORD extendedError_ = 0;
    Error raised_;
    COLORREF customColors_[16] = {};
    bool customColorsFilled_ = false;
    cCommonDialog* sink_ = nullptr;
    DEVMODEA printerSettings_{};
};
