#include "freecell/solver_moves.h"

#include <utility>

namespace freecell {

namespace {

bool inRange(int index, int count) { return index >= 0 && index < count; }

}  // namespace

std::optional<Move> gameMove(const Board& board, const SolverMove& solverMove) {
    using Kind = SolverMove::Kind;
    Move move;
    switch (solverMove.kind) {
        case Kind::ColumnToColumn:
            move = {{Place::Column, solverMove.from}, {Place::Column, solverMove.to}, solverMove.count};
            break;
        case Kind::ColumnToCell:
            move = {{Place::Column, solverMove.from}, {Place::Cell, solverMove.to}, 1};
            break;
        case Kind::CellToColumn:
            move = {{Place::Cell, solverMove.from}, {Place::Column, solverMove.to}, 1};
            break;
        case Kind::ColumnToHome:
            move = {{Place::Column, solverMove.from}, {Place::Home, 0}, 1};
            break;
        case Kind::CellToHome:
            move = {{Place::Cell, solverMove.from}, {Place::Home, 0}, 1};
            break;
        case Kind::CellToCell:
        case Kind::Other:
            return std::nullopt;
    }
    const int sources = move.from.place == Place::Column ? kColumnCount : kCellCount;
    if (!inRange(move.from.index, sources)) return std::nullopt;
    if (move.to.place == Place::Home) {
        // The solver numbers home cells its own way; the card tells which.
        const std::optional<Card> card = leadingCard(board, move);
        if (!card) return std::nullopt;
        move.to.index = suitOf(*card);
    }
    if (!isLegal(board, move)) return std::nullopt;
    return move;
}

namespace {

// Where `card` lies on the board, and how many cards leave with it.
std::optional<std::pair<Location, int>> whereIs(const Board& board, Card card) {
    for (int cell = 0; cell < kCellCount; ++cell) {
        if (board.cells[cell] == card) return std::make_pair(Location{Place::Cell, cell}, 1);
    }
    for (int column = 0; column < kColumnCount; ++column) {
        const std::vector<Card>& cards = board.columns[column];
        for (std::size_t row = 0; row < cards.size(); ++row) {
            if (cards[row] == card)
                return std::make_pair(Location{Place::Column, column}, static_cast<int>(cards.size() - row));
        }
    }
    return std::nullopt;
}

}  // namespace

std::vector<Move> gameWay(const Board& board, const std::vector<SolverMove>& answer) {
    Board solverBoard = board;  // the solver's own line, without automatic moves
    Board gameBoard = board;
    std::vector<Move> way;
    for (const SolverMove& solverMove : answer) {
        const std::optional<Move> move = gameMove(solverBoard, solverMove);
        if (!move) break;
        const Card card = *leadingCard(solverBoard, *move);
        applyMove(solverBoard, *move);
        if (gameBoard.home[suitOf(card)] > rankOf(card)) continue;  // home by itself already
        const auto from = whereIs(gameBoard, card);
        if (!from) break;
        const Move played{from->first, move->to, from->second};
        if (!isLegal(gameBoard, played)) break;
        applyMove(gameBoard, played);
        playAutomaticMoves(gameBoard);
        way.push_back(played);
    }
    return way;
}

}  // namespace freecell
