#include <windows.h>

#include <memory>

#include "app/desktop_choice_win.h"
#include "app/single_instance_win.h"
#include "forms/control_bar.h"
#include "forms/results_window.h"
#include "gamelink/clipboard_win.h"
#include "gamelink/game_link.h"
#include "gamelink/os_version_win.h"
#include "gamelink/process_launcher_win.h"
#include "records/results_log_win.h"
#include "records/settings.h"
#include "records/settings_file_win.h"
#include "records/statistics_registry_win.h"
#include "toolkit/application.h"

// Tallykeep has no command line: the arguments are ignored.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A second Tallykeep leaves the game and the settings file to the first.
    const SingleInstance instance;
    if (!instance.first()) {
        bringRunningInstanceToFront(10000);
        return 0;
    }

    Application& application = Application::instance();
    application.setTitle("Tallykeep");

    const std::unique_ptr<Desktop> desktop = makeDesktop([&application] { return application.sessionEnding(); });
    Win32ProcessLauncher launcher;
    Win32StatisticsRegistry gameStatistics;
    Win32SettingsFiles settingsFiles;
    Win32LocalClock clock;
    GameLink game(*desktop, launcher, queryOsVersion(), executablePath());

    std::unique_ptr<Win32LogFile> logFile;
    std::unique_ptr<ResultsWindow> results;
    std::unique_ptr<ControlBar> controlBar;
    try {
        ResultsWindowPorts ports;
        ports.game = &game;
        ports.gameStatistics = &gameStatistics;
        ports.settingsFiles = &settingsFiles;
        const std::string executable = executablePath();
        ports.settingsPath = iniPathFor(executable);
        ports.logPath = resultsLogPathFor(executable);
        logFile = std::make_unique<Win32LogFile>(ports.logPath);
        ports.logFile = logFile.get();
        ports.clock = &clock;
        ports.makeClipboard = [](HWND owner) { return std::make_unique<Win32Clipboard>(owner); };

        // The first form created is the main form; its start-up runs to its
        // end here. The control bar follows it.
        results = std::make_unique<ResultsWindow>(ports);
        results->create();

        ControlBarCommands commands;
        commands.start = [&game] { game.start(); };
        commands.restart = [&game] { game.restart(); };
        commands.takeBack = [&game] { game.takeBack(); };
        ResultsWindow& resultsWindow = *results;
        commands.exit = [&resultsWindow] { resultsWindow.close(); };
        commands.hidden = [&resultsWindow] { resultsWindow.controlBarHidden(); };
        controlBar = std::make_unique<ControlBar>(commands);
    } catch (const std::exception& error) {
        // Without its windows the program cannot run at all.
        MessageBoxA(nullptr, error.what(), "Tallykeep", MB_ICONERROR | MB_OK);
        return 1;
    }
    results->attachControlBar(*controlBar);

    return application.run();
}
