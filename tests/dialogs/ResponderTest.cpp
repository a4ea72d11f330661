// The common dialog object through the responder of its layer: what each
// record receives, and what the object makes of the system's answers.
#include "dialogs/cCommonDialog.h"
#include "dialogs/mDialogHook.h"
#include "platform/Text.h"
#include "support/Fixture.h"

#include <cderr.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {
// A wide literal with the NULs it holds.
template <size_t N>
std::wstring W(const wchar_t (&s)[N]) {
    return std::wstring(s, N - 1);
}

using Call = GCommonDialog::SystemCall;

// The bytes of a double-NUL-ended list (a converted filter).
std::string ListBytes(const char* p) {
    std::string s;
    if (!p) return s;
    for (;;) {
        std::string part(p);
        s += part;
        s += '\0';
        p += part.size() + 1;
        if (part.empty()) break;
    }
    return s;
}

// What a file dialog record held when the system was called.
struct FileRecord {
    DWORD size = 0;
    HWND owner = nullptr;
    std::string filter;
    DWORD filterIndex = 0;
    DWORD maxFile = 0, maxTitle = 0;
    std::string file;
    bool initDirNone = true, titleNone = true, defExtNone = true;
    std::string initDir, title, defExt;
    DWORD flags = 0;
    bool hooked = false;
    GCommonDialog* target = nullptr;
};

FileRecord Capture(const OPENFILENAMEA& o) {
    FileRecord r;
    r.size = o.lStructSize;
    r.owner = o.hwndOwner;
    r.filter = ListBytes(o.lpstrFilter);
    r.filterIndex = o.nFilterIndex;
    r.maxFile = o.nMaxFile;
    r.maxTitle = o.nMaxFileTitle;
    r.file = o.lpstrFile;
    r.initDirNone = !o.lpstrInitialDir;
    r.titleNone = !o.lpstrTitle;
    r.defExtNone = !o.lpstrDefExt;
    if (o.lpstrInitialDir) r.initDir = o.lpstrInitialDir;
    if (o.lpstrTitle) r.title = o.lpstrTitle;
    if (o.lpstrDefExt) r.defExt = o.lpstrDefExt;
    r.flags = o.Flags;
    r.hooked = o.lpfnHook == &mDialogHook::FileDlgHookProc;
    r.target = mDialogHook::GetHookTarget();
    return r;
}

void PutBytes(char* buffer, const std::string& bytes) { std::memcpy(buffer, bytes.data(), bytes.size()); }

class ResponderTest : public QuorixTest {
protected:
    void TearDown() override {
        GCommonDialog::SetResponderForTests(nullptr);
        QuorixTest::TearDown();
    }
    // Every call the system would have had, answered by `answer` (cancel when empty).
    void Respond(std::function<BOOL(Call&)> answer = {}) {
        GCommonDialog::SetResponderForTests([this, answer](Call& c) {
            ++calls;
            if (c.ofn) files.push_back(Capture(*c.ofn));
            return answer ? answer(c) : FALSE;
        });
    }
    int calls = 0;
    std::vector<FileRecord> files;
};
}  // namespace

