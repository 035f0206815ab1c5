#include "standin/game_texts.h"

#include <cstring>

#include "standin/standin_protocol.h"

namespace standin {

namespace {

constexpr ProfileTexts kMismatchTexts = {
    kMismatchTitleGameNumber, kMismatchTitleGameOver, kMismatchCaptionSameGame, kMismatchCaptionYes,
    kMismatchCaptionSelectGame, kMismatchTitleConfirm, kMismatchTextConfirm,
};

GameTexts japanese(const char* name, const ProfileTexts& profile) {
    return {name,
            profile,
            kCaptionNo,
            "OK",
            "キャンセル",
            "おめでとうございます。あなたの勝ちです。\nもう一度プレイしますか?",
            "残念ながら、移動できるカードがもうありません。\nもう一度プレイしますか?",
            "ゲーム番号を入力してください:"};
}

GameTexts english() {
    return {"mismatch",
            kMismatchTexts,
            kMismatchCaptionNo,
            "OK",
            "Cancel",
            "Congratulations, you win!\nDo you want to play again?",
            "Sorry, there are no more legal moves.\nDo you want to play again?",
            "Select a game number:"};
}

bool sameTexts(const ProfileTexts& a, const ProfileTexts& b) {
    return std::strcmp(a.TitleGameNumber, b.TitleGameNumber) == 0 &&
           std::strcmp(a.TitleGameOver, b.TitleGameOver) == 0 &&
           std::strcmp(a.CaptionSameGame, b.CaptionSameGame) == 0 &&
           std::strcmp(a.CaptionYes, b.CaptionYes) == 0 &&
           std::strcmp(a.CaptionSelectGame, b.CaptionSelectGame) == 0 &&
           std::strcmp(a.TitleConfirm, b.TitleConfirm) == 0 && std::strcmp(a.TextConfirm, b.TextConfirm) == 0;
}

}  // namespace

std::optional<GameTexts> textsNamed(const std::string& name) {
    if (name == "default") return japanese("default", kDefaultTexts);
    if (name == "nt4") return japanese("nt4", kNt4Texts);
    if (name == "win95") return japanese("win95", kWin95Texts);
    if (name == "win98") return japanese("win98", kWin98MeTexts);
    if (name == "mismatch") return english();
    return std::nullopt;
}

GameTexts textsFor(const OsVersion& version) {
    const ProfileTexts chosen = chooseOsProfile(version).texts;
    for (const char* name : {"nt4", "win95", "win98"}) {
        const GameTexts candidate = *textsNamed(name);
        if (sameTexts(candidate.profile, chosen)) return candidate;
    }
    return japanese("default", chosen);
}

StandinConfig configure(const OsVersion& version,
                        const std::function<std::optional<std::string>(const char*)>& environment) {
    StandinConfig config{textsFor(version), chooseOsProfile(version).MaxGameNo, {}};
    if (const auto name = environment("FREECELL_TEXTS")) {
        if (auto texts = textsNamed(*name)) config.texts = *texts;
    }
    if (const auto text = environment("FREECELL_MAXGAME")) {
        if (const auto value = parseSignedDecimal(*text); value && *value >= 1) config.maxGameNumber = *value;
    }
    if (const auto path = environment("FREECELL_LOG")) config.logPath = *path;
    return config;
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

}  // namespace standin
