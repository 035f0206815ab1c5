#include "records/impossible_deals.h"

#include <algorithm>
#include <iterator>

#include "records/deal_table.h"

// A known impossible deal that the table has not decided stays on the list.
std::vector<int32_t> impossibleDealsUpTo(const DealTable* table, int32_t highest) {
    std::vector<int32_t> deals;
    if (table) deals = table->dealsThatCannotBeWon(highest);
    for (int32_t deal : kKnownImpossibleDeals) {
        if (deal > highest) continue;
        const DealVerdict verdict = table ? table->facts(deal).verdict : DealVerdict::notExamined;
        if (verdict == DealVerdict::notExamined || verdict == DealVerdict::undecided) deals.push_back(deal);
    }
    std::sort(deals.begin(), deals.end());
    return deals;
}

bool isKnownImpossible(int32_t number, int32_t maxGameNumber) {
    if (number < 1 || number > maxGameNumber) return false;
    return std::binary_search(std::begin(kKnownImpossibleDeals), std::end(kKnownImpossibleDeals), number);
}

// Two impossible deals in a row would both be passed; the last number is never
// one, so the walk ends inside the range.
ImpossibleSkip skipKnownImpossible(int32_t next, int32_t maxGameNumber) {
    ImpossibleSkip skip;
    skip.next = next;
    while (isKnownImpossible(skip.next, maxGameNumber) && skip.next < maxGameNumber) {
        skip.skipped.push_back(skip.next);
        ++skip.next;
    }
    return skip;
}
