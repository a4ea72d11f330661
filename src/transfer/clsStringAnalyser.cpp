#include "transfer/clsStringAnalyser.h"

#include "platform/Text.h"

std::optional<std::wstring> clsStringAnalyser::PopWord(std::optional<std::wstring> pInputString,
                                                       std::optional<bool> pbIgnoreCase,
                                                       const std::vector<std::wstring>* pcolDelimiters) {
    if (firstCall_) {
        firstCall_ = false;
        text_ = pInputString.value_or(std::wstring());
        ignoreCase_ = pbIgnoreCase.value_or(true);
        if (pcolDelimiters) delimiters_ = *pcolDelimiters;
        else delimiters_.push_back(L" ");
        searched_ = ignoreCase_ ? Text::UpperCase(text_) : text_;
    }
    if (lastFound_ > text_.size()) return std::nullopt;

    const std::wstring& haystack = searched_;
    size_t best = std::wstring::npos;  // 0-based position of the nearest occurrence
    size_t bestLength = 0;
    for (const std::wstring& d : delimiters_) {
        if (d.empty() || start_ - 1 > haystack.size()) continue;
        size_t p = haystack.find(ignoreCase_ ? Text::UpperCase(d) : d, start_ - 1);
        if (p == std::wstring::npos) continue;
        if (best == std::wstring::npos || p <= best) {
            best = p;
            bestLength = d.size();
        }
    }
    std::wstring word;
    if (best != std::wstring::npos) {
        word = text_.substr(start_ - 1, best - (start_ - 1));
        lastFound_ = best + 1;
        start_ = best + 1 + bestLength;
    } else {
        if (start_ - 1 < text_.size()) word = text_.substr(start_ - 1);
        lastFound_ = start_ = text_.size() + 1;
    }
    return word;
}

void clsStringAnalyser::Restart() {
    firstCall_ = true;
    start_ = 1;
    lastFound_ = 1;
}
