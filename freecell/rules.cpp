#include "freecell/rules.h"

namespace freecell {

namespace {

const std::vector<Card>& columnAt(const Board& board, const Location& location) {
    return board.columns[location.index];
}

bool validIndex(const Location& location) {
    switch (location.place) {
        case Place::Column:
            return location.index >= 0 && location.index < kColumnCount;
        case Place::Cell:
            return location.index >= 0 && location.index < kCellCount;
        case Place::Home:
            return location.index >= 0 && location.index < kSuitCount;
    }
    return false;
}

int firstEmptyColumn(const Board& board) {
    for (int i = 0; i < kColumnCount; ++i) {
        if (board.columns[i].empty()) return i;
    }
    return -1;
}

int firstFreeCell(const Board& board) {
    for (int i = 0; i < kCellCount; ++i) {
        if (!board.cells[i]) return i;
    }
    return -1;
}

bool isSafeHome(const Board& board, Card card) {
    if (!canGoHome(board, card)) return false;
    const int rank = rankOf(card);
    if (rank <= 1) return true;
    for (int suit = 0; suit < kSuitCount; ++suit) {
        if (isRed(cardOf(0, suit)) != isRed(card) && board.home[suit] < rank) return false;
    }
    return true;
}

}  // namespace

std::string describe(const Location& location) {
    const char* names[] = {"column", "cell", "home"};
    return names[static_cast<int>(location.place)] + std::to_string(location.index);
}

std::string describe(const Move& move) {
    std::string text = describe(move.from) + '>' + describe(move.to);
    if (move.count != 1) text += " x" + std::to_string(move.count);
    return text;
}

bool fitsOnto(Card card, Card target) { return rankOf(target) == rankOf(card) + 1 && isRed(target) != isRed(card); }

int orderedRunLength(const std::vector<Card>& column) {
    if (column.empty()) return 0;
    int length = 1;
    for (std::size_t i = column.size() - 1; i > 0 && fitsOnto(column[i], column[i - 1]); --i) ++length;
    return length;
}

int freeCellCount(const Board& board) {
    int count = 0;
    for (const auto& cell : board.cells) count += cell ? 0 : 1;
    return count;
}

int emptyColumnCount(const Board& board) {
    int count = 0;
    for (const auto& column : board.columns) count += column.empty() ? 1 : 0;
    return count;
}

int supermoveLimit(const Board& board, bool toEmptyColumn) {
    int emptyColumns = emptyColumnCount(board);
    if (toEmptyColumn && emptyColumns > 0) --emptyColumns;
    return (freeCellCount(board) + 1) << emptyColumns;
}

bool canGoHome(const Board& board, Card card) { return board.home[suitOf(card)] == rankOf(card); }

std::optional<Card> leadingCard(const Board& board, const Move& move) {
    if (!validIndex(move.from) || move.count < 1) return std::nullopt;
    switch (move.from.place) {
        case Place::Cell:
            if (move.count != 1) return std::nullopt;
            return board.cells[move.from.index];
        case Place::Column: {
            const auto& column = columnAt(board, move.from);
            if (static_cast<int>(column.size()) < move.count) return std::nullopt;
            return column[column.size() - move.count];
        }
        case Place::Home:
            break;
    }
    return std::nullopt;
}

bool isLegal(const Board& board, const Move& move) {
    if (!validIndex(move.to) || move.from == move.to) return false;
    const std::optional<Card> card = leadingCard(board, move);
    if (!card) return false;
    if (move.from.place == Place::Column && move.count > orderedRunLength(columnAt(board, move.from))) return false;
    switch (move.to.place) {
        case Place::Home:
            return move.count == 1 && move.to.index == suitOf(*card) && canGoHome(board, *card);
        case Place::Cell:
            return move.count == 1 && !board.cells[move.to.index];
        case Place::Column: {
            const auto& target = columnAt(board, move.to);
            if (move.count > supermoveLimit(board, target.empty())) return false;
            return target.empty() || fitsOnto(*card, target.back());
        }
    }
    return false;
}

void applyMove(Board& board, const Move& move) {
    std::vector<Card> moving;
    if (move.from.place == Place::Cell) {
        moving.push_back(*board.cells[move.from.index]);
        board.cells[move.from.index].reset();
    } else {
        auto& column = board.columns[move.from.index];
        moving.assign(column.end() - move.count, column.end());
        column.resize(column.size() - move.count);
    }
    switch (move.to.place) {
        case Place::Home:
            ++board.home[move.to.index];
            break;
        case Place::Cell:
            board.cells[move.to.index] = moving.front();
            break;
        case Place::Column:
            board.columns[move.to.index].insert(board.columns[move.to.index].end(), moving.begin(), moving.end());
            break;
    }
}

std::vector<Move> legalMoves(const Board& board) {
    std::vector<Move> moves;
    const auto addIfLegal = [&](const Move& move) {
        if (isLegal(board, move)) moves.push_back(move);
    };
    const int emptyColumn = firstEmptyColumn(board);
    const int freeCell = firstFreeCell(board);
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (!board.cells[cell]) continue;
        const Location from{Place::Cell, cell};
        addIfLegal({from, {Place::Home, suitOf(*board.cells[cell])}});
        for (int column = 0; column < kColumnCount; ++column) {
            if (!board.columns[column].empty() || column == emptyColumn) addIfLegal({from, {Place::Column, column}});
        }
    }
    for (int source = 0; source < kColumnCount; ++source) {
        const auto& column = board.columns[source];
        if (column.empty()) continue;
        const Location from{Place::Column, source};
        addIfLegal({from, {Place::Home, suitOf(column.back())}});
        const int run = orderedRunLength(column);
        for (int target = 0; target < kColumnCount; ++target) {
            if (target == source) continue;
            if (!board.columns[target].empty()) {
                for (int count = 1; count <= run; ++count) addIfLegal({from, {Place::Column, target}, count});
            } else if (target == emptyColumn) {
                for (int count = 1; count <= run && count < static_cast<int>(column.size()); ++count)
                    addIfLegal({from, {Place::Column, target}, count});
            }
        }
        if (freeCell >= 0) addIfLegal({from, {Place::Cell, freeCell}});
    }
    return moves;
}

bool hasLegalMove(const Board& board) { return !legalMoves(board).empty(); }

std::optional<Move> nextAutomaticMove(const Board& board) {
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (board.cells[cell] && isSafeHome(board, *board.cells[cell]))
            return Move{{Place::Cell, cell}, {Place::Home, suitOf(*board.cells[cell])}};
    }
    for (int column = 0; column < kColumnCount; ++column) {
        const auto& cards = board.columns[column];
        if (!cards.empty() && isSafeHome(board, cards.back()))
            return Move{{Place::Column, column}, {Place::Home, suitOf(cards.back())}};
    }
    return std::nullopt;
}

std::vector<Move> playAutomaticMoves(Board& board) {
    std::vector<Move> played;
    while (const std::optional<Move> move = nextAutomaticMove(board)) {
        applyMove(board, *move);
        played.push_back(*move);
    }
    return played;
}

bool isFinished(const Board& board) { return cardsLeft(board) == 0; }

void sendAllHome(Board& board) {
    for (auto& column : board.columns) column.clear();
    for (auto& cell : board.cells) cell.reset();
    board.home = {kRankCount, kRankCount, kRankCount, kRankCount};
}

}  // namespace freecell
