#include "records/played_numbers.h"

#include <algorithm>
#include <cstring>

#include "common/number_text.h"

namespace {

// The file: "TKPN", version 1, the highest game number, the log serial it
// reaches, how many numbers were played more than once, a checksum of all
// that follows; then one bit per number (the lowest bit of the first byte is
// number 1) and, per number played more than once, the number and its
// highest attempt. Little-endian throughout.
constexpr char kMagic[4] = {'T', 'K', 'P', 'N'};
constexpr uint32_t kVersion = 1;
constexpr std::size_t kHeaderBytes = 24;

void put32(std::string& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
}

uint32_t get32(const std::string& bytes, std::size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// FNV-1a: a file cut short or overwritten with zeros by a power cut does not
// pass for a whole one.
uint32_t checksum(const std::string& bytes, std::size_t from) {
    uint32_t hash = 2166136261u;
    for (std::size_t i = from; i < bytes.size(); ++i) hash = (hash ^ static_cast<uint8_t>(bytes[i])) * 16777619u;
    return hash;
}

std::size_t bitBytes(int32_t maxGameNumber) { return (static_cast<std::size_t>(maxGameNumber) + 7) / 8; }

}  // namespace

PlayedNumbers::PlayedNumbers(int32_t maxGameNumber)
    : maxGameNumber_(std::max(maxGameNumber, 0)), bits_((static_cast<std::size_t>(maxGameNumber_) + 63) / 64, 0) {}

int32_t PlayedNumbers::highestAttempt(int32_t number) const {
    if (!inRange(number)) return 0;
    const uint32_t at = static_cast<uint32_t>(number - 1);
    if ((bits_[at / 64] >> (at % 64) & 1) == 0) return 0;
    const auto later = later_.find(number);
    return later == later_.end() ? 1 : later->second;
}

int32_t PlayedNumbers::nextAttempt(int32_t number) const {
    return wrappingAdd(highestAttempt(number), 1);
}

void PlayedNumbers::raise(int32_t number, int32_t attempt) {
    if (!inRange(number) || attempt < 1 || attempt <= highestAttempt(number)) return;
    const uint32_t at = static_cast<uint32_t>(number - 1);
    bits_[at / 64] |= uint64_t{1} << (at % 64);
    if (attempt > 1) later_[number] = attempt;
}

void PlayedNumbers::clear() {
    std::fill(bits_.begin(), bits_.end(), 0);
    later_.clear();
}

std::string PlayedNumbers::fileBytes(uint32_t serial) const {
    std::string bytes(kMagic, sizeof kMagic);
    put32(bytes, kVersion);
    put32(bytes, static_cast<uint32_t>(maxGameNumber_));
    put32(bytes, serial);
    put32(bytes, static_cast<uint32_t>(later_.size()));
    put32(bytes, 0);  // the checksum, once the rest is written
    const std::size_t body = bytes.size();
    for (std::size_t i = 0; i < bitBytes(maxGameNumber_); ++i)
        bytes += static_cast<char>(bits_[i / 8] >> (8 * (i % 8)) & 0xFF);
    std::vector<std::pair<int32_t, int32_t>> later(later_.begin(), later_.end());
    std::sort(later.begin(), later.end());
    for (const auto& [number, attempt] : later) {
        put32(bytes, static_cast<uint32_t>(number));
        put32(bytes, static_cast<uint32_t>(attempt));
    }
    const uint32_t sum = checksum(bytes, body);
    for (int i = 0; i < 4; ++i) bytes[body - 4 + static_cast<std::size_t>(i)] = static_cast<char>(sum >> (8 * i) & 0xFF);
    return bytes;
}

std::optional<uint32_t> PlayedNumbers::readFile(const std::string& bytes) {
    if (bytes.size() < kHeaderBytes || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
    if (get32(bytes, 4) != kVersion || get32(bytes, 8) != static_cast<uint32_t>(maxGameNumber_)) return std::nullopt;
    const uint32_t laterCount = get32(bytes, 16);
    const std::size_t bits = bitBytes(maxGameNumber_);
    if (laterCount > static_cast<uint32_t>(maxGameNumber_) ||
        bytes.size() != kHeaderBytes + bits + std::size_t{laterCount} * 8 || checksum(bytes, kHeaderBytes) != get32(bytes, 20))
        return std::nullopt;
    PlayedNumbers read(maxGameNumber_);
    for (std::size_t i = 0; i < bits; ++i)
        read.bits_[i / 8] |= uint64_t{static_cast<uint8_t>(bytes[kHeaderBytes + i])} << (8 * (i % 8));
    for (uint32_t i = 0; i < laterCount; ++i) {
        const std::size_t at = kHeaderBytes + bits + std::size_t{i} * 8;
        const int32_t number = static_cast<int32_t>(get32(bytes, at));
        const int32_t attempt = static_cast<int32_t>(get32(bytes, at + 4));
        if (!read.inRange(number) || attempt < 2) return std::nullopt;
        read.raise(number, attempt);
    }
    *this = std::move(read);
    return get32(bytes, 12);
}
