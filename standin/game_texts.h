#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "gamelink/os_profile.h"

namespace standin {

// Every text the stand-in shows: the seven texts Tallykeep recognises plus the
// ones it never looks at. Code page 932 bytes.
struct GameTexts {
    const char* name;  // "default", "nt4", "win95", "win98" or "mismatch"
    ProfileTexts profile;
    const char* captionNo;
    const char* captionOk;
    const char* captionCancel;
    const char* textWon;
    const char* textLost;
    const char* labelGameNumber;
};

// The set by its FREECELL_TEXTS name; none for an unknown name.
std::optional<GameTexts> textsNamed(const std::string& name);

// The set that the game of this Windows version shows, by Tallykeep's rules.
GameTexts textsFor(const OsVersion& version);

struct StandinConfig {
    GameTexts texts;
    int32_t maxGameNumber;
    std::string logPath;
};

// FREECELL_TEXTS and FREECELL_MAXGAME override what the Windows version
// decides; FREECELL_LOG names the log file. `environment` returns a variable's
// value, or none when it is not set.
StandinConfig configure(const OsVersion& version,
                        const std::function<std::optional<std::string>(const char*)>& environment);

// The game reads the number field as a signed decimal integer: leading blanks,
// an optional sign, digits, nothing after them, within 32 bits.
std::optional<int32_t> parseSignedDecimal(const std::string& text);

}  // namespace standin