TEST_F(ResponderTest, FileDialogRecords) {
    const std::string kRegFilter = Ansi(W(L"注册表文件 (*.reg)\0*.reg\0\0"));
    struct Case {
        const char* name;
        bool open;
        std::function<void(cCommonDialog&)> set;
        std::function<void(const FileRecord&)> check;
    };
    const Case cases[] = {
        {"save dialog of the callers: flags 2 give 6, 260-byte buffers, empty texts as none", false,
         [](cCommonDialog& d) {
             d.flags = 2;
             d.Filter = L"注册表文件 (*.reg)|*.reg";
         },
         [&](const FileRecord& r) {
             EXPECT_EQ(sizeof(OPENFILENAMEA), r.size);
             EXPECT_EQ(6u, r.flags);
             EXPECT_EQ(kRegFilter, r.filter);
             EXPECT_EQ(1u, r.filterIndex);
             EXPECT_EQ(260u, r.maxFile);
             EXPECT_EQ(260u, r.maxTitle);
             EXPECT_TRUE(r.initDirNone && r.titleNone && r.defExtNone);
             EXPECT_EQ(nullptr, r.owner);
             EXPECT_FALSE(r.hooked);
         }},
        {"open for one file: &H1800", true, [](cCommonDialog& d) { d.flags = 0x1800; },
         [](const FileRecord& r) {
             EXPECT_EQ(0x1800u, r.flags);
             EXPECT_EQ(260u, r.maxFile);
         }},
        {"open for several files: &H81A00 and 8192-byte buffers", true, [](cCommonDialog& d) { d.flags = 0x81A00; },
         [](const FileRecord& r) {
             EXPECT_EQ(0x81A00u, r.flags);
             EXPECT_EQ(8192u, r.maxFile);
             EXPECT_EQ(8192u, r.maxTitle);
         }},
        {"hook and template bits never pass", true, [](cCommonDialog& d) { d.flags = 0x1860; },
         [](const FileRecord& r) { EXPECT_EQ(0x1800u, r.flags); }},
        {"open: FilterIndex 0 shows the first pair", true,
         [](cCommonDialog& d) {
             d.Filter = L"A|*.a|B|*.b";
             d.FilterIndex = 0;
         },
         [](const FileRecord& r) { EXPECT_EQ(1u, r.filterIndex); }},
        {"save: FilterIndex 0 passes unchanged", false,
         [](cCommonDialog& d) {
             d.Filter = L"A|*.a";
             d.FilterIndex = 0;
         },
         [](const FileRecord& r) { EXPECT_EQ(0u, r.filterIndex); }},
        {"a colon in a description cuts it in two", true, [](cCommonDialog& d) { d.Filter = L"文本: 说明|*.txt"; },
         [](const FileRecord& r) { EXPECT_EQ(Ansi(W(L"文本\0 说明\0*.txt\0\0")), r.filter); }},
        {"texts, start name and owner reach the record in the code page", false,
         [](cCommonDialog& d) {
             d.InitDir = L"C:\\技巧";
             d.DialogTitle = L"保存技巧";
             d.DefaultExt = L"upd";
             d.filename = L"新建.upd";
             d.hwnd = GetDesktopWindow();
         },
         [](const FileRecord& r) {
             EXPECT_EQ(Ansi(L"C:\\技巧"), r.initDir);
             EXPECT_EQ(Ansi(L"保存技巧"), r.title);
             EXPECT_EQ("upd", r.defExt);
             EXPECT_EQ(Ansi(L"新建.upd"), r.file);
             EXPECT_EQ(GetDesktopWindow(), r.owner);
         }},
        {"hwnd -1 means no owner", true, [](cCommonDialog& d) { d.hwnd = reinterpret_cast<HWND>(-1); },
         [](const FileRecord& r) { EXPECT_EQ(nullptr, r.owner); }},
        {"hooked: explorer and hook bits, our procedure, the slot set during the call", false,
         [](cCommonDialog& d) {
             d.flags = 2;
             d.HookDialog = true;
         },
         [](const FileRecord& r) {
             EXPECT_EQ(0x80026u, r.flags);
             EXPECT_TRUE(r.hooked);
             EXPECT_NE(nullptr, r.target);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        files.clear();
        Respond();
        cCommonDialog d;
        c.set(d);
        EXPECT_EQ(0, c.open ? d.ShowOpen() : d.ShowSave());
        ASSERT_EQ(1u, files.size());
        c.check(files[0]);
        EXPECT_EQ(nullptr, mDialogHook::GetHookTarget());
    }
}

TEST_F(ResponderTest, ChosenFileAndPair) {
    const std::wstring path = L"C:\\技巧\\导出文件.reg";
    Respond([&](Call& c) {
        PutBytes(c.ofn->lpstrFile, Ansi(path) + '\0');
        PutBytes(c.ofn->lpstrFileTitle, Ansi(L"导出文件.reg") + '\0');
        c.ofn->nFilterIndex = 3;
        c.ofn->Flags |= OFN_EXTENSIONDIFFERENT;
        return TRUE;
    });
    for (bool open : {true, false}) {
        SCOPED_TRACE(open ? "open" : "save");
        cCommonDialog d;
        d.CancelError = true;
        d.flags = open ? 0x1800 : 2;
        d.Filter = L"可执行文件|*.exe;*.com;*.bat|文本文件|*.txt|全部文件 (*.*)|*.*";
        EXPECT_EQ(0, open ? d.ShowOpen() : d.ShowSave());
        // The double-byte name comes back whole and without any NUL after it.
        EXPECT_EQ(path, d.filename);
        EXPECT_EQ(L"导出文件.reg", d.FileTitle);
        EXPECT_EQ(W(L"全部文件 (*.*)\0*.*"), d.Filter);
        EXPECT_EQ(3, d.FilterIndex);
        EXPECT_EQ(static_cast<int32_t>((open ? 0x1800 : 6) | OFN_EXTENSIONDIFFERENT), d.flags);
    }
}

TEST_F(ResponderTest, MultiSelectionAndItsSplitting) {
    std::string answer;
    Respond([&](Call& c) {
        PutBytes(c.ofn->lpstrFile, answer);
        return TRUE;
    });
    cCommonDialog d;
    d.flags = 0x81A00;
    answer = Ansi(W(L"C:\\技巧\0甲.upd\0乙.upd\0\0"));
    ASSERT_EQ(0, d.ShowOpen());
    EXPECT_EQ(8192u - 4, d.filename.size());  // the whole buffer; four double-byte characters
    std::wstring dir;
    std::vector<std::wstring> files;
    int32_t count = 0;
    d.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(L"C:\\技巧", dir);
    EXPECT_EQ((std::vector<std::wstring>{L"甲.upd", L"乙.upd"}), files);
    EXPECT_EQ(2, count);

    // One file chosen in a multiple-selection dialog: its full path, then NULs.
    cCommonDialog one;
    one.flags = 0x81A00;
    answer = std::string("C:\\data\\a.upd\0\0", 15);
    ASSERT_EQ(0, one.ShowOpen());
    EXPECT_EQ(8192u, one.filename.size());
    dir.clear();
    files.clear();
    count = 0;
    one.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(L"", dir);
    EXPECT_EQ(std::vector<std::wstring>{L"C:\\data\\a.upd"}, files);
    EXPECT_EQ(1, count);

    // Without any NUL: split at the last backslash, unless it is the first character.
    struct {
        const wchar_t* name;
        const wchar_t* dir;
        const wchar_t* file;
    } const plain[] = {{L"C:\\F\\N1", L"C:\\F", L"N1"}, {L"\\N1", L"", L"\\N1"}, {L"N1", L"", L"N1"}};
    for (const auto& p : plain) {
        cCommonDialog x;
        x.filename = p.name;
        dir = L"old";
        files = {L"a", L"b"};
        count = 5;
        x.ParseMultiFileName(dir, files, count);
        EXPECT_EQ(p.dir, dir);
        EXPECT_EQ(std::vector<std::wstring>{p.file}, files);
        EXPECT_EQ(1, count);
    }
}

TEST_F(ResponderTest, CancelAndFailureRaiseNothing) {
    for (bool open : {true, false}) {
        SCOPED_TRACE(open ? "open" : "save");
        for (DWORD code : {0ul, static_cast<unsigned long>(FNERR_INVALIDFILENAME)}) {
            Respond([code](Call& c) {
                c.extendedError = code;
                return FALSE;
            });
            cCommonDialog d;
            d.CancelError = true;
            d.filename = L"start.upd";
            d.FileTitle = L"start.upd";
            d.Filter = L"A|*.a";
            d.FilterIndex = 1;
            d.flags = open ? 0x1800 : 2;
            EXPECT_EQ(0, open ? d.ShowOpen() : d.ShowSave());
            EXPECT_EQ(L"", d.filename);
            EXPECT_EQ(L"", d.FileTitle);
            EXPECT_EQ(L"", d.Filter);
            EXPECT_EQ(0, d.flags);
            EXPECT_EQ(open ? -1 : 0, d.FilterIndex);
            EXPECT_EQ(code, d.Layer()->ExtendedError());
            EXPECT_EQ(0, d.Layer()->APIReturn());
        }
    }
}

TEST_F(ResponderTest, Errors5And6BeforeAnyDialog) {
    Respond();
    const std::wstring program = GCommonDialog::ProgramName();
    struct Case {
        const char* name;
        bool open;
        std::function<void(cCommonDialog&)> set;
        int32_t error;
    };
    const Case cases[] = {
        {"name of 260 bytes fits", true, [](cCommonDialog& d) { d.filename.assign(260, L'a'); }, 0},
        {"name of 261 bytes", true, [](cCommonDialog& d) { d.filename.assign(261, L'a'); }, 5},
        {"130 double-byte characters fit", false, [](cCommonDialog& d) { d.filename.assign(130, L'技'); }, 0},
        {"131 double-byte characters do not", false, [](cCommonDialog& d) { d.filename.assign(131, L'技'); }, 5},
        {"title of 261 bytes", false, [](cCommonDialog& d) { d.FileTitle.assign(261, L'a'); }, 5},
        {"several files: 8192 fit", true,
         [](cCommonDialog& d) {
             d.flags = 0x81A00;
             d.filename.assign(8192, L'a');
         },
         0},
        {"several files: 8193 do not", true,
         [](cCommonDialog& d) {
             d.flags = 0x81A00;
             d.filename.assign(8193, L'a');
         },
         5},
        {"filter of 32766 characters", true, [](cCommonDialog& d) { d.Filter.assign(32766, L'a'); }, 0},
        {"filter of 32767 characters, open", true, [](cCommonDialog& d) { d.Filter.assign(32767, L'a'); }, 6},
        {"filter of 32767 characters, save", false, [](cCommonDialog& d) { d.Filter.assign(32767, L'a'); }, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        calls = 0;
        cCommonDialog d;
        c.set(d);
        const std::wstring name = d.filename;
        EXPECT_EQ(c.error, c.open ? d.ShowOpen() : d.ShowSave());
        EXPECT_EQ(c.error ? 0 : 1, calls);
        EXPECT_EQ(c.error, d.LastError().number);
        if (c.error) {
            EXPECT_EQ(program + L".VBError", d.LastError().source);
            EXPECT_EQ(name, d.filename);  // nothing was touched
        }
    }
}

TEST_F(ResponderTest, ColourRecords) {
    CHOOSECOLORA seen{};
    COLORREF answer = 0;
    BOOL chosen = FALSE;
    Respond([&](Call& c) {
        seen = *c.cc;
        c.cc->rgbResult = answer;
        return chosen;
    });
    struct Case {
        const char* name;
        int32_t flags;
        int32_t color;
        bool hook;
        DWORD expectFlags;
        COLORREF expectStart;
    };
    const Case cases[] = {
        {"callers' flags 258: full open, any colour", 258, 0, false, 0x103, 0},
        {"flags 0: solid colours only", 0, 0, false, 0x81, 0},
        {"&H8000000F starts at system colour 15", 258, static_cast<int32_t>(0x8000000F), false, 0x103,
         GetSysColor(15)},
        {"an untranslatable colour starts at -1", 0, static_cast<int32_t>(0x800000FF), false, 0x81, 0xFFFFFFFF},
        {"other bits of flags do not pass; hooked adds &H10", 0x100 | 0x40 | 0x20, 0x123456, true, 0x111, 0x123456},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cCommonDialog d;
        d.flags = c.flags;
        d.Color = c.color;
        d.HookDialog = c.hook;
        chosen = FALSE;
        d.ShowColor();
        EXPECT_EQ(sizeof(CHOOSECOLORA), seen.lStructSize);
        EXPECT_EQ(c.expectFlags, seen.Flags);
        EXPECT_EQ(c.expectStart, seen.rgbResult);
        EXPECT_EQ(c.hook, seen.lpfnHook == &mDialogHook::ColorDlgHookProc);
        EXPECT_EQ(c.color, d.Color);  // a cancel leaves it
        chosen = TRUE;
        answer = RGB(18, 52, 86);
        d.ShowColor();
        EXPECT_EQ(static_cast<int32_t>(RGB(18, 52, 86)), d.Color);
    }
}

TEST_F(ResponderTest, CustomColoursIndicesAndKeptBetweenDialogs) {
    cCommonDialog fresh;
    EXPECT_EQ(static_cast<int32_t>(GetSysColor(0)), fresh.CustomColor(0));
    EXPECT_EQ(static_cast<int32_t>(GetSysColor(15)), fresh.CustomColor(15));
    for (int16_t outside : {int16_t(16), int16_t(-1)}) {
        fresh.SetCustomColor(outside, 0x123456);
        EXPECT_EQ(-1, fresh.CustomColor(outside));
    }

    std::vector<std::vector<COLORREF>> offered;
    Respond([&](Call& c) {
        offered.emplace_back(c.cc->lpCustColors, c.cc->lpCustColors + 16);
        if (offered.size() == 1) c.cc->lpCustColors[5] = RGB(1, 2, 3);  // the user defines one
        return TRUE;
    });
    cCommonDialog d;
    d.flags = 258;
    d.SetCustomColor(2, 0x00ABCDEF);
    d.ShowColor();
    d.ShowColor();
    ASSERT_EQ(2u, offered.size());
    EXPECT_EQ(0x00ABCDEFu, offered[0][2]);
    EXPECT_EQ(RGB(1, 2, 3), offered[1][5]);
    EXPECT_EQ(0x00ABCDEFu, offered[1][2]);
    EXPECT_EQ(static_cast<int32_t>(RGB(1, 2, 3)), d.CustomColor(5));
    // Another object starts from the system colours again.
    cCommonDialog other;
    EXPECT_EQ(static_cast<int32_t>(GetSysColor(5)), other.CustomColor(5));
}

TEST_F(ResponderTest, FontRecords) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(96, dpi) << "the heights below are those of 15 twips a pixel";

    CHOOSEFONTA seen{};
    LOGFONTA seenLf{};
    Respond([&](Call& c) {
        seen = *c.cf;
        seenLf = *c.cf->lpLogFont;
        return FALSE;
    });

    // A new object, cancelled: screen fonts, from the new font object; flags adjusted.
    {
        cCommonDialog d;
        d.CancelError = true;
        d.ShowFont();
        EXPECT_EQ(0x41, d.flags);
        EXPECT_EQ(0x41u, seen.Flags);
        EXPECT_EQ(sizeof(CHOOSEFONTA), seen.lStructSize);
        EXPECT_EQ(StdFont::New().Name, d.FontName());
        EXPECT_EQ(Ansi(StdFont::New().Name), std::string(seenLf.lfFaceName));
        EXPECT_EQ(nullptr, seen.hDC);
    }

    struct Case {
        const char* name;
        double size;
        LONG height;
        INT pointSize;
    };
    const Case sizes[] = {
        {"9 points", 9, -12, 90},        {"10.5 points", 10.5, -14, 105},
        {"halves to even (2.5)", 1.875, -2, 19},  {"halves to even (7.5)", 5.625, -8, 56},
        {"102.5 tenths to even", 10.25, -14, 102}, {"103.5 tenths to even", 10.35, -14, 104},
    };
    for (const Case& c : sizes) {
        SCOPED_TRACE(c.name);
        cCommonDialog d;
        d.Font()->Size = c.size;
        d.ShowFont();
        EXPECT_EQ(c.height, seenLf.lfHeight);
        EXPECT_EQ(c.pointSize, seen.iPointSize);
    }

    struct Flags {
        const char* name;
        std::function<void(cCommonDialog&)> set;
        DWORD flags;
    };
    const Flags words[] = {
        {"a font colour offers the effects", [](cCommonDialog& d) { d.FontColor = RGB(255, 0, 0); }, 0x141},
        {"Min gives size limits", [](cCommonDialog& d) { d.Min = 8; }, 0x2041},
        {"Max gives size limits", [](cCommonDialog& d) { d.Max = 20; }, 0x2041},
        {"apply, template and hook bits never pass", [](cCommonDialog& d) { d.flags = 0x218; }, 0x41},
        {"hooked: &H8 for the dialog only", [](cCommonDialog& d) { d.HookDialog = true; }, 0x49},
    };
    for (const Flags& w : words) {
        SCOPED_TRACE(w.name);
        cCommonDialog d;
        w.set(d);
        d.SetFontBold(true);
        d.SetFontItalic(true);
        d.ShowFont();
        EXPECT_EQ(w.flags, seen.Flags);
        EXPECT_EQ(static_cast<COLORREF>(d.FontColor), seen.rgbColors);
        EXPECT_EQ(d.Min, seen.nSizeMin);
        EXPECT_EQ(d.Max, seen.nSizeMax);
        EXPECT_EQ(FW_BOLD, seenLf.lfWeight);
        EXPECT_EQ(0xFF, seenLf.lfItalic);
        EXPECT_EQ(0, seenLf.lfUnderline);
        EXPECT_EQ(w.flags & ~static_cast<DWORD>(CF_ENABLEHOOK), static_cast<DWORD>(d.flags));
    }
}

TEST_F(ResponderTest, FontChosenIsWrittenIntoTheSharedObject) {
    Respond([](Call& c) {
        c.cf->iPointSize = 105;
        std::memset(c.cf->lpLogFont->lfFaceName, 0, LF_FACESIZE);
        PutBytes(c.cf->lpLogFont->lfFaceName, Ansi(L"宋体"));
        c.cf->lpLogFont->lfWeight = FW_BOLD;
        c.cf->lpLogFont->lfItalic = 1;
        c.cf->lpLogFont->lfUnderline = 1;
        c.cf->lpLogFont->lfStrikeOut = 0;
        c.cf->nFontType = BOLD_FONTTYPE | SCREEN_FONTTYPE;
        c.cf->rgbColors = RGB(0, 0, 255);
        c.cf->Flags |= 0x10000000;
        return TRUE;
    });
    auto mine = std::make_shared<StdFont>();
    mine->Name = L"Tahoma";
    mine->Size = 9;
    cCommonDialog d;
    d.SetFont(mine);
    d.FontColor = RGB(255, 0, 0);
    d.ShowFont();
    EXPECT_EQ(L"宋体", mine->Name);
    EXPECT_DOUBLE_EQ(10.5, mine->Size);
    EXPECT_EQ(10, d.FontSize());  // halves to even
    EXPECT_TRUE(d.FontBold());
    EXPECT_TRUE(d.FontItalic());
    EXPECT_TRUE(d.FontUnderline());
    EXPECT_FALSE(d.FontStrikethru());
    EXPECT_EQ(FW_BOLD, mine->Weight);
    EXPECT_EQ(static_cast<int32_t>(RGB(0, 0, 255)), d.FontColor);
    EXPECT_EQ(0x10000141, d.flags);
    mine->Size = 11.5;
    EXPECT_EQ(12, d.FontSize());
}

TEST_F(ResponderTest, PrintDialogRecordAndPrinterSettings) {
    PRINTDLGA seen{};
    BOOL chosen = FALSE;
    Respond([&](Call& c) {
        seen = *c.pd;
        if (!chosen) return FALSE;
        // The system's answer: pages 2 to 5, 3 copies and the printer settings.
        HGLOBAL mode = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DEVMODEA));
        auto* dm = static_cast<DEVMODEA*>(GlobalLock(mode));
        dm->dmSize = sizeof(DEVMODEA);
        dm->dmFields = DM_COPIES | DM_ORIENTATION | DM_PAPERSIZE | DM_PRINTQUALITY;
        dm->dmCopies = 3;
        dm->dmOrientation = DMORIENT_LANDSCAPE;
        dm->dmPaperSize = DMPAPER_LETTER;
        dm->dmPrintQuality = 600;
        GlobalUnlock(mode);
        c.pd->hDevMode = mode;
        c.pd->nFromPage = 2;
        c.pd->nToPage = 5;
        c.pd->nCopies = 3;
        c.pd->hDC = CreateCompatibleDC(nullptr);
        return TRUE;
    });
    cCommonDialog d;
    d.flags = PD_PAGENUMS | PD_COLLATE;
    d.FromPage = 1;
    d.ToPage = 9;
    d.Copies = 1;
    d.HookDialog = true;
    d.Object = std::make_shared<PrinterObject>();
    d.ShowPrinter();
    EXPECT_EQ(sizeof(PRINTDLGA), seen.lStructSize);
    EXPECT_EQ(static_cast<DWORD>(PD_PAGENUMS | PD_COLLATE | PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE |
                                 PD_ENABLEPRINTHOOK),
              seen.Flags);
    EXPECT_EQ(&mDialogHook::PrintDlgHookProc, seen.lpfnPrintHook);
    EXPECT_EQ(1, seen.nFromPage);
    EXPECT_EQ(9, seen.nToPage);
    EXPECT_EQ(1, d.FromPage);  // cancelled: kept
    EXPECT_EQ(nullptr, d.PrinterDC());

    chosen = TRUE;
    d.HookDialog = false;
    d.flags = 0;
    d.ShowPrinter();
    EXPECT_EQ(static_cast<DWORD>(PD_NOPAGENUMS | PD_RETURNDC | PD_USEDEVMODECOPIESANDCOLLATE), seen.Flags);
    EXPECT_EQ(2, d.FromPage);
    EXPECT_EQ(5, d.ToPage);
    EXPECT_EQ(3, d.Copies);
    EXPECT_NE(nullptr, d.PrinterDC());
    EXPECT_EQ(3, d.Object->Copies);
    EXPECT_EQ(DMORIENT_LANDSCAPE, d.Object->Orientation);
    EXPECT_EQ(DMPAPER_LETTER, d.Object->PaperSize);
    EXPECT_EQ(600, d.Object->PrintQuality);
    EXPECT_EQ(600, d.Layer()->GetRecordCopy().dmPrintQuality);
}

