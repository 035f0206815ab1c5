#include "freecell/test_configuration.h"

#include "freecell/test_protocol.h"

namespace freecell {

namespace {

// FREECELL_TEXTS=mismatch: English texts that match no Japanese edition.
constexpr GameTexts kMismatch = {
    "mismatch",
    kMismatchTitleGameNumber,
    kMismatchTitleGameOver,
    kMismatchCaptionSameGame,
    kMismatchCaptionYes,
    kMismatchCaptionSelectGame,
    kMismatchTitleConfirm,
    kMismatchTextConfirm,
    kMismatchCaptionNo,
    "OK",
    "Cancel",
    "Congratulations, you win!\nDo you want to play again?",
    "Sorry, there are no more legal moves.\nDo you want to play again?",
    "Select a game number:",
};

}  // namespace

std::optional<GameTexts> textsNamed(const std::string& name) {
    if (name == kMismatch.name) return kMismatch;
    return editionNamed(name);
}

GameConfig configure(const WindowsVersion& version,
                     const std::function<std::optional<std::string>(const char*)>& environment) {
    GameConfig config{textsFor(version), highestGameNumberFor(version), {}};
    if (const auto name = environment(kTextsVariable)) {
        if (auto texts = textsNamed(*name)) config.texts = *texts;
    }
    if (const auto text = environment(kMaxGameVariable)) {
        if (const auto value = parseSignedDecimal(*text); value && *value >= 1) config.maxGameNumber = *value;
    }
    if (const auto path = environment(kLogVariable)) config.logPath = *path;
    if (environment(kHideNumberVariable) == std::string("1")) config.tellsGameNumber = false;
    return config;
}

}  // namespace freecell
