#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What Freecell Solver (libfreecell-solver) says about one of the game's
// deals, for the deals' table. Used by the program that makes the table and by
// the host test that re-solves a sample of it.
namespace deal_table {

// The deal as Freecell Solver reads it: one line per column, top card first,
// "T" for ten.
std::string solverBoardText(int32_t gameNumber);

enum class Verdict { won, cannotBeWon, undecided };

struct Answer {
    Verdict verdict = Verdict::undecided;
    int moves = 0;  // length of the solution found when won
};

// The fast search: Freecell Solver's "looking-glass" preset (meta-moves, each
// sequence moved at once counts as one move, moves to the foundations count
// too), stopped after `iterationLimit` states checked. Its "cannot be won"
// is not trusted: it comes back as undecided, and only the complete search
// below decides that.
// Other presets of Freecell Solver can be named instead (`-l` names).
class FastSearch {
public:
    FastSearch(int freeCells, long iterationLimit, const std::string& preset = "lg");
    ~FastSearch();
    FastSearch(const FastSearch&) = delete;
    FastSearch& operator=(const FastSearch&) = delete;
    Answer solve(const std::string& board);

private:
    void* solver_;
};

// The complete search: a depth-first scan of every single-card move
// ("--method soft-dfs -to 01ABCDE", no pruning, no iteration limit), so its
// "cannot be won" is a proof. Only a cap on the states held in memory can stop
// it, and then the answer is undecided. Each search has a solver of its own,
// freed after it: a million states take about 700 MB, which a solver kept
// for the next deal would hold on to.
class CompleteSearch {
public:
    CompleteSearch(int freeCells, long stateLimit) : freeCells_(freeCells), stateLimit_(stateLimit) {}
    Answer solve(const std::string& board);
    long statesChecked() const { return statesChecked_; }

private:
    int freeCells_;
    long stateLimit_;
    long statesChecked_ = 0;
};

// The fewest free cells with which a deal can be won (0 to 4), or -1 when a
// complete search stopped at its state cap first. Called only for a deal won
// with four cells. Going up from no cell: a complete search with a small cap
// (most counts that are too few are proved so within a few thousand states),
// then the fast search, then the complete search with the large cap. With
// `morePresets`, three more presets ("three-eighty", "tea-for-two",
// "one-big-family") try after "looking-glass": each finds some solutions with
// few cells that the others miss.
class FewestCells {
public:
    FewestCells(long iterationLimit, long smallStateLimit, long stateLimit, bool morePresets = false);
    int fewest(const std::string& board);

private:
    std::unique_ptr<CompleteSearch> quickProof_[4];
    std::vector<std::unique_ptr<FastSearch>> fast_[4];
    std::unique_ptr<CompleteSearch> complete_[4];
};

}  // namespace deal_table
