#include "gamelink/os_profile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The texts as code page 932 bytes, written out so that a wrong source
// encoding or a full-width character where ASCII belongs shows up here.
const ProfileTexts kExpectedDefault = {
    "\x83\x51\x81\x5B\x83\x80\x94\xD4\x8D\x86\x82\xCC\x8E\x77\x92\xE8",  // ゲーム番号の指定
    "\x83\x51\x81\x5B\x83\x80\x20\x83\x49\x81\x5B\x83\x6F\x81\x5B",      // ゲーム オーバー
    "\x93\xAF\x82\xB6\x83\x51\x81\x5B\x83\x80\x28\x26\x53\x29",          // 同じゲーム(&S)
    "\x82\xCD\x82\xA2\x28\x26\x59\x29",                                  // はい(&Y)
    "\x83\x51\x81\x5B\x83\x80\x82\xCC\x91\x49\x91\xF0\x28\x26\x53\x29",  // ゲームの選択(&S)
    "\x83\x74\x83\x8A\x81\x5B\x83\x5A\x83\x8B",                          // フリーセル
    "\x82\xB1\x82\xCC\x83\x51\x81\x5B\x83\x80\x82\xF0\x8F\x49\x97\xB9\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x3F",  // このゲームを終了しますか?
};
const ProfileTexts kExpectedNt4 = {
    "\xB9\xDE\xB0\xD1\x94\xD4\x8D\x86\x82\xCC\x8E\x77\x92\xE8",  // ｹﾞｰﾑ番号の指定
    "\xB9\xDE\xB0\xD1\x20\xB5\xB0\xCA\xDE\xB0",                  // ｹﾞｰﾑ ｵｰﾊﾞｰ
    "\x93\xAF\x82\xB6\xB9\xDE\xB0\xD1\x28\x26\x53\x29",          // 同じｹﾞｰﾑ(&S)
    "\x4F\x4B",                                                  // OK
    "\xB9\xDE\xB0\xD1\x82\xCC\x91\x49\x91\xF0\x28\x26\x53\x29",  // ｹﾞｰﾑの選択(&S)
    "\xCC\xD8\xB0\xBE\xD9",                                      // ﾌﾘｰｾﾙ
    "\x82\xB1\x82\xCC\xB9\xDE\xB0\xD1\x82\xF0\x8F\x49\x97\xB9\x82\xB5\x82\xC4\x82\xE0\x82\xE6\x82\xEB\x82\xB5\x82\xA2"
    "\x82\xC5\x82\xB7\x82\xA9\x3F",  // このｹﾞｰﾑを終了してもよろしいですか?
};
const ProfileTexts kExpectedWin95 = {
    "\xB9\xDE\xB0\xD1\x94\xD4\x8D\x86\x82\xCC\x8E\x77\x92\xE8",  // ｹﾞｰﾑ番号の指定
    "\xB9\xDE\xB0\xD1\x20\xB5\xB0\xCA\xDE\xB0",                  // ｹﾞｰﾑ ｵｰﾊﾞｰ
    "\x93\xAF\x82\xB6\xB9\xDE\xB0\xD1\x28\x26\x53\x29",          // 同じｹﾞｰﾑ(&S)
    "\x82\xCD\x82\xA2\x28\x26\x59\x29",                          // はい(&Y)
    "\xB9\xDE\xB0\xD1\x82\xCC\x91\x49\x91\xF0\x28\x26\x53\x29",  // ｹﾞｰﾑの選択(&S)
    "\xCC\xD8\xB0\xBE\xD9",                                      // ﾌﾘｰｾﾙ
    "\x82\xB1\x82\xCC\xB9\xDE\xB0\xD1\x82\xF0\x8F\x49\x97\xB9\x82\xB5\x82\xC4\x82\xE6\x82\xEB\x82\xB5\x82\xA2\x82\xC5"
    "\x82\xB7\x82\xA9\x3F",  // このｹﾞｰﾑを終了してよろしいですか?
};
const ProfileTexts kExpectedWin98Me = {
    "\x83\x51\x81\x5B\x83\x80\x94\xD4\x8D\x86\x82\xCC\x8E\x77\x92\xE8",  // ゲーム番号の指定
    "\x83\x51\x81\x5B\x83\x80\x20\x83\x49\x81\x5B\x83\x6F\x81\x5B",      // ゲーム オーバー
    "\x93\xAF\x82\xB6\x83\x51\x81\x5B\x83\x80\x28\x26\x53\x29",          // 同じゲーム(&S)
    "\x82\xCD\x82\xA2\x28\x26\x59\x29",                                  // はい(&Y)
    "\x83\x51\x81\x5B\x83\x80\x82\xCC\x91\x49\x91\xF0\x28\x26\x53\x29",  // ゲームの選択(&S)
    "\x83\x74\x83\x8A\x81\x5B\x83\x5A\x83\x8B",                          // フリーセル
    "\x82\xB1\x82\xCC\x83\x51\x81\x5B\x83\x80\x82\xF0\x8F\x49\x97\xB9\x82\xB5\x82\xC4\x82\xE6\x82\xEB\x82\xB5\x82\xA2"
    "\x82\xC5\x82\xB7\x82\xA9\x3F",  // このゲームを終了してよろしいですか?
};
constexpr const char* ProfileTexts::*kFields[] = {
    &ProfileTexts::TitleGameNumber, &ProfileTexts::TitleGameOver,     &ProfileTexts::CaptionSameGame,
    &ProfileTexts::CaptionYes,      &ProfileTexts::CaptionSelectGame, &ProfileTexts::TitleConfirm,
    &ProfileTexts::TextConfirm,
};
constexpr const char* kFieldNames[] = {"TitleGameNumber",   "TitleGameOver", "CaptionSameGame", "CaptionYes",
                                       "CaptionSelectGame", "TitleConfirm",  "TextConfirm"};

