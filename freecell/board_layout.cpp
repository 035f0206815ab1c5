#include "freecell/board_layout.h"

#include <algorithm>

#include "freecell/card_faces.h"

namespace freecell {

namespace {

constexpr int kColumnsTop = kCardHeight + 16;
constexpr int kStatusHeight = 20;
constexpr int kNormalStep = kIndexStripHeight;
constexpr int kSmallestStep = 3;

}  // namespace

BoardLayout::BoardLayout(int clientWidth, int clientHeight)
    : width_(clientWidth),
      height_(clientHeight),
      columnGap_(std::max(2, (clientWidth - kColumnCount * kCardWidth) / (kColumnCount + 1))) {}

Rect BoardLayout::cell(int index) const { return {index * kCardWidth, 0, (index + 1) * kCardWidth, kCardHeight}; }

Rect BoardLayout::home(int suit) const {
    const int left = width_ - (kSuitCount - suit) * kCardWidth;
    return {left, 0, left + kCardWidth, kCardHeight};
}

Rect BoardLayout::middle() const { return {cell(kCellCount - 1).right, 0, home(0).left, kCardHeight}; }

Rect BoardLayout::columnSlot(int column) const {
    const int left = columnGap_ + column * (kCardWidth + columnGap_);
    return {left, kColumnsTop, left + kCardWidth, kColumnsTop + kCardHeight};
}

int BoardLayout::step(const Board& board, int column) const {
    const int cards = static_cast<int>(board.columns[column].size());
    if (cards < 2) return kNormalStep;
    const int room = statusLine().top - 4 - kColumnsTop - kCardHeight;
    return std::clamp(room / (cards - 1), kSmallestStep, kNormalStep);
}

Rect BoardLayout::card(const Board& board, int column, int row) const {
    Rect rect = columnSlot(column);
    const int offset = row * step(board, column);
    rect.top += offset;
    rect.bottom += offset;
    return rect;
}

Rect BoardLayout::statusLine() const { return {0, height_ - kStatusHeight, width_, height_}; }

std::optional<Hit> BoardLayout::hitTest(const Board& board, const Point& point) const {
    for (int i = 0; i < kCellCount; ++i) {
        if (cell(i).contains(point)) return Hit{{Place::Cell, i}};
    }
    for (int suit = 0; suit < kSuitCount; ++suit) {
        if (home(suit).contains(point)) return Hit{{Place::Home, suit}};
    }
    for (int column = 0; column < kColumnCount; ++column) {
        const Rect slot = columnSlot(column);
        const Rect lane{slot.left, slot.top, slot.right, statusLine().top};
        if (!lane.contains(point)) continue;
        const int cards = static_cast<int>(board.columns[column].size());
        const int row = cards == 0 ? -1 : std::min(cards - 1, (point.y - slot.top) / step(board, column));
        return Hit{{Place::Column, column}, row};
    }
    return std::nullopt;
}

Point BoardLayout::pointOn(const Board& board, const Location& location, int row) const {
    switch (location.place) {
        case Place::Cell: {
            const Rect rect = cell(location.index);
            return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        }
        case Place::Home: {
            const Rect rect = home(location.index);
            return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        }
        case Place::Column:
            break;
    }
    const int cards = static_cast<int>(board.columns[location.index].size());
    const Rect slot = columnSlot(location.index);
    const int x = (slot.left + slot.right) / 2;
    if (cards == 0) return {x, (slot.top + slot.bottom) / 2};
    if (row < 0 || row >= cards) row = cards - 1;
    const Rect rect = card(board, location.index, row);
    const int visible = row == cards - 1 ? kCardHeight : step(board, location.index);
    return {x, rect.top + visible / 2};
}

}  // namespace freecell
