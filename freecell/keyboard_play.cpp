#include "freecell/keyboard_play.h"

namespace freecell {

namespace {

constexpr unsigned kNumpad1 = 0x61;
constexpr char kCellKeys[kCellCount] = {'A', 'S', 'D', 'F'};

}  // namespace

std::optional<Location> placeForKey(unsigned virtualKey) {
    if (virtualKey >= '1' && virtualKey < '1' + kColumnCount)
        return Location{Place::Column, static_cast<int>(virtualKey - '1')};
    if (virtualKey >= kNumpad1 && virtualKey < kNumpad1 + kColumnCount)
        return Location{Place::Column, static_cast<int>(virtualKey - kNumpad1)};
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (virtualKey == static_cast<unsigned>(kCellKeys[cell])) return Location{Place::Cell, cell};
    }
    if (virtualKey == 'H') return Location{Place::Home, 0};  // any home cell takes a card to its suit's
    return std::nullopt;
}

}  // namespace freecell
