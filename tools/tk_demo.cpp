// tk_demo <demo dir>: a short scripted session with the real Tallykeep.exe
// beside the game FREECELL.EXE, played as a user would who comes back at game
// 12345: that game card by card with the mouse, the others decided by the
// game's test commands. The demo dir holds
// Tallykeep.exe and FREECELL.EXE; the game's log goes to freecell.log there.
// Half-way it asks scripts/run.sh for a screenshot through the marker files
// screenshot.request and screenshot.done. Exit code 0 when every step went as
// expected.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gamelink/game_contract.h"
#include "harness/harness.h"
#include "tallykeep_session.h"
#include "tool_support.h"

namespace {

using namespace std::chrono_literals;
using tools::Failure;
using tools::say;

// One game number: 'L' for each loss, then 'W' for a win by the game's test
// command, or 'P' for a win played card by card with the mouse.
const std::vector<std::string> kScript = {"P", "LW", "W", "W", "LLW"};

// The user comes back to Tallykeep where an earlier session left off: a game
// number large enough to show the number box's thousands separator.
constexpr int kFirstGame = 12345;

std::string fileIn(const std::string& dir, const char* name) { return (std::filesystem::path(dir) / name).string(); }

HWND waitForProcessWindow(DWORD processId, const char* className, const char* caption,
                          std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    e2e::waitUntil([&] { return (found = tools::findProcessWindow(processId, className, caption)) != nullptr; },
                   timeout);
    return found;
}

DWORD ownerOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

void showResults(const e2e::ResultsWindow& results) {
    say("  results window: this run " + results.label("Label16") + " won, " + results.label("Label17") + " lost (" +
        results.label("Label13") + "); all time " + results.label("Label18") + " won, " + results.label("Label19") +
        " lost (" + results.label("Label9") + "); now " + results.label("Label11"));
    std::string history;
    for (const std::string& line : results.history()) {
        if (!line.empty()) history += (history.empty() ? "" : " / ") + line;
    }
    say("  history, newest first: " + history);
}

// True when `upper` lies above `lower` in the z-order of top-level windows.
bool isAbove(HWND upper, HWND lower) {
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == upper) return true;
        if (window == lower) return false;
    }
    return false;
}

RECT rectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// The control bar directly above the game and as wide, the results window
// directly to its right and as high.
bool arrangedAround(HWND game, HWND resultsWindow, HWND controlBar) {
    const RECT g = rectOf(game), r = rectOf(resultsWindow);
    const bool resultsBeside = r.left == g.right && r.top == g.top && r.bottom == g.bottom;
    if (!controlBar) return resultsBeside;
    const RECT b = rectOf(controlBar);
    return resultsBeside && b.left == g.left && b.right == g.right && b.bottom == g.top;
}

// As a click on the control bar would (the results window without one):
// Tallykeep becomes the active program again and arranges its windows around
// the game, the control bar in front.
void comeBackToTallykeep(HWND resultsWindow, HWND controlBar, HWND game) {
    SetForegroundWindow(controlBar ? controlBar : resultsWindow);
    if (controlBar && !e2e::waitUntil([&] { return isAbove(controlBar, game); }, 10s))
        throw Failure("the control bar did not come to the front when Tallykeep became active");
    if (!e2e::waitUntil([&] { return arrangedAround(game, resultsWindow, controlBar); }, 10s))
        throw Failure("Tallykeep did not arrange its windows around the game");
    // Give the windows and the X server a moment to paint before the picture.
    Sleep(300);
    say(std::string("clicked into the ") + (controlBar ? "control bar" : "results window") +
        ": Tallykeep is the active program again, its windows glued to the game");
}

// What the number box shows, without its thousands separators.
std::string shownNumber(const e2e::ResultsWindow& results) {
    std::string digits;
    for (const char c : results.numberBox())
        if (c != ',') digits += c;
    return digits;
}

bool numberBoxShows(const e2e::ResultsWindow& results, int number) {
    return e2e::waitUntil([&] { return shownNumber(results) == std::to_string(number); });
}

// The settings file of a user who stopped before kFirstGame.
void writeReturningUsersSettings(const std::string& dir) {
    const std::string ini = fileIn(dir, "Tallykeep.Ini");
    if (!WritePrivateProfileStringA("Game", "GameNo", std::to_string(kFirstGame).c_str(), ini.c_str()) ||
        !WritePrivateProfileStringA("Game", "TryCnt", "1", ini.c_str()))
        throw Failure("cannot write " + ini);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini.c_str());
}

void requestScreenshot(const std::string& dir) {
    const std::string done = fileIn(dir, "screenshot.done");
    std::filesystem::remove(done);
    std::ofstream(fileIn(dir, "screenshot.request")).put('\n');
    say("asked for a screenshot (screenshot.request)");
    if (!e2e::waitUntil([&] { return std::filesystem::exists(done); }, 30s))
        throw Failure("no screenshot.done within 30 s");
    say("screenshot taken");
}

