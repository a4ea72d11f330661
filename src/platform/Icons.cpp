#include "platform/Icons.h"

#include "platform/Pixels.h"

#include <array>

namespace Icons {
namespace {
#include "platform/IconPixels.inc"

// A symbol's place in the palette.
constexpr std::array<unsigned char, 128> kColourOf = [] {
    std::array<unsigned char, 128> at{};
    for (unsigned char i = 0; IconPixels::kSymbols[i]; ++i)
        at[static_cast<unsigned char>(IconPixels::kSymbols[i])] = i;
    return at;
}();

std::vector<DWORD> Stored(bool category, int number, int size) {
    for (const IconPixels::Stored& s : IconPixels::kStored) {
        if (s.category != category || s.number != number || s.size != size) continue;
        std::vector<DWORD> argb(static_cast<size_t>(size) * static_cast<size_t>(size));
        for (size_t i = 0; i < argb.size(); ++i)
            argb[i] = IconPixels::kPalette[kColourOf[static_cast<unsigned char>(s.rows[i]) & 0x7F]];
        return argb;
    }
    return {};
}
}  // namespace

std::vector<DWORD> Argb(int number, int size) { return Stored(false, number, size); }

std::vector<DWORD> CategoryArgb(int number) { return Stored(true, number, 16); }

HICON Create(int number, int size) {
    const std::vector<DWORD> argb = Argb(number, size);
    return argb.empty() ? nullptr : Pixels::IconFromArgb(argb, size);
}

}  // namespace Icons
