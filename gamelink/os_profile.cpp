#include "gamelink/os_profile.h"

// The texts are compiled to code page 932: "ｹﾞｰﾑ" is half-width katakana, one
// byte per character; spaces, "(&S)", "(&Y)" and the closing "?" are ASCII.
// Texts shared by two sets are one array each, so that every set is a constant
// that exists before any code runs.
namespace {

constexpr char kGameNumber[] = "ゲーム番号の指定";
constexpr char kGameOver[] = "ゲーム オーバー";
constexpr char kSameGame[] = "同じゲーム(&S)";
constexpr char kYes[] = "はい(&Y)";
constexpr char kSelectGame[] = "ゲームの選択(&S)";
constexpr char kFreeCell[] = "フリーセル";

constexpr char kHalfWidthGameNumber[] = "ｹﾞｰﾑ番号の指定";
constexpr char kHalfWidthGameOver[] = "ｹﾞｰﾑ ｵｰﾊﾞｰ";
constexpr char kHalfWidthSameGame[] = "同じｹﾞｰﾑ(&S)";
constexpr char kHalfWidthSelectGame[] = "ｹﾞｰﾑの選択(&S)";
constexpr char kHalfWidthFreeCell[] = "ﾌﾘｰｾﾙ";

constexpr uint32_t kPlatformWindows = 1;  // Windows 95, 98, Me
constexpr uint32_t kPlatformNt = 2;

}  // namespace

const ProfileTexts kDefaultTexts = {
    kGameNumber, kGameOver, kSameGame, kYes, kSelectGame, kFreeCell, "このゲームを終了しますか?",
};

const ProfileTexts kNt4Texts = {
    kHalfWidthGameNumber,
    kHalfWidthGameOver,
    kHalfWidthSameGame,
    "OK",
    kHalfWidthSelectGame,
    kHalfWidthFreeCell,
    "このｹﾞｰﾑを終了してもよろしいですか?",
};

const ProfileTexts kWin95Texts = {
    kHalfWidthGameNumber,
    kHalfWidthGameOver,
    kHalfWidthSameGame,
    kYes,
    kHalfWidthSelectGame,
    kHalfWidthFreeCell,
    "このｹﾞｰﾑを終了してよろしいですか?",
};

const ProfileTexts kWin98MeTexts = {
    kGameNumber, kGameOver, kSameGame, kYes, kSelectGame, kFreeCell, "このゲームを終了してよろしいですか?",
};

OsProfile chooseOsProfile(const OsVersion& version) {
    OsProfile profile;
    const bool windowsXp = version.platformId == kPlatformNt && version.major == 5 && version.minor == 1;
    profile.maxGameNumber = windowsXp ? 1000000 : 32000;

    profile.texts = kDefaultTexts;
    if (version.platformId == kPlatformNt && version.major == 4) {
        profile.texts = kNt4Texts;
    } else if (version.platformId == kPlatformWindows && version.major == 4) {
        if (version.minor == 0)
            profile.texts = kWin95Texts;
        else if (version.minor == 10 || version.minor == 90)
            profile.texts = kWin98MeTexts;
    }
    return profile;
}
