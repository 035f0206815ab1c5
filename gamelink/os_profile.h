#pragma once

#include <cstdint>

// The Windows version as GetVersionExA reports it; all 0 when the query fails.
struct OsVersion {
    uint32_t platformId = 0;
    uint32_t major = 0;
    uint32_t minor = 0;
};

// The seven texts by which the game's dialogs are recognised. Each points to a
// constant NUL-terminated code page 932 text; nothing is copied or freed.
struct ProfileTexts {
    const char* TitleGameNumber;
    const char* TitleGameOver;
    const char* CaptionSameGame;
    const char* CaptionYes;
    const char* CaptionSelectGame;
    const char* TitleConfirm;
    const char* TextConfirm;
};

// The text sets of the Japanese editions of the game.
extern const ProfileTexts kDefaultTexts;  // Windows 2000, XP and later; NT 3.x
extern const ProfileTexts kNt4Texts;      // Windows NT 4.0
extern const ProfileTexts kWin95Texts;    // Windows 95
extern const ProfileTexts kWin98MeTexts;  // Windows 98 and Me

struct OsProfile {
    ProfileTexts texts = kDefaultTexts;
    int32_t maxGameNumber = 32000;
};

// maxGameNumber 1000000 on platform 2, version 5.1 (Windows XP), else 32000.
// Texts: NT 4 set on platform 2 major 4; on platform 1 major 4 the Windows 95
// set for minor 0 and the 98/Me set for minor 10 or 90; else the default set.
OsProfile chooseOsProfile(const OsVersion& version);
