#pragma once

#include <cstdint>

// What Tallykeep relies on the game to offer: its window class, executable,
// registry key and message codes. All texts are code page 932 bytes.
namespace game {

inline constexpr char kMainWindowClass[] = "FreeWClass";
inline constexpr char kDialogClass[] = "#32770";
inline constexpr char kEditClass[] = "Edit";
inline constexpr char kButtonClass[] = "Button";
inline constexpr char kExecutable[] = "FREECELL.EXE";
inline constexpr char kStatisticsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\FreeCell";

inline constexpr uint32_t kWmClose = 16;
inline constexpr uint32_t kWmKeyDown = 256;
inline constexpr uint32_t kWmKeyUp = 257;
inline constexpr uint32_t kWmSysKeyDown = 260;
inline constexpr uint32_t kWmSysCommand = 274;
inline constexpr uint32_t kWmPaste = 770;
inline constexpr uint32_t kBmSetCheck = 241;

inline constexpr uintptr_t kBstChecked = 1;
inline constexpr uintptr_t kVkReturn = 13;
inline constexpr uintptr_t kVkMenu = 18;
inline constexpr uintptr_t kVkF3 = 114;
inline constexpr uintptr_t kVkF10 = 121;
inline constexpr uintptr_t kKeyG = 71;
inline constexpr uintptr_t kKeyR = 82;
inline constexpr uintptr_t kKeyY = 89;
inline constexpr uintptr_t kScMinimize = 61472;
inline constexpr uintptr_t kScRestore = 61728;
inline constexpr uintptr_t kScKeyMenu = 61696;

}  // namespace game
