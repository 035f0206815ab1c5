#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The deals' table (data/deals.tkd, beside Tallykeep.exe): for every deal
// 1..count, what Freecell Solver found: whether it can be won with four free
// cells, the fewest free cells it needs, and the length of the solution found.
// Its format is in docs/deal-table.md. The whole file is held as it lies on
// disk (one byte per deal), mapped or read; a lookup reads one byte.

enum class DealTableRefusal {
    none,
    absent,        // there is no such file: nothing to tell
    unreadable,    // the file could not be read (the loader says why)
    cutShort,      // shorter than its header, or than its header says
    notATable,     // the magic is wrong
    wrongVersion,  // a version this program does not know
    wrongSize,     // longer than its header says, a record size other than one byte, too many deals
    badChecksum,   // the body does not match the header's CRC-32
    badRecord,     // a byte that no deal can have
};

// Where the table lies: deals.tkd in the executable's folder.
std::string dealTablePathFor(const std::string& executablePath);

// A line for the user or a log, in English: "the deals' table is cut short".
const char* dealTableRefusalText(DealTableRefusal refusal);

enum class DealVerdict {
    won,          // won with four free cells
    cannotBeWon,  // a complete search found no way with four free cells
    undecided,    // the searches stopped at their limits
    notExamined,  // not in the table yet, or outside it
};

// Solution moves found with four free cells, in a band of eight:
// 1..8, 9..16, ..., 233..240, and 241 or more (most empty).
struct MovesBand {
    int least = 0;
    std::optional<int> most;
};

struct DealFacts {
    DealVerdict verdict = DealVerdict::notExamined;
    std::optional<int> fewestFreeCells;      // 0..4, when won and worked out
    std::optional<MovesBand> solutionMoves;  // when won
};

struct DealTableLoad;
DealTableLoad parseDealTable(std::vector<uint8_t> bytes);
DealTableLoad parseDealTable(const uint8_t* bytes, std::size_t size, std::shared_ptr<const void> holder);

class DealTable {
public:
    int32_t dealCount() const { return static_cast<int32_t>(size_ - kHeaderSize); }
    DealFacts facts(int32_t deal) const;
    // Ascending, within 1..highest.
    std::vector<int32_t> dealsThatCannotBeWon(int32_t highest) const;

    static constexpr std::size_t kHeaderSize = 16;

private:
    friend DealTableLoad parseDealTable(const uint8_t* bytes, std::size_t size, std::shared_ptr<const void> holder);
    DealTable(const uint8_t* bytes, std::size_t size, std::shared_ptr<const void> holder, std::vector<int32_t> cannotBeWon)
        : bytes_(bytes), size_(size), holder_(std::move(holder)), cannotBeWon_(std::move(cannotBeWon)) {}
    // The whole file: header, then one byte per deal; kept by holder_ (a
    // mapped view of the file, or the bytes read), which copies share.
    const uint8_t* bytes_;
    std::size_t size_;
    std::shared_ptr<const void> holder_;
    std::vector<int32_t> cannotBeWon_;  // ascending, found while the file was checked
};

// A table, or the one reason it was refused. `detail` carries the system's
// message when the file could not be read.
struct DealTableLoad {
    std::optional<DealTable> table;
    DealTableRefusal refusal = DealTableRefusal::none;
    std::string detail;
    bool mapped = false;  // the table is a mapped view of its file
};

// Takes the file's bytes; a table that fails any check is refused whole.
DealTableLoad parseDealTable(std::vector<uint8_t> bytes);
// The same over bytes that `holder` keeps (a mapped view of the file): the
// table keeps `holder` as long as it or a copy lives, and releases it when
// refused.
DealTableLoad parseDealTable(const uint8_t* bytes, std::size_t size, std::shared_ptr<const void> holder);
