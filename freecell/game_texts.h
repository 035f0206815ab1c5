#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace freecell {

// The Windows version as GetVersionExA reports it; all 0 when the query fails.
struct WindowsVersion {
    uint32_t platformId = 0;  // 1: Windows 95, 98 and Me; 2: the NT line
    uint32_t major = 0;
    uint32_t minor = 0;
};

// Every text the game's windows show, in code page 932 bytes, as the Japanese
// edition of one Windows version writes them.
struct GameTexts {
    const char* name;  // "default", "nt4", "win95", "win98" or "mismatch"
    const char* titleGameNumber;
    const char* titleGameOver;
    const char* captionSameGame;
    const char* captionYes;
    const char* captionSelectGame;
    const char* titleConfirm;  // also the main window's title
    const char* textConfirm;
    const char* captionNo;
    const char* captionOk;
    const char* captionCancel;
    const char* textWon;
    const char* textLost;
    const char* labelGameNumber;
};

// The caption of the "No" buttons, which Tallykeep never looks for.
inline constexpr char kCaptionNo[] = "いいえ(&N)";

// One of the Japanese editions by its name ("default", "nt4", "win95",
// "win98"); none for another name.
std::optional<GameTexts> editionNamed(const std::string& name);

// The texts of the game that ships with this Windows version.
GameTexts textsFor(const WindowsVersion& version);

// The highest number the game of this Windows version deals: 1,000,000 on
// Windows XP, 32,000 on every other.
int32_t highestGameNumberFor(const WindowsVersion& version);

// What the game takes from where it runs: its edition's texts, the highest
// game number, and (in its test build) a log file.
struct GameConfig {
    GameTexts texts;
    int32_t maxGameNumber;
    std::string logPath;
    // The main window tells the deal's number (kGameNumberProperty).
    bool tellsGameNumber = true;
};

// The game reads the number field as a signed decimal integer: leading blanks,
// an optional sign, digits, nothing after them, within 32 bits.
std::optional<int32_t> parseSignedDecimal(const std::string& text);

}  // namespace freecell
