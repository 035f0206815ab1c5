// Prints the Windows version this process sees and the profile chosen from it,
// one line: "platform=P major=M minor=N set=NAME maxGameNumber=X".
#include <cstdio>
#include <cstring>

#include "gamelink/os_profile.h"
#include "gamelink/os_version_win.h"

namespace {

bool sameTexts(const ProfileTexts& a, const ProfileTexts& b) {
    return std::strcmp(a.TitleGameNumber, b.TitleGameNumber) == 0 &&
           std::strcmp(a.TitleGameOver, b.TitleGameOver) == 0 &&
           std::strcmp(a.CaptionSameGame, b.CaptionSameGame) == 0 && std::strcmp(a.CaptionYes, b.CaptionYes) == 0 &&
           std::strcmp(a.CaptionSelectGame, b.CaptionSelectGame) == 0 &&
           std::strcmp(a.TitleConfirm, b.TitleConfirm) == 0 && std::strcmp(a.TextConfirm, b.TextConfirm) == 0;
}

const char* setName(const ProfileTexts& texts) {
    if (sameTexts(texts, kDefaultTexts)) return "default";
    if (sameTexts(texts, kNt4Texts)) return "nt4";
    if (sameTexts(texts, kWin95Texts)) return "win95";
    if (sameTexts(texts, kWin98MeTexts)) return "win98me";
    return "unknown";
}

}  // namespace

int main() {
    const OsVersion version = queryOsVersion();
    const OsProfile profile = chooseOsProfile(version);
    std::printf("platform=%u major=%u minor=%u set=%s maxGameNumber=%ld\n", static_cast<unsigned>(version.platformId),
                static_cast<unsigned>(version.major), static_cast<unsigned>(version.minor), setName(profile.texts),
                static_cast<long>(profile.maxGameNumber));
    return std::fflush(stdout) == 0 ? 0 : 1;
}
