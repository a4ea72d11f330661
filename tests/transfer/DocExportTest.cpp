// The text and HTML exports: exact lines, escaping, and a sample page for the
// host's HTML parser.
#include "Rows.h"
#include "transfer/DocExport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

using Rows::Delete;
using Rows::Row;

namespace {
const std::wstring K = L"HKEY_CURRENT_USER\\Software\\QuorixTest";

std::vector<TipRow::Cells> SampleRows() {
    return {
        Row(K, L"Name", L"0", L"文本", L"字符串技巧", L"一个字符串"),
        Row(K, L"", L"2", L"1a", L"默认值技巧", L"DWORD"),
        Row(K, L"Gone", L"1", Delete, L"删除技巧", L"删除"),
        Row(K, L"Bin", L"1", L"", L"空二进制", L""),
        Row(K, L"Exp", L"3", L"%TEMP%\\a", L"可扩充", L"路径"),
        Row(K, L"Odd", L"9", L"x", L"怪类型", L"手工编辑"),
    };
}
}  // namespace

TEST(DocExport, TextLinesExactly) {
    const std::wstring welcome = L" 欢迎使用Quorix软件！ 软件主页：https://example.com/quorix 邮箱：quorix@example.com";
    EXPECT_EQ(Text::ToAnsi(welcome + L"\r\n\r\n\r\n"), DocExport::BuildText({}));

    std::wstring expected = welcome + L"\r\n\r\n" +
        L"【字符串技巧】\r\n键位：" + K + L"\r\n键名：Name  键值类型：字符串值(REG_SZ)\r\n键值数据：文本\r\n说明：一个字符串\r\n\r\n" +
        L"【默认值技巧】\r\n键位：" + K + L"\r\n键名：(默认)  键值类型：DWORD值(REG_DWORD)\r\n键值数据：1a\r\n说明：DWORD\r\n\r\n" +
        L"【删除技巧】\r\n键位：" + K + L"\r\n键名：Gone  键值类型：二进制值(REG_BINARY)\r\n键值数据：在注册表中删除该键名\r\n说明：删除\r\n\r\n" +
        L"【空二进制】\r\n键位：" + K + L"\r\n键名：Bin  键值类型：二进制值(REG_BINARY)\r\n键值数据：(长度为零的二进制值)\r\n说明：\r\n\r\n" +
        L"【可扩充】\r\n键位：" + K + L"\r\n键名：Exp  键值类型：可扩充字符串值(REG_EXPAND_SZ)\r\n键值数据：%TEMP%\\a\r\n说明：路径\r\n\r\n" +
        L"【怪类型】\r\n键位：" + K + L"\r\n键名：Odd\r\n键值数据：x\r\n说明：手工编辑\r\n\r\n" +
        L"\r\n";
    std::string bytes = DocExport::BuildText(SampleRows());
    EXPECT_EQ(Text::ToAnsi(expected), bytes);
    // Code page 936 throughout: the bytes decode back to the same text, and no byte-order mark.
    EXPECT_EQ(expected, Text::FromAnsi(bytes));
    EXPECT_NE("\xEF\xBB\xBF", bytes.substr(0, 3));
}

TEST(DocExport, HtmlPageExactly) {
    const std::wstring head =
        L"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">\r\n</head>\r\n\r\n"
        L"<body bgcolor=\"#FFFFFF\" text=\"#000000\" leftmargin=\"1\" topmargin=\"1\">\r\n"
        L"<p>欢迎使用Quorix软件！<a href=\"https://example.com/quorix\">软件主页</a> 如有任何问题，可"
        L"<a href=\"mailto:quorix@example.com\">给我们来信</a>。</p>";
    const std::wstring footer = L"<p align=\"center\"><font color=\"#0000FF\">" + std::wstring(DocExport::copyright) +
                                L"</font></p>\r\n</body></html>\r\n";
    EXPECT_EQ(Text::ToAnsi(L"\r\n" + head + L"\r\n" + footer), DocExport::BuildHtml({}));

    std::vector<TipRow::Cells> rows{Row(K, L"", L"3", L"%a%", L"默认", L"d"), Row(K, L"v", L"7", Delete, L"怪", L"")};
    std::wstring expected = L"\r\n" + head + L"\r\n" +
        L"<p>【默认】<br>\r\n键位：" + K + L"<br>\r\n键名：(默认)  键值类型：可扩充字符串值(REG_EXPAND_SZ)<br>\r\n"
        L"键值数据：%a%<br>\r\n说明：d</p>\r\n" +
        L"<p>【怪】<br>\r\n键位：" + K + L"<br>\r\n键名：v<br>\r\n键值数据：在注册表中删除该键名<br>\r\n说明：</p>\r\n" + footer;
    EXPECT_EQ(Text::ToAnsi(expected), DocExport::BuildHtml(rows));
}

