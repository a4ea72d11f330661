#pragma once
// A word splitter that hands out the words of a text one call at a time.
//
// The first PopWord after creation or Restart takes the text, the ignore-case
// flag (true when not given) and the delimiters (one blank when not given);
// later calls take no arguments and ignore any. A text with n delimiter
// occurrences gives n + 1 words, empty ones included, then no word
// (std::nullopt). The nearest delimiter occurrence ends a word; of two found at
// one position the later one in the list wins. An empty delimiter is never
// found (it would end every word where it starts).
#include <optional>
#include <string>
#include <vector>

class clsStringAnalyser {
public:
    clsStringAnalyser() = default;

    std::optional<std::wstring> PopWord(std::optional<std::wstring> pInputString = std::nullopt,
                                        std::optional<bool> pbIgnoreCase = std::nullopt,
                                        const std::vector<std::wstring>* pcolDelimiters = nullptr);
    // Back to the start state: the next PopWord takes a new text and settings.
    // The text, the flag and the delimiters stay until then; a PopWord after a
    // Restart without delimiters adds another blank to the kept ones.
    void Restart();

private:
    bool firstCall_ = true;
    std::wstring text_;
    std::wstring searched_;  // the text as searched: upper-cased under ignore-case
    std::vector<std::wstring> delimiters_;
    bool ignoreCase_ = false;
    size_t start_ = 1;      // 1-based start of the next word
    size_t lastFound_ = 1;  // 1-based position of the delimiter that ended the last word
};
