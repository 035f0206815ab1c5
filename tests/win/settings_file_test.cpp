#include "records/settings_file_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "common/app_error.h"
#include "common/code_page_932.h"

namespace {

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// True when no double-byte character is cut at the end of the text.
bool endsOnCharacterBoundary(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) i += isLeadByte(text[i]) ? 2 : 1;
    return i == text.size();
}

// Each test gets its own folder under the temporary folder, removed afterwards.
class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        const DWORD length = GetTempPathA(MAX_PATH, temp);
        ASSERT_GT(length, 0u);
        ASSERT_LT(length, static_cast<DWORD>(MAX_PATH));
        static int counter = 0;
        folder_ = std::string(temp) + "tk_settings_" + std::to_string(GetCurrentProcessId()) + "_" +
                  std::to_string(++counter);
        ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << GetLastError();
        path_ = folder_ + "\\Tallykeep.Ini";
    }
    void TearDown() override {
        SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(folder_.c_str());
    }

    std::string folder_;
    std::string path_;
};

Settings sampleSettings() {
    Settings s;
    s.game.number = 123456;
    s.game.attempt = 2;
    s.tally.options.restoreGameStatistics = true;
    s.tally.ledger.won = 10;
    s.tally.ledger.lost = -3;
    s.tally.ledger.stype = 1;
    std::array<std::string, 10> history;
    history[0] = "No.123455 勝ち";
    history[9] = "No.123446 負け";
    s.tally.history = History::fromSaved(history);
    s.tally.passes[3] = "4711";
    return s;
}

TEST_F(IniFileTest, NewFileListsSectionsInWriteOrder) {
    IniFile file(path_);
    writeSettings(file, sampleSettings(), path_);
    const std::string bytes = readBytes(path_);
    size_t previous = 0;
    for (const char* section : {"[Game]", "[Score]", "[Show]", "[Hist]", "[Rtry]"}) {
        const size_t at = bytes.find(section);
        ASSERT_NE(at, std::string::npos) << section;
        EXPECT_GE(at, previous) << section;
        previous = at;
    }
}

TEST_F(IniFileTest, NewFileHoldsCodePage932Bytes) {
    IniFile file(path_);
    writeSettings(file, sampleSettings(), path_);
    EXPECT_NE(readBytes(path_).find("hist0=No.123455 \x8F\x9F\x82\xBF"), std::string::npos);
}

TEST_F(IniFileTest, EverythingReadsBack) {
    IniFile file(path_);
    const Settings s = sampleSettings();
    writeSettings(file, s, path_);
    IniFile reopened(path_);
    const Settings back = readSettings(reopened);
    EXPECT_EQ(back.game.number, s.game.number);
    EXPECT_EQ(back.game.attempt, s.game.attempt);
    EXPECT_EQ(back.tally.options.restoreGameStatistics, s.tally.options.restoreGameStatistics);
    EXPECT_EQ(back.tally.options.showControlBar, s.tally.options.showControlBar);
    EXPECT_EQ(back.tally.ledger.won, s.tally.ledger.won);
    EXPECT_EQ(back.tally.ledger.lost, s.tally.ledger.lost);
    EXPECT_EQ(back.tally.ledger.stype, s.tally.ledger.stype);
    EXPECT_EQ(back.tally.history.saved(), s.tally.history.saved());
    EXPECT_EQ(back.tally.passes, s.tally.passes);
}

