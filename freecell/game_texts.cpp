#include "freecell/game_texts.h"

namespace freecell {

namespace {

constexpr uint32_t kPlatformWindows = 1;
constexpr uint32_t kPlatformNt = 2;

// The game of Windows 2000, XP and later (and of NT 3.x, which had no
// Japanese game of its own) writes "ゲーム" in full-width katakana.
constexpr GameTexts kCurrentEdition = {
    "default",
    "ゲーム番号の指定",
    "ゲーム オーバー",
    "同じゲーム(&S)",
    "はい(&Y)",
    "ゲームの選択(&S)",
    "フリーセル",
    "このゲームを終了しますか?",
    kCaptionNo,
    "OK",
    "キャンセル",
    "おめでとうございます。あなたの勝ちです。\nもう一度プレイしますか?",
    "残念ながら、移動できるカードがもうありません。\nもう一度プレイしますか?",
    "ゲーム番号を入力してください:",
};

// Windows 98 and Me: the current texts but for the question before a resign.
constexpr GameTexts kWin98MeEdition = {
    "win98",
    kCurrentEdition.titleGameNumber,
    kCurrentEdition.titleGameOver,
    kCurrentEdition.captionSameGame,
    kCurrentEdition.captionYes,
    kCurrentEdition.captionSelectGame,
    kCurrentEdition.titleConfirm,
    "このゲームを終了してよろしいですか?",
    kCaptionNo,
    "OK",
    "キャンセル",
    kCurrentEdition.textWon,
    kCurrentEdition.textLost,
    kCurrentEdition.labelGameNumber,
};

// Windows 95 writes its katakana half-width, one byte each.
constexpr GameTexts kWin95Edition = {
    "win95",
    "ｹﾞｰﾑ番号の指定",
    "ｹﾞｰﾑ ｵｰﾊﾞｰ",
    "同じｹﾞｰﾑ(&S)",
    "はい(&Y)",
    "ｹﾞｰﾑの選択(&S)",
    "ﾌﾘｰｾﾙ",
    "このｹﾞｰﾑを終了してよろしいですか?",
    kCaptionNo,
    "OK",
    "ｷｬﾝｾﾙ",
    "おめでとうございます。あなたの勝ちです。\nもう一度ﾌﾟﾚｲしますか?",
    "残念ながら、移動できるｶｰﾄﾞがもうありません。\nもう一度ﾌﾟﾚｲしますか?",
    "ｹﾞｰﾑ番号を入力してください:",
};

// Windows NT 4.0: the half-width texts of Windows 95, an "OK" for yes and its
// own question before a resign.
constexpr GameTexts kNt4Edition = {
    "nt4",
    kWin95Edition.titleGameNumber,
    kWin95Edition.titleGameOver,
    kWin95Edition.captionSameGame,
    "OK",
    kWin95Edition.captionSelectGame,
    kWin95Edition.titleConfirm,
    "このｹﾞｰﾑを終了してもよろしいですか?",
    kCaptionNo,
    "OK",
    "ｷｬﾝｾﾙ",
    kWin95Edition.textWon,
    kWin95Edition.textLost,
    kWin95Edition.labelGameNumber,
};

}  // namespace

std::optional<GameTexts> editionNamed(const std::string& name) {
    for (const GameTexts& texts : {kCurrentEdition, kNt4Edition, kWin95Edition, kWin98MeEdition}) {
        if (name == texts.name) return texts;
    }
    return std::nullopt;
}

GameTexts textsFor(const WindowsVersion& version) {
    if (version.platformId == kPlatformNt && version.major == 4) return kNt4Edition;
    if (version.platformId == kPlatformWindows && version.major == 4) {
        if (version.minor == 0) return kWin95Edition;
        if (version.minor == 10 || version.minor == 90) return kWin98MeEdition;
    }
    return kCurrentEdition;
}

int32_t highestGameNumberFor(const WindowsVersion& version) {
    const bool windowsXp = version.platformId == kPlatformNt && version.major == 5 && version.minor == 1;
    return windowsXp ? 1000000 : 32000;
}

std::optional<int32_t> parseSignedDecimal(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int32_t>(value);
}

}  // namespace freecell
