#pragma once

#include <cstdint>
#include <string>

#include "gamelink/desktop.h"
#include "gamelink/os_profile.h"

// Starting programs and looking at files, for finding or launching the game.
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    virtual bool isFile(const std::string& path) = 0;  // exists and is not a directory
    virtual std::string windowsDirectory() = 0;        // GetWindowsDirectoryA, 256-byte buffer
    virtual std::string systemDirectory() = 0;         // GetSystemDirectoryA, 256-byte buffer
    // CreateProcessA of the program at the path (launchCommandFor), with
    // CREATE_DEFAULT_ERROR_MODE and the program's own start-up information; on
    // success waits, within a bound, until the new process is idle for input
    // and closes its handles. False on failure.
    virtual bool launch(const std::string& programPath) = 0;
};

// The folder, inside Tallykeep's own folder, of the game that ships with it.
inline constexpr char kBundledGameFolder[] = "freecell";

// The path of the game that start-up launches, or empty when FREECELL.EXE is found
// neither in the current directory nor in the Windows directory (platform 1) or
// the system directory (any other platform), nor as the game that ships with
// Tallykeep, in the folder kBundledGameFolder beside `executablePath`
// (Tallykeep's own path). The bundled game comes last, so that where Windows
// has its own game (95 to XP) that game is the one used. The launcher quotes
// the path it is given, since a folder a user unpacks into may hold spaces.
std::string findGameCommandLine(ProcessLauncher& launcher, const OsVersion& version, const std::string& executablePath);

// FCStart without its message box: finds the game's window, else launches the
// game and finds it again. Returns the game's main window (0 when there is none)
// and reports through executableNotFound whether no executable was found at all,
// in which case the caller shows "Freecell Not Found" and then takes the game's
// window with findGameWindow() (the window is then not looked up here).
struct StartResult {
    WindowId window = 0;
    bool executableNotFound = false;
};
StartResult startGame(Desktop& desktop, ProcessLauncher& launcher, const OsVersion& version,
                      const std::string& executablePath);
WindowId findGameWindow(Desktop& desktop);

// Shutdown steps 1 to 3: foreground and WM_CLOSE to the game (skipped for 0),
// then the close wait answering the end-this-game box with 'Y'. The wait ends when
// no "FreeWClass" window is left, when gameWindow itself no longer names a window,
// or after timeoutMs at the latest (a gameWindow of 0 ends it at once). Returns
// true when the game's window is gone.
bool closeGame(Desktop& desktop, const ProfileTexts& texts, WindowId gameWindow, uint32_t timeoutMs);

// The control bar's three game commands, posted to the game (skipped for 0).
void postStartCommand(Desktop& desktop, WindowId gameWindow);  // F3
void postRedoCommand(Desktop& desktop, WindowId gameWindow);   // Alt, G, R (50 ms pause first)
void postUndoCommand(Desktop& desktop, WindowId gameWindow);   // F10
void postMinimize(Desktop& desktop, WindowId gameWindow);
void postRestore(Desktop& desktop, WindowId gameWindow);
