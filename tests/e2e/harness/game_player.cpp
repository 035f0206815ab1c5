#include "harness/game_player.h"

#include "freecell_solver.h"
#include "harness/game_control.h"
#include "freecell/rules.h"

namespace e2e {

namespace {

// One move as a person makes it: a double click sends a card into a free
// cell (unless it would send it home); a column's run is picked up at its
// first moving card.
void postMove(HWND game, const freecell::Board& board, const freecell::Move& move) {
    const freecell::BoardLayout layout = standinLayout(game);
    if (move.to.place == freecell::Place::Cell && !freecell::canGoHome(board, *freecell::leadingCard(board, move))) {
        doubleClickBoard(game, layout.pointOn(board, move.from));
        return;
    }
    const int row = move.from.place == freecell::Place::Column
                        ? static_cast<int>(board.columns[move.from.index].size()) - move.count
                        : -1;
    clickBoard(game, layout.pointOn(board, move.from, row));
    clickBoard(game, layout.pointOn(board, move.to));
}

// One move dragged with the real mouse: from its leading card (or free
// cell) to the place it goes. False when the game did not take the drag.
bool dragMove(HWND game, const freecell::Board& board, const freecell::Move& move) {
    const freecell::BoardLayout layout = standinLayout(game);
    const int row = move.from.place == freecell::Place::Column
                        ? static_cast<int>(board.columns[move.from.index].size()) - move.count
                        : -1;
    return dragBoard(game, layout.pointOn(board, move.from, row), layout.pointOn(board, move.to));
}

}  // namespace

bool postWinningClicks(HWND game, int32_t number) {
    freecell::Board board = freecell::dealBoard(number);
    const std::optional<solver::Solution> solution = solver::solve(board);
    if (!solution) return false;
    for (const freecell::Move& move : solution->moves) {
        postMove(game, board, move);
        freecell::applyMove(board, move);
        freecell::playAutomaticMoves(board);
    }
    return freecell::isFinished(board);
}

MousePlay playToTheEnd(HWND game, int32_t number, const std::function<void(int, int)>& afterMove, MouseMoves how) {
    MousePlay result;
    freecell::Board board = freecell::dealBoard(number);
    if (!waitForStandinBoard(game, freecell::boardText(board))) {
        result.failure = "the game does not show deal " + std::to_string(number) + ": " + standinBoard(game);
        return result;
    }
    const std::optional<solver::Solution> solution = solver::solve(board);
    if (!solution) {
        result.failure = "no solution found for game " + std::to_string(number);
        return result;
    }
    const int total = static_cast<int>(solution->moves.size());
    for (const freecell::Move& move : solution->moves) {
        if (how == MouseMoves::Clicks) {
            postMove(game, board, move);
        } else if (!dragMove(game, board, move)) {
            result.failure = "move " + std::to_string(result.moves + 1) + " (" + freecell::describe(move) +
                             ") was not taken as a drag";
            return result;
        }
        freecell::applyMove(board, move);
        freecell::playAutomaticMoves(board);
        if (!waitForStandinBoard(game, freecell::boardText(board), 10s)) {
            result.failure = "after move " + std::to_string(result.moves + 1) + " (" + freecell::describe(move) +
                             ") the game shows " + standinBoard(game) + " instead of " + freecell::boardText(board);
            return result;
        }
        ++result.moves;
        if (afterMove) afterMove(result.moves, total);
    }
    result.won = freecell::isFinished(board);
    if (!result.won) result.failure = "the moves ended before every card was home";
    return result;
}

}  // namespace e2e
