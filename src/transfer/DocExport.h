#pragma once
// The text and HTML exports: tip rows to the bytes of a readable document, in
// the ANSI code page (936), lines ending in CR LF.
//
// Text: the welcome line, an empty line, then per tip five lines and an empty
// line; one more line end closes the document.
// HTML: an empty line, the page head (HtmlHead), then one paragraph of five
// lines per tip, then the footer. The tips' texts are escaped (& < > "), and a
// character the code page cannot hold is written as a character reference;
// the head and the footer are the program's own markup.
//
// Per tip: "【name】", "键位：" key path, "键名：" value-name text and the type
// text, "键值数据：" value text, "说明：" description. A TypeCode other than
// 0-3 gets the same block with no type text.
#include "common/Maker.h"
#include "common/TipRow.h"

#include <string>
#include <vector>

namespace DocExport {

// The program's addresses and copyright line, as the exports show them.
inline constexpr const wchar_t* web = Maker::web;
inline constexpr const wchar_t* email = Maker::email;
inline constexpr const wchar_t* copyright = L"Copyright (C) 2024 Quorix 开发组  版权所有";

// The text export's first line.
std::wstring WelcomeLine();
// The HTML page head: five lines, no line end after the last.
std::wstring HtmlHead();
// The HTML footer: the copyright paragraph, a line end, "</body></html>".
std::wstring HtmlFooter();
// The type text following the value name ("  键值类型：字符串值(REG_SZ)" ...);
// empty for a TypeCode other than 0-3.
std::wstring TypeText(const std::wstring& typeCode);

// `rows`: the selected rows in list order, as TipRow::ReadRow gives them.
std::string BuildText(const std::vector<TipRow::Cells>& rows);
std::string BuildHtml(const std::vector<TipRow::Cells>& rows);

}  // namespace DocExport
