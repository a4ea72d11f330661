#pragma once
// The floor of loading tips into a list, in the benchmark's own process: the
// section and its mirror read whole (one GetPrivateProfileSectionA each), then a
// bare, visible report-view list view with five columns, check boxes and
// sub-item images filled with one row per tip (the name and four cells cut
// from the record at its field marks), redraw off while it fills, the columns
// fitted to their contents when asked, drawn once.
#include "BenchClock.h"
#include "platform/Text.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

class BenchFloor {
public:
    BenchFloor() {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        window_ = CreateWindowExW(0, L"STATIC", L"floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
        list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 680, 460,
                                window_, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                     LVS_EX_CHECKBOXES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT);
        for (int c = 0; c < 5; ++c) {
            LVCOLUMNW col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH;
            col.pszText = const_cast<wchar_t*>(L"column");
            col.cx = 120;
            SendMessageW(list_, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
        }
    }
    ~BenchFloor() { DestroyWindow(window_); }
    BenchFloor(const BenchFloor&) = delete;
    BenchFloor& operator=(const BenchFloor&) = delete;

    // The mirror section's name in the code page's bytes: FieldMark, the name, FieldMark.
    static std::string MirrorOf(const std::string& section) {
        std::string m(1, '\xFF');
        m.append(section);
        m.push_back('\xFF');
        return m;
    }

    static std::string ReadSection(const std::string& section, const std::string& file) {
        std::string buf(1 << 16, '\0');
        for (;;) {
            DWORD n = GetPrivateProfileSectionA(section.c_str(), buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
            if (n < buf.size() - 2) {
                buf.resize(n);
                return buf;
            }
            buf.assign(buf.size() * 4, '\0');
        }
    }

    // Reads `section` of `file` and its mirror and fills the list; the rows made.
    int Load(const std::wstring& file, const std::wstring& section, bool fit) {
        const std::string f = Text::ToAnsi(file), s = Text::ToAnsi(section);
        const std::string data = ReadSection(s, f);
        const std::string mirror = ReadSection(MirrorOf(s), f);
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
        int count = 0;
        for (size_t p = 0; p < data.size() && data[p];) {
            size_t e = data.find('\0', p);
            if (e == std::string::npos) e = data.size();
            const std::string line = data.substr(p, e - p);
            const size_t eq = line.find('=');
            std::wstring name = Text::FromAnsi(line.substr(0, eq));
            LVITEMW it{};
            it.mask = LVIF_TEXT | LVIF_IMAGE;
            it.iItem = count;
            it.pszText = name.data();
            const int index = static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
            size_t at = eq + 1;
            for (int sub = 1; sub <= 4; ++sub) {
                size_t mark = line.find('\xFF', at);
                if (mark == std::string::npos) mark = line.size();
                std::wstring cell = Text::FromAnsi(line.substr(at, mark - at));
                at = mark < line.size() ? mark + 1 : mark;
                LVITEMW st{};
                st.iSubItem = sub;
                st.pszText = cell.data();
                SendMessageW(list_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&st));
            }
            ++count;
            p = e + 1;
        }
        if (fit)
            for (int c = 0; c < 5; ++c) SendMessageW(list_, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
        UpdateWindow(list_);
        return count + 0 * static_cast<int>(mirror.size());
    }

    // Fills the list with these rows (each the row's text and its cells), redraw
    // off, the columns used fitted when asked, drawn once.
    void Fill(const std::vector<std::vector<std::wstring>>& rows, bool fit) {
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
        int index = 0;
        for (const auto& cells : rows) {
            LVITEMW it{};
            it.mask = LVIF_TEXT;
            it.iItem = index;
            it.pszText = const_cast<wchar_t*>(cells.empty() ? L"" : cells[0].c_str());
            const int at = static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
            for (size_t c = 1; c < cells.size() && c < 5; ++c) {
                LVITEMW st{};
                st.iSubItem = static_cast<int>(c);
                st.pszText = const_cast<wchar_t*>(cells[c].c_str());
                SendMessageW(list_, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&st));
            }
            ++index;
        }
        const int columns = rows.empty() ? 0 : static_cast<int>(std::min<size_t>(rows.front().size(), 5));
        if (fit)
            for (int c = 0; c < columns; ++c) SendMessageW(list_, LVM_SETCOLUMNWIDTH, c, LVSCW_AUTOSIZE_USEHEADER);
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
        UpdateWindow(list_);
    }

    // Removes the first `n` rows, redraw off, and draws the list once.
    void RemoveFirst(int n) {
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        for (int i = n; i-- > 0;) SendMessageW(list_, LVM_DELETEITEM, i, 0);
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
        UpdateWindow(list_);
    }

    // Reads every row's text back, upper-cases it and looks for `text`;
    // scrolls to the last match and marks the list for redrawing. The seconds.
    double TimeSearch(const std::wstring& text) {
        const double t0 = Seconds();
        const int n = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
        wchar_t buf[260];
        int last = -1;
        for (int i = 0; i < n; ++i) {
            LVITEMW it{};
            it.pszText = buf;
            it.cchTextMax = 260;
            SendMessageW(list_, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&it));
            CharUpperW(buf);
            if (wcsstr(buf, text.c_str())) last = i;
        }
        if (last >= 0) SendMessageW(list_, LVM_ENSUREVISIBLE, last, FALSE);
        InvalidateRect(list_, nullptr, TRUE);  // painted later, as the program's list is
        return Seconds() - t0;
    }

    // The seconds of one Load.
    double Time(const std::wstring& file, const std::wstring& section, bool fit, int* rows = nullptr) {
        const double t0 = Seconds();
        const int n = Load(file, section, fit);
        if (rows) *rows = n;
        return Seconds() - t0;
    }

private:
    HWND window_ = nullptr, list_ = nullptr;
};
