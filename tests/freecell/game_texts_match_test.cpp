// The game and Tallykeep each carry the game's window texts by
// Windows version, written separately: the game's side as the editions show
// them, Tallykeep's as it recognises them. A text or a rule that is wrong in
// one of them shows here as a difference.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gamelink/os_profile.h"
#include "freecell/game_texts.h"
#include "freecell/test_configuration.h"

namespace {

struct Pair {
    const char* field;
    std::string game;
    std::string tallykeep;
};

std::vector<Pair> fields(const freecell::GameTexts& game, const ProfileTexts& tallykeep) {
    return {{"TitleGameNumber", game.titleGameNumber, tallykeep.TitleGameNumber},
            {"TitleGameOver", game.titleGameOver, tallykeep.TitleGameOver},
            {"CaptionSameGame", game.captionSameGame, tallykeep.CaptionSameGame},
            {"CaptionYes", game.captionYes, tallykeep.CaptionYes},
            {"CaptionSelectGame", game.captionSelectGame, tallykeep.CaptionSelectGame},
            {"TitleConfirm", game.titleConfirm, tallykeep.TitleConfirm},
            {"TextConfirm", game.textConfirm, tallykeep.TextConfirm}};
}

TEST(GameTextsMatch, EveryWindowsVersionGivesBothProgramsTheSameBytes) {
    const std::vector<freecell::WindowsVersion> versions = {{0, 0, 0},  {1, 4, 0},  {1, 4, 10}, {1, 4, 90}, {1, 4, 3},
                                                            {1, 4, 11}, {1, 5, 0},  {2, 3, 51}, {2, 4, 0},  {2, 4, 1},
                                                            {2, 5, 0},  {2, 5, 1},  {2, 5, 2},  {2, 6, 0},  {2, 6, 1},
                                                            {2, 6, 2},  {2, 10, 0}, {3, 4, 0},  {1, 0, 0},  {2, 0, 1}};
    for (const freecell::WindowsVersion& version : versions) {
        const std::string label = std::to_string(version.platformId) + '.' + std::to_string(version.major) + '.' +
                                  std::to_string(version.minor);
        const OsProfile profile = chooseOsProfile({version.platformId, version.major, version.minor});
        for (const Pair& pair : fields(freecell::textsFor(version), profile.texts)) {
            EXPECT_EQ(pair.game, pair.tallykeep) << label << ' ' << pair.field;
        }
        EXPECT_EQ(freecell::highestGameNumberFor(version), profile.maxGameNumber) << label;
    }
}

TEST(GameTextsMatch, EachNamedSetIsOneOfTallykeepsSets) {
    const std::pair<const char*, const ProfileTexts*> sets[] = {
        {"default", &kDefaultTexts}, {"nt4", &kNt4Texts}, {"win95", &kWin95Texts}, {"win98", &kWin98MeTexts}};
    for (const auto& [name, tallykeep] : sets) {
        const auto game = freecell::textsNamed(name);
        ASSERT_TRUE(game) << name;
        for (const Pair& pair : fields(*game, *tallykeep))
            EXPECT_EQ(pair.game, pair.tallykeep) << name << ' ' << pair.field;
    }
}

TEST(GameTextsMatch, HalfWidthKatakanaTakeOneByteEach) {
    // "ｹﾞｰﾑ番号の指定": four half-width characters (the voicing mark is one of
    // them) and five double-byte ones.
    EXPECT_EQ(std::string(freecell::textsNamed("nt4")->titleGameNumber).size(), 14u);
    EXPECT_EQ(std::string(freecell::textsNamed("default")->titleGameNumber).size(), 16u);
}

}  // namespace
