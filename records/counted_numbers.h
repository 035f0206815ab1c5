#pragma once

#include <cstdint>
#include <vector>

// The game numbers whose first attempt was counted since the totals were last
// cleared, one bit per number: 125 KB for a million numbers. A number counts
// once; when it comes back (taken from the pass list, typed again, reached
// again after the highest) it is played, logged and not counted.
class CountedNumbers {
public:
    explicit CountedNumbers(int32_t maxGameNumber)
        : bits_((static_cast<uint32_t>(maxGameNumber > 0 ? maxGameNumber : 0) + 63) / 64, 0),
          maxGameNumber_(maxGameNumber) {}

    bool contains(int32_t number) const { return inRange(number) && (bits_[index(number)] >> shift(number) & 1) != 0; }
    void add(int32_t number) {
        if (inRange(number)) bits_[index(number)] |= uint64_t{1} << shift(number);
    }
    void clear() { bits_.assign(bits_.size(), 0); }

private:
    bool inRange(int32_t number) const { return number >= 1 && number <= maxGameNumber_; }
    static uint32_t index(int32_t number) { return static_cast<uint32_t>(number - 1) / 64; }
    static uint32_t shift(int32_t number) { return static_cast<uint32_t>(number - 1) % 64; }

    std::vector<uint64_t> bits_;
    int32_t maxGameNumber_;
};
