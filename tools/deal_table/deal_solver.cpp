#include "tools/deal_table/deal_solver.h"

#include <freecell-solver/fcs_cl.h>
#include <freecell-solver/fcs_user.h>

#include <stdexcept>
#include <vector>

#include "freecell/cards.h"

namespace deal_table {

namespace {

constexpr char kRankLetters[] = "A23456789TJQK";
constexpr char kSuitLetters[] = "CDHS";

// A solver configured as from fc-solve's command line, with `freeCells` free
// cells.
void* makeSolver(int freeCells, std::vector<std::string> options) {
    void* solver = freecell_solver_user_alloc();
    if (!solver) throw std::runtime_error("Freecell Solver: out of memory");
    options.insert(options.begin(), {"--freecells-num", std::to_string(freeCells)});
    std::vector<const char*> argv;
    for (const std::string& option : options) argv.push_back(option.c_str());
    const char* known[] = {nullptr};
    char* error = nullptr;
    int lastArg = 0;
    const int result = freecell_solver_user_cmd_line_parse_args_with_file_nesting_count(
        solver, static_cast<int>(argv.size()), argv.data(), 0, known, nullptr, nullptr, &error, &lastArg, -1, nullptr);
    if (result != FCS_CMD_LINE_OK) {
        const std::string message = error ? error : "unknown option";
        free(error);
        freecell_solver_user_free(solver);
        throw std::runtime_error("Freecell Solver options: " + message);
    }
    return solver;
}

// Moves of the solution just found: every move that changes the board, a
// sequence moved at once counting as one.
int solutionLength(void* solver) {
    int moves = 0;
    fcs_move_t move;
    while (freecell_solver_user_get_next_move(solver, &move) == 0) {
        const int type = fcs_move_get_type(move);
        if (type != FCS_MOVE_TYPE_CANONIZE && type != FCS_MOVE_TYPE_SEPARATOR && type != FCS_MOVE_TYPE_NULL) ++moves;
    }
    return moves;
}

}  // namespace

std::string solverBoardText(int32_t gameNumber) {
    const freecell::Board board = freecell::dealBoard(gameNumber);
    std::string text;
    for (const auto& column : board.columns) {
        for (size_t i = 0; i < column.size(); ++i) {
            if (i > 0) text += ' ';
            text += kRankLetters[freecell::rankOf(column[i])];
            text += kSuitLetters[freecell::suitOf(column[i])];
        }
        text += '\n';
    }
    return text;
}

FastSearch::FastSearch(int freeCells, long iterationLimit, const std::string& preset)
    : solver_(makeSolver(freeCells, {"-l", preset})) {
    freecell_solver_user_limit_iterations_long(solver_, iterationLimit);
}

FastSearch::~FastSearch() { freecell_solver_user_free(solver_); }

Answer FastSearch::solve(const std::string& board) {
    Answer answer;
    if (freecell_solver_user_solve_board(solver_, board.c_str()) == FCS_STATE_WAS_SOLVED) {
        answer.verdict = Verdict::won;
        answer.moves = solutionLength(solver_);
    }
    freecell_solver_user_recycle(solver_);
    return answer;
}

Answer CompleteSearch::solve(const std::string& board) {
    void* solver = makeSolver(freeCells_, {"--method", "soft-dfs", "-to", "01ABCDE"});
    freecell_solver_user_limit_num_states_in_collection_long(solver, stateLimit_);
    Answer answer;
    const int result = freecell_solver_user_solve_board(solver, board.c_str());
    statesChecked_ = static_cast<long>(freecell_solver_user_get_num_times_long(solver));
    if (result == FCS_STATE_WAS_SOLVED) {
        answer.verdict = Verdict::won;
        answer.moves = solutionLength(solver);
    } else if (result == FCS_STATE_IS_NOT_SOLVEABLE) {
        answer.verdict = Verdict::cannotBeWon;
    }
    freecell_solver_user_free(solver);
    return answer;
}

FewestCells::FewestCells(long iterationLimit, long smallStateLimit, long stateLimit, bool morePresets) {
    std::vector<std::string> presets = {"lg"};
    if (morePresets) presets.insert(presets.end(), {"te", "tft", "obf"});
    for (int cells = 0; cells < 4; ++cells) {
        quickProof_[cells] = std::make_unique<CompleteSearch>(cells, smallStateLimit);
        for (const std::string& preset : presets)
            fast_[cells].push_back(std::make_unique<FastSearch>(cells, iterationLimit, preset));
        complete_[cells] = std::make_unique<CompleteSearch>(cells, stateLimit);
    }
}

// Won with k cells means won with more, and proved lost with k means lost with
// fewer; so the first count not proved too few, once won, is the answer.
int FewestCells::fewest(const std::string& board) {
    for (int cells = 0; cells < 4; ++cells) {
        const Verdict quick = quickProof_[cells]->solve(board).verdict;
        if (quick == Verdict::cannotBeWon) continue;
        if (quick == Verdict::won) return cells;
        for (const auto& fast : fast_[cells])
            if (fast->solve(board).verdict == Verdict::won) return cells;
        const Verdict verdict = complete_[cells]->solve(board).verdict;
        if (verdict == Verdict::won) return cells;
        if (verdict == Verdict::undecided) return -1;
    }
    return 4;
}

}  // namespace deal_table
