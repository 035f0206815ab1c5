#pragma once

// Lead bytes of code page 932 double-byte characters. Their trail byte can be
// 0x5C, the backslash, or any other ASCII byte from 0x40 on, so texts are
// walked character by character, never byte by byte.
inline bool isLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
