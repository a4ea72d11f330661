// The fair floor of Quorix.exe's start-up: a plain Win32 program that does the
// work the program's start-up must do, each piece once and in one step, and no
// more. In the folder it is started in it reads config.ini once (the [Data]
// section) and each category file of Data once (its section names), and the
// shown category's tip section and its mirror once; it builds the same four
// windows (main window, category window, properties window, value bar) with
// the same child windows by class, each created at its place and size, the same
// five image lists with their 95 pictures (each list filled in one step), the
// same toolbars (33, 6, 2 and 4 buttons, each filled in one message, tool tips
// after), the same tree nodes (categories, their sub-categories, a favourites
// node each) and the same rows (sorted in memory by the saved column, then
// added, columns fitted), and shows the windows docked as the program docks
// them. It links the same system libraries as the program (each in its import
// table) and carries the same manifest. startup_bench starts it and times it as
// it times Quorix.exe; it prints both programs' window census.
//   (started by startup_bench; runs in the program folder it is given as its current folder)
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <oleauto.h>
#include <shellapi.h>
#include <winspool.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
HINSTANCE g_instance;

// The system libraries Quorix.exe links, loaded at the start as its are: one
// function of each is named, so that each is in the import table.
void* volatile g_imports[] = {reinterpret_cast<void*>(&RegCloseKey), reinterpret_cast<void*>(&GetOpenFileNameW),
                              reinterpret_cast<void*>(&CoTaskMemFree), reinterpret_cast<void*>(&SysFreeString),
                              reinterpret_cast<void*>(&SHFileOperationA), reinterpret_cast<void*>(&ClosePrinter)};

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_DESTROY && GetWindow(h, GW_OWNER) == nullptr) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

std::wstring Wide(const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}
std::string Ansi(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// A whole section (or, with no section, the section names) of an INI file, in one read.
std::string Read(const char* section, const std::string& file) {
    std::string buf(1 << 16, '\0');
    for (;;) {
        const DWORD n = section ? GetPrivateProfileSectionA(section, buf.data(), static_cast<DWORD>(buf.size()), file.c_str())
                                : GetPrivateProfileSectionNamesA(buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
        if (n < buf.size() - 2) {
            buf.resize(n);
            return buf;
        }
        buf.assign(buf.size() * 4, '\0');
    }
}
// The NUL-separated entries of a read.
std::vector<std::string> Entries(const std::string& block) {
    std::vector<std::string> out;
    for (size_t p = 0; p < block.size() && block[p];) {
        size_t e = block.find('\0', p);
        if (e == std::string::npos) e = block.size();
        out.push_back(block.substr(p, e - p));
        p = e + 1;
    }
    return out;
}

HWND Make(HWND parent, const wchar_t* cls, DWORD style, DWORD ex, RECT r, const wchar_t* text = L"") {
    HWND h = CreateWindowExW(ex, cls, text, style | WS_CHILD, r.left, r.top, r.right, r.bottom, parent, nullptr,
                             g_instance, nullptr);
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return h;
}
RECT At(int x, int y, int w, int h) { return RECT{x, y, w, h}; }

// An image list of `count` pictures of `size` pixels, filled in one step from one strip.
HIMAGELIST Pictures(int size, int count) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32, count, 4);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size * count;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP strip = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<DWORD*>(bits);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size * count; ++x)
            px[y * size * count + x] = (x % size > 1 && x % size < size - 2 && y > 1 && y < size - 2)
                                           ? 0xFF000000u | static_cast<DWORD>((x / size) * 0x0A1B2C)
                                           : 0;
    ImageList_Add(list, strip, nullptr);
    DeleteObject(strip);
    return list;
}

// A toolbar filled in one message, its tool tips made after.
HWND Toolbar(HWND parent, DWORD style, RECT r, const std::vector<BYTE>& kinds, HIMAGELIST images) {
    HWND bar = Make(parent, TOOLBARCLASSNAMEW, WS_VISIBLE | TBSTYLE_FLAT | style | CCS_NODIVIDER, 0, r);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    if (images) SendMessageW(bar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    std::vector<TBBUTTON> buttons;
    for (size_t i = 0; i < kinds.size(); ++i) {
        TBBUTTON b{};
        b.iBitmap = kinds[i] == BTNS_SEP ? 6 : static_cast<int>(i);
        b.idCommand = kinds[i] == BTNS_SEP ? 0 : 4001 + static_cast<int>(i);
        b.fsState = TBSTATE_ENABLED;
        b.fsStyle = kinds[i];
        b.iString = -1;
        buttons.push_back(b);
    }
    SendMessageW(bar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    HWND tips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, bar, nullptr,
                                g_instance, nullptr);
    for (size_t i = 0; i < kinds.size(); ++i) {
        if (kinds[i] == BTNS_SEP) continue;
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = bar;
        ti.uId = 4001 + i;
        SendMessageW(bar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&ti.rect));
        ti.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
    SendMessageW(bar, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tips), 0);
    return bar;
}

