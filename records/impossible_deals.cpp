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

bool isImpossible(int32_t number, int32_t maxGameNumber, const std::vector<int32_t>& impossible) {
    if (number < 1 || number > maxGameNumber) return false;
    return std::binary_search(impossible.begin(), impossible.end(), number);
}

bool isKnownImpossible(int32_t number, int32_t maxGameNumber) {
    static const std::vector<int32_t> known(std::begin(kKnownImpossibleDeals), std::end(kKnownImpossibleDeals));
    return isImpossible(number, maxGameNumber, known);
}

// Two impossible deals in a row would both be passed; the last number is never
// one, so the walk ends inside the range.
ImpossibleSkip skipImpossible(int32_t next, int32_t maxGameNumber, const std::vector<int32_t>& impossible) {
    ImpossibleSkip skip;
    skip.next = next;
    while (isImpossible(skip.next, maxGameNumber, impossible) && skip.next < maxGameNumber) {
        skip.skipped.push_back(skip.next);
        ++skip.next;
    }
    return skip;
}

ImpossibleSkip skipKnownImpossible(int32_t next, int32_t maxGameNumber) {
    return skipImpossible(next, maxGameNumber,
                          std::vector<int32_t>(std::begin(kKnownImpossibleDeals), std::end(kKnownImpossibleDeals)));
}
