#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// The game numbers played since the totals were last cleared, each with the
// highest attempt the log holds for it: a number that comes back (taken from
// the pass list, typed again, reached again after the highest) goes on from
// there, and only an attempt 1 counts. One bit per number (125 KB for a
// million) and a small map for the numbers played more than once.
class PlayedNumbers {
public:
    explicit PlayedNumbers(int32_t maxGameNumber);

    // 0 for a number not played since the last clear.
    int32_t highestAttempt(int32_t number) const;
    // The attempt the number's next deal is: 1 when it was not played.
    int32_t nextAttempt(int32_t number) const;
    void raise(int32_t number, int32_t attempt);
    void clear();
    int32_t maxGameNumber() const { return maxGameNumber_; }

    // The file that keeps them between runs, Tallykeep.csv.idx beside the
    // log: a checkpoint of the log as far as its line `serial`.
    std::string fileBytes(uint32_t serial) const;
    // Takes the numbers from such a file and answers its serial; nothing (and
    // nothing changed) when the bytes are not such a file whole, or one
    // written for another highest number.
    std::optional<uint32_t> readFile(const std::string& bytes);

    bool operator==(const PlayedNumbers& other) const {
        return maxGameNumber_ == other.maxGameNumber_ && bits_ == other.bits_ && later_ == other.later_;
    }

private:
    bool inRange(int32_t number) const { return number >= 1 && number <= maxGameNumber_; }

    int32_t maxGameNumber_;
    std::vector<uint64_t> bits_;
    // The numbers whose highest attempt is above 1.
    std::unordered_map<int32_t, int32_t> later_;
};
