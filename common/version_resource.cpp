#include "common/version_resource.h"

#include <cstdint>

namespace {

constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

uint32_t littleEndian32(const unsigned char* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

}  // namespace

// The fixed file information follows the root block's header and key, at a
// 32-bit boundary: its signature, its structure version, then the file
// version's high and low double words.
std::optional<std::string> fileVersionText(const unsigned char* bytes, std::size_t size) {
    for (std::size_t at = 0; at + 16 <= size; at += 4) {
        if (littleEndian32(bytes + at) != kFixedFileInfoSignature) continue;
        const uint32_t high = littleEndian32(bytes + at + 8);
        const uint32_t low = littleEndian32(bytes + at + 12);
        const uint32_t parts[] = {high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF};
        std::size_t count = 4;
        while (count > 2 && parts[count - 1] == 0) --count;
        std::string text = std::to_string(parts[0]);
        for (std::size_t i = 1; i < count; ++i) text += "." + std::to_string(parts[i]);
        return text;
    }
    return std::nullopt;
}
