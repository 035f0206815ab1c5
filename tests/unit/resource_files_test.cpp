// The committed glyph bitmaps and icons: the formats the control bar and the
// windows rely on.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> readResource(const std::string& name) {
    std::ifstream file(std::string(TK_SOURCE_DIR) + "/res/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

uint32_t u32(const std::vector<uint8_t>& data, size_t at) {
    if (at + 4 > data.size()) return 0;
    return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
}

uint16_t u16(const std::vector<uint8_t>& data, size_t at) {
    if (at + 2 > data.size()) return 0;
    return static_cast<uint16_t>(data[at] | data[at + 1] << 8);
}

// BITMAPFILEHEADER (14 bytes), then BITMAPINFOHEADER.
struct Bitmap {
    explicit Bitmap(const std::vector<uint8_t>& data)
        : width(static_cast<int32_t>(u32(data, 18))),
          height(static_cast<int32_t>(u32(data, 22))),
          bitsPerPixel(u16(data, 28)),
          compression(u32(data, 30)),
          pixelsAt(u32(data, 10)),
          paletteAt(14 + u32(data, 14)) {}
    int32_t width, height;
    uint16_t bitsPerPixel;
    uint32_t compression, pixelsAt, paletteAt;
};

class GlyphBitmap : public ::testing::TestWithParam<const char*> {};

TEST_P(GlyphBitmap, HoldsTwo16By16ImagesIn16Colours) {
    const std::vector<uint8_t> data = readResource(GetParam());
    ASSERT_GT(data.size(), 118u);
    EXPECT_EQ(data[0], 'B');
    EXPECT_EQ(data[1], 'M');
    const Bitmap bitmap(data);
    EXPECT_EQ(bitmap.width, 32);
    EXPECT_EQ(bitmap.height, 16);  // positive: bottom-up rows
    EXPECT_EQ(bitmap.bitsPerPixel, 4);
    EXPECT_EQ(bitmap.compression, 0u);
}

TEST_P(GlyphBitmap, BottomLeftPixelIsOliveTheTransparentColour) {
    const std::vector<uint8_t> data = readResource(GetParam());
    const Bitmap bitmap(data);
    ASSERT_LT(bitmap.pixelsAt, data.size());
    // Bottom-up: the first row stored is the bottom one; its first pixel is
    // the high nibble of the first byte.
    const unsigned index = data[bitmap.pixelsAt] >> 4;
    const size_t entry = bitmap.paletteAt + 4 * index;  // blue, green, red, 0
    ASSERT_LT(entry + 2, data.size());
    EXPECT_EQ(data[entry + 2], 128);  // red
    EXPECT_EQ(data[entry + 1], 128);  // green
    EXPECT_EQ(data[entry], 0);        // blue
}

INSTANTIATE_TEST_SUITE_P(ControlBar, GlyphBitmap,
                         ::testing::Values("speedbutton1.bmp", "speedbutton2.bmp", "speedbutton3.bmp",
                                           "speedbutton4.bmp"));

class IconFile : public ::testing::TestWithParam<const char*> {};

// ICONDIR (6 bytes), one ICONDIRENTRY (16 bytes), then the image's BITMAPINFOHEADER.
TEST_P(IconFile, HoldsOne32By32ImageIn256Colours) {
    const std::vector<uint8_t> data = readResource(GetParam());
    ASSERT_GT(data.size(), 22u + 40u);
    EXPECT_EQ(u16(data, 2), 1);  // an icon
    EXPECT_EQ(u16(data, 4), 1);  // one image
    EXPECT_EQ(data[6], 32);
    EXPECT_EQ(data[7], 32);
    EXPECT_EQ(u16(data, 12), 8);
    const size_t image = u32(data, 18);
    EXPECT_EQ(u32(data, image + 4), 32u);
    EXPECT_EQ(u32(data, image + 8), 64u);  // colour and mask rows
    EXPECT_EQ(u16(data, image + 14), 8);
}

INSTANTIATE_TEST_SUITE_P(Windows, IconFile, ::testing::Values("tallykeep.ico", "controlbar.ico"));

}  // namespace
