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
// The game that ships with Tallykeep keeps the number of the deal on its board
// in this property of its main window; the classic game has none.
inline constexpr char kGameNumberProperty[] = "FreeCellGameNumber";

// The game's messages and keys, by their Windows names: this header stays
// portable, so each carries the value that <windows.h> gives that name.
inline constexpr uint32_t kWmClose = 0x0010;       // WM_CLOSE (16)
inline constexpr uint32_t kWmKeyDown = 0x0100;     // WM_KEYDOWN (256)
inline constexpr uint32_t kWmKeyUp = 0x0101;       // WM_KEYUP (257)
inline constexpr uint32_t kWmSysKeyDown = 0x0104;  // WM_SYSKEYDOWN (260)
inline constexpr uint32_t kWmSysCommand = 0x0112;  // WM_SYSCOMMAND (274)
inline constexpr uint32_t kWmPaste = 0x0302;       // WM_PASTE (770)
inline constexpr uint32_t kBmSetCheck = 0x00F1;    // BM_SETCHECK (241)

inline constexpr uintptr_t kBstChecked = 1;       // BST_CHECKED
inline constexpr uintptr_t kVkReturn = 0x0D;      // VK_RETURN (13)
inline constexpr uintptr_t kVkMenu = 0x12;        // VK_MENU, the Alt key (18)
inline constexpr uintptr_t kVkF3 = 0x72;          // VK_F3 (114)
inline constexpr uintptr_t kVkF10 = 0x79;         // VK_F10 (121)
inline constexpr uintptr_t kKeyG = 'G';           // the G key: its virtual-key code is its letter (71)
inline constexpr uintptr_t kKeyR = 'R';           // (82)
inline constexpr uintptr_t kKeyY = 'Y';           // (89)
inline constexpr uintptr_t kScMinimize = 0xF020;  // SC_MINIMIZE (61472)
inline constexpr uintptr_t kScRestore = 0xF120;   // SC_RESTORE (61728)
inline constexpr uintptr_t kScKeyMenu = 0xF100;   // SC_KEYMENU (61696)

}  // namespace game