HWND List(HWND parent, RECT r, DWORD ex, int columns, const wchar_t* const* headers) {
    HWND list = Make(parent, WC_LISTVIEWW, WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, r);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, ex | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT,
                 ex | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT);
    for (int c = 0; c < columns; ++c) {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = const_cast<wchar_t*>(headers[c]);
        col.cx = 70;
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
    }
    return list;
}

HWND Frame(const wchar_t* cls, DWORD style, DWORD ex, RECT r, const wchar_t* title) {
    return CreateWindowExW(ex, cls, title, style, r.left, r.top, r.right, r.bottom, nullptr, nullptr, g_instance, nullptr);
}

int Px(const std::string& twips) { return static_cast<int>(atof(twips.c_str()) / 15.0 + 0.5); }
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    g_instance = instance;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                             ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES |
                                             ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    for (const wchar_t* name : {L"FairFloor.Main", L"FairFloor.Side", L"FairFloor.Bar", L"FairFloor.Split"}) {
        wc.lpszClassName = name;
        RegisterClassExW(&wc);
    }

    // The settings, read once.
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    const std::string root = std::string(folder) + "\\";
    std::string w1 = "5595", h1 = "4600", l1 = "0", t1 = "0", w2 = "2300", w3 = "2300", compositor = "1";
    for (const std::string& kv : Entries(Read("Data", root + "config.ini"))) {
        const size_t eq = kv.find('=');
        const std::string k = kv.substr(0, eq), v = eq == std::string::npos ? "" : kv.substr(eq + 1);
        if (k == "Width_1") w1 = v;
        else if (k == "Height_1") h1 = v;
        else if (k == "Left_1") l1 = v;
        else if (k == "Top_1") t1 = v;
        else if (k == "Width_2") w2 = v;
        else if (k == "Width_3") w3 = v;
        else if (k == "Compositor") compositor = v;
    }
    const int L = Px(l1), T = Px(t1), W = Px(w1), H = Px(h1), CW = Px(w2), PW = Px(w3);
    RECT barFrame{0, 0, 4995 / 15, 315 / 15};
    AdjustWindowRectEx(&barFrame, WS_POPUP | WS_DLGFRAME, FALSE, WS_EX_TOOLWINDOW);
    const int BH = barFrame.bottom - barFrame.top;

    // The pictures, once each: 34 + 29 + 8 + 23 + 1.
    HIMAGELIST small = Pictures(16, 34), large = Pictures(32, 29), side = Pictures(16, 8), props = Pictures(16, 23),
               bar = Pictures(16, 1);

    // The main window and its controls, each at its place.
    HWND main = Frame(L"FairFloor.Main", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, At(L, T, W, H), L"Quorix 3.0");
    RECT client;
    GetClientRect(main, &client);
    Make(main, L"STATIC", SS_LEFT, 0, At(0, 0, 10, 10));
    Make(main, L"STATIC", SS_LEFT, 0, At(0, 0, 10, 10));
    std::vector<BYTE> mainKinds(33, BTNS_BUTTON);
    for (int sep : {1, 4, 9, 13, 17, 20, 22, 24, 28}) mainKinds[static_cast<size_t>(sep)] = BTNS_SEP;
    for (int drop : {5, 16, 21}) mainKinds[static_cast<size_t>(drop)] = BTNS_DROPDOWN;
    mainKinds[23] = BTNS_CHECK;
    HWND toolbar = Toolbar(main, TBSTYLE_WRAPABLE | CCS_TOP, At(0, 0, client.right, 30), mainKinds, small);
    RECT tb;
    GetWindowRect(toolbar, &tb);
    HWND status = Make(main, STATUSCLASSNAMEW, WS_VISIBLE | SBARS_SIZEGRIP, 0, At(0, client.bottom - 20, client.right, 20));
    int parts[] = {220, 244, -1};
    SendMessageW(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    RECT sb;
    GetWindowRect(status, &sb);
    const int listTop = tb.bottom - tb.top, listBottom = client.bottom - (sb.bottom - sb.top);
    const wchar_t* const tipHeaders[] = {L"作用", L"命令", L"危险", L"键名", L"键值"};
    HWND tips = List(main, At(0, listTop, client.right, listBottom - listTop), LVS_EX_CHECKBOXES | LVS_EX_GRIDLINES, 5,
                     tipHeaders);
    SendMessageW(tips, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageW(tips, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
    Make(main, PROGRESS_CLASSW, PBS_SMOOTH, 0, At(client.right - 160, listBottom + 4, 140, 14));

    // The category window: the tree, the splitter, the file toolbar, the file list.
    HWND shadow = Frame(L"FairFloor.Side", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN | WS_SYSMENU,
                        WS_EX_TOOLWINDOW, At(L - CW, T, CW, H + BH), L"技巧类别");
    GetClientRect(shadow, &client);
    const DWORD treeStyle = WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS |
                            TVS_SHOWSELALWAYS | TVS_EDITLABELS;
    HWND tree = Make(shadow, WC_TREEVIEWW, treeStyle, WS_EX_CLIENTEDGE, At(0, 0, client.right, 186));
    Make(shadow, L"FairFloor.Split", WS_VISIBLE | WS_BORDER, 0, At(0, 188, client.right, 4));
    Toolbar(shadow, CCS_NOPARENTALIGN | CCS_NORESIZE, At(1, 194, 111, 24),
            {BTNS_BUTTON, BTNS_BUTTON, BTNS_SEP, BTNS_BUTTON, BTNS_SEP, BTNS_BUTTON}, side);
    HWND files = Make(shadow, WC_TREEVIEWW, treeStyle, WS_EX_CLIENTEDGE, At(0, 220, client.right, client.bottom - 220));
    SendMessageW(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(side));
    SendMessageW(files, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(side));

    // The properties window: its first tab's controls shown, the others made hidden.
    HWND prop = Frame(L"FairFloor.Side", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN,
                      WS_EX_TOOLWINDOW, At(L + W, T, PW, H + BH), L"技巧属性");
    GetClientRect(prop, &client);
    const int cw = client.right, ch = client.bottom;
    HWND tab = Make(prop, WC_TABCONTROLW, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, At(2, 1, cw - 4, 20));
    for (const wchar_t* t : {L"常规", L"键值", L"查看"}) {
        TCITEMW it{};
        it.mask = TCIF_TEXT;
        it.pszText = const_cast<wchar_t*>(t);
        SendMessageW(tab, TCM_INSERTITEMW, SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&it));
    }
    const wchar_t* labels[] = {L"作用:", L"键位:", L"键名:", L"危险:", L"说明:", L"类型:", L"命令:", L"键值:", L"列表:"};
    for (int i = 0; i < 9; ++i)
        Make(prop, L"STATIC", SS_LEFT | (i < 5 ? WS_VISIBLE : 0), 0, At(4, 30 + 24 * i, 30, 14), labels[i]);
    const int ew = cw - 40;
    Make(prop, L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, At(36, 28, ew, 20));
    Make(prop, L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE,
         At(36, 50, ew, 60));
    Make(prop, L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, At(36, 114, ew, 20));
    Make(prop, L"COMBOBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
         0, At(36, 138, ew, 200));
    Make(prop, L"EDIT", WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE,
         At(36, 162, ew, ch - 200));
    Make(prop, L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, At(36, 28, ew, 200));
    Make(prop, L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, At(36, 52, ew, 20));
    Make(prop, L"COMBOBOX",
         WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0,
         At(36, 76, ew - 20, 200));
    Make(prop, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, At(cw - 22, 76, 20, 20), L"+");
    Toolbar(prop, CCS_NOPARENTALIGN | CCS_NORESIZE | TBSTYLE_LIST, At(36, 100, ew, 22), {BTNS_BUTTON, BTNS_BUTTON},
            nullptr);
    Make(prop, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, At(36, 130, 10, 10), L"tj(&A)");
    Make(prop, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, At(36, 130, 10, 10), L"edit(&E)");
    const wchar_t* const optionHeaders[] = {L"说明", L"键值"};
    const wchar_t* const liveHeaders[] = {L"名称", L"数据"};
    HWND options = List(prop, At(36, 130, ew, ch - 160), 0, 2, optionHeaders);
    HWND live = List(prop, At(2, 24, cw - 4, ch - 50), 0, 2, liveHeaders);
    ShowWindow(options, SW_HIDE);
    ShowWindow(live, SW_HIDE);
    for (HWND l : {options, live}) SendMessageW(l, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(props));
    Toolbar(prop, CCS_NOPARENTALIGN | CCS_NORESIZE, At(cw / 2 - 40, ch - 26, 80, 24),
            {BTNS_BUTTON, BTNS_BUTTON, BTNS_SEP, BTNS_BUTTON}, props);

    // The value bar.
    HWND valueBar = Frame(L"FairFloor.Bar", WS_POPUP | WS_DLGFRAME | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW,
                          At(L, T + H, W, BH), L"");
    GetClientRect(valueBar, &client);
    Make(valueBar, L"STATIC", WS_VISIBLE | SS_LEFT, 0, At(5, 4, 30, 12), L"键值:");
    Make(valueBar, L"COMBOBOX",
         WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 0,
         At(36, 0, client.right - 62, 100));
    Make(valueBar, L"BUTTON", WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP, 0, At(client.right - 24, 0, 23, client.bottom),
         L"+");
    (void)bar;

    // The category files, each read once: a node per category, its sub-categories and its favourites.
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((root + "Data\\*.qix").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do names.push_back(fd.cFileName);
        while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
    });
    const std::string data = Ansi(L"数据"), favourites = Ansi(L"收藏夹");
    HTREEITEM first = nullptr;
    for (const std::string& name : names) {
        std::wstring text = Wide(name.substr(0, name.size() - 4));
        TVINSERTSTRUCTW ins{};
        ins.hParent = TVI_ROOT;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        ins.item.pszText = text.data();
        ins.item.iSelectedImage = 1;
        HTREEITEM node = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
        if (!first) first = node;
        std::vector<std::wstring> subs;
        for (const std::string& s : Entries(Read(nullptr, root + "Data\\" + name)))
            if (s != data && s != favourites && s.find('\xFF') == std::string::npos) subs.push_back(Wide(s));
        std::sort(subs.begin(), subs.end(), [](const std::wstring& a, const std::wstring& b) {
            return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
        });
        subs.push_back(L"收藏夹");
        for (std::wstring& s : subs) {
            ins.hParent = node;
            ins.item.pszText = s.data();
            SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins));
        }
    }
    if (first) {
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(first));
        SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(first));
    }

    // The first category's tips and their option lists, read once; the rows
    // sorted in memory by the saved column, then added; the columns fitted.
    std::vector<std::vector<std::wstring>> rows;
    if (!names.empty()) {
        const std::string file = root + "Data\\" + names.front();
        const std::string mirror = Read(("\xFF" + data + "\xFF").c_str(), file);
        for (const std::string& line : Entries(Read(data.c_str(), file))) {
            const size_t eq = line.find('=');
            std::vector<std::string> fields;
            for (size_t at = eq + 1;;) {
                const size_t mark = line.find('\xFF', at);
                fields.push_back(line.substr(at, mark == std::string::npos ? std::string::npos : mark - at));
                if (mark == std::string::npos) break;
                at = mark + 1;
            }
            fields.resize(7);
            const size_t join = fields[2].find("\x81\x88");
            const std::string label = fields[2].substr(0, join), value = join == std::string::npos ? "" : fields[2].substr(join + 2);
            rows.push_back({Wide(line.substr(0, eq)), Wide(label), fields[6] == "2" ? L"" : L" ", Wide(fields[1]),
                            Wide(value)});
        }
        (void)mirror;
    }
    const int key = std::clamp(atoi(compositor.c_str()), 1, 5) - 1;
    std::stable_sort(rows.begin(), rows.end(), [key](const auto& a, const auto& b) {
        return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a[key].c_str(), -1, b[key].c_str(), -1) ==
               CSTR_LESS_THAN;
    });
    SendMessageW(tips, WM_SETREDRAW, FALSE, 0);
    int index = 0;
    for (auto& cells : rows) {
        LVITEMW it{};
        it.mask = LVIF_TEXT | LVIF_IMAGE;
        it.iItem = index++;
        it.pszText = cells[0].data();
        const int at = static_cast<int>(SendMessageW(tips, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
        for (int sub = 1; sub < 5; ++sub) {
            LVITEMW st{};
            st.mask = LVIF_TEXT | (sub == 2 || sub == 4 ? LVIF_IMAGE : 0);
            st.iItem = at;
            st.iSubItem = sub;
            st.iImage = sub == 2 ? 31 : 2;
            st.pszText = cells[static_cast<size_t>(sub)].data();
            SendMessageW(tips, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&st));
        }
    }
    // Fitted as the program fits them: each column but the third to its rows'
    // texts (the last one too: fitted, not stretched over the rest of the
    // list, which would measure no row), the third 240 twips wide.
    for (int c = 0; c < 5; ++c) SendMessageW(tips, LVM_SETCOLUMNWIDTH, c, c == 2 ? 16 : LVSCW_AUTOSIZE);
    SendMessageW(tips, WM_SETREDRAW, TRUE, 0);
    HDITEMW sortMark{};
    sortMark.mask = HDI_FORMAT;
    sortMark.fmt = HDF_STRING | HDF_SORTUP;
    SendMessageW(reinterpret_cast<HWND>(SendMessageW(tips, LVM_GETHEADER, 0, 0)), HDM_SETITEMW, key,
                 reinterpret_cast<LPARAM>(&sortMark));
    const std::wstring count = L"共有 " + std::to_wstring(rows.size()) + L" 个技巧";
    SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(count.c_str()));

    // Shown docked: the satellites owned by the main window, the main window in front.
    for (HWND satellite : {prop, shadow, valueBar})
        SetWindowLongPtrW(satellite, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(main));
    ShowWindow(main, SW_SHOW);
    for (HWND satellite : {shadow, prop, valueBar}) ShowWindow(satellite, SW_SHOWNA);
    SetFocus(tips);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
