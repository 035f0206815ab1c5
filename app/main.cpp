#include <windows.h>

#include <memory>

#include "app/desktop_choice_win.h"
#include "app/single_instance_win.h"
#include "common/code_page_932.h"
#include "forms/control_bar.h"
#include "forms/results_window.h"
#include "gamelink/clipboard_win.h"
#include "gamelink/early_tick_thread_win.h"
#include "gamelink/game_link.h"
#include "gamelink/os_version_win.h"
#include "gamelink/process_launcher_win.h"
#include "records/deal_table_file_win.h"
#include "records/record_keeper.h"
#include "records/results_log_win.h"
#include "records/settings.h"
#include "records/settings_file_win.h"
#include "records/statistics_registry_win.h"
#include "toolkit/application.h"
#include "toolkit/event_gate.h"

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
    EarlyTickThread earlyTicks(*desktop);

    std::unique_ptr<GameLink> game;
    std::unique_ptr<Win32LogFile> logFile;
    std::unique_ptr<Win32WaitingLinesFile> waitingLines;
    std::unique_ptr<Win32PlayedNumbersFile> playedNumbers;
    std::unique_ptr<Win32LogSource> logSource;
    std::unique_ptr<RecordKeeper> keeper;
    std::unique_ptr<ResultsWindow> results;
    std::unique_ptr<ControlBar> controlBar;
    try {
        const std::string executable = executablePath();
        game = std::make_unique<GameLink>(*desktop, launcher, queryOsVersion(), executable);

        RecordFiles files;
        files.settingsFiles = &settingsFiles;
        files.settingsPath = iniPathFor(executable);
        files.logPath = resultsLogPathFor(executable);
        logFile = std::make_unique<Win32LogFile>(files.logPath);
        files.logFile = logFile.get();
        waitingLines = std::make_unique<Win32WaitingLinesFile>(files.logPath);
        files.waitingLinesFile = waitingLines.get();
        files.clock = &clock;
        files.gameStatistics = &gameStatistics;
        logSource = std::make_unique<Win32LogSource>(files.logPath);
        files.logSource = logSource.get();
        playedNumbers = std::make_unique<Win32PlayedNumbersFile>(files.logPath);
        files.playedNumbersFile = playedNumbers.get();
        files.dealTablePath = dealTablePathFor(executable);
        files.readDealTable = [path = files.dealTablePath] { return loadDealTableFile(path); };
        keeper = std::make_unique<RecordKeeper>(files, game->maxGameNumber());

        ResultsWindowPorts ports;
        ports.game = game.get();
        ports.earlyTicks = &earlyTicks;
        ports.keeper = keeper.get();
        ports.makeClipboard = [](HWND owner) { return std::make_unique<Win32Clipboard>(owner); };
        const std::string folder = folderOf(executable);
        ports.manualPath = folder.empty() ? "Tallykeep.txt" : folder + "\\Tallykeep.txt";

        // The first form created is the main form; its start-up runs to its
        // end here. The control bar follows it.
        results = std::make_unique<ResultsWindow>(ports);
        results->create();

        GameLink& link = *game;
        ControlBarCommands commands;
        // A press that waited behind the watcher's tick says how long, so
        // that one made while the game asked the player is dropped.

        commands.takeBack = [&link] { link.takeBack(EventGate::runningEventWaitedMs()); };
        ResultsWindow& resultsWindow = *results;
        commands.start = [&resultsWindow] { resultsWindow.startGame(); };
        commands.restart = [&resultsWindow] { resultsWindow.restartGame(); };
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
