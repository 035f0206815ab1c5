#pragma once

// How the game is known to the system: its main window's class and the
// registry key of its statistics under HKEY_CURRENT_USER.
namespace freecell {

inline constexpr char kMainWindowClass[] = "FreeWClass";
inline constexpr char kStatisticsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\FreeCell";

}  // namespace freecell
