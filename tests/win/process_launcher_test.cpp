#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "gamelink/process_launcher_win.h"

namespace {

std::string temporaryDirectory() {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, buffer);
    return std::string(buffer, length);
}

TEST(Win32ProcessLauncher, IsFileOnlyForExistingFiles) {
    const std::string directory = temporaryDirectory();
    const std::string file = directory + "tk_launcher_test.txt";
    const HANDLE created =
        CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    CloseHandle(created);

    Win32ProcessLauncher launcher;
    EXPECT_TRUE(launcher.isFile(file));
    EXPECT_FALSE(launcher.isFile(directory)) << "a directory is no file";
    EXPECT_FALSE(launcher.isFile(directory + "tk_no_such_file.exe"));
    DeleteFileA(file.c_str());
}

TEST(Win32ProcessLauncher, DirectoriesAreTheSystemsOwn) {
    Win32ProcessLauncher launcher;
    const std::string windows = launcher.windowsDirectory();
    const std::string system = launcher.systemDirectory();
    const DWORD windowsAttributes = GetFileAttributesA(windows.c_str());
    const DWORD systemAttributes = GetFileAttributesA(system.c_str());
    ASSERT_NE(windowsAttributes, INVALID_FILE_ATTRIBUTES);
    ASSERT_NE(systemAttributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(windowsAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_NE(systemAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST(Win32ProcessLauncher, LaunchReportsAMissingProgram) {
    Win32ProcessLauncher launcher;
    EXPECT_FALSE(launcher.launch("tk_no_such_program_here.exe"));
}

std::string consoleProgramPath() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string path = self;
    return path.substr(0, path.find_last_of('\\') + 1) + "tk_os_probe.exe";
}

TEST(Win32ProcessLauncher, LaunchStartsAProgramAndReturnsWithoutInputLoop) {
    // A console program never becomes idle for input; the wait ends at once.
    Win32ProcessLauncher launcher;
    const DWORD before = GetTickCount();
    EXPECT_TRUE(launcher.launch(consoleProgramPath()));
    EXPECT_LT(GetTickCount() - before, Win32ProcessLauncher::kInputIdleLimitMs);
}

TEST(Win32ProcessLauncher, LaunchStartsAProgramInAFolderWithSpaces) {
    const std::string folder = temporaryDirectory() + "tk launcher folder";
    const std::string program = folder + "\\probe copy.exe";
    CreateDirectoryA(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(consoleProgramPath().c_str(), program.c_str(), FALSE));
    Win32ProcessLauncher launcher;
    EXPECT_TRUE(launcher.launch(program));
    EXPECT_FALSE(launcher.launch(folder + "\\no such program.exe"));
    // The started copy may still be running a moment; it ends by itself.
    for (int attempt = 0; attempt < 100 && !DeleteFileA(program.c_str()); ++attempt) Sleep(50);
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
