#include "transfer/DocExport.h"

#include "platform/Text.h"

namespace DocExport {
namespace {

const std::wstring kCrLf = L"\r\n";

// A tip's text for the HTML page: markup characters escaped, and characters
// the code page cannot hold as character references (they would become "?").
std::wstring Html(const std::wstring& s) {
    std::wstring out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        wchar_t c = s[i];
        switch (c) {
        case L'&': out += L"&amp;"; continue;
        case L'<': out += L"&lt;"; continue;
        case L'>': out += L"&gt;"; continue;
        case L'"': out += L"&quot;"; continue;
        default: break;
        }
        if (c < 0x80 || Text::FitsAnsi(std::wstring_view(&c, 1))) {
            out.push_back(c);
            continue;
        }
        unsigned code = c;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((c - 0xD800u) << 10) + (s[i + 1] - 0xDC00u);
            ++i;
        }
        wchar_t ref[16];
        swprintf(ref, 16, L"&#x%X;", code);
        out += ref;
    }
    return out;
}

}  // namespace

std::wstring WelcomeLine() {
    return std::wstring(L" 欢迎使用Quorix软件！ 软件主页：") + web + L" 邮箱：" + email;
}

std::wstring HtmlHead() {
    return L"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">" + kCrLf + L"</head>" + kCrLf +
           kCrLf + L"<body bgcolor=\"#FFFFFF\" text=\"#000000\" leftmargin=\"1\" topmargin=\"1\">" + kCrLf +
           L"<p>欢迎使用Quorix软件！<a href=\"" + web + L"\">软件主页</a> 如有任何问题，可<a href=\"mailto:" + email +
           L"\">给我们来信</a>。</p>";
}

std::wstring HtmlFooter() {
    return std::wstring(L"<p align=\"center\"><font color=\"#0000FF\">") + copyright + L"</font></p>" + kCrLf +
           L"</body></html>";
}

std::wstring TypeText(const std::wstring& typeCode) {
    std::wstring t = Text::Trim(typeCode);
    if (t == L"0") return L"  键值类型：字符串值(REG_SZ)";
    if (t == L"1") return L"  键值类型：二进制值(REG_BINARY)";
    if (t == L"2") return L"  键值类型：DWORD值(REG_DWORD)";
    if (t == L"3") return L"  键值类型：可扩充字符串值(REG_EXPAND_SZ)";
    return L"";
}

std::string BuildText(const std::vector<TipRow::Cells>& rows) {
    std::wstring doc = WelcomeLine() + kCrLf + kCrLf;
    for (const TipRow::Cells& r : rows) {
        doc += L"【" + r.name + L"】" + kCrLf;
        doc += L"键位：" + r.keyPath + kCrLf;
        doc += L"键名：" + r.valueName + TypeText(r.typeCode) + kCrLf;
        doc += L"键值数据：" + r.dataText + kCrLf;
        doc += L"说明：" + r.description + kCrLf;
        doc += kCrLf;
    }
    doc += kCrLf;
    return Text::ToAnsi(doc);
}

std::string BuildHtml(const std::vector<TipRow::Cells>& rows) {
    std::wstring doc = kCrLf + HtmlHead() + kCrLf;
    for (const TipRow::Cells& r : rows) {
        doc += L"<p>【" + Html(r.name) + L"】<br>" + kCrLf;
        doc += L"键位：" + Html(r.keyPath) + L"<br>" + kCrLf;
        doc += L"键名：" + Html(r.valueName) + TypeText(r.typeCode) + L"<br>" + kCrLf;
        doc += L"键值数据：" + Html(r.dataText) + L"<br>" + kCrLf;
        doc += L"说明：" + Html(r.description) + L"</p>" + kCrLf;
    }
    doc += HtmlFooter() + kCrLf;
    return Text::ToAnsi(doc);
}

}  // namespace DocExport