void expectSameBytes(const ProfileTexts& actual, const ProfileTexts& expected) {
    for (size_t i = 0; i < std::size(kFields); ++i)
        EXPECT_EQ(std::string(actual.*kFields[i]), std::string(expected.*kFields[i])) << kFieldNames[i];
}

TEST(ProfileTexts, DefaultSetIsByteExact) { expectSameBytes(kDefaultTexts, kExpectedDefault); }
TEST(ProfileTexts, Nt4SetIsByteExact) { expectSameBytes(kNt4Texts, kExpectedNt4); }
TEST(ProfileTexts, Win95SetIsByteExact) { expectSameBytes(kWin95Texts, kExpectedWin95); }
TEST(ProfileTexts, Win98MeSetIsByteExact) { expectSameBytes(kWin98MeTexts, kExpectedWin98Me); }

TEST(ProfileTexts, HalfWidthKatakanaIsOneBytePerCharacter) {
    EXPECT_EQ(std::strlen(kNt4Texts.TitleGameNumber), 14u);      // ｹﾞｰﾑ番号の指定
    EXPECT_EQ(std::strlen(kDefaultTexts.TitleGameNumber), 16u);  // ゲーム番号の指定
    EXPECT_EQ(std::strlen(kWin95Texts.TitleConfirm), 5u);        // ﾌﾘｰｾﾙ
}

TEST(ProfileTexts, GameOverTitlesUseTheAsciiSpace) {
    EXPECT_EQ(kDefaultTexts.TitleGameOver[6], ' ');
    EXPECT_EQ(kNt4Texts.TitleGameOver[4], ' ');
}

TEST(ProfileTexts, MnemonicsAndQuestionMarkAreAscii) {
    EXPECT_STREQ(kDefaultTexts.CaptionYes + 4, "(&Y)");
    EXPECT_STREQ(kNt4Texts.CaptionSameGame + 8, "(&S)");
    EXPECT_STREQ(kWin98MeTexts.CaptionSelectGame + 12, "(&S)");
    const std::string confirm = kWin95Texts.TextConfirm;
    EXPECT_EQ(confirm.back(), '?');
}

TEST(ProfileTexts, Nt4AffirmativeButtonIsOk) { EXPECT_STREQ(kNt4Texts.CaptionYes, "OK"); }

enum class Set { Default, Nt4, Win95, Win98Me };

struct VersionCase {
    OsVersion version;
    Set set;
    int32_t maxGameNo;
};

void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << c.version.platformId << ", " << c.version.major << "." << c.version.minor;
}

const ProfileTexts& setFor(Set set) {
    switch (set) {
        case Set::Nt4:
            return kNt4Texts;
        case Set::Win95:
            return kWin95Texts;
        case Set::Win98Me:
            return kWin98MeTexts;
        default:
            return kDefaultTexts;
    }
}

// Compares where each field points: the choice assigns whole sets, so every
// field must come from the one expected set.
bool pointsToSet(const ProfileTexts& actual, const ProfileTexts& set) {
    for (auto field : kFields)
        if (actual.*field != set.*field) return false;
    return true;
}

class ChooseOsProfile : public ::testing::TestWithParam<VersionCase> {};

TEST_P(ChooseOsProfile, ChoosesTextSet) {
    EXPECT_TRUE(pointsToSet(chooseOsProfile(GetParam().version).texts, setFor(GetParam().set)));
}

TEST_P(ChooseOsProfile, ChoosesMaxGameNo) {
    EXPECT_EQ(chooseOsProfile(GetParam().version).maxGameNumber, GetParam().maxGameNo);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, ChooseOsProfile,
    ::testing::Values(VersionCase{{0, 0, 0}, Set::Default, 32000},   // failed query
                      VersionCase{{2, 3, 51}, Set::Default, 32000},  // NT 3.51
                      VersionCase{{2, 4, 0}, Set::Nt4, 32000},
                      VersionCase{{2, 4, 1}, Set::Nt4, 32000},        // any minor of NT 4
                      VersionCase{{2, 5, 0}, Set::Default, 32000},    // 2000
                      VersionCase{{2, 5, 1}, Set::Default, 1000000},  // XP
                      VersionCase{{2, 5, 2}, Set::Default, 32000}, VersionCase{{2, 6, 0}, Set::Default, 32000},
                      VersionCase{{2, 6, 1}, Set::Default, 32000}, VersionCase{{2, 6, 2}, Set::Default, 32000},
                      VersionCase{{2, 10, 0}, Set::Default, 32000}, VersionCase{{1, 4, 0}, Set::Win95, 32000},
                      VersionCase{{1, 4, 10}, Set::Win98Me, 32000}, VersionCase{{1, 4, 90}, Set::Win98Me, 32000},
                      VersionCase{{1, 4, 3}, Set::Default, 32000},
                      VersionCase{{1, 5, 1}, Set::Default, 32000},  // XP's version on the wrong platform
                      VersionCase{{1, 3, 0}, Set::Default, 32000}, VersionCase{{3, 4, 0}, Set::Default, 32000}));

TEST(ChooseOsProfile, Win95AffirmativeButtonIsHai) {
    EXPECT_STREQ(chooseOsProfile({1, 4, 0}).texts.CaptionYes, kExpectedWin95.CaptionYes);
}

TEST(ChooseOsProfile, Nt4AffirmativeButtonIsOk) { EXPECT_STREQ(chooseOsProfile({2, 4, 0}).texts.CaptionYes, "OK"); }

}  // namespace
