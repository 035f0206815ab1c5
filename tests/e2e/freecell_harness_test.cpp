// The harness itself, where a fault would make the end-to-end tests lie.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "harness/harness.h"

namespace {

using namespace e2e;

TEST(Harness, ClipboardKeepsCodePage932Bytes) {
    ASSERT_TRUE(setClipboardText("ゲーム 12"));
    EXPECT_EQ(clipboardText(), "ゲーム 12");
}

TEST(Harness, SandboxStartsEmpty) {
    {
        Sandbox first("HarnessSandbox");
        std::ofstream(first.path("left-over.txt")) << "x";
    }
    Sandbox second("HarnessSandbox");
    EXPECT_FALSE(std::filesystem::exists(second.path("left-over.txt")));
}

TEST(Harness, ReadsSettingsFileBytesAndValues) {
    Sandbox sandbox;
    const std::string path = sandbox.path("Tallykeep.Ini");
    std::ofstream(path, std::ios::binary) << "[Game]\r\nGameNo=42\r\n";
    EXPECT_EQ(readFileBytes(path), "[Game]\r\nGameNo=42\r\n");
    EXPECT_EQ(iniValue(path, "Game", "GameNo"), "42");
    EXPECT_EQ(iniValue(path, "Game", "TryCnt", "1"), "1");
    EXPECT_EQ(readFileBytes(sandbox.path("missing.ini")), std::nullopt);
}

TEST(Harness, StatisticsValuesKeepTheirTypeAndSize) {
    ASSERT_TRUE(deleteStatisticsKey());
    ASSERT_TRUE(writeStatisticsValue("won", REG_BINARY, {7, 1}));
    ASSERT_TRUE(writeStatistic("lost", -2));
    EXPECT_EQ(readStatistic("won"), std::nullopt);  // two bytes are no 4-byte value
    EXPECT_EQ(readStatisticsValue("won")->bytes, (std::vector<uint8_t>{7, 1}));
    EXPECT_EQ(readStatistic("lost"), -2);
    EXPECT_TRUE(deleteStatisticsValue("lost"));
    EXPECT_EQ(readStatisticsValue("lost"), std::nullopt);
    EXPECT_TRUE(deleteStatisticsKey());
    EXPECT_EQ(readStatisticsValue("won"), std::nullopt);
    EXPECT_TRUE(deleteStatisticsKey());
}

std::optional<std::string> appVersionSetting(const char* exeName) {
    HKEY key = nullptr;
    const std::string path = std::string("Software\\Wine\\AppDefaults\\") + exeName;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    char value[64] = {};
    DWORD size = sizeof value;
    const LONG status = RegQueryValueExA(key, "Version", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return std::string(value);
}

TEST(Harness, EmulatedVersionIsUndoneAtScopeEnd) {
    {
        EmulatedWindowsVersion outer("HARNESS.EXE", "win95");
        {
            EmulatedWindowsVersion inner("HARNESS.EXE", "nt40");
            EXPECT_EQ(appVersionSetting("HARNESS.EXE"), "nt40");
        }
        EXPECT_EQ(appVersionSetting("HARNESS.EXE"), "win95");
    }
    EXPECT_EQ(appVersionSetting("HARNESS.EXE"), std::nullopt);
}

TEST(Harness, KilledProgramReportsItsEnd) {
    killStrayPrograms();
    Sandbox sandbox;
    RunningStandin game(sandbox);
    ASSERT_NE(game.mainWindow, nullptr);
    EXPECT_TRUE(game.process.running());
    EXPECT_EQ(game.process.waitForExit(100ms), std::nullopt);
    game.process.kill();
    EXPECT_FALSE(game.process.running());
    EXPECT_EQ(game.process.waitForExit(), 1u);
    EXPECT_TRUE(waitUntilGone(game.mainWindow));
}

}  // namespace
