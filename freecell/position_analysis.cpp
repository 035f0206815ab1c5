#include "freecell/position_analysis.h"

#include <freecell-solver/fcs_enums.h>
#include <freecell-solver/fcs_move.h>
#include <freecell-solver/fcs_user.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "freecell/solver_moves.h"
#include "freecell/solver_position.h"

namespace freecell {

namespace {

constexpr long kCachedPositions = 1000;

struct SolverDeleter {
    void operator()(void* instance) const { freecell_solver_user_free(instance); }
};
using SolverInstance = std::unique_ptr<void, SolverDeleter>;

struct Scan {
    enum class Result { Solved, NoWayLeft, GaveUp, Stopped };
    Result result = Result::GaveUp;
    std::vector<SolverMove> moves;
    long positions = 0;
};

SolverMove fromSolver(const fcs_move_t& move) {
    using Kind = SolverMove::Kind;
    SolverMove converted;
    converted.from = fcs_move_get_src_stack(move);
    converted.to = fcs_move_get_dest_stack(move);
    converted.count = fcs_move_get_num_cards_in_seq(move);
    switch (fcs_move_get_type(move)) {
        case FCS_MOVE_TYPE_STACK_TO_STACK:
            converted.kind = Kind::ColumnToColumn;
            break;
        case FCS_MOVE_TYPE_STACK_TO_FREECELL:
            converted.kind = Kind::ColumnToCell;
            break;
        case FCS_MOVE_TYPE_FREECELL_TO_STACK:
            converted.kind = Kind::CellToColumn;
            break;
        case FCS_MOVE_TYPE_FREECELL_TO_FREECELL:
            converted.kind = Kind::CellToCell;
            break;
        case FCS_MOVE_TYPE_STACK_TO_FOUNDATION:
            converted.kind = Kind::ColumnToHome;
            break;
        case FCS_MOVE_TYPE_FREECELL_TO_FOUNDATION:
            converted.kind = Kind::CellToHome;
            break;
        default:
            converted.kind = Kind::Other;
            break;
    }
    return converted;
}

bool isBookkeeping(const fcs_move_t& move) {
    const int type = fcs_move_get_type(move);
    return type == FCS_MOVE_TYPE_CANONIZE || type == FCS_MOVE_TYPE_SEPARATOR || type == FCS_MOVE_TYPE_NULL;
}

// One search by the solver, run `step` positions at a time up to `limit`.
Scan scan(const std::string& position, bool thorough, long limit, long step, const std::function<bool()>& wanted) {
    Scan outcome;
    SolverInstance solver(freecell_solver_user_alloc());
    if (!solver) return outcome;
    // Positions are kept as their differences from the one before; a cache
    // holds some of them whole. A smaller cache than the solver's 10,000
    // keeps the game's memory down for a little time.
    if (freecell_solver_user_set_cache_limit(solver.get(), kCachedPositions) != 0) return outcome;
    if (thorough) {
        char* error = nullptr;
        freecell_solver_user_set_solving_method(solver.get(), FCS_METHOD_SOFT_DFS);
        const int ordered = freecell_solver_user_set_tests_order(solver.get(), "01ABCDE", &error);
        free(error);
        error = nullptr;
        // Cards that nothing can still need go home at once, as in the game.
        const int pruned = freecell_solver_user_set_pruning(solver.get(), "r:tf", &error);
        free(error);
        if (ordered != 0 || pruned != 0) return outcome;
    }
    long allowed = step;
    freecell_solver_user_limit_iterations_long(solver.get(), allowed);
    int result = freecell_solver_user_solve_board(solver.get(), position.c_str());
    for (;;) {
        outcome.positions = freecell_solver_user_get_num_times_long(solver.get());
        if (result != FCS_STATE_SUSPEND_PROCESS) break;
        if (!wanted()) {
            outcome.result = Scan::Result::Stopped;
            return outcome;
        }
        if (outcome.positions >= limit || freecell_solver_user_get_num_states_in_collection_long(solver.get()) >= limit)
            return outcome;
        allowed += step;
        freecell_solver_user_limit_iterations_long(solver.get(), allowed);
        result = freecell_solver_user_resume_solution(solver.get());
    }
    if (result == FCS_STATE_IS_NOT_SOLVEABLE) {
        outcome.result = Scan::Result::NoWayLeft;
    } else if (result == FCS_STATE_WAS_SOLVED) {
        outcome.result = Scan::Result::Solved;
        fcs_move_t move;
        while (freecell_solver_user_get_next_move(solver.get(), &move) == 0) {
            if (!isBookkeeping(move)) outcome.moves.push_back(fromSolver(move));
        }
    }
    return outcome;
}

}  // namespace

std::optional<Analysis> analysePosition(const Board& board, const AnalysisBound& bound,
                                        const std::function<bool()>& wanted) {
    Analysis analysis;
    if (isFinished(board)) {
        analysis.outlook = Outlook::Winnable;
        return analysis;
    }
    const std::string position = solverPositionText(board);

    const Scan quick = scan(position, false, bound.quickPositions, bound.step, wanted);
    analysis.positions = quick.positions;
    if (quick.result == Scan::Result::Stopped) return std::nullopt;
    if (quick.result == Scan::Result::Solved) {
        analysis.way = gameWay(board, quick.moves);
        if (!analysis.way.empty()) {
            analysis.outlook = Outlook::Winnable;
            return analysis;
        }
    }
    // The quick search's "no way" proves nothing: it does not try every move.
    const Scan thorough = scan(position, true, bound.thoroughPositions, bound.step, wanted);
    analysis.positions += thorough.positions;
    switch (thorough.result) {
        case Scan::Result::Stopped:
            return std::nullopt;
        case Scan::Result::NoWayLeft:
            analysis.outlook = Outlook::Lost;
            break;
        case Scan::Result::Solved:
            analysis.outlook = Outlook::Winnable;
            analysis.way = gameWay(board, thorough.moves);
            break;
        case Scan::Result::GaveUp:
            break;
    }
    return analysis;
}

}  // namespace freecell
