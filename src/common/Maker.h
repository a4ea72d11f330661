#pragma once
// Where the program's makers are found: the addresses that the toolbar's web
// and mail buttons, the about page and the exported documents show and open.
#include <string>

namespace Maker {
inline constexpr const wchar_t* web = L"https://example.com/quorix";           // home page
inline constexpr const wchar_t* web2 = L"https://www.example.com/bbs";  // second home page
inline constexpr const wchar_t* email = L"quorix@example.com";
// A new mail to the makers: the address, a fixed subject and an empty body.
inline constexpr const wchar_t* mailQuery = L"?subject=你好，我是Quorix用户&body=";
// "mailto:", the address and the query, as the shell gets it.
inline std::wstring MailLink() { return std::wstring(L"mailto:") + email + mailQuery; }
}  // namespace Maker