void play(const std::string& dir) {
    const std::string exe = fileIn(dir, "Tallykeep.exe");
    if (!std::filesystem::exists(exe)) throw Failure(exe + " is missing");
    if (e2e::findGameWindow()) throw Failure("a FreeCell window is already open; close it first");

    writeReturningUsersSettings(dir);
    say("starting " + exe + " (its settings file says game " + std::to_string(kFirstGame) + ")");
    e2e::Process tallykeep = e2e::Process::start(exe, dir, {{freecell::kLogVariable, fileIn(dir, "freecell.log")}});
    const e2e::StandinLog log(fileIn(dir, "freecell.log"));

    const HWND resultsWindow = waitForProcessWindow(tallykeep.id(), e2e::kResultsClass, e2e::kResultsCaption, 30s);
    if (!resultsWindow) throw Failure("Tallykeep's results window did not appear");
    // It shows itself once its start-up has run to the end.
    if (!e2e::waitUntil([&] { return IsWindowVisible(resultsWindow) != FALSE; }, 30s))
        throw Failure("Tallykeep's results window did not show itself");
    const e2e::ResultsWindow results(resultsWindow);
    const HWND game = e2e::waitForTopLevel(game::kMainWindowClass, nullptr, 30s);
    if (!game) throw Failure("Tallykeep did not start the game");
    const DWORD gameProcess = ownerOf(game);
    say("Tallykeep started the game and shows its results window 成績 (number box " + results.numberBox() + ")");

    const HWND controlBar = waitForProcessWindow(tallykeep.id(), nullptr, e2e::kControlBarCaption, 10s);
    const HWND startButton = controlBar ? e2e::findChild(controlBar, nullptr, "開始") : nullptr;
    const HWND exitButton = controlBar ? e2e::findChild(controlBar, nullptr, "終了") : nullptr;

    if (!numberBoxShows(results, kFirstGame))
        throw Failure("the number box does not show " + std::to_string(kFirstGame) + ": " + results.numberBox());
    const tools::Table table{game, &log, tools::currentTexts()};
    int number = kFirstGame;
    {
        const std::size_t mark = log.size();
        if (startButton) {
            e2e::clickButton(startButton);
            say("clicked 開始 on the control bar");
        } else {
            e2e::postKey(game, game::kVkF3);
            say("no control bar: pressed F3 in the game");
        }
        if (!log.waitFor("deal", std::to_string(number), mark))
            throw Failure("the game did not deal game " + std::to_string(number) + ":\n" + log.text());
        say("Tallykeep entered " + std::to_string(number) + " in the game-number dialog; game " +
            std::to_string(number) + " dealt");
    }

    for (const std::string& outcomes : kScript) {
        int attempt = 1;
        for (const char outcome : outcomes) {
            if (outcome == 'L') {
                tools::loseAndRedeal(table, number);
                ++attempt;
                if (!results.waitForLabel("Label1", std::to_string(attempt)))
                    throw Failure("the results window does not show attempt " + std::to_string(attempt));
                say("game " + std::to_string(number) + " lost: Tallykeep answered yes, attempt " +
                    std::to_string(attempt) + " dealt");
            } else {
                if (outcome == 'P') {
                    const int moves = tools::playWinAndAnswerYes(table, number);
                    say("game " + std::to_string(number) +
                        " played to the end with the mouse: " + std::to_string(moves) + " moves, every card home");
                } else {
                    tools::winAndAnswerYes(table, number + 1);
                }
                if (!numberBoxShows(results, number + 1))
                    throw Failure("the number box does not show " + std::to_string(number + 1));
                const std::vector<std::string> history = results.history();
                say("game " + std::to_string(number) + " won: Tallykeep ticked the select box, the user said yes; " +
                    "history \"" + (history.empty() ? std::string() : history.front()) + "\", game " +
                    std::to_string(number + 1) + " dealt");
            }
        }
        ++number;
    }
    showResults(results);

    comeBackToTallykeep(resultsWindow, controlBar, game);
    requestScreenshot(dir);

    if (exitButton) {
        e2e::clickButton(exitButton);
        say("clicked 終了 on the control bar");
    } else {
        results.close();
        say("closed the results window");
    }
    const std::optional<DWORD> exitCode = tallykeep.waitForExit(30s);
    if (!exitCode) throw Failure("Tallykeep did not end within 30 s of being closed");
    if (!e2e::waitUntil([&] { return !IsWindow(game); }, 20s)) throw Failure("the game did not end with Tallykeep");
    say("Tallykeep ended (exit code " + std::to_string(*exitCode) + ") and closed the game (process " +
        std::to_string(gameProcess) + ")");
    if (*exitCode != 0) throw Failure("Tallykeep's exit code is " + std::to_string(*exitCode));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tk_demo <windows path of the demo dir>\n");
        return 2;
    }
    try {
        play(argv[1]);
        say("demo finished");
        return 0;
    } catch (const std::exception& error) {
        say(std::string("tk_demo: FAILED: ") + error.what());
        return 1;
    }
}
