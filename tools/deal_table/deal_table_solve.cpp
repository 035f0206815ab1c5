// Solves a range of the game's deals with Freecell Solver and prints one line
// per deal, "<deal> <cells> <moves>", for scripts/deal-table.sh:
//   cells  0..4       the fewest free cells that win it (with --fewest)
//          won        won with four cells, fewest not sought or not found
//          no         cannot be won with four cells (proved by a complete search)
//          undecided  no answer within the limits
//   moves  length of the solution found with four cells, 0 when none
// A summary with the time taken goes to standard error.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "tools/deal_table/deal_solver.h"

namespace {

struct Options {
    long from = 1;
    long to = 1000;
    bool fewest = false;
    bool morePresets = false;
    long iterationLimit = 100000;
    long smallStateLimit = 20000;
    long stateLimit = 1000000;
};

[[noreturn]] void usage() {
    std::fputs(
        "usage: deal_table_solve --from N --to M [--fewest] [--more-presets] [--iterations N] [--quick-states N] "
        "[--states N]\n",
        stderr);
    std::exit(2);
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--fewest" || name == "--more-presets") {
            (name == "--fewest" ? options.fewest : options.morePresets) = true;
            continue;
        }
        if (i + 1 >= argc) usage();
        const long value = std::strtol(argv[++i], nullptr, 10);
        if (value <= 0) usage();
        if (name == "--from")
            options.from = value;
        else if (name == "--to")
            options.to = value;
        else if (name == "--iterations")
            options.iterationLimit = value;
        else if (name == "--quick-states")
            options.smallStateLimit = value;
        else if (name == "--states")
            options.stateLimit = value;
        else
            usage();
    }
    if (options.from > options.to || options.to > 0x7FFFFFFF) usage();
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace deal_table;
    const Options options = parseOptions(argc, argv);
    try {
        FastSearch fast(4, options.iterationLimit);
        CompleteSearch complete(4, options.stateLimit);
        FewestCells fewest(options.iterationLimit, options.smallStateLimit, options.stateLimit, options.morePresets);
        const auto start = std::chrono::steady_clock::now();
        long won = 0, lost = 0, undecided = 0, fewestUnknown = 0;
        for (long deal = options.from; deal <= options.to; ++deal) {
            const std::string board = solverBoardText(static_cast<int32_t>(deal));
            Answer answer = fast.solve(board);
            if (answer.verdict != Verdict::won) answer = complete.solve(board);
            std::string cells = "undecided";
            if (answer.verdict == Verdict::cannotBeWon) {
                cells = "no";
                ++lost;
            } else if (answer.verdict == Verdict::won) {
                ++won;
                cells = "won";
                if (options.fewest) {
                    const int count = fewest.fewest(board);
                    if (count >= 0)
                        cells = std::to_string(count);
                    else
                        ++fewestUnknown;
                }
            } else {
                ++undecided;
            }
            std::printf("%ld %s %d\n", deal, cells.c_str(), answer.moves);
        }
        std::fflush(stdout);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double processor = static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
        std::fprintf(stderr,
                     "deals %ld..%ld: won %ld, no %ld, undecided %ld, fewest unknown %ld, %.1f s (processor %.1f s)\n",
                     options.from, options.to, won, lost, undecided, fewestUnknown, seconds, processor);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "deal_table_solve: %s\n", error.what());
        return 1;
    }
    return 0;
}
