// What the player reads in the statistics dialog, the rules and the version
// dialog.
#include <gtest/gtest.h>

#include <map>

#include "freecell/player_texts.h"

namespace freecell {
namespace {

std::map<std::string, std::string> figures(const Statistics& statistics) {
    std::map<std::string, std::string> shown;
    for (const StatisticsLine& line : statisticsLines(statistics)) shown[line.label] = line.value;
    return shown;
}

TEST(StatisticsDialog, ShowsEveryValueOfTheRegistry) {
    Statistics s;
    s.won = 7;
    s.lost = 3;
    s.wins = 4;
    s.losses = 2;
    s.streak = 3;
    s.stype = 1;
    const auto shown = figures(s);
    EXPECT_EQ(shown.at("勝ち"), "7 回");
    EXPECT_EQ(shown.at("負け"), "3 回");
    EXPECT_EQ(shown.at("勝率"), "70 %");
    EXPECT_EQ(shown.at("最長連勝"), "4 回");
    EXPECT_EQ(shown.at("最長連敗"), "2 回");
    EXPECT_EQ(shown.at("現在の連続"), "3 連勝");
}

TEST(StatisticsDialog, CurrentStreakSaysWhetherItIsOfWinsOrLosses) {
    Statistics s;
    s.streak = 2;
    s.stype = 0;
    EXPECT_EQ(figures(s).at("現在の連続"), "2 連敗");
    s.streak = 0;
    EXPECT_EQ(figures(s).at("現在の連続"), "0");
}

TEST(StatisticsDialog, PercentageIsRoundedDownAndZeroBeforeAnyGame) {
    Statistics s;
    EXPECT_EQ(figures(s).at("勝率"), "0 %");
    s.won = 2;
    s.lost = 1;
    EXPECT_EQ(figures(s).at("勝率"), "66 %");
    s.won = 199;
    s.lost = 1;
    EXPECT_EQ(figures(s).at("勝率"), "99 %");
}

TEST(StatisticsDialog, CountsNearTheLimitDoNotOverflowThePercentage) {
    Statistics s;
    s.won = INT32_MAX;
    s.lost = INT32_MAX;
    EXPECT_EQ(figures(s).at("勝率"), "50 %");
    s.won = -5;  // a value another program wrote
    s.lost = 10;
    EXPECT_EQ(figures(s).at("勝率"), "0 %");
}

TEST(RulesText, NamesTheHighestGameNumberOfTheEdition) {
    EXPECT_NE(rulesText(32000).find("1 から 32000 まで"), std::string::npos);
    EXPECT_NE(rulesText(1000000).find("1 から 1000000 まで"), std::string::npos);
}

TEST(RulesText, NamesEveryKeyOfTheMenu) {
    const std::string text = rulesText(32000);
    for (const char* key : {"F2", "F3", "F4", "F5", "F10"}) EXPECT_NE(text.find(key), std::string::npos) << key;
}

// Keyboard play is told in F1: the keys of the columns, the free cells, home
// and putting back.
TEST(RulesText, NamesTheKeysOfKeyboardPlay) {
    const std::string text = rulesText(32000);
    for (const char* keys : {"1 から 8", "A S D F", "H で組札置き場", "Esc"})
        EXPECT_NE(text.find(keys), std::string::npos) << keys;
}

TEST(AboutText, CarriesTheVersionAndTheWholeLicenceWithWindowsLineEnds) {
    const std::string text = aboutText("1.21", "MIT License\n\nCopyright (c) 2026\r\n\r\nlast line");
    EXPECT_NE(text.find("1.21"), std::string::npos);
    EXPECT_NE(text.find("MIT License\r\n\r\nCopyright (c) 2026\r\n\r\nlast line\r\n"), std::string::npos);
    EXPECT_EQ(text.find("\r\r"), std::string::npos);
    std::size_t bareLineFeeds = 0;
    for (std::size_t i = 0; i < text.size(); ++i) bareLineFeeds += text[i] == '\n' && (i == 0 || text[i - 1] != '\r');
    EXPECT_EQ(bareLineFeeds, 0u);
}

// The licence's lines break at 80 columns; the dialog wraps each paragraph at
// its own width instead, so no line stops short in the middle of a sentence.
TEST(AboutText, LicenceParagraphsAreOneLineEachForTheDialogToWrap) {
    const std::string text =
        aboutText("1.21", "Permission is hereby granted,\nfree of charge, to any person\n\nTHE SOFTWARE IS\nPROVIDED");
    EXPECT_NE(text.find("Permission is hereby granted, free of charge, to any person\r\n\r\nTHE SOFTWARE IS PROVIDED"),
              std::string::npos)
        << text;
}

// The licences' lists and indented continuation lines, as the LICENSE file
// has them: each item starts a line of its own, no run of spaces is left
// inside a line, and the rule between two licences never wraps.
TEST(AboutText, LicenceListsAndRulesKeepTheirShapeWhenReflowed) {
    const std::string text = aboutText("1.21",
                                       "are met:\n\n"
                                       "    * Redistributions of source code must retain the above copyright\n"
                                       "notice, this list.\n"
                                       "    * Redistributions in binary form\n\n"
                                       "  1. Redistributions must retain the above copyright\n"
                                       "     notice, and this.\n"
                                       "  2. The name of the author\n\n" +
                                           std::string(80, '-') + "\n\nThe game\n");
    EXPECT_NE(text.find("are met:\r\n\r\n"
                        "  * Redistributions of source code must retain the above copyright notice, this list.\r\n"
                        "  * Redistributions in binary form\r\n\r\n"
                        "  1. Redistributions must retain the above copyright notice, and this.\r\n"
                        "  2. The name of the author\r\n\r\n" +
                        std::string(20, '-') + "\r\n\r\nThe game\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("   "), std::string::npos) << text;
}

}  // namespace
}  // namespace freecell
