#pragma once
// The keys of the main window's toolbar (Form2::Toolbar1), named once. Code
// addresses a button by its key; only the F5 key takes the first button by its
// position (kStartPosition). Key, tool tip, what the button does:
namespace ToolbarKey {
inline constexpr wchar_t start[] = L"start";      // "开始使用技巧  (F5)": applies the ticked tips
inline constexpr wchar_t open[] = L"open";        // "导入技巧数据文件": imports a tip data file into the category
inline constexpr wchar_t daochu[] = L"daochu";    // "导出为技巧数据文件": opens the export page
inline constexpr wchar_t tjlb[] = L"tjlb";        // "添加新的技巧类别": new category (menu: new sub-category); enabled = category mode
inline constexpr wchar_t del[] = L"del";          // "删除技巧类别": deletes a category or sub-category
inline constexpr wchar_t del2[] = L"del2";        // "删除选定的技巧  (Del)": deletes the selected tips
inline constexpr wchar_t scj[] = L"scj";          // "放入收藏夹  (F9)": puts the selected tips into 收藏夹
inline constexpr wchar_t cut[] = L"cut";          // "剪切  (Ctrl+X)": cuts the selected tips
inline constexpr wchar_t copy[] = L"copy";        // "复制  (Ctrl+C)": copies the selected tips
inline constexpr wchar_t paste[] = L"paste";      // "粘贴  (Ctrl+V)": pastes the copied tips
inline constexpr wchar_t viewhf[] = L"viewhf";    // "查看恢复文件": opens the restore page
inline constexpr wchar_t find[] = L"find";        // "查找技巧  (Ctrl+F)": opens the find window
inline constexpr wchar_t viewscj[] = L"viewscj";  // "整理类别收藏夹": favourites organiser (menu: the category favourites)
inline constexpr wchar_t xuan[] = L"xuan";        // "全部勾选  (F3)": ticks every row (dangerous ones by [Data] Choice)
inline constexpr wchar_t xiao[] = L"xiao";        // "全部未选  (F4)": unticks every row
inline constexpr wchar_t viewok[] = L"viewok";    // "查看方式": next view mode (menu: properties window, view modes)
inline constexpr wchar_t cklj[] = L"cklj";        // "窗口连接状态  (F8)": check button; pressed = WindowLink
inline constexpr wchar_t set[] = L"set";          // "选项": opens the options page
inline constexpr wchar_t log[] = L"log";          // "日志": opens logfile.txt
inline constexpr wchar_t help[] = L"help";        // "帮助  (F1)": opens help.chm
inline constexpr wchar_t about[] = L"about";      // "关于": opens the about page
inline constexpr wchar_t web[] = L"web";          // the home-page address: opens the home page
inline constexpr wchar_t email[] = L"email";      // the mail address: writes a mail to the maker
inline constexpr wchar_t exit[] = L"exit";        // "退出": closes the main window

// F5 (tip list and category window) acts while the first button is enabled.
inline constexpr int kStartPosition = 1;
}  // namespace ToolbarKey
