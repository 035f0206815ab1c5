// Settles the fewest free cells of deals that the first searches of the
// deals' table left unknown (code 6), for scripts/deal-table.sh --settle.
// For each deal, going up from no free cell: the complete search of
// cell_search.h with a small limit (a count proved too few goes on to the
// next), then Freecell Solver's presets one after another, then the complete
// search with the large limit. The first count won is the answer, every
// smaller one being proved too few; a count neither won nor proved leaves the
// deal open. A win of the complete search is replayed by the game's rules
// before it is believed.
//
// With --four, the deals are ones not decided with four free cells: the
// presets with ten times the iterations, then the complete search with four
// cells, print "<deal> won <how> moves=<n> ..." or "<deal> no search ...".
//
// Prints one line per deal:
//   <deal> <cells> <how> <counts tried...> cpu=<seconds>
// cells 0..4, or "open" (then how is "-"); how names what won with that
// many cells: "search" (the complete search) or a preset's short name; each
// count tried reads k:<what>/<positions or iterations>, what being won, no
// (proved too few) or limit.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <string>
#include <vector>

#include "freecell/cards.h"
#include "tools/deal_table/cell_search.h"
#include "tools/deal_table/deal_solver.h"

namespace {

struct Options {
    uint64_t quickPositions = 2000000;
    uint64_t positions = 20000000;
    long iterations = 200000;
    // Those that won where the first searches had not, in the first chunks;
    // all 23 took about 10 s a count of cells for little more.
    std::vector<std::string> presets = {"lg", "eo", "cn", "te", "tft", "obf", "fg", "gut"};
    std::vector<long> deals;
    bool four = false;
};

[[noreturn]] void usage() {
    std::fputs("usage: settle_fewest [--four] [--quick-positions N] [--positions N] [--iterations N] [--presets a,b,...] deal...\n",
               stderr);
    std::exit(2);
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--four") {
            options.four = true;
            continue;
        }
        if (name.rfind("--", 0) != 0) {
            const long deal = std::strtol(argv[i], nullptr, 10);
            if (deal <= 0) usage();
            options.deals.push_back(deal);
            continue;
        }
        if (i + 1 >= argc) usage();
        const std::string value = argv[++i];
        if (name == "--presets") {
            options.presets.clear();
            for (size_t start = 0; start <= value.size();) {
                const size_t comma = value.find(',', start);
                const size_t end = comma == std::string::npos ? value.size() : comma;
                if (end > start) options.presets.push_back(value.substr(start, end - start));
                start = end + 1;
            }
            continue;
        }
        const long long number = std::strtoll(value.c_str(), nullptr, 10);
        if (number <= 0) usage();
        if (name == "--quick-positions")
            options.quickPositions = static_cast<uint64_t>(number);
        else if (name == "--positions")
            options.positions = static_cast<uint64_t>(number);
        else if (name == "--iterations")
            options.iterations = static_cast<long>(number);
        else
            usage();
    }
    if (options.deals.empty()) usage();
    return options;
}

const char* verdictWord(deal_table::CellVerdict verdict) {
    switch (verdict) {
        case deal_table::CellVerdict::won:
            return "won";
        case deal_table::CellVerdict::cannotBeWon:
            return "no";
        case deal_table::CellVerdict::limitReached:
            break;
    }
    return "limit";
}

// The complete search; a win that the game's rules do not replay is a fault
// of the search, and stops the run.
deal_table::CellVerdict search(long deal, const freecell::Board& board, int cells, uint64_t limit, std::string& notes) {
    const deal_table::CellSearchResult result = deal_table::searchWithCells(board, cells, limit);
    if (result.verdict == deal_table::CellVerdict::won) {
        const std::string fault = deal_table::replayWithCells(board, cells, result.moves);
        if (!fault.empty()) {
            std::fprintf(stderr, "settle_fewest: deal %ld, %d cells: the win does not replay: %s\n", deal, cells,
                         fault.c_str());
            std::exit(1);
        }
    }
    notes += " " + std::to_string(cells) + ":" + verdictWord(result.verdict) + "/" + std::to_string(result.positions);
    return result.verdict;
}

// Won or not with four cells; the length of a win of the complete search
// counts its moves and each card's move home, as Freecell Solver's do.
void settleFour(long deal, const Options& options) {
    using namespace deal_table;
    const std::clock_t began = std::clock();
    const freecell::Board board = freecell::dealBoard(static_cast<int32_t>(deal));
    const std::string text = solverBoardText(static_cast<int32_t>(deal));
    std::string line = std::to_string(deal) + " open -";
    for (const std::string& preset : options.presets) {
        FastSearch fast(4, options.iterations * 10, preset);
        const Answer answer = fast.solve(text);
        if (answer.verdict == Verdict::won) {
            line = std::to_string(deal) + " won " + preset + " moves=" + std::to_string(answer.moves);
            break;
        }
    }
    if (line.find(" won ") == std::string::npos) {
        const CellSearchResult result = searchWithCells(board, 4, options.positions);
        if (result.verdict == CellVerdict::won && replayWithCells(board, 4, result.moves).empty())
            line = std::to_string(deal) + " won search moves=" + std::to_string(result.moves.size() + freecell::kCardCount);
        else if (result.verdict == CellVerdict::cannotBeWon)
            line = std::to_string(deal) + " no search";
        line += " 4:" + std::string(verdictWord(result.verdict)) + "/" + std::to_string(result.positions);
    }
    std::printf("%s cpu=%.1f\n", line.c_str(), static_cast<double>(std::clock() - began) / CLOCKS_PER_SEC);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace deal_table;
    const Options options = parseOptions(argc, argv);
    try {
        for (long deal : options.deals) {
            if (options.four) {
                settleFour(deal, options);
                continue;
            }
            const std::clock_t began = std::clock();
            const freecell::Board board = freecell::dealBoard(static_cast<int32_t>(deal));
            const std::string text = solverBoardText(static_cast<int32_t>(deal));
            std::string notes, how = "-";
            int answer = -1;
            int cells = 0;
            for (; cells < 4 && answer < 0; ++cells) {
                CellVerdict verdict = search(deal, board, cells, options.quickPositions, notes);
                if (verdict == CellVerdict::won) {
                    answer = cells;
                    how = "search";
                    break;
                }
                if (verdict == CellVerdict::cannotBeWon) continue;
                for (const std::string& preset : options.presets) {
                    FastSearch fast(cells, options.iterations, preset);
                    if (fast.solve(text).verdict == Verdict::won) {
                        answer = cells;
                        how = preset;
                        notes += " " + std::to_string(cells) + ":" + preset + "/" + std::to_string(options.iterations);
                        break;
                    }
                }
                if (answer >= 0) break;
                if (options.positions <= options.quickPositions) break;
                verdict = search(deal, board, cells, options.positions, notes);
                if (verdict == CellVerdict::won) {
                    answer = cells;
                    how = "search";
                } else if (verdict == CellVerdict::limitReached) {
                    break;
                }
            }
            if (answer < 0 && cells == 4) answer = 4;  // no count below four wins, and four does
            const double seconds = static_cast<double>(std::clock() - began) / CLOCKS_PER_SEC;
            std::printf("%ld %s %s%s cpu=%.1f\n", deal, answer >= 0 ? std::to_string(answer).c_str() : "open",
                        how.c_str(), notes.c_str(), seconds);
            std::fflush(stdout);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "settle_fewest: %s\n", error.what());
        return 1;
    }
    return 0;
}
