#include "engine/RegValue.h"

#include "common/Marks.h"
#include "engine/General.h"

RegValue RegValue::Unreadable() {
    RegValue v(Marks::ReadErrorMark);
    v.readError_ = true;
    return v;
}

const std::wstring& RegValue::Text() const {
    static const std::wstring none;
    const auto* t = std::get_if<std::wstring>(&v_);
    return t ? *t : none;
}

int32_t RegValue::Number() const {
    const auto* n = std::get_if<int32_t>(&v_);
    return n ? *n : 0;
}

const std::vector<uint8_t>& RegValue::Bytes() const {
    static const std::vector<uint8_t> none;
    const auto* b = std::get_if<std::vector<uint8_t>>(&v_);
    return b ? *b : none;
}

std::wstring RegValue::ToText() const {
    if (IsText()) return Text();
    if (IsNumber()) return std::to_wstring(Number());
    if (IsBytes()) return General::BytesToHex(Bytes());
    return {};
}
