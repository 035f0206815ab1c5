// The log read in pieces of any size gives what it gives read whole: a line
// cut between two reads is one line, and a long line is skipped however it
// arrives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "records/results_log_reader.h"

namespace {

struct Read {
    std::vector<int32_t> numbers;
    std::size_t skipped = 0;
};

Read readInPieces(const std::string& bytes, std::size_t piece) {
    Read result;
    std::size_t at = 0;
    result.skipped = readResultsLogChunks(
        [&](char* buffer, std::size_t size) {
            const std::size_t count = std::min({piece, size, bytes.size() - at});
            std::memcpy(buffer, bytes.data() + at, count);
            at += count;
            return count;
        },
        [&](const LogEntry& entry) { result.numbers.push_back(entry.gameNumber); })
                         .count;
    return result;
}

TEST(ResultsLogInPieces, EveryPieceSizeReadsTheSameLines) {
    const std::string bytes = std::string(kResultsLogHeader) + "\r\n2026/12/01,10:00:00,1,1,勝ち,1\r\n" +
                              std::string(300, 'x') + "\r\n2026/12/01,10:00:01,2,1,負け,1\r\n\r\n" +
                              "2026/12/01,10:00:02,3,1,勝ち,1\r\n2026/12/01,10:0";
    for (std::size_t piece : {1u, 2u, 3u, 7u, 64u, 100000u}) {
        const Read read = readInPieces(bytes, piece);
        EXPECT_EQ(read.numbers, (std::vector<int32_t>{1, 2, 3})) << "pieces of " << piece;
        EXPECT_EQ(read.skipped, 2u) << "the long line and the torn one, pieces of " << piece;
    }
}

TEST(ResultsLogInPieces, AnEmptyLogHasNothingToSkip) {
    const Read read = readInPieces("", 16);
    EXPECT_TRUE(read.numbers.empty());
    EXPECT_EQ(read.skipped, 0u);
}

}  // namespace
