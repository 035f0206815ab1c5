#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/version_resource.h"

namespace {

// A root block as windres writes it: length, value length, type, the key
// "VS_VERSION_INFO" in UTF-16 with its padding, then the fixed information.
std::vector<unsigned char> versionBlock(uint16_t major, uint16_t minor, uint16_t build, uint16_t patch) {
    std::vector<unsigned char> bytes(6, 0);
    for (const char c : std::string("VS_VERSION_INFO")) bytes.insert(bytes.end(), {static_cast<unsigned char>(c), 0});
    bytes.insert(bytes.end(), {0, 0});
    while (bytes.size() % 4) bytes.push_back(0);
    const auto add32 = [&bytes](uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
    };
    add32(0xFEEF04BD);
    add32(0x00010000);
    add32(uint32_t{major} << 16 | minor);
    add32(uint32_t{build} << 16 | patch);
    add32(0);
    return bytes;
}

TEST(VersionResource, TellsTheFileVersionWithoutTrailingZeroParts) {
    const auto text = [](const std::vector<unsigned char>& bytes) {
        return fileVersionText(bytes.data(), bytes.size()).value_or("<none>");
    };
    EXPECT_EQ(text(versionBlock(1, 21, 0, 0)), "1.21");
    EXPECT_EQ(text(versionBlock(2, 0, 0, 0)), "2.0");
    EXPECT_EQ(text(versionBlock(1, 21, 3, 0)), "1.21.3");
    EXPECT_EQ(text(versionBlock(1, 0, 0, 7)), "1.0.0.7");
    std::vector<unsigned char> cut = versionBlock(1, 21, 0, 0);
    cut.resize(cut.size() - 12);  // the signature, without the version after it
    EXPECT_EQ(text(cut), "<none>");
}

}  // namespace
