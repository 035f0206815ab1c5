#include "gamelink/process_launcher_win.h"

#include <vector>

#include <windows.h>

#include "common/handles_win.h"
#include "gamelink/launch_command.h"

namespace {

constexpr UINT kDirectoryBufferSize = 256;

// The text a directory query put into its 256-byte buffer; empty when the
// query failed or the directory did not fit.
template <typename Query>
std::string directoryFrom(Query query) {
    char buffer[kDirectoryBufferSize] = {};
    const UINT length = query(buffer, kDirectoryBufferSize);
    if (length == 0 || length >= kDirectoryBufferSize) return {};
    return std::string(buffer, length);
}

}  // namespace

bool Win32ProcessLauncher::isFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string Win32ProcessLauncher::windowsDirectory() {
    return directoryFrom([](char* buffer, UINT size) { return GetWindowsDirectoryA(buffer, size); });
}

std::string Win32ProcessLauncher::systemDirectory() {
    return directoryFrom([](char* buffer, UINT size) { return GetSystemDirectoryA(buffer, size); });
}

bool Win32ProcessLauncher::launch(const std::string& programPath) {
    STARTUPINFOA startupInfo;
    GetStartupInfoA(&startupInfo);
    PROCESS_INFORMATION processInfo = {};
    const LaunchCommand command = launchCommandFor(programPath);
    // CreateProcessA may write into its command line.
    std::vector<char> mutableCommandLine(command.commandLine.begin(), command.commandLine.end());
    mutableCommandLine.push_back('\0');
    if (!CreateProcessA(command.applicationName.c_str(), mutableCommandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startupInfo, &processInfo))
        return false;
    const KernelHandle process(processInfo.hProcess);
    const KernelHandle thread(processInfo.hThread);
    // WAIT_TIMEOUT or WAIT_FAILED (a program without a message loop) both
    // simply end the wait; the caller looks for the game's window either way.
    WaitForInputIdle(process.get(), kInputIdleLimitMs);
    return true;
}
