// The pictures the program keeps are, pixel for pixel, what their drawing
// (tools/iconpixels) draws here, under the same Wine, locale and fonts.
#include "IconArt.h"
#include "platform/Icons.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
std::vector<DWORD> Kept(const IconArt::Kept& k) {
    return k.category ? Icons::CategoryArgb(k.number) : Icons::Argb(k.number, k.size);
}

// The pixels that differ, at most a few, as "x,y drawn/kept".
std::string Differences(const std::vector<DWORD>& drawn, const std::vector<DWORD>& kept, int size) {
    std::string out;
    int count = 0;
    for (size_t i = 0; i < drawn.size() && i < kept.size(); ++i) {
        if (drawn[i] == kept[i]) continue;
        if (++count <= 5) {
            char one[64];
            std::snprintf(one, sizeof one, " %d,%d %08lX/%08lX", static_cast<int>(i) % size,
                          static_cast<int>(i) / size, static_cast<unsigned long>(drawn[i]),
                          static_cast<unsigned long>(kept[i]));
            out += one;
        }
    }
    return count ? std::to_string(count) + " pixels differ:" + out : std::string();
}
}  // namespace

TEST(IconPixelsTest, EveryKeptPictureIsWhatItsDrawingDraws) {
    const std::vector<IconArt::Kept> all = IconArt::Pictures();
    ASSERT_FALSE(all.empty());
    for (const IconArt::Kept& k : all) {
        SCOPED_TRACE((k.category ? "category " : "") + std::to_string(k.number) + " at " + std::to_string(k.size));
        const std::vector<DWORD> drawn = IconArt::Draw(k), kept = Kept(k);
        const size_t cells = static_cast<size_t>(k.size) * static_cast<size_t>(k.size);
        ASSERT_EQ(cells, drawn.size());
        ASSERT_EQ(cells, kept.size());
        EXPECT_EQ("", Differences(drawn, kept, k.size));
        size_t opaque = 0;
        for (DWORD v : kept) opaque += (v >> 24) == 0xFF;
        EXPECT_GT(opaque, 0u) << "an empty picture";
    }
}

// A number without a picture, or a size the program never shows a picture at,
// gives no picture: no icon and a blank image in a list.
TEST(IconPixelsTest, NothingWhereNothingIsDrawnOrShown) {
    struct Case {
        bool category;
        int number, size;
    };
    const Case cases[] = {{false, 0, 16},  {false, 24, 16}, {false, Icons::kLastNumber + 1, 16},
                          {false, 2, 32},  {false, 1, 48},  {false, 1, 0},
                          {true, 0, 16},   {true, Icons::kLastCategoryPicture + 1, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.number) + " at " + std::to_string(c.size));
        EXPECT_TRUE(Kept({c.category, c.number, c.size}).empty());
        if (c.category) continue;
        EXPECT_EQ(nullptr, Icons::Create(c.number, c.size));
    }
}
