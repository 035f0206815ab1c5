#include "freecell/board_layout.h"

#include <algorithm>
#include <cmath>

#include "freecell/card_faces.h"

namespace freecell {

namespace {

constexpr int kColumnsGap = 16;  // between the top row and the columns
constexpr int kStatusHeight = 20;
constexpr int kSmallestStep = 3;
constexpr double kSmallestScale = 0.75;

}  // namespace

Size smallestClientSize(int pixelsPerInch) {
    const double scale = kSmallestScale * (pixelsPerInch > 0 ? pixelsPerInch : 96) / 96.0;
    return {static_cast<int>(std::ceil(kClassicClientWidth * scale)),
            static_cast<int>(std::ceil(kClassicClientHeight * scale))};
}

BoardLayout::BoardLayout(int clientWidth, int clientHeight)
    : width_(clientWidth),
      height_(clientHeight),
      scale_(std::max(0.1, std::min(static_cast<double>(clientWidth) / kClassicClientWidth,
                                    static_cast<double>(clientHeight) / kClassicClientHeight))),
      cardWidth_(scaled(kCardWidth)),
      cardHeight_(scaled(kCardHeight)),
      columnsTop_(cardHeight_ + scaled(kColumnsGap)),
      normalStep_(scaled(kIndexStripHeight)),
      // The status line's text keeps at least its classic size.
      statusHeight_(std::max(kStatusHeight, scaled(kStatusHeight))),
      columnGap_(std::max(2, (clientWidth - kColumnCount * cardWidth_) / (kColumnCount + 1))) {}

int BoardLayout::scaled(double length) const { return static_cast<int>(std::lround(length * scale_)); }

Rect BoardLayout::cell(int index) const { return {index * cardWidth_, 0, (index + 1) * cardWidth_, cardHeight_}; }

Rect BoardLayout::home(int suit) const {
    const int left = width_ - (kSuitCount - suit) * cardWidth_;
    return {left, 0, left + cardWidth_, cardHeight_};
}

Rect BoardLayout::middle() const { return {cell(kCellCount - 1).right, 0, home(0).left, cardHeight_}; }

Rect BoardLayout::columnSlot(int column) const {
    const int left = columnGap_ + column * (cardWidth_ + columnGap_);
    return {left, columnsTop_, left + cardWidth_, columnsTop_ + cardHeight_};
}

int BoardLayout::step(const Board& board, int column) const {
    const int cards = static_cast<int>(board.columns[column].size());
    if (cards < 2) return normalStep_;
    const int room = statusLine().top - 4 - columnsTop_ - cardHeight_;
    return std::clamp(room / (cards - 1), kSmallestStep, normalStep_);
}

Rect BoardLayout::card(const Board& board, int column, int row) const {
    Rect rect = columnSlot(column);
    const int offset = row * step(board, column);
    rect.top += offset;
    rect.bottom += offset;
    return rect;
}

Rect BoardLayout::statusLine() const { return {0, height_ - statusHeight_, width_, height_}; }

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
    const int visible = row == cards - 1 ? cardHeight_ : step(board, location.index);
    return {x, rect.top + visible / 2};
}

}  // namespace freecell
