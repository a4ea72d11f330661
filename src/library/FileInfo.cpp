#include "library/FileInfo.h"

#include "common/Config.h"
#include "common/Ini.h"
#include "common/Marks.h"
#include "common/TipFile.h"
#include "platform/Text.h"

namespace FileInfo {

namespace {
const wchar_t* const kKeys[] = {L"Use", L"author", L"Web", L"email", L"other"};
// The profile functions cannot keep a value of 32,767 characters or more.
constexpr size_t kLongest = 32766;

bool StartsNoCase(const std::wstring& s, const wchar_t* prefix) {
    std::wstring p(prefix);
    return s.size() >= p.size() && Text::EqualNoCase(std::wstring_view(s).substr(0, p.size()), p);
}
}  // namespace

Info Read(const std::wstring& file) {
    Info i;
    std::wstring* out[] = {&i.use, &i.author, &i.web, &i.email, &i.other};
    for (int k = 0; k < 5; ++k) *out[k] = Text::Trim(Ini::Read(file, TipFile::FileinfoSection, kKeys[k]));
    return i;
}

Info Defaults() {
    Info i;
    i.author = Config::Read(Config::Author);
    i.web = Config::Read(Config::Web);
    i.email = Config::Read(Config::Email);
    i.other = Config::Read(Config::Other);
    return i;
}

Refusal Check(const std::wstring& text) {
    if (text.find_first_of(L"\r\n") != std::wstring::npos) return Refusal::LineBreak;
    if (text.find(Marks::FieldMarkChar) != std::wstring::npos) return Refusal::FieldMark;
    if (text.size() > kLongest) return Refusal::TooLong;
    if (!Text::FitsAnsi(text)) return Refusal::NotInCodePage;
    return Refusal::None;
}

Refusal Check(const Info& info) {
    for (const std::wstring* s : {&info.use, &info.author, &info.web, &info.email, &info.other})
        if (Refusal r = Check(*s); r != Refusal::None) return r;
    return Refusal::None;
}

std::wstring RefusalText(Refusal r) {
    switch (r) {
    case Refusal::LineBreak: return L"文件信息中不能含有换行符。";
    case Refusal::FieldMark: return L"文件信息中不能含有特殊字符 \uF8F5。";
    case Refusal::TooLong: return L"文件信息的内容太长。";
    case Refusal::NotInCodePage: return L"文件信息中含有无法保存的字符。";
    case Refusal::None: break;
    }
    return {};
}

bool Write(const std::wstring& file, const Info& info) {
    if (Check(info) != Refusal::None) return false;
    const std::wstring* values[] = {&info.use, &info.author, &info.web, &info.email, &info.other};
    // All five or none: the writes go to a copy that takes the file's place.
    Ini::FileTransaction tx(file);
    for (int k = 0; k < 5; ++k)
        if (!Ini::Write(file, TipFile::FileinfoSection, kKeys[k], *values[k])) {
            tx.Discard();
            return false;
        }
    return tx.Commit();
}

std::optional<std::wstring> WebAddress(const std::wstring& boxText) {
    std::wstring t = Text::Trim(boxText);
    if (t.empty() || t.find_first_of(L"\r\n") != std::wstring::npos) return std::nullopt;
    if (StartsNoCase(t, L"www.")) t = L"http://" + t;
    if (StartsNoCase(t, L"http://") || StartsNoCase(t, L"https://")) return t;
    return std::nullopt;
}

std::optional<std::wstring> MailAddress(const std::wstring& boxText) {
    std::wstring t = Text::Trim(boxText);
    if (t.empty() || t.find_first_of(L"\r\n?&") != std::wstring::npos) return std::nullopt;
    return L"mailto:" + t;
}

}  // namespace FileInfo
