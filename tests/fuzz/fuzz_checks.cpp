#include "tests/fuzz/fuzz_checks.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

#include "common/app_error.h"
#include "common/number_text.h"
#include "records/pass_list.h"
#include "records/results_log.h"
#include "records/results_log_reader.h"
#include "records/settings.h"

namespace fuzz {

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            static const char hex[] = "0123456789ABCDEF";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out + "\"";
}

// Text to number, written from the rule rather than from the parser: trim,
// classify the whole rest by character sets, drop leading zeros, then compare
// digit counts and magnitudes.
std::optional<int32_t> referenceTextToInt(const std::string& text) {
    size_t start = 0;
    while (start < text.size() && text[start] != '\0' && static_cast<unsigned char>(text[start]) <= ' ') ++start;
    const std::string rest = text.substr(start);
    const auto all = [](const std::string& s, int (*is)(int)) {
        return !s.empty() &&
               std::all_of(s.begin(), s.end(), [is](char c) { return is(static_cast<unsigned char>(c)) != 0; });
    };
    const auto withoutLeadingZeros = [](const std::string& s) {
        const size_t first = s.find_first_not_of('0');
        return first == std::string::npos ? std::string() : s.substr(first);
    };
    std::string hex;
    if (!rest.empty() && (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')) {
        hex = rest.substr(1);
    } else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        hex = rest.substr(2);
    } else {
        const bool negative = !rest.empty() && rest[0] == '-';
        const std::string digits = !rest.empty() && (rest[0] == '-' || rest[0] == '+') ? rest.substr(1) : rest;
        if (!all(digits, isdigit)) return std::nullopt;
        const std::string significant = withoutLeadingZeros(digits);
        if (significant.size() > 10) return std::nullopt;
        const long long magnitude = significant.empty() ? 0 : std::strtoll(significant.c_str(), nullptr, 10);
        if (magnitude > (negative ? 2147483648LL : 2147483647LL)) return std::nullopt;
        return static_cast<int32_t>(negative ? -magnitude : magnitude);
    }
    if (!all(hex, isxdigit)) return std::nullopt;
    const std::string significant = withoutLeadingZeros(hex);
    if (significant.size() > 8) return std::nullopt;
    const unsigned long value = significant.empty() ? 0 : std::strtoul(significant.c_str(), nullptr, 16);
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// The private-profile services as far as the settings see them: names match
// without regard to case; one write may be refused.
class MemoryStore : public ProfileStore {
public:
    std::map<std::string, std::string> values;
    int writes = 0;
    int flushes = 0;
    int refuseWrite = -1;

    static std::string name(const char* section, const char* key) {
        std::string n = std::string(section) + "/" + key;
        for (char& c : n) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return n;
    }
    std::string read(const char* section, const char* key) override {
        const auto it = values.find(name(section, key));
        return it == values.end() ? std::string() : it->second;
    }
    bool write(const char* section, const char* key, const std::string& value) override {
        if (writes++ == refuseWrite) return false;
        values[name(section, key)] = value;
        return true;
    }
    void flush() override { ++flushes; }
};

constexpr int kKeyCount = 31;

const char* const kIntegerKeys[][2] = {{"Game", "GameNo"},  {"Game", "TryCnt"}, {"Score", "won"},
                                       {"Score", "wins"},   {"Score", "lost"},  {"Score", "losses"},
                                       {"Score", "streak"}, {"Score", "stype"}};
const char* const kBooleanKeys[][2] = {{"Show", "SskUp"}, {"Show", "CtlBar"}, {"Show", "RenMode"}};

bool sameSettings(const Settings& a, const Settings& b) {
    const Options& ao = a.tally.options;
    const Options& bo = b.tally.options;
    const ScoreLedger& al = a.tally.ledger;
    const ScoreLedger& bl = b.tally.ledger;
    return a.game.number == b.game.number && a.game.attempt == b.game.attempt &&
           ao.restoreGameStatistics == bo.restoreGameStatistics && ao.showControlBar == bo.showControlBar &&
           ao.renMode == bo.renMode && al.won == bl.won && al.wins == bl.wins && al.lost == bl.lost &&
           al.losses == bl.losses && al.streak == bl.streak && al.stype == bl.stype &&
           a.tally.history.saved() == b.tally.history.saved() && a.tally.passes == b.tally.passes;
}

// Well-formed code page 932: every lead byte has a trail byte (0x40-0x7E,
// 0x80-0xFC) after it. Every path the system hands over is.
bool wellFormed932(const std::string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
            if (i + 1 == text.size()) return false;
            const auto t = static_cast<unsigned char>(text[++i]);
            if (t < 0x40 || t == 0x7F || t > 0xFC) return false;
        }
    }
    return true;
}

}  // namespace

