#include "records/deal_table.h"

#include <algorithm>
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

// CRC-32 as zlib and PNG compute it (reflected, polynomial 0xEDB88320),
// eight bytes a step ("slicing by eight"): the table is read whole at every
// start, and a byte at a time its checksum alone took milliseconds.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

const CrcTables& crcTables() {
    static const CrcTables tables = [] {
        CrcTables t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][n] = c;
        }
        for (std::size_t slice = 1; slice < t.size(); ++slice)
            for (uint32_t n = 0; n < 256; ++n) t[slice][n] = (t[slice - 1][n] >> 8) ^ t[0][t[slice - 1][n] & 0xFF];
        return t;
    }();
    return tables;
}

uint32_t crcStep(uint32_t crc, uint8_t byte) { return crcTables()[0][(crc ^ byte) & 0xFF] ^ (crc >> 8); }

bool validRecord(uint8_t record) {
    const int code = record & 7;
    const int band = record >> 3;
    if (code == kCannotBeWon) return band == 0;
    if (code == kUnknown) return band == kNotExamined || band == kUndecided;
    return band != 0;  // won: a solution has moves
}

// What a deal's byte is, beyond a deal won or unknown.
enum RecordKind : uint8_t { plain = 0, invalid = 1, cannotBeWon = 2 };

const std::array<uint8_t, 256>& recordKinds() {
    static const std::array<uint8_t, 256> kinds = [] {
        std::array<uint8_t, 256> k{};
        for (int record = 0; record < 256; ++record) {
            const auto byte = static_cast<uint8_t>(record);
            k[record] = !validRecord(byte) ? invalid : (byte & 7) == kCannotBeWon ? cannotBeWon : plain;
        }
        return k;
    }();
    return kinds;
}

// One pass over the body: its checksum, whether every byte is a record a deal
// can have, and the deals that cannot be won.
struct BodyScan {
    uint32_t crc = 0;
    bool valid = true;
    std::vector<int32_t> cannotBeWon;
};

BodyScan scanBody(const uint8_t* body, std::size_t count) {
    const CrcTables& t = crcTables();
    const std::array<uint8_t, 256>& kinds = recordKinds();
    BodyScan scan;
    uint32_t crc = 0xFFFFFFFFu;
    const auto look = [&](std::size_t i) {
        const uint8_t kind = kinds[body[i]];
        if (kind & invalid) scan.valid = false;
        if (kind & cannotBeWon) scan.cannotBeWon.push_back(static_cast<int32_t>(i + 1));
    };
    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const uint8_t* d = body + i;
        const uint32_t one = crc ^ (uint32_t{d[0]} | uint32_t{d[1]} << 8 | uint32_t{d[2]} << 16 | uint32_t{d[3]} << 24);
        crc = t[7][one & 0xFF] ^ t[6][(one >> 8) & 0xFF] ^ t[5][(one >> 16) & 0xFF] ^ t[4][one >> 24] ^ t[3][d[4]] ^
              t[2][d[5]] ^ t[1][d[6]] ^ t[0][d[7]];
        // Nearly every byte is a deal won or unknown: one test for all eight.
        if ((kinds[d[0]] | kinds[d[1]] | kinds[d[2]] | kinds[d[3]] | kinds[d[4]] | kinds[d[5]] | kinds[d[6]] |
             kinds[d[7]]) != plain)
            for (std::size_t j = i; j < i + 8; ++j) look(j);
    }
    for (; i < count; ++i) {
        crc = crcStep(crc, body[i]);
        if (kinds[body[i]] != plain) look(i);
    }
    scan.crc = crc ^ 0xFFFFFFFFu;
    return scan;
}

DealTableLoad refused(DealTableRefusal refusal) {
    DealTableLoad load;
    load.refusal = refusal;
    return load;
}

}  // namespace

// A folder's name in code page 932 may hold 0x5C as a second byte (表).
std::string dealTablePathFor(const std::string& executablePath) {
    const std::string folder = folderOf(executablePath);
    return folder.empty() ? "deals.tkd" : folder + "\\deals.tkd";
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
    auto held = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
    const uint8_t* data = held->data();
    const std::size_t size = held->size();
    return parseDealTable(data, size, std::move(held));
}

DealTableLoad parseDealTable(const uint8_t* bytes, std::size_t size, std::shared_ptr<const void> holder) {
    const std::size_t header = DealTable::kHeaderSize;
    if (size < header) return refused(DealTableRefusal::cutShort);
    if (std::memcmp(bytes, kMagic, sizeof kMagic) != 0) return refused(DealTableRefusal::notATable);
    if (littleEndian(&bytes[4], 2) != kVersion) return refused(DealTableRefusal::wrongVersion);
    if (littleEndian(&bytes[6], 2) != 1) return refused(DealTableRefusal::wrongSize);
    const uint32_t count = littleEndian(&bytes[8], 4);
    // Deal numbers are positive 32-bit integers.
    if (count > 0x7FFFFFFFu) return refused(DealTableRefusal::wrongSize);
    if (size - header < count) return refused(DealTableRefusal::cutShort);
    if (size - header > count) return refused(DealTableRefusal::wrongSize);
    BodyScan scan = scanBody(bytes + header, count);
    if (scan.crc != littleEndian(&bytes[12], 4)) return refused(DealTableRefusal::badChecksum);
    if (!scan.valid) return refused(DealTableRefusal::badRecord);
    DealTableLoad load;
    load.table = DealTable(bytes, size, std::move(holder), std::move(scan.cannotBeWon));
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
    return {cannotBeWon_.begin(), std::upper_bound(cannotBeWon_.begin(), cannotBeWon_.end(), highest)};
}
