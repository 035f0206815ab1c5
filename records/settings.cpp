#include "records/settings.h"

#include <string>

#include "common/app_error.h"
#include "common/code_page_932.h"
#include "common/number_text.h"

namespace {

// Every key of the file, named once. A number key reads through textToIntOr;
// a flag is saved as "1" or "0" and read as "not 0".
struct NumberKey {
    const char* section;
    const char* key;
    int32_t fallback;
    int32_t& (*field)(Settings&);
};

struct FlagKey {
    const char* section;
    const char* key;
    bool fallback;
    bool& (*field)(Settings&);
};

// clang-format off
const NumberKey kNumberKeys[] = {
    {"Game",  "GameNo", 1, [](Settings& s) -> int32_t& { return s.game.number; }},
    {"Game",  "TryCnt", 1, [](Settings& s) -> int32_t& { return s.game.attempt; }},
    {"Score", "won",    0, [](Settings& s) -> int32_t& { return s.tally.ledger.won; }},
    {"Score", "wins",   0, [](Settings& s) -> int32_t& { return s.tally.ledger.wins; }},
    {"Score", "lost",   0, [](Settings& s) -> int32_t& { return s.tally.ledger.lost; }},
    {"Score", "losses", 0, [](Settings& s) -> int32_t& { return s.tally.ledger.losses; }},
    {"Score", "streak", 0, [](Settings& s) -> int32_t& { return s.tally.ledger.streak; }},
    {"Score", "stype",  0, [](Settings& s) -> int32_t& { return s.tally.ledger.stype; }},
};

const FlagKey kFlagKeys[] = {
    {"Show", "SskUp",   false, [](Settings& s) -> bool& { return s.tally.options.restoreGameStatistics; }},
    {"Show", "CtlBar",  true,  [](Settings& s) -> bool& { return s.tally.options.showControlBar; }},
    {"Show", "RenMode", false, [](Settings& s) -> bool& { return s.tally.options.renMode; }},
};

// Keys of this version only, in a section of their own after all the others,
// so that an older Tallykeep reads the file as before.
const FlagKey kExtraFlagKeys[] = {
    {"Extra", "SkipImpossible", false, [](Settings& s) -> bool& { return s.tally.options.skipImpossible; }},
    {"Extra", "ProgressByDifficulty", false, [](Settings& s) -> bool& { return s.tally.options.progressByDifficulty; }},
};
const NumberKey kExtraNumberKeys[] = {
    {"Extra", "ProgressLeft",   0, [](Settings& s) -> int32_t& { return s.tally.options.progressWindow.left; }},
    {"Extra", "ProgressTop",    0, [](Settings& s) -> int32_t& { return s.tally.options.progressWindow.top; }},
    {"Extra", "ProgressWidth",  0, [](Settings& s) -> int32_t& { return s.tally.options.progressWindow.width; }},
    {"Extra", "ProgressHeight", 0, [](Settings& s) -> int32_t& { return s.tally.options.progressWindow.height; }},
    {"Extra", "NextGame",       0, [](Settings& s) -> int32_t& { return s.nextGame; }},
    {"Extra", "AfterRetry",     0, [](Settings& s) -> int32_t& { return s.afterRetry; }},
    {"Extra", "LogSerial",      0, [](Settings& s) -> int32_t& { return s.logMark.serial; }},
    {"Extra", "LogLast",        0, [](Settings& s) -> int32_t& { return s.logMark.lastLogged; }},
};
// The log's size may pass 2 GB over the years: plain decimal, 64 bits.
constexpr char kLogSizeKey[] = "LogSize";
// clang-format on

// A problem that the end of the last Windows session could not tell anyone.
constexpr char kUntoldSection[] = "Extra";
constexpr char kUntoldKey[] = "Untold";

constexpr std::size_t kSlots = 10;

std::string slotKey(const char* prefix, std::size_t slot) { return prefix + std::to_string(slot); }

class SettingsWriter {
public:
    SettingsWriter(ProfileStore& store, const std::string& iniPath) : store_(store), iniPath_(iniPath) {}

