#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "standin/event_log.h"
#include "standin/game_texts.h"
#include "standin/main_window_win.h"

namespace {

// Not GetEnvironmentVariableA: under Wine it counts a double-byte character
// as one byte, in its result and where it puts the NUL, and so cuts a path
// holding Japanese characters short. The runtime's copy of the environment,
// converted whole at start-up, holds the full text.
std::optional<std::string> environmentVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

// The game takes its edition's texts from the Windows it runs on.
standin::WindowsVersion windowsVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return {};
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    const standin::WindowsVersion version = windowsVersion();
    const standin::StandinConfig config = standin::configure(version, environmentVariable);
    standin::EventLog log(config.logPath);
    log.write("start", std::string("texts=") + config.texts.name + " max=" + std::to_string(config.maxGameNumber) +
                           " version=" + std::to_string(version.platformId) + '.' + std::to_string(version.major) +
                           '.' + std::to_string(version.minor));

    standin::MainWindow window(config, log);
    if (!window.create(showCommand)) {
        log.write("error", "main window not created " + std::to_string(GetLastError()));
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
