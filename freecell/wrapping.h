#pragma once

#include <cstdint>

namespace freecell {

// The game's counters wrap as 32-bit two's complement (2147483647 + 1 is
// -2147483648); signed overflow in C++ would be undefined.
inline int32_t wrappingAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

}  // namespace freecell