    void operator()(const char* section, const std::string& key, const std::string& value) {
        if (!store_.write(section, key.c_str(), value)) throw AppError(iniPath_ + " に書き込めません");
    }

private:
    ProfileStore& store_;
    const std::string& iniPath_;
};

void writeAllKeys(ProfileStore& store, const Settings& settings, const std::string& iniPath) {
    // The tables hand out references: they read from a copy.
    Settings s = settings;
    SettingsWriter write(store, iniPath);
    for (const NumberKey& k : kNumberKeys) write(k.section, k.key, intToText(k.field(s)));
    for (const FlagKey& k : kFlagKeys) write(k.section, k.key, k.field(s) ? "1" : "0");
    const std::array<std::string, kSlots> history = settings.tally.history.saved();
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        write("Hist", slotKey("hist", slot), history[slot]);
        write("Rtry", slotKey("Retry", slot), settings.tally.passes[slot]);
    }
    for (const FlagKey& k : kExtraFlagKeys) write(k.section, k.key, k.field(s) ? "1" : "0");
    for (const NumberKey& k : kExtraNumberKeys) write(k.section, k.key, intToText(k.field(s)));
    write("Extra", kLogSizeKey, std::to_string(s.logMark.logSize));
    write(kUntoldSection, kUntoldKey, s.untoldProblem);
}

// Keeps what is written, one text per key.
class ValueList : public ProfileStore {
public:
    std::vector<std::string> values;
    std::string read(const char*, const char*) override { return {}; }
    bool write(const char* section, const char* key, const std::string& value) override {
        values.push_back(std::string(section) + '\0' + key + '\0' + value);
        return true;
    }
    void flush() override {}
};

// Digits only, within 64 bits; anything else is no size (0).
uint64_t logSizeFrom(const std::string& text) {
    if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
    uint64_t size = 0;
    for (const char digit : text) size = size * 10 + static_cast<uint64_t>(digit - '0');
    return size;
}

}  // namespace

std::string iniPathFor(const std::string& executablePath) {
    size_t lastDot = std::string::npos;
    for (size_t i = 0; i < executablePath.size(); ++i) {
        const char c = executablePath[i];
        if (isLeadByte(c) && i + 1 < executablePath.size()) {
            ++i;
        } else if (c == '\\' || c == '/' || c == ':') {
            lastDot = std::string::npos;
        } else if (c == '.') {
            lastDot = i;
        }
    }
    const size_t stem = lastDot == std::string::npos ? executablePath.size() : lastDot;
    return executablePath.substr(0, stem) + ".Ini";
}

Settings readSettings(ProfileStore& store) {
    Settings s;
    for (const NumberKey& k : kNumberKeys) k.field(s) = textToIntOr(store.read(k.section, k.key), k.fallback);
    for (const FlagKey& k : kFlagKeys) k.field(s) = textToIntOr(store.read(k.section, k.key), k.fallback ? 1 : 0) != 0;
    std::array<std::string, kSlots> history;
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
        history[slot] = store.read("Hist", slotKey("hist", slot).c_str());
        s.tally.passes[slot] = store.read("Rtry", slotKey("Retry", slot).c_str());
    }
    s.tally.history = History::fromSaved(history);
    for (const FlagKey& k : kExtraFlagKeys)
        k.field(s) = textToIntOr(store.read(k.section, k.key), k.fallback ? 1 : 0) != 0;
    for (const NumberKey& k : kExtraNumberKeys) k.field(s) = textToIntOr(store.read(k.section, k.key), k.fallback);
    s.logMark.logSize = logSizeFrom(store.read("Extra", kLogSizeKey));
    s.untoldProblem = store.read(kUntoldSection, kUntoldKey);
    return s;
}

void writeSettings(ProfileStore& store, const Settings& s, const std::string& iniPath) {
    // The cache is flushed however the writes end, as releasing the file does:
    // the keys written before a refused one are saved.
    try {
        writeAllKeys(store, s, iniPath);
    } catch (...) {
        store.flush();
        throw;
    }
    store.flush();
}

std::vector<std::string> savedValues(const Settings& settings) {
    ValueList list;
    writeAllKeys(list, settings, std::string());
    return list.values;
}