std::string checkNumberText(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::optional<int32_t> parsed = tryTextToInt(text);
    const std::optional<int32_t> expected = referenceTextToInt(text);
    if (parsed != expected)
        return "tryTextToInt(" + quoted(text) + ") is " + (parsed ? std::to_string(*parsed) : "no number") +
               ", the rule says " + (expected ? std::to_string(*expected) : "no number");
    try {
        const int32_t value = textToInt(text);
        if (!parsed || value != *parsed) return "textToInt(" + quoted(text) + ") differs from tryTextToInt";
    } catch (const AppError& error) {
        if (parsed) return "textToInt(" + quoted(text) + ") raised for a number";
        if (std::string(error.what()) != "'" + std::string(text.c_str()) + "' is not a valid integer value")
            return "conversion error text for " + quoted(text) + " is " + quoted(error.what());
    }
    if (textToIntOr(text, 77) != parsed.value_or(77)) return "textToIntOr(" + quoted(text) + ") differs";
    if (parsed && tryTextToInt(intToText(*parsed)) != parsed)
        return "intToText(" + std::to_string(*parsed) + ") does not read back";
    if (size >= 8) {
        int32_t a, b;
        std::copy(data, data + 4, reinterpret_cast<uint8_t*>(&a));
        std::copy(data + 4, data + 8, reinterpret_cast<uint8_t*>(&b));
        const int64_t exact = int64_t{a} + int64_t{b};
        const int64_t wrapped = exact > INT32_MAX   ? exact - 4294967296LL
                                : exact < INT32_MIN ? exact + 4294967296LL
                                                    : exact;
        if (wrappingAdd(a, b) != wrapped) return "wrappingAdd(" + std::to_string(a) + ", " + std::to_string(b) + ")";
    }
    return {};
}

std::string checkSettingsValues(const uint8_t* data, size_t size) {
    // The first byte picks the key whose write is refused; the rest is cut at
    // each newline into the values in read order (a profile value has none).
    const int refused = size > 0 ? data[0] % (kKeyCount + 8) : kKeyCount;
    std::vector<std::string> parts(1);
    for (size_t i = size > 0 ? 1 : 0; i < size; ++i) {
        if (data[i] == '\n') {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(data[i]);
        }
    }
    parts.resize(kKeyCount);

    MemoryStore file;
    int next = 0;
    for (const auto& key : kIntegerKeys) file.values[MemoryStore::name(key[0], key[1])] = parts[next++];
    for (const auto& key : kBooleanKeys) file.values[MemoryStore::name(key[0], key[1])] = parts[next++];
    for (int slot = 0; slot < 10; ++slot) {
        file.values[MemoryStore::name("Hist", ("hist" + std::to_string(slot)).c_str())] = parts[next++];
        file.values[MemoryStore::name("Rtry", ("Retry" + std::to_string(slot)).c_str())] = parts[next++];
    }

    const Settings loaded = readSettings(file);
    const ScoreLedger& ledger = loaded.tally.ledger;
    const int32_t integers[] = {loaded.game.number, loaded.game.attempt, ledger.won,    ledger.wins,
                                ledger.lost,        ledger.losses,       ledger.streak, ledger.stype};
    const int32_t defaults[] = {1, 1, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i)
        if (integers[i] != textToIntOr(parts[i], defaults[i])) return std::string(kIntegerKeys[i][1]) + " misread";
    const Options& options = loaded.tally.options;
    const bool booleans[] = {options.restoreGameStatistics, options.showControlBar, options.renMode};
    const bool booleanDefaults[] = {false, true, false};
    for (int i = 0; i < 3; ++i)
        if (booleans[i] != (textToIntOr(parts[8 + i], booleanDefaults[i] ? 1 : 0) != 0))
            return std::string(kBooleanKeys[i][1]) + " misread";
    for (int slot = 0; slot < 10; ++slot)
        if (loaded.tally.history.saved()[slot] != parts[11 + 2 * slot] ||
            loaded.tally.passes[slot] != parts[12 + 2 * slot])
            return "slot " + std::to_string(slot) + " misread";

    MemoryStore saved;
    writeSettings(saved, loaded, "C:\\Tallykeep.Ini");
    if (saved.writes != kKeyCount || saved.flushes != 1) return "a save does not write every key once";
    if (!sameSettings(readSettings(saved), loaded)) return "a saved file does not read back the same";

    MemoryStore refusing;
    refusing.refuseWrite = refused;
    try {
        writeSettings(refusing, loaded, "C:\\Tallykeep.Ini");
        if (refused < kKeyCount) return "a refused write went unreported";
    } catch (const AppError& error) {
        if (refused >= kKeyCount) return "an error without a refused write";
        if (std::string(error.what()) != "C:\\Tallykeep.Ini に書き込めません") return "wrong text for a refused write";
        if (refusing.writes != refused + 1) return "writes went on after the refused one";
    }
    if (refusing.flushes != 1) return "the cache was not flushed exactly once";
    return {};
}