TEST(DocExport, HtmlEscapesEveryTipText) {
    const std::wstring evil = L"</p><script>alert(\"x&y\")</script>";
    const std::wstring safe = L"&lt;/p&gt;&lt;script&gt;alert(&quot;x&amp;y&quot;)&lt;/script&gt;";
    struct Case {
        const char* field;
        TipRow::Cells row;
        std::wstring line;  // the block's line that carries the field
    } cases[] = {
        {"name", Row(K, L"v", L"0", L"d", evil, L"s"), L"<p>【" + safe + L"】<br>"},
        {"key", Row(K + L"\\<a&b>", L"v", L"0", L"d"), L"键位：" + K + L"\\&lt;a&amp;b&gt;<br>"},
        {"value name", Row(K, L"a\"b<c>", L"0", L"d"), L"键名：a&quot;b&lt;c&gt;  键值类型：字符串值(REG_SZ)<br>"},
        {"data", Row(K, L"v", L"0", evil), L"键值数据：" + safe + L"<br>"},
        {"description", Row(K, L"v", L"0", L"d", L"n", evil), L"说明：" + safe + L"</p>"},
        {"a character the code page lacks", Row(K, L"v", L"0", L"a\U0001F600b"), L"键值数据：a&#x1F600;b<br>"},
    };
    for (const auto& c : cases) {
        std::wstring page = Text::FromAnsi(DocExport::BuildHtml({c.row}));
        EXPECT_NE(std::wstring::npos, page.find(L"\r\n" + c.line + L"\r\n")) << c.field << "\n" << Text::ToAnsi(page);
        EXPECT_EQ(std::wstring::npos, page.find(L"<script")) << c.field;
    }
}

// The page the host's HTML check reads (tests/transfer/check_html.py): written
// beside this program, with the texts every tip paragraph must show.
TEST(DocExport, SamplePageForTheHostCheck) {
    std::vector<TipRow::Cells> rows = SampleRows();
    rows.push_back(Row(K + L"\\<b>&amp;", L"q\"<i>", L"0", L"</p><script>alert(1)</script>", L"a < b & c > \"d\"",
                       L"瓡 & 亪 <!-- x -->"));
    rows.push_back(Row(K, L"emoji", L"0", L"\U0001F600", L"表情", L""));

    wchar_t exe[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    ASSERT_GT(n, 0u);
    std::wstring folder(exe, n);
    folder.resize(folder.find_last_of(L'\\') + 1);

    std::string page = DocExport::BuildHtml(rows);
    std::ofstream(Text::ToAnsi(folder + L"transfer_sample.htm"), std::ios::binary) << page;
    // One line per tip, its five texts separated by tabs, in UTF-8.
    std::string expected;
    auto utf8 = [](const std::wstring& w) {
        int len = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
        std::string out(len, '\0');
        WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), len, nullptr, nullptr);
        return out;
    };
    for (const auto& r : rows)
        expected += utf8(r.name + L"\t" + r.keyPath + L"\t" + r.valueName + DocExport::TypeText(r.typeCode) + L"\t" +
                         r.dataText + L"\t" + r.description) + "\n";
    std::ofstream(Text::ToAnsi(folder + L"transfer_sample.txt"), std::ios::binary) << expected;
    EXPECT_FALSE(page.empty());
}
