#pragma once
// The common dialog object: a window asks the user for a file, a colour or a
// font through a fresh object per question. It sets the properties, calls one
// Show method (which returns once the modal system dialog has closed), reads
// `filename`, `Color` or `FontName`, and lets the object go.
//
// A cancel raises nothing, whatever CancelError holds: a cancelled file dialog
// leaves `filename` empty, a cancelled colour dialog leaves `Color` as it was.
// ShowOpen and ShowSave refuse, before any dialog, a start name or title too
// long for its buffer (error 5) and a filter of 32767 characters or more
// (error 6); ShowHelp refuses two commands and reports a failed call. Those
// return the error number (0: none) and leave it in LastError.
//
// Texts are UTF-16 here; GCommonDialog hands them to the A functions in the
// code page.
#include "dialogs/GCommonDialog.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class cCommonDialog {
public:
    using Error = GCommonDialog::Error;

    cCommonDialog();   // FilterIndex 1, everything else zero, empty, false or none
    ~cCommonDialog();  // releases the GCommonDialog and the last print dialog's context
    cCommonDialog(const cCommonDialog&) = delete;
    cCommonDialog& operator=(const cCommonDialog&) = delete;

    // Splits `filename` after an open dialog into the folder and the chosen
    // names. sFiles is 1-based in meaning: sFiles[0] is the first name;
    // iFileCount counts on from the value passed (callers pass 0 and "").
    void ParseMultiFileName(std::wstring& sDir, std::vector<std::wstring>& sFiles, int32_t& iFileCount) const;

    // ---- events of a hooked dialog (HookDialog true) ----
    std::function<void(HWND hDlg)> OnInitDialog, OnFileChange, OnFolderChange, OnTypeChange;
    std::function<void(bool& bCancel)> OnConfirmOK;  // set bCancel to refuse the OK
    std::function<void()> OnDialogClose;
    // The relays GCommonDialog::DialogHook calls: each raises its event.
    LRESULT InitDialog(HWND hDlg);
    LRESULT FileChange(HWND hDlg);
    LRESULT FolderChange(HWND hDlg);
    LRESULT TypeChange(HWND hDlg);
    void DialogClose();
    // True unless the handler refused the OK.
    bool ConfirmOK();

    // Moves the dialog window (the parent of hDlg while the last dialog is a
    // file dialog, whose hook gets a child) to the centre of `centreTo`, or of
    // the desktop work area when it is nullptr, or of the screen when the work
    // area cannot be had. The window keeps its size.
    void CentreDialog(HWND hDlg, HWND centreTo);
    // The same window's left, top, width and height in pixels.
    void GetDialogSize(HWND hDlg, int32_t& lL, int32_t& lT, int32_t& lW, int32_t& lH) const;
    // Places the help viewer's window (WinHelpA with HELP_SETWINPOS).
    void SetHelpPosition(int32_t x, int32_t Y, int32_t dx, int32_t dy, int32_t eWindowType);

    // ---- properties ----
    bool CancelError = false;   // kept only
    std::wstring filename;      // in: start name; out: the choice, "" after a cancel
    std::wstring Filter;        // in: "desc|pattern|..." (":" separates too); out: the chosen pair
    int32_t FilterIndex = 1;    // in: 1-based start pair; out: the pair chosen, -1/0 after a cancel
    int32_t Color = 0;          // colour dialog
    int32_t Copies = 0;         // print dialog
    std::wstring DefaultExt;    // added to a name typed without extension ("" none)
    std::wstring DialogTitle;   // file dialogs' title ("" the system's own)
    int32_t flags = 0;          // the dialog's flag word in the system's bits; out as returned
    int32_t FontColor = 0;
    int32_t FromPage = 0;
    HWND hwnd = nullptr;        // owner of every dialog; nullptr and (HWND)-1 mean none
    int32_t HelpCommand = 0;
    std::wstring HelpContext;   // a number held as text
    std::wstring HelpFile;
    std::wstring HelpKey;       // kept only
    std::wstring InitDir;       // the file dialogs' start folder
    int32_t Max = 0;            // font size limits (0 and 0: none)
    int32_t MaxFileSize = 0;    // kept only: the buffers have fixed sizes
    int32_t Min = 0;
    std::shared_ptr<PrinterObject> Object;  // the printer object of the print dialog
    bool PrinterDefault = false;  // kept only
    int32_t ToPage = 0;
    std::wstring FileTitle;     // out: the chosen name without folder (single choice)
    bool HookDialog = false;    // true: the Show methods hook their dialogs

    // Font properties: each creates the font object when it is missing.
    bool FontBold();
    void SetFontBold(bool v);  // also sets the weight (700 or 400)
    bool FontItalic();
    void SetFontItalic(bool v);
    std::wstring FontName();
    void SetFontName(const std::wstring& v);
    int32_t FontSize();        // the size to a whole number, halves to even
    void SetFontSize(int32_t v);
    bool FontStrikethru();
    void SetFontStrikethru(bool v);
    bool FontUnderline();
    void SetFontUnderline(bool v);
    // The font object itself; setting it shares the caller's object, so
    // ShowFont then edits that one.
    std::shared_ptr<StdFont> Font();
    void SetFont(std::shared_ptr<StdFont> font);

    // The 16 custom colours of the colour dialogs (index 0 to 15; outside: -1,
    // writes ignored).
    int32_t CustomColor(int16_t index);
    void SetCustomColor(int16_t index, int32_t value);

    // ---- the dialogs ----
    int32_t ShowOpen();
    int32_t ShowSave();
    void ShowColor();
    void ShowFont();
    void ShowPrinter();
    int32_t ShowHelp();

    const Error& LastError() const { return lastError_; }
    // The device context of the last print dialog chosen (the object owns it).
    HDC PrinterDC() const { return printerDC_; }
    // The layer under the object (nullptr until a Show method or CustomColor made it).
    GCommonDialog* Layer() const { return dlg_.get(); }

private:
    GCommonDialog& Dialog();
    StdFont& FontObject();
    int32_t Fail(const Error& e);
    int32_t RunFileDialog(bool save);
    HWND DialogWindow(HWND hDlg) const;

    static std::wstring ApiErrorText(DWORD code);
    static std::wstring LastDllErrorText();
    static bool FlagSet(int32_t word, int32_t mask) { return (word & mask) == mask; }
    static int32_t TranslateColor(int32_t color, HPALETTE palette = nullptr);

    std::unique_ptr<GCommonDialog> dlg_;
    std::shared_ptr<StdFont> font_;
    bool fileDialog_ = false;  // the last dialog was an open or save dialog
    HDC printerDC_ = nullptr;
    Error lastError_;
};