TEST_F(IniFileTest, MissingFileReadsDefaults) {
    IniFile file(path_);
    const Settings s = readSettings(file);
    EXPECT_EQ(s.game.number, 1);
    EXPECT_TRUE(s.tally.options.showControlBar);
    EXPECT_EQ(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A file edited by hand may spell the names in any case.
TEST_F(IniFileTest, NamesInAnotherCaseAreRead) {
    writeBytes(path_, "[SCORE]\r\nWON=12\r\n[game]\r\ngameno=77\r\n[HIST]\r\nHIST0=newest\r\n");
    IniFile file(path_);
    const Settings s = readSettings(file);
    EXPECT_EQ(s.tally.ledger.won, 12);
    EXPECT_EQ(s.game.number, 77);
    EXPECT_EQ(s.tally.history.lines().at(0), "newest");
}

TEST_F(IniFileTest, HandWrittenSectionsAndKeysSurvive) {
    writeBytes(path_, "[Mine]\r\nkeep=this\r\n[Game]\r\nGameNo=5\r\nNote=by hand\r\n");
    IniFile file(path_);
    writeSettings(file, sampleSettings(), path_);
    const std::string bytes = readBytes(path_);
    EXPECT_NE(bytes.find("[Mine]\r\nkeep=this\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Note=by hand"), std::string::npos);
    EXPECT_NE(bytes.find("GameNo=123456"), std::string::npos);
}

void expectRefusedWithPath(const std::string& path) {
    IniFile file(path);
    try {
        writeSettings(file, sampleSettings(), path);
        ADD_FAILURE() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(std::string(e.what()), path + " に書き込めません");
    }
}

// A file that another program holds open without sharing writes is refused,
// for every account (Wine lets root write to read-only files, so a read-only
// file cannot stand in for a refusal here).
TEST_F(IniFileTest, LockedFileRefusesTheWriteAndStaysUnchanged) {
    writeBytes(path_, "[Game]\r\nGameNo=5\r\n");
    const std::string before = readBytes(path_);
    const HANDLE lock = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    expectRefusedWithPath(path_);
    CloseHandle(lock);
    EXPECT_EQ(readBytes(path_), before);
}

// A value longer than the 2047 bytes that one read returns is cut there, or one
// byte earlier when the cut would split a double-byte character; the keys
// around it are unaffected.
TEST_F(IniFileTest, OverlongSingleByteValueIsCutAt2047Bytes) {
    writeBytes(path_, "[Hist]\r\nhist0=" + std::string(3000, 'a') + "\r\nhist1=after\r\n");
    IniFile file(path_);
    EXPECT_EQ(file.read("Hist", "hist0"), std::string(2047, 'a'));
    EXPECT_EQ(file.read("Hist", "hist1"), "after");
}

TEST_F(IniFileTest, OverlongDoubleByteValueIsCutOnACharacterBoundary) {
    std::string wide;
    for (int i = 0; i < 1500; ++i) wide += "\x82\xA0";  // あ
    writeBytes(path_, "[Hist]\r\nhist0=" + wide + "\r\nhist1=after\r\n");
    IniFile file(path_);
    const std::string value = file.read("Hist", "hist0");
    EXPECT_LE(value.size(), 2047u);
    EXPECT_GE(value.size(), 2046u);
    EXPECT_TRUE(endsOnCharacterBoundary(value));
    EXPECT_EQ(value, wide.substr(0, value.size()));
    EXPECT_EQ(file.read("Hist", "hist1"), "after");
}

TEST_F(IniFileTest, OverlongWrittenValueLeavesNeighboursIntact) {
    IniFile file(path_);
    std::string mixed = "x";
    for (int i = 0; i < 1200; ++i) mixed += "\x95\x5C";  // 表, whose second byte is "\"
    ASSERT_TRUE(file.write("Hist", "hist0", "before"));
    ASSERT_TRUE(file.write("Hist", "hist1", mixed));
    ASSERT_TRUE(file.write("Hist", "hist2", "after"));
    file.flush();
    const std::string value = file.read("Hist", "hist1");
    EXPECT_TRUE(endsOnCharacterBoundary(value));
    EXPECT_EQ(value, mixed.substr(0, value.size()));
    EXPECT_GE(value.size(), 2046u);
    EXPECT_EQ(file.read("Hist", "hist0"), "before");
    EXPECT_EQ(file.read("Hist", "hist2"), "after");
}

TEST(ExecutablePath, NamesTheRunningTestProgram) {
    const std::string ini = iniPathFor(executablePath());
    ASSERT_GE(ini.size(), 16u);
    EXPECT_EQ(ini.substr(ini.size() - 16), "tk_win_tests.Ini");
    EXPECT_EQ(ini.substr(1, 2), ":\\");
}

}  // namespace
