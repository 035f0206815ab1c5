#pragma once

#include <cstdint>
#include <vector>

// The deals nobody can win with four free cells, found by exhaustive solver
// searches of 1 to 1,000,000 and published with those solvers. 11982 is the
// only one up to 32,000.
inline constexpr int32_t kKnownImpossibleDeals[] = {11982, 146692, 186216, 455889, 495505, 512118, 517776, 781948};

class DealTable;

// The impossible deals within 1..highest, ascending: those the deals' table
// says cannot be won, and the known ones that it has not decided; the known
// ones alone when there is no table.
std::vector<int32_t> impossibleDealsUpTo(const DealTable* table, int32_t highest);

// True for a known impossible deal within 1..maxGameNumber, the range the game
// in use deals.
bool isKnownImpossible(int32_t number, int32_t maxGameNumber);

// The numbers passed over when the next number would be a known impossible
// deal, and the number the box moves on to instead.
struct ImpossibleSkip {
    std::vector<int32_t> skipped;  // in order; empty when `next` is no such deal
    int32_t next = 0;
};
ImpossibleSkip skipKnownImpossible(int32_t next, int32_t maxGameNumber);

// The same for a list of impossible deals (ascending), such as
// impossibleDealsUpTo() gives from the deals' table.
bool isImpossible(int32_t number, int32_t maxGameNumber, const std::vector<int32_t>& impossible);
ImpossibleSkip skipImpossible(int32_t next, int32_t maxGameNumber, const std::vector<int32_t>& impossible);
