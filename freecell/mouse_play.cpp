#include "freecell/mouse_play.h"

namespace freecell {

namespace {

std::optional<Selection> pickUp(const Board& board, const Hit& hit) {
    switch (hit.location.place) {
        case Place::Cell:
            if (!board.cells[hit.location.index]) return std::nullopt;
            return Selection{hit.location, 0};
        case Place::Column: {
            const auto& column = board.columns[hit.location.index];
            if (column.empty()) return std::nullopt;
            const int size = static_cast<int>(column.size());
            const int runStart = size - orderedRunLength(column);
            const int row = hit.row < runStart ? runStart : (hit.row >= size ? size - 1 : hit.row);
            return Selection{hit.location, row};
        }
        case Place::Home:
            break;
    }
    return std::nullopt;
}

// How many cards of the selection go to that column: the ones that fit onto
// its bottom card, or into an empty column as many as are selected and allowed.
int countFor(const Board& board, const Selection& selection, const Location& target) {
    if (selection.location.place == Place::Cell) return 1;
    const auto& column = board.columns[selection.location.index];
    const int size = static_cast<int>(column.size());
    const auto& targetCards = board.columns[target.index];
    if (targetCards.empty()) {
        const int selected = size - selection.row;
        const int limit = supermoveLimit(board, true);
        return selected < limit ? selected : limit;
    }
    const int run = orderedRunLength(column);
    for (int count = 1; count <= run; ++count) {
        if (fitsOnto(column[size - count], targetCards.back())) return count;
    }
    return 0;
}

std::optional<Move> moveTo(const Board& board, const Selection& selection, const Location& target) {
    Move move{selection.location, target, 1};
    switch (target.place) {
        case Place::Home: {
            const std::optional<Card> card = leadingCard(board, move);
            if (!card) return std::nullopt;
            move.to.index = suitOf(*card);  // any home cell takes the card to its suit's
            break;
        }
        case Place::Cell:
            break;
        case Place::Column:
            move.count = countFor(board, selection, target);
            if (move.count == 0) return std::nullopt;
            break;
    }
    if (!isLegal(board, move)) return std::nullopt;
    return move;
}

}  // namespace

ClickOutcome click(const Board& board, std::optional<Selection>& selection, const std::optional<Hit>& hit) {
    if (!selection) {
        if (hit) selection = pickUp(board, *hit);
        return {};
    }
    const Selection picked = *selection;
    selection.reset();
    if (!hit || hit->location == picked.location) return {};
    if (const std::optional<Move> move = moveTo(board, picked, hit->location)) return {move, false};
    return {std::nullopt, true};
}

ClickOutcome doubleClick(const Board& board, const std::optional<Hit>& hit) {
    if (!hit) return {};
    const Location& place = hit->location;
    std::optional<Move> move;
    if (place.place == Place::Column && !board.columns[place.index].empty()) {
        const Card card = board.columns[place.index].back();
        if (canGoHome(board, card)) return {Move{place, {Place::Home, suitOf(card)}}, false};
        for (int cell = 0; cell < kCellCount && !move; ++cell) {
            if (!board.cells[cell]) move = Move{place, {Place::Cell, cell}};
        }
    } else if (place.place == Place::Cell && board.cells[place.index]) {
        move = Move{place, {Place::Home, suitOf(*board.cells[place.index])}};
    } else {
        return {};
    }
    if (move && isLegal(board, *move)) return {move, false};
    return {std::nullopt, true};
}

}  // namespace freecell
