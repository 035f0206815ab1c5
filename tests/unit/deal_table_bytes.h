#pragma once

// Deals' tables as bytes, laid out as docs/deal-table.md says, for the tests
// that read them.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace deal_table_test {

// Bit by bit, the checksum the format names (CRC-32 as in zlib).
inline uint32_t crc32(const uint8_t* data, std::size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

inline void setChecksum(std::vector<uint8_t>& bytes) {
    const uint32_t crc = crc32(bytes.data() + 16, bytes.size() - 16);
    for (int i = 0; i < 4; ++i) bytes[12 + i] = static_cast<uint8_t>(crc >> (8 * i));
}

// A table of the given records, as docs/deal-table.md lays it out.
inline std::vector<uint8_t> tableOf(const std::vector<uint8_t>& records) {
    std::vector<uint8_t> bytes = {'T', 'K', 'D', 'T', 1, 0, 1, 0};
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(records.size() >> (8 * i)));
    bytes.insert(bytes.end(), 4, 0);
    bytes.insert(bytes.end(), records.begin(), records.end());
    setChecksum(bytes);
    return bytes;
}

}  // namespace deal_table_test
