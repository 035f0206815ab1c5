#include <gtest/gtest.h>

#include <windows.h>

#include "gamelink/game_contract.h"

namespace {

// The portable contract names the game's messages and keys without
// <windows.h>; each must be the value that Windows gives that name.
TEST(GameContract, MessagesAndKeysAreTheWindowsValuesOfTheirNames) {
    static_assert(game::kWmClose == WM_CLOSE);
    static_assert(game::kWmKeyDown == WM_KEYDOWN);
    static_assert(game::kWmKeyUp == WM_KEYUP);
    static_assert(game::kWmSysKeyDown == WM_SYSKEYDOWN);
    static_assert(game::kWmSysCommand == WM_SYSCOMMAND);
    static_assert(game::kWmPaste == WM_PASTE);
    static_assert(game::kBmSetCheck == BM_SETCHECK);
    static_assert(game::kBstChecked == BST_CHECKED);
    static_assert(game::kVkReturn == VK_RETURN);
    static_assert(game::kVkMenu == VK_MENU);
    static_assert(game::kVkF3 == VK_F3);
    static_assert(game::kVkF10 == VK_F10);
    static_assert(game::kScMinimize == SC_MINIMIZE);
    static_assert(game::kScRestore == SC_RESTORE);
    static_assert(game::kScKeyMenu == SC_KEYMENU);
    // The menu route Alt, G, R: the letters as the keyboard sends them.
    EXPECT_EQ(MapVirtualKeyA(static_cast<UINT>(game::kKeyG), 2), static_cast<UINT>('G'));
    EXPECT_EQ(MapVirtualKeyA(static_cast<UINT>(game::kKeyR), 2), static_cast<UINT>('R'));
    EXPECT_EQ(MapVirtualKeyA(static_cast<UINT>(game::kKeyY), 2), static_cast<UINT>('Y'));
}

}  // namespace
