#include "records/deal_table.h"

#include <array>
#include <cstring>

#include "common/code_page_932.h"

namespace {

constexpr char kMagic[4] = {'T', 'K', 'D', 'T'};
constexpr uint16_t kVersion = 1;

// The low three bits of a deal's byte.
constexpr int kCannotBeWon = 5;
constexpr int kFewestUnknown = 6;
constexpr int kUnknown = 7;
// The high five bits of an unknown deal's byte.
constexpr int kNotExamined = 0;
constexpr int kUndecided = 1;
constexpr int kLastMovesBand = 31;

uint32_t littleEndian(const uint8_t* bytes, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

// CRC-32 as zlib and PNG compute it (reflected, polynomial 0xEDB88320).
uint32_t crc32(const uint8_t* data, std::size_t size) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> entries{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

bool validRecord(uint8_t record) {
    const int code = record & 7;
    const int band = record >> 3;
    if (code == kCannotBeWon) return band == 0;
    if (code == kUnknown) return band == kNotExamined || band == kUndecided;
    return band != 0;  // won: a solution has moves
}

DealTableLoad refused(DealTableRefusal refusal) {
    DealTableLoad load;
    load.refusal = refusal;
    return load;
}

}  // namespace

// A folder's name in code page 932 may hold 0x5C as a second byte (表).
std::string dealTablePathFor(const std::string& executablePath) {
    std::size_t folderEnd = 0;
    for (std::size_t i = 0; i < executablePath.size(); ++i) {
        const char c = executablePath[i];
        if (isLeadByte(c) && i + 1 < executablePath.size())
            ++i;
        else if (c == '\\' || c == '/' || c == ':')
            folderEnd = i + 1;
    }
    return executablePath.substr(0, folderEnd) + "deals.tkd";
}

const char* dealTableRefusalText(DealTableRefusal refusal) {
    switch (refusal) {
        case DealTableRefusal::none:
            return "the deals' table was read";
        case DealTableRefusal::absent:
            return "there is no deals' table";
        case DealTableRefusal::unreadable:
            return "the deals' table could not be read";
        case DealTableRefusal::cutShort:
            return "the deals' table is cut short";
        case DealTableRefusal::notATable:
            return "the file is not a deals' table";
        case DealTableRefusal::wrongVersion:
            return "the deals' table has a version this program does not know";
        case DealTableRefusal::wrongSize:
            return "the deals' table's size does not match its header";
        case DealTableRefusal::badChecksum:
            return "the deals' table is damaged (its checksum does not match)";
        case DealTableRefusal::badRecord:
            return "the deals' table holds a record no deal can have";
    }
    return "the deals' table was refused";
}

DealTableLoad parseDealTable(std::vector<uint8_t> bytes) {
    const std::size_t header = DealTable::kHeaderSize;
    if (bytes.size() < header) return refused(DealTableRefusal::cutShort);
    if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return refused(DealTableRefusal::notATable);
    if (littleEndian(&bytes[4], 2) != kVersion) return refused(DealTableRefusal::wrongVersion);
    if (littleEndian(&bytes[6], 2) != 1) return refused(DealTableRefusal::wrongSize);
    const uint32_t count = littleEndian(&bytes[8], 4);
    // Deal numbers are positive 32-bit integers.
    if (count > 0x7FFFFFFFu) return refused(DealTableRefusal::wrongSize);
    if (bytes.size() - header < count) return refused(DealTableRefusal::cutShort);
    if (bytes.size() - header > count) return refused(DealTableRefusal::wrongSize);
    if (crc32(bytes.data() + header, count) != littleEndian(&bytes[12], 4))
        return refused(DealTableRefusal::badChecksum);
    for (std::size_t i = header; i < bytes.size(); ++i)
        if (!validRecord(bytes[i])) return refused(DealTableRefusal::badRecord);
    DealTableLoad load;
    load.table = DealTable(std::move(bytes));
    return load;
}

DealFacts DealTable::facts(int32_t deal) const {
    DealFacts facts;
    if (deal < 1 || deal > dealCount()) return facts;
    const uint8_t record = bytes_[kHeaderSize + static_cast<std::size_t>(deal) - 1];
    const int code = record & 7;
    const int band = record >> 3;
    if (code == kUnknown) {
        facts.verdict = band == kUndecided ? DealVerdict::undecided : DealVerdict::notExamined;
    } else if (code == kCannotBeWon) {
        facts.verdict = DealVerdict::cannotBeWon;
    } else {
        facts.verdict = DealVerdict::won;
        if (code != kFewestUnknown) facts.fewestFreeCells = code;
        MovesBand moves;
        moves.least = (band - 1) * 8 + 1;
        if (band < kLastMovesBand) moves.most = band * 8;
        facts.solutionMoves = moves;
    }
    return facts;
}

std::vector<int32_t> DealTable::dealsThatCannotBeWon(int32_t highest) const {
    std::vector<int32_t> deals;
    const int32_t last = highest < dealCount() ? highest : dealCount();
    for (int32_t deal = 1; deal <= last; ++deal)
        if ((bytes_[kHeaderSize + static_cast<std::size_t>(deal) - 1] & 7) == kCannotBeWon) deals.push_back(deal);
    return deals;
}
