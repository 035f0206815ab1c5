#include "harness/standin_player.h"

#include "freecell_solver.h"
#include "harness/standin_control.h"
#include "standin/rules.h"

namespace e2e {

MousePlay playToTheEnd(HWND game, int32_t number, const std::function<void(int, int)>& afterMove) {
    MousePlay result;
    standin::Board board = standin::dealBoard(number);
    if (!waitForStandinBoard(game, standin::boardText(board))) {
        result.failure = "the game does not show deal " + std::to_string(number) + ": " + standinBoard(game);
        return result;
    }
    const std::optional<solver::Solution> solution = solver::solve(board);
    if (!solution) {
        result.failure = "no solution found for game " + std::to_string(number);
        return result;
    }
    const int total = static_cast<int>(solution->moves.size());
    for (const standin::Move& move : solution->moves) {
        const standin::BoardLayout layout = standinLayout(game);
        if (move.to.place == standin::Place::Cell) {
            doubleClickBoard(game, layout.pointOn(board, move.from));
        } else {
            // A column's run is picked up at its first moving card.
            const int row = move.from.place == standin::Place::Column
                                ? static_cast<int>(board.columns[move.from.index].size()) - move.count
                                : -1;
            clickBoard(game, layout.pointOn(board, move.from, row));
            clickBoard(game, layout.pointOn(board, move.to));
        }
        standin::applyMove(board, move);
        standin::playAutomaticMoves(board);
        if (!waitForStandinBoard(game, standin::boardText(board), 10s)) {
            result.failure = "after move " + std::to_string(result.moves + 1) + " (" + standin::describe(move) +
                             ") the game shows " + standinBoard(game) + " instead of " + standin::boardText(board);
            return result;
        }
        ++result.moves;
        if (afterMove) afterMove(result.moves, total);
    }
    result.won = standin::isFinished(board);
    if (!result.won) result.failure = "the moves ended before every card was home";
    return result;
}

}  // namespace e2e
