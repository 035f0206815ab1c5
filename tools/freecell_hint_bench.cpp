// Figures of the game's hint and lost-position warning (docs/performance.md):
// positions from real deals (deals 1 to N, each after a seeded number of
// random legal moves), each searched as the game searches after a move.
// Prints the time to a hint (median, 99th percentile), the time to the
// warning after a move that loses, and the peak private memory.
//
//   freecell_hint_bench [positions, default 1000] [losing moves to time, default 100]
//                       [thorough search's bound, default the game's] [pause]
// "pause" waits two seconds before the first search and after the last, so
// that the process's memory can be read from outside (Wine's own figures of
// a process's private memory leave its heap out).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "freecell/position_analysis.h"

using namespace freecell;

namespace {

AnalysisBound bound;

double secondsFor(const Board& board, Analysis& analysis) {
    const auto start = std::chrono::steady_clock::now();
    analysis = analysePosition(board, bound).value();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, static_cast<std::size_t>(fraction * values.size()))];
}

double peakPrivateMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return counters.PeakPagefileUsage / (1024.0 * 1024.0);
}

}  // namespace

int main(int argc, char** argv) {
    const int positions = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int losingWanted = argc > 2 ? std::atoi(argv[2]) : 100;
    if (argc > 3) bound.thoroughPositions = std::atol(argv[3]);
    const bool pause = argc > 4 && std::string(argv[4]) == "pause";
    if (pause) Sleep(2000);
    std::mt19937 random(20261208);
    std::vector<double> hintTimes, warningTimes, undecidedTimes;
    int lost = 0, undecided = 0, losingTried = 0;
    const double baseline = peakPrivateMegabytes();
    for (int number = 1; number <= positions; ++number) {
        Board board = dealBoard(number);
        playAutomaticMoves(board);
        const int moves = static_cast<int>(random() % 21);
        for (int step = 0; step < moves; ++step) {
            const std::vector<Move> legal = legalMoves(board);
            if (legal.empty()) break;
            applyMove(board, legal[random() % legal.size()]);
            playAutomaticMoves(board);
        }
        Analysis analysis;
        const double seconds = secondsFor(board, analysis);
        if (analysis.outlook == Outlook::Lost) ++lost;
        if (analysis.outlook == Outlook::Undecided) {
            ++undecided;
            undecidedTimes.push_back(seconds);
        }
        if (!analysis.way.empty()) hintTimes.push_back(seconds);
        // A move from a winnable position that loses it: the warning's time.
        if (analysis.outlook != Outlook::Winnable || static_cast<int>(warningTimes.size()) >= losingWanted) continue;
        for (const Move& move : legalMoves(board)) {
            Board next = board;
            applyMove(next, move);
            playAutomaticMoves(next);
            Analysis after;
            const double afterSeconds = secondsFor(next, after);
            ++losingTried;
            if (after.outlook == Outlook::Lost) {
                warningTimes.push_back(afterSeconds);
                break;
            }
        }
    }
    std::printf("positions: %d (deals 1..%d, 0-20 random legal moves each, seed 20261208); bound %ld + %ld\n",
                positions, positions, bound.quickPositions, bound.thoroughPositions);
    std::printf("hint found: %zu; lost: %d; undecided within the bound: %d\n", hintTimes.size(), lost, undecided);
    std::printf("time to a hint: median %.1f ms, 99th percentile %.1f ms, longest %.1f ms\n",
                percentile(hintTimes, 0.5) * 1000, percentile(hintTimes, 0.99) * 1000,
                percentile(hintTimes, 1.0) * 1000);
    std::printf("undecided searches: median %.1f ms, longest %.1f ms\n", percentile(undecidedTimes, 0.5) * 1000,
                percentile(undecidedTimes, 1.0) * 1000);
    std::printf(
        "warning after a losing move (%zu found in %d moves tried): median %.1f ms, 99th percentile %.1f ms, "
        "longest %.1f ms\n",
        warningTimes.size(), losingTried, percentile(warningTimes, 0.5) * 1000, percentile(warningTimes, 0.99) * 1000,
        percentile(warningTimes, 1.0) * 1000);
    std::printf("peak private memory: %.1f MB (%.1f MB before the first search)\n", peakPrivateMegabytes(), baseline);
    if (pause) Sleep(2000);
    return 0;
}
