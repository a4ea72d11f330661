#pragma once
// The file information of a tip data file: section Fileinfo with the keys Use,
// author, Web, email and other, written in that order. Also the defaults a new
// file takes from config.ini, and the two addresses the information page opens.
#include <optional>
#include <string>

namespace FileInfo {

struct Info {
    std::wstring use, author, web, email, other;
};

// The five values of `file`, each with blanks at both ends removed; a missing
// file, section or key gives empty values.
Info Read(const std::wstring& file);
// author, Web, email and other of config.ini's section Fileinfo, trimmed; Use empty.
Info Defaults();

// Why a text cannot be stored as a value of the section (None: it can).
enum class Refusal { None, LineBreak, FieldMark, TooLong, NotInCodePage };
Refusal Check(const std::wstring& text);
// The first refusal among the five values.
Refusal Check(const Info& info);
// The message that tells the user why typed text was refused.
std::wstring RefusalText(Refusal r);

// Writes the five keys in order (values as given, nothing trimmed here). False
// when a value is refused (nothing written) or a write fails.
bool Write(const std::wstring& file, const Info& info);

// The address the web link opens for the box's text: the trimmed text when it
// starts with http:// or https://, "http://" before it when it starts with
// "www."; nothing for anything else (empty, other schemes, paths).
std::optional<std::wstring> WebAddress(const std::wstring& boxText);
// "mailto:" and the trimmed text, unless it is empty or holds CR, LF, "?" or "&".
std::optional<std::wstring> MailAddress(const std::wstring& boxText);

}  // namespace FileInfo
