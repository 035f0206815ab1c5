#pragma once

#include <array>
#include <string>
#include <vector>

#include "common/game_in_play.h"
#include "records/tally.h"

// Everything the settings file carries from one run to the next: the game in
// play, and the tally with its six totals (the run's counts are never saved).
struct Settings {
    GameInPlay game;
    Tally tally;
    // The number in the number box, offered at the next start; 0: the game
    // in play's.
    int32_t nextGame = 0;
    // The number the box held before a passed game was taken back, to which
    // it goes back once that game is won or passed again; 0: none.
    int32_t afterRetry = 0;
    // A problem of keeping met where nobody could be told (the end of the
    // Windows session), told at the next start; one line.
    std::string untoldProblem;
    // How far into the log this file holds the record: everything up to the
    // line with 通番 `serial` (in the log or among its waiting lines) is in
    // the totals, history, pass list and box saved here. `logSize` and
    // `lastLogged` are the log's size and its last line's 通番 at that time,
    // so that the next start reads only what came after; 0: not known.
    struct LogMark {
        int32_t serial = 0;
        int32_t lastLogged = 0;
        uint64_t logSize = 0;
    } logMark{};
};

// The private-profile services on one file.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // The value's text, at most 2047 bytes; empty when the key is missing.
    virtual std::string read(const char* section, const char* key) = 0;
    // False when the system refuses the write.
    virtual bool write(const char* section, const char* key, const std::string& value) = 0;
    // Flushes the private-profile cache (a write with no section, key or value).
    virtual void flush() = 0;
};

// The settings file of an executable: the extension of its file name replaced
// by ".Ini", or ".Ini" appended when the file name has no dot.
std::string iniPathFor(const std::string& executablePath);

// Reads every key; a key that is missing or does not parse gives its default.
Settings readSettings(ProfileStore& store);

// Writes every key ("Game", "Score", "Show", then "Hist" and "Rtry" slot by
// slot) and flushes. A refused write raises AppError "<iniPath> に書き込めません"
// and the keys after it are not written.
void writeSettings(ProfileStore& store, const Settings& settings, const std::string& iniPath);

// The sections, keys and values that a save writes, in its order: two
// settings that give the same are saved alike, so that a change can be told
// from none without a save.
std::vector<std::string> savedValues(const Settings& settings);
