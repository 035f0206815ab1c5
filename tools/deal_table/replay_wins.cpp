// Checks the deals' table's fewest free cells by playing: for each deal it
// finds a win with the table's count of free cells (the complete search of
// cell_search.h) and replays it move by move through the game's own rules
// (freecell/rules.cpp), with the cells beyond that count never used. A count
// that is too low finds no win; the search may also stop at its limit first,
// and both fail the check.
//
//   replay_wins --table data/deals.tkd [--positions N] [--sample N [--seed S]] [deal...]
//
// Prints a line per deal and a summary; exits 1 when any deal failed.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "freecell/cards.h"
#include "records/deal_table.h"
#include "tools/deal_table/cell_search.h"

namespace {

[[noreturn]] void usage() {
    std::fputs("usage: replay_wins --table FILE [--positions N] [--sample N [--seed S]] [deal...]\n", stderr);
    std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
    std::string tablePath;
    uint64_t positions = 20000000;
    long sample = 0;
    unsigned long seed = std::random_device{}();
    std::vector<int32_t> deals;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name.rfind("--", 0) != 0) {
            const long deal = std::strtol(argv[i], nullptr, 10);
            if (deal <= 0) usage();
            deals.push_back(static_cast<int32_t>(deal));
            continue;
        }
        if (i + 1 >= argc) usage();
        const char* value = argv[++i];
        if (name == "--table")
            tablePath = value;
        else if (name == "--positions")
            positions = std::strtoull(value, nullptr, 10);
        else if (name == "--sample")
            sample = std::strtol(value, nullptr, 10);
        else if (name == "--seed")
            seed = std::strtoul(value, nullptr, 10);
        else
            usage();
    }
    if (tablePath.empty() || positions == 0 || (deals.empty() && sample <= 0)) usage();

    std::ifstream in(tablePath, std::ios::binary);
    const DealTableLoad load = parseDealTable(
        std::vector<uint8_t>{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()});
    if (!load.table) {
        std::fprintf(stderr, "replay_wins: %s: %s\n", tablePath.c_str(), dealTableRefusalText(load.refusal));
        return 1;
    }
    const DealTable& table = *load.table;

    if (sample > 0) {
        // Deals whose fewest cells the table gives, drawn from all it has.
        std::printf("replay_wins: a sample of %ld, --seed %lu\n", sample, seed);
        std::mt19937 random(static_cast<uint32_t>(seed));
        std::uniform_int_distribution<int32_t> draw(1, table.dealCount());
        for (long tries = 0; static_cast<long>(deals.size()) < sample && tries < sample * 1000; ++tries) {
            const int32_t deal = draw(random);
            if (table.facts(deal).fewestFreeCells) deals.push_back(deal);
        }
    }

    int replayed = 0, failed = 0;
    for (int32_t deal : deals) {
        const std::optional<int> cells = table.facts(deal).fewestFreeCells;
        if (!cells) {
            std::printf("deal %d: the table gives no fewest free cells\n", deal);
            ++failed;
            continue;
        }
        const freecell::Board board = freecell::dealBoard(deal);
        const deal_table::CellSearchResult found = deal_table::searchWithCells(board, *cells, positions);
        if (found.verdict != deal_table::CellVerdict::won) {
            std::printf("deal %d: no win with %d free cells (%s after %llu positions)\n", deal, *cells,
                        found.verdict == deal_table::CellVerdict::cannotBeWon ? "none exists" : "limit reached",
                        static_cast<unsigned long long>(found.positions));
            ++failed;
            continue;
        }
        const std::string fault = deal_table::replayWithCells(board, *cells, found.moves);
        if (!fault.empty()) {
            std::printf("deal %d: the win with %d free cells does not replay: %s\n", deal, *cells, fault.c_str());
            ++failed;
            continue;
        }
        std::printf("deal %d: won with %d free cells in %zu moves by the game's rules (found after %llu positions)\n",
                    deal, *cells, found.moves.size(), static_cast<unsigned long long>(found.positions));
        ++replayed;
    }
    std::printf("replay_wins: %d replayed, %d failed\n", replayed, failed);
    return failed == 0 && replayed > 0 ? 0 : 1;
}
