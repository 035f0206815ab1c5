#pragma once

#include <cstdint>

#include "freecell/game_texts.h"

// How tests talk to the test build of the game FREECELL.EXE and read what it
// did (test_commands_win.cpp; the game that ships has none of this).
// Shared by the game's test build and the end-to-end test harness; no
// <windows.h>.
//
// Environment variables, read once at start:
//   FREECELL_TEXTS   default | nt4 | win95 | win98 | mismatch: the window texts
//                    (otherwise chosen from GetVersionExA like Tallykeep does;
//                    "mismatch" is an English set that matches no Japanese one)
//   FREECELL_MAXGAME the highest accepted game number (otherwise 1000000 on
//                    platform 2 version 5.1, else 32000)
//   FREECELL_LOG     a file to append the log to
//   FREECELL_HIDE_NUMBER  1: the main window does not tell its deal's number,
//                    as the classic game's does not
//
// Log lines: "<milliseconds since start> <event> <details>", details may be
// empty. One line per event, written and flushed as it happens:
//   start texts=<set> max=<n> version=<platform>.<major>.<minor>
//   msg <target> <message> <wParam>   a message of interest that reached a
//       window; <target> is main, edit, okbutton, cancelbutton, yesbutton,
//       nobutton, samebox, selectbox or the dialog itself (gamenumber, won,
//       lost, confirm); <message> is WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN,
//       WM_SYSKEYUP, WM_SYSCOMMAND, WM_CLOSE, WM_PASTE, BM_SETCHECK, BM_CLICK
//       or one of the test commands below (STANDIN_WIN ...)
//   confirm-open | confirm-yes | confirm-no      the end-this-game box
//   dialog-open gamenumber <field text>          the game-number dialog
//   dialog-open won select=<0|1>                 the won dialog, box state
//   dialog-open lost                             the lost dialog
//   dialog-ready <dialog>                the dialog has its captions and title
//       (gamenumber, won, lost, confirm): from here it can be found complete
//   answer won yes select=<0|1> | answer won no
//   answer lost yes same=<0|1> | answer lost no
//   refused <field text>                 number not accepted, a new dialog follows
//   cancel gamenumber
//   deal <n>                             a game was dealt; in progress from here
//   layout <n> <first row>               e.g. "layout 1 JD 2D 9H JC 5D 7H 7C 5H"
//   restart <n>                          the Restart command, before its deal
//   select <place> row=<r>               the first click picked up cards
//   play <move> <card>[ home:<card>...]  a move (freecell/rules.h describes
//       it, e.g. "column2>cell0 JD") and the cards that went home by
//       themselves after it
//   illegal <place>                      a click asked for a forbidden move
//   move moves=<m> | undo moves=<m>      after a move, the player's move count
//   won <n> | lost <n>                   the game ended (before its dialog)
//   recorded win|loss <n> won=.. lost=.. wins=.. losses=.. streak=.. stype=..
//   not-recorded win|loss <n>            same number again, or a loss of -1/-2
//   frozen <n>                           "No" after a result: no game in progress
//   busy <command>                       a command arrived while a dialog was open
//   ignored <command> <reason>           e.g. "ignored win no-game"
//   hang <ms> | hang-end                 a dialog stops answering (the one the
//       hang command chose), and answers again
//   queued <target> <message> <wParam> <tick>   after a hang, each message of
//       interest that the dialog takes from its queue, handled ("msg" line
//       before it) or thrown away as the dialog closes (no "msg" line);
//       <tick> is its post time, the poster's GetTickCount() (MSG.time)
//   exit                                 the main window is about to close
//
// State: the main window has a hidden "Static" child with the id below whose
// text is "game=<n> moves=<m> inprogress=<0|1> select=<0|1>" (game=0 before
// the first deal), and another with the board as freecell/cards.h's boardText
// writes it. Read them with WM_GETTEXT. A third holds the game's private
// bytes as the game reads them itself, now and at their highest since the
// start, "private=<KB> peak=<KB>" ("private=unknown" where Windows cannot
// tell): the memory the hint's searches take shows there.
//
// Mouse: WM_LBUTTONDOWN and WM_LBUTTONDBLCLK at client coordinates, placed by
// freecell/board_layout.h for the window's client size. A press and release
// at one point is a click; real input that moves with the button held drags
// (freecell/drag_play.h), and a drop the rules refuse logs "illegal <place>".
namespace freecell {

inline constexpr char kTextsVariable[] = "FREECELL_TEXTS";
inline constexpr char kMaxGameVariable[] = "FREECELL_MAXGAME";
inline constexpr char kLogVariable[] = "FREECELL_LOG";
inline constexpr char kHideNumberVariable[] = "FREECELL_HIDE_NUMBER";

inline constexpr int kStateControlId = 900;
inline constexpr int kBoardControlId = 901;
inline constexpr int kMemoryControlId = 902;

// FREECELL_TEXTS=mismatch: English texts that differ from every Japanese set.
inline constexpr char kMismatchTitleGameNumber[] = "Game Number";
inline constexpr char kMismatchTitleGameOver[] = "Game Over";
inline constexpr char kMismatchCaptionSameGame[] = "&Same game";
inline constexpr char kMismatchCaptionYes[] = "&Yes";
inline constexpr char kMismatchCaptionNo[] = "&No";
inline constexpr char kMismatchCaptionSelectGame[] = "&Select game";
inline constexpr char kMismatchTitleConfirm[] = "FreeCell";
inline constexpr char kMismatchTextConfirm[] = "Do you want to resign this game?";

// Test commands, posted to the main window (WM_APP is 0x8000).
inline constexpr uint32_t kCommandWin = 0x8000 + 1;   // the current game is won
inline constexpr uint32_t kCommandLose = 0x8000 + 2;  // the current game is lost
inline constexpr uint32_t kCommandMove = 0x8000 + 3;  // one legal move, so undo has something to take back
// The next dialog chosen by lParam stops answering messages for wParam
// milliseconds once it is on screen: kHangConfirm (the end-this-game box) or
// kHangGameNumber (the game-number dialog).
inline constexpr uint32_t kCommandHang = 0x8000 + 4;
inline constexpr intptr_t kHangConfirm = 0;
inline constexpr intptr_t kHangGameNumber = 1;
// Does nothing but log "msg main STANDIN_PING <wParam>": once that line is in
// the log, everything posted to the main window before it has been handled.
inline constexpr uint32_t kCommandPing = 0x8000 + 5;

}  // namespace freecell
