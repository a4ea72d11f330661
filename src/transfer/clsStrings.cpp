#include "transfer/clsStrings.h"

#include "platform/Text.h"
#include "transfer/clsStringAnalyser.h"

#include <windows.h>

namespace clsStrings {
namespace {
// One character through the system's case tables.
wchar_t Upper(wchar_t c) {
    CharUpperBuffW(&c, 1);
    return c;
}
wchar_t Lower(wchar_t c) {
    CharLowerBuffW(&c, 1);
    return c;
}
bool WordBreak(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\f' || c == L'\v' || c == 0; }
}  // namespace

std::wstring ReplaceString(const std::wstring& pStr, const std::wstring& strFrom, const std::wstring& strTo,
                           bool ignoreCase) {
    if (strFrom.empty()) return pStr;
    clsStringAnalyser analyser;
    const std::vector<std::wstring> delimiters{strFrom};
    std::wstring out;
    bool any = false;
    for (auto word = analyser.PopWord(pStr, ignoreCase, &delimiters); word; word = analyser.PopWord()) {
        out += *word;
        out += strTo;
        any = true;
    }
    if (any) out.resize(out.size() - strTo.size());
    return out;
}

std::wstring Proper(const std::wstring& pStr) {
    std::wstring out(pStr);
    bool wordStart = true;
    for (wchar_t& c : out) {
        if (WordBreak(c)) {
            wordStart = true;
            continue;
        }
        c = wordStart ? Upper(c) : Lower(c);
        wordStart = false;
    }
    return out;
}

std::wstring ToGgLeCaSe(const std::wstring& pStr) {
    std::wstring out(pStr);
    for (wchar_t& c : out) c = (Upper(c) == c) ? Lower(c) : Upper(c);
    return out;
}

bool IsCharIn(const std::wstring& psInput, const std::vector<std::wstring>& pcolAllowed) {
    const wchar_t c = psInput.empty() ? L' ' : psInput[0];
    for (const std::wstring& entry : pcolAllowed) {
        if (Text::EqualNoCase(entry, L"Alphabetic")) {
            if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')) return true;
        } else if (Text::EqualNoCase(entry, L"Numeric")) {
            if (c >= L'0' && c <= L'9') return true;
        } else if (!entry.empty() && Upper(entry[0]) == Upper(c)) {
            return true;
        }
    }
    return false;
}

}  // namespace clsStrings
