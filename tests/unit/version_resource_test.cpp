#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/version_resource.h"

namespace {

// A root block as windres writes it: length, value length and type, the key
// "VS_VERSION_INFO" in UTF-16 with its padding, then the fixed information.
std::string versionOf(uint32_t high, uint32_t low, std::size_t cutAtEnd = 0) {
    std::vector<unsigned char> bytes(40, 0);
    for (const uint32_t value : {0xFEEF04BDu, 0x00010000u, high, low, 0u})
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
    return fileVersionText(bytes.data(), bytes.size() - cutAtEnd).value_or("<none>");
}

TEST(VersionResource, TellsTheFileVersionWithoutTrailingZeroParts) {
    EXPECT_EQ(versionOf(0x00010015, 0), "1.21");
    EXPECT_EQ(versionOf(0x00020000, 0), "2.0");
    EXPECT_EQ(versionOf(0x00010015, 0x00030000), "1.21.3");
    EXPECT_EQ(versionOf(0x00010000, 0x00000007), "1.0.0.7");
    EXPECT_EQ(versionOf(0x00010015, 0, 12), "<none>") << "the signature without the version after it";
}

}  // namespace
