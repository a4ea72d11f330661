#pragma once
// What the registry readers give back and what cRegistry writes: no value at
// all, a text, a signed 32-bit number or a run of bytes.
//
// "No value at all" (IsEmpty) is distinct from the empty text: the path readers
// give it when the key path names no root, cRegistry when the value cannot be
// read (its Default). A value that exists but cannot be read comes back from the
// path readers as Unreadable(): the text ReadErrorMark, flagged so that a caller
// can tell it from a stored text that happens to look the same.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

class RegValue {
public:
    RegValue() = default;
    RegValue(std::wstring text) : v_(std::move(text)) {}
    RegValue(const wchar_t* text) : v_(std::wstring(text)) {}
    RegValue(int32_t number) : v_(number) {}
    RegValue(std::vector<uint8_t> bytes) : v_(std::move(bytes)) {}
    // ReadErrorMark: the key or the value could not be read.
    static RegValue Unreadable();

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }
    bool IsText() const { return std::holds_alternative<std::wstring>(v_); }  // also for Unreadable
    bool IsNumber() const { return std::holds_alternative<int32_t>(v_); }
    bool IsBytes() const { return std::holds_alternative<std::vector<uint8_t>>(v_); }
    bool IsReadError() const { return readError_; }

    // The text (ReadErrorMark for Unreadable); empty for the other kinds.
    const std::wstring& Text() const;
    // The number; 0 for the other kinds.
    int32_t Number() const;
    // The bytes; none for the other kinds.
    const std::vector<uint8_t>& Bytes() const;
    // As text: a text as it is, a number in decimal ("-1"), bytes as upper-case
    // hex pairs joined by blanks ("00 0A FF"), no value as the empty text.
    std::wstring ToText() const;

    friend bool operator==(const RegValue&, const RegValue&) = default;

private:
    std::variant<std::monostate, std::wstring, int32_t, std::vector<uint8_t>> v_;
    bool readError_ = false;
};
