#include <gtest/gtest.h>

#include <string>

#include "gamelink/launch_command.h"

namespace {

// The program name that a started program reads from its command line, split
// as Windows splits it: inside double quotes up to the closing quote, else up
// to the first space or tab.
std::string programNameIn(const std::string& commandLine) {
    if (!commandLine.empty() && commandLine[0] == '"') {
        const size_t close = commandLine.find('"', 1);
        return commandLine.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    return commandLine.substr(0, commandLine.find_first_of(" \t"));
}

TEST(LaunchCommand, GameInAFolderWithSpacesIsStartedFromItsOwnPath) {
    const std::string path = "C:\\Game Folder\\FREECELL.EXE";
    const LaunchCommand command = launchCommandFor(path);
    EXPECT_EQ(command.applicationName, path) << "no search and no shorter name (C:\\Game.exe) is tried";
    EXPECT_EQ(programNameIn(command.commandLine), path);
    EXPECT_EQ(command.commandLine.find_first_not_of(' ', command.commandLine.rfind('"') + 1), std::string::npos)
        << "the game is given no arguments";
}

TEST(LaunchCommand, NameInTheCurrentDirectoryStaysRelative) {
    // A relative application name is looked for in the current directory only,
    // where the game was found.
    const LaunchCommand command = launchCommandFor("FREECELL.EXE");
    EXPECT_EQ(command.applicationName, "FREECELL.EXE");
    EXPECT_EQ(programNameIn(command.commandLine), "FREECELL.EXE");
}

TEST(LaunchCommand, JapaneseFolderWithSpacesStaysWhole) {
    // 表 ends in the byte of a backslash in code page 932.
    const std::string path = "C:\\ゲーム 表\\Program Files\\FREECELL.EXE";
    const LaunchCommand command = launchCommandFor(path);
    EXPECT_EQ(command.applicationName, path);
    EXPECT_EQ(programNameIn(command.commandLine), path);
}

}  // namespace
