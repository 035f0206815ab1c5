#include "records/impossible_deals.h"

#include <algorithm>
#include <iterator>

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