std::string checkIniPath(const uint8_t* data, size_t size) {
    const std::string path(reinterpret_cast<const char*>(data), size);
    const std::string ini = iniPathFor(path);
    if (ini.size() < 4 || ini.compare(ini.size() - 4, 4, ".Ini") != 0) return "no .Ini at the end of " + quoted(ini);
    const std::string stem = ini.substr(0, ini.size() - 4);
    if (path.compare(0, stem.size(), stem) != 0) return quoted(ini) + " does not start with the path's own text";

    // Reference: split the path into characters, find the last separator and
    // the last dot after it.
    std::vector<size_t> starts;
    for (size_t i = 0; i < path.size(); ++i) {
        starts.push_back(i);
        const auto b = static_cast<unsigned char>(path[i]);
        if (((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && i + 1 < path.size()) ++i;
    }
    size_t nameStart = 0;
    for (size_t at : starts)
        if (path[at] == '\\' || path[at] == '/' || path[at] == ':') nameStart = at + 1;
    size_t expectedStem = path.size();
    for (size_t at : starts)
        if (at >= nameStart && path[at] == '.') expectedStem = at;
    if (stem.size() != expectedStem) return "the extension of " + quoted(path) + " is misplaced in " + quoted(ini);

    if (wellFormed932(path) && iniPathFor(ini) != ini) return quoted(ini) + " changes again";
    return {};
}

std::string checkPassList(const uint8_t* data, size_t size) {
    // The first byte picks the slot taken back; the rest is cut at each
    // newline into the ten slots and the box text.
    const int takenBack = size > 0 ? data[0] % 12 - 1 : 0;
    std::vector<std::string> parts(1);
    for (size_t i = size > 0 ? 1 : 0; i < size; ++i) {
        if (data[i] == '\n') {
            parts.emplace_back();
        } else {
            parts.back() += static_cast<char>(data[i]);
        }
    }
    parts.resize(kPassSlots + 1);
    PassSlots original;
    std::copy(parts.begin(), parts.begin() + kPassSlots, original.begin());
    const std::string& box = parts[kPassSlots];

    const auto firstEmpty = std::find(original.begin(), original.end(), std::string());
    PassSlots passed = original;
    try {
        const PassOutcome outcome = passGame(passed, box);
        if (firstEmpty == original.end()) {
            if (!outcome.listFull || passed != original) return "a full list changed or was not reported full";
        } else {
            const std::optional<int32_t> number = tryTextToInt(box);
            if (!number) return "a box that is no number was passed";
            if (outcome.listFull || outcome.nextNumber != wrappingAdd(*number, 1)) return "wrong outcome";
            // The box goes into the first empty slot; a later slot of a text
            // already seen is emptied; the filled slots are then ordered.
            PassSlots expected = original;
            expected[static_cast<size_t>(firstEmpty - original.begin())] = box;
            std::set<std::string> seen;
            for (std::string& slot : expected)
                if (!slot.empty() && !seen.insert(slot).second) slot.clear();
            std::multiset<std::string> expectedTexts, passedTexts;
            for (size_t i = 0; i < kPassSlots; ++i) {
                if (expected[i].empty() != passed[i].empty()) return "slot " + std::to_string(i) + " filled wrongly";
                if (!expected[i].empty()) expectedTexts.insert(expected[i]);
                if (!passed[i].empty()) passedTexts.insert(passed[i]);
            }
            if (expectedTexts != passedTexts) return "the list's texts changed";
            // Numbers from the highest down, then every entry that is no number.
            std::optional<std::optional<int32_t>> previous;
            for (const std::string& slot : passed) {
                if (slot.empty()) continue;
                const std::optional<int32_t> value = tryTextToInt(slot);
                if (previous && (!*previous ? value.has_value() : value && *value > **previous))
                    return "the list is out of order";
                previous = value;
            }
        }
    } catch (const AppError&) {
        if (firstEmpty == original.end() || tryTextToInt(box)) return "a conversion error for a number";
        if (passed != original) return "the list changed before the conversion error";
    }

    PassSlots taken = original;
    try {
        takeBackPass(taken, takenBack);
        if (takenBack < 0 || takenBack >= static_cast<int>(kPassSlots)) return "a slot outside the list was taken";
        PassSlots expected = original;
        expected[static_cast<size_t>(takenBack)].clear();
        const auto gap = std::find(expected.begin(), expected.end(), std::string());
        std::rotate(gap, gap + 1, expected.end());  // gap exists: the slot just cleared
        if (taken != expected) return "taking back slot " + std::to_string(takenBack) + " went wrong";
    } catch (const std::out_of_range&) {
        if (takenBack >= 0 && takenBack < static_cast<int>(kPassSlots)) return "a slot of the list was refused";
    }
    return {};
}

namespace {

struct ReadLine {
    LogEntry entry;
    uint64_t end;
};

// The log read from memory, `step` bytes a read.
std::vector<ReadLine> readInSteps(const std::string& bytes, std::size_t step, SkippedLines& skipped) {
    std::vector<ReadLine> lines;
    std::size_t at = 0;
    skipped = readResultsLogLines(
        [&](char* buffer, std::size_t size) {
            const std::size_t count = std::min({size, step, bytes.size() - at});
            bytes.copy(buffer, count, at);
            at += count;
            return count;
        },
        [&](const LogEntry& entry, uint64_t end) { lines.push_back({entry, end}); });
    return lines;
}

}  // namespace

std::string checkResultsLog(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    SkippedLines whole;
    SkippedLines byteByByte;
    const std::vector<ReadLine> lines = readInSteps(bytes, bytes.size() + 1, whole);
    const std::vector<ReadLine> again = readInSteps(bytes, 1, byteByByte);
    if (lines.size() != again.size() || whole.count != byteByByte.count || whole.firstLine != byteByByte.firstLine)
        return "the entries depend on the size of the reads: " + quoted(bytes);
    uint64_t lastEnd = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ReadLine& line = lines[i];
        if (!(line.entry == again[i].entry) || line.end != again[i].end) return "an entry differs by read size";
        if (line.end <= lastEnd || line.end > bytes.size() || bytes[line.end - 1] != '\n')
            return "a line's end is not after the last one, at a line feed: " + std::to_string(line.end);
        lastEnd = line.end;
        for (const bool utf8 : {false, true}) {
            std::string written = formatLogLine(line.entry, utf8);
            written.resize(written.size() - 2);
            const std::optional<LogEntry> back = parseResultsLogLine(written);
            if (!back || !(*back == line.entry)) return "an entry written again reads otherwise: " + quoted(written);
        }
    }
    LogEntry known;
    known.when = {2026, 12, 8, 18, 36, 39};
    known.gameNumber = 4711;
    known.attempt = 2;
    known.event = LogEvent::loss;
    known.serial = 982;
    const std::string appended = bytes + "\r\n" + formatLogLine(known);
    SkippedLines skipped;
    const std::vector<ReadLine> withKnown = readInSteps(appended, 4096, skipped);
    if (withKnown.empty() || !(withKnown.back().entry == known) || withKnown.back().end != appended.size())
        return "a line of the log after the input is not read whole at the end";
    return {};
}

}  // namespace fuzz
