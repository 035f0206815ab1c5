#pragma once

// How the game is known to the system: its main window's class and the
// registry key of its statistics under HKEY_CURRENT_USER.
namespace freecell {

inline constexpr char kMainWindowClass[] = "FreeWClass";
inline constexpr char kStatisticsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\FreeCell";
// A property of the main window that holds the number of the deal on the
// board (as a handle-sized integer), so that a program beside the game knows
// it whichever way it was dealt; the classic game has none.
inline constexpr char kGameNumberProperty[] = "FreeCellGameNumber";

}  // namespace freecell
