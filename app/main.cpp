#include <windows.h>

#include <memory>

#include "app/desktop_choice_win.h"
#include "app/single_instance_win.h"
#include "forms/CtrlF.h"
#include "forms/SeisekiF.h"
#include "gamelink/clipboard_win.h"
#include "gamelink/process_launcher_win.h"
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
    Win32StatisticsRegistry statistics;
    std::unique_ptr<TFCSeisekiF> results;
    std::unique_ptr<TFCCtrF> controlBar;
    try {
        SeisekiEnvironment environment;
        environment.desktop = desktop.get();
        environment.launcher = &launcher;
        environment.statistics = &statistics;
        environment.makeClipboard = [](HWND owner) { return std::make_unique<Win32Clipboard>(owner); };
        environment.executablePath = executablePath();

        // The first form created is the main form; FormCreate runs to its end
        // here. The control bar follows it.
        results = std::make_unique<TFCSeisekiF>(environment);
        results->create();
        controlBar = std::make_unique<TFCCtrF>();
    } catch (const std::exception& error) {
        // Without its windows the program cannot run at all.
        MessageBoxA(nullptr, error.what(), "Tallykeep", MB_ICONERROR | MB_OK);
        return 1;
    }
    results->attachControlBar(controlBar.get());

    return application.run();
}
