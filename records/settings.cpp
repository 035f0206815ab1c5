#include "records/settings.h"

#include "common/app_error.h"
#include "common/code_page_932.h"
#include "common/number_text.h"

namespace {

int32_t readInteger(ProfileStore& store, const char* section, const char* key, int32_t fallback) {
    return textToIntOr(store.read(section, key), fallback);
}

bool readBoolean(ProfileStore& store, const char* section, const char* key, bool fallback) {
    return readInteger(store, section, key, fallback ? 1 : 0) != 0;
}

std::string slotKey(const char* prefix, int slot) { return prefix + std::to_string(slot); }

class SettingsWriter {
public:
    SettingsWriter(ProfileStore& store, const std::string& iniPath) : store_(store), iniPath_(iniPath) {}

    void text(const char* section, const std::string& key, const std::string& value) {
        if (!store_.write(section, key.c_str(), value)) throw AppError(iniPath_ + " に書き込めません");
    }
    void integer(const char* section, const char* key, int32_t value) { text(section, key, intToText(value)); }
    void boolean(const char* section, const char* key, bool value) { text(section, key, value ? "1" : "0"); }

private:
    ProfileStore& store_;
    const std::string& iniPath_;
};

void writeAllKeys(ProfileStore& store, const Settings& s, const std::string& iniPath) {
    SettingsWriter write(store, iniPath);
    write.integer("Game", "GameNo", s.GameNo);
    write.integer("Game", "TryCnt", s.TryCnt);
    write.integer("Score", "won", s.won);
    write.integer("Score", "wins", s.wins);
    write.integer("Score", "lost", s.lost);
    write.integer("Score", "losses", s.losses);
    write.integer("Score", "streak", s.streak);
    write.integer("Score", "stype", s.stype);
    write.boolean("Show", "SskUp", s.SskUp);
    write.boolean("Show", "CtlBar", s.CtlBar);
    write.boolean("Show", "RenMode", s.RenMode);
    for (int slot = 0; slot < 10; ++slot) {
        write.text("Hist", slotKey("hist", slot), s.hist[slot]);
        write.text("Rtry", slotKey("Retry", slot), s.retry[slot]);
    }
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
    s.GameNo = readInteger(store, "Game", "GameNo", 1);
    s.TryCnt = readInteger(store, "Game", "TryCnt", 1);
    s.SskUp = readBoolean(store, "Show", "SskUp", false);
    s.CtlBar = readBoolean(store, "Show", "CtlBar", true);
    s.RenMode = readBoolean(store, "Show", "RenMode", false);
    s.won = readInteger(store, "Score", "won", 0);
    s.wins = readInteger(store, "Score", "wins", 0);
    s.lost = readInteger(store, "Score", "lost", 0);
    s.losses = readInteger(store, "Score", "losses", 0);
    s.streak = readInteger(store, "Score", "streak", 0);
    s.stype = readInteger(store, "Score", "stype", 0);
    for (int slot = 0; slot < 10; ++slot) {
        s.hist[slot] = store.read("Hist", slotKey("hist", slot).c_str());
        s.retry[slot] = store.read("Rtry", slotKey("Retry", slot).c_str());
    }
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