TEST_F(ResponderTest, PageSetupScalesTheMarginsByUnit) {
    PAGESETUPDLGA seen{};
    Respond([&](Call& c) {
        seen = *c.psd;
        c.psd->rtMargin.left = 2540;  // the system's answer, in the units asked for
        return TRUE;
    });
    GCommonDialog g;
    GCommonDialog::PageSetupArgs mm;
    mm.Units = 1;
    mm.LeftMargin = 12.5f;
    mm.MinTopMargin = 3;
    mm.DisablePrinter = true;
    mm.flags = PSD_ENABLEPAGESETUPTEMPLATE;
    ASSERT_TRUE(g.VBPageSetupDlg2(mm));
    EXPECT_EQ(sizeof(PAGESETUPDLGA), seen.lStructSize);
    EXPECT_EQ(1250, seen.rtMargin.left);
    EXPECT_EQ(300, seen.rtMinMargin.top);
    EXPECT_EQ(static_cast<DWORD>(PSD_INHUNDREDTHSOFMILLIMETERS | PSD_MARGINS | PSD_MINMARGINS | PSD_DISABLEPRINTER),
              seen.Flags);
    EXPECT_FLOAT_EQ(25.4f, mm.LeftMargin);

    GCommonDialog::PageSetupWholeArgs inches;
    inches.LeftMargin = 1;
    inches.Hook = true;
    ASSERT_TRUE(g.VBPageSetupDlg(inches));
    EXPECT_EQ(1000, seen.rtMargin.left);
    EXPECT_EQ(static_cast<DWORD>(PSD_INTHOUSANDTHSOFINCHES | PSD_MARGINS | PSD_MINMARGINS | PSD_ENABLEPAGESETUPHOOK),
              seen.Flags);
    EXPECT_EQ(&mDialogHook::PageSetupHookProc, seen.lpfnPageSetupHook);
    EXPECT_EQ(3, inches.LeftMargin);  // 2.54 inches, rounded
}
