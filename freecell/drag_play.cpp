#include "freecell/drag_play.h"

#include <algorithm>
#include <cstdlib>

namespace freecell {

namespace {

int cardCount(const Board& board, const Selection& cards) {
    if (cards.location.place != Place::Column) return 1;
    return static_cast<int>(board.columns[cards.location.index].size()) - cards.row;
}

long overlapArea(const Rect& a, const Rect& b) {
    const long width = std::min(a.right, b.right) - std::max(a.left, b.left);
    const long height = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

}  // namespace

CardDrag::CardDrag(const Selection& cards, const Rect& lead, const Point& press)
    : cards_(cards), origin_(lead), press_(press), pointer_(press) {}

bool CardDrag::follow(const Point& point, int dragWidth, int dragHeight) {
    pointer_ = point;
    if (!begun_ && (std::abs(point.x - press_.x) > dragWidth || std::abs(point.y - press_.y) > dragHeight)) {
        begun_ = true;
    }
    return begun_;
}

Rect CardDrag::lead() const {
    if (!begun_) return origin_;
    const int dx = pointer_.x - press_.x;
    const int dy = pointer_.y - press_.y;
    return {origin_.left + dx, origin_.top + dy, origin_.right + dx, origin_.bottom + dy};
}

bool canDrag(const Board& board, const Selection& cards) {
    switch (cards.location.place) {
        case Place::Cell:
            return board.cells[cards.location.index].has_value();
        case Place::Column: {
            const auto& column = board.columns[cards.location.index];
            const int count = cardCount(board, cards);
            return count >= 1 && count <= orderedRunLength(column) && count <= supermoveLimit(board, false);
        }
        case Place::Home:
            break;
    }
    return false;
}

std::optional<Location> dropTarget(const BoardLayout& layout, const Board& board, const Rect& lead) {
    std::optional<Location> best;
    long bestArea = 0;
    const auto consider = [&](const Location& place, const Rect& rect) {
        const long area = overlapArea(lead, rect);
        if (area > bestArea) {
            bestArea = area;
            best = place;
        }
    };
    for (int i = 0; i < kCellCount; ++i) {
        consider({Place::Cell, i}, layout.cell(i));
        consider({Place::Home, i}, layout.home(i));
    }
    for (int column = 0; column < kColumnCount; ++column) {
        const int cards = static_cast<int>(board.columns[column].size());
        consider({Place::Column, column},
                 cards == 0 ? layout.columnSlot(column) : layout.card(board, column, cards - 1));
    }
    return best;
}

std::optional<Move> dropMove(const Board& board, const Selection& cards, const Location& target) {
    Move move{cards.location, target, cardCount(board, cards)};
    if (target.place == Place::Home) {
        const std::optional<Card> card = leadingCard(board, move);
        if (!card) return std::nullopt;
        move.to.index = suitOf(*card);
    }
    if (!isLegal(board, move)) return std::nullopt;
    return move;
}

Rect between(const Rect& from, const Rect& to, double fraction) {
    const double t = std::clamp(fraction, 0.0, 1.0);
    const auto mix = [t](int a, int b) { return a + static_cast<int>((b - a) * t + (b >= a ? 0.5 : -0.5)); };
    const int left = mix(from.left, to.left);
    const int top = mix(from.top, to.top);
    return {left, top, left + (from.right - from.left), top + (from.bottom - from.top)};
}

}  // namespace freecell
