#include <windows.h>

#include <string>

#include "freecell/event_log.h"
#include "freecell/game_build_win.h"
#include "freecell/game_texts.h"
#include "freecell/main_window_win.h"

namespace {

// The game takes its edition's texts from the Windows it runs on.
freecell::WindowsVersion windowsVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return {};
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

// Windows Vista and later would stretch the window of a program that does
// not say it scales itself, blurring the cards; the game draws them at the
// screen's pixels per inch. The function is looked up, as Windows before
// Vista has none.
void declareOwnScaling(const freecell::WindowsVersion& version) {
    if (version.major < 6) return;
    HMODULE user = GetModuleHandleA("user32.dll");
    using SetAware = BOOL(WINAPI*)();
    const auto setAware =
        user ? reinterpret_cast<SetAware>(reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDPIAware")))
             : nullptr;
    if (setAware) setAware();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    const freecell::WindowsVersion version = windowsVersion();
    declareOwnScaling(version);
    const freecell::GameConfig config = freecell::configurationFor(version);
    freecell::EventLog log(config.logPath);
    log.write("start", std::string("texts=") + config.texts.name + " max=" + std::to_string(config.maxGameNumber) +
                           " version=" + std::to_string(version.platformId) + '.' + std::to_string(version.major) +
                           '.' + std::to_string(version.minor));

    freecell::MainWindow window(config, log, freecell::makeTestCommands(log));
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
