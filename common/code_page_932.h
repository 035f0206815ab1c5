#pragma once

#include <cstddef>
#include <string>

// Lead bytes of code page 932 double-byte characters. Their trail byte can be
// 0x5C, the backslash, or any other ASCII byte from 0x40 on, so texts are
// walked character by character, never byte by byte.
inline bool isLeadByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The ASCII digit of a full-width digit ０ to ９ (0x82 0x4F to 0x82 0x58), as
// the input method types digits; 0 for any other character.
inline char asciiDigitOfFullWidth(char lead, char trail) {
    const auto t = static_cast<unsigned char>(trail);
    if (static_cast<unsigned char>(lead) != 0x82 || t < 0x4F || t > 0x58) return 0;
    return static_cast<char>('0' + (t - 0x4F));
}

// The folder of a code page 932 path, up to its last separator; a second
// byte 0x5C of a double-byte character (表, ソ) is no separator. Empty when
// the path has none.
inline std::string folderOf(const std::string& path) {
    std::size_t separator = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char byte = path[i];
        if (isLeadByte(byte))
            ++i;
        else if (byte == '\\' || byte == '/')
            separator = i;
    }
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}
