// freecell_play <dir> [game]: the game FREECELL.EXE (in <dir>) plays
// one deal (game 1 unless given) to its end with the mouse, as a person
// would, and asks for screenshots on the way: the deal, two moments of the
// play, and the won game with its dialog. scripts/freecell-play.sh takes the
// pictures: the tool writes "<name> <left> <top> <right> <bottom>" (screen
// pixels) to shot.request and waits for shot.done. Exit code 0 when the game
// was won.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "harness/harness.h"
#include "freecell/test_protocol.h"
#include "tool_support.h"

namespace {

using namespace std::chrono_literals;
using tools::Failure;
using tools::say;

std::string fileIn(const std::string& dir, const char* name) { return (std::filesystem::path(dir) / name).string(); }

// The dialog of the game's process that is open now, or null.
HWND gameDialog(DWORD processId) { return tools::findProcessWindow(processId, "#32770", nullptr); }

RECT unite(RECT a, HWND other) {
    if (!other) return a;
    const RECT b = e2e::windowRect(other);
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

void screenshot(const std::string& dir, const std::string& name, const RECT& area) {
    const std::string done = fileIn(dir, "shot.done");
    std::filesystem::remove(done);
    {
        std::ofstream request(fileIn(dir, "shot.tmp"));
        request << name << ' ' << area.left << ' ' << area.top << ' ' << area.right << ' ' << area.bottom << '\n';
    }
    std::filesystem::rename(fileIn(dir, "shot.tmp"), fileIn(dir, "shot.request"));
    if (!e2e::waitUntil([&] { return std::filesystem::exists(done); }, 30s))
        throw Failure("no screenshot " + name + " within 30 s");
    say("screenshot " + name);
}

void play(const std::string& dir, int number) {
    const auto started = std::chrono::steady_clock::now();
    e2e::Process game =
        e2e::Process::start(fileIn(dir, "FREECELL.EXE"), dir, {{freecell::kLogVariable, fileIn(dir, "freecell.log")}});
    const e2e::StandinLog log(fileIn(dir, "freecell.log"));
    HWND window = nullptr;
    e2e::waitUntil([&] { return (window = tools::findProcessWindow(game.id(), "FreeWClass", nullptr)) != nullptr; },
                   30s);
    if (!window) throw Failure("the game's window did not appear");
    MoveWindow(window, 8, 8, 632, 480, TRUE);

    // The number as Tallykeep enters it: F3, the clipboard pasted, Enter.
    e2e::postKey(window, VK_F3);
    HWND dialog = nullptr;
    e2e::waitUntil([&] { return (dialog = gameDialog(game.id())) != nullptr; });
    if (!dialog) throw Failure("the game-number dialog did not open");
    if (!e2e::setClipboardText(std::to_string(number))) throw Failure("the clipboard cannot be set");
    e2e::post(e2e::findChild(dialog, "Edit", nullptr), WM_PASTE);
    e2e::post(e2e::findChild(dialog, "Button", nullptr), WM_KEYDOWN, VK_RETURN);
    if (!log.waitFor("deal", std::to_string(number)))
        throw Failure("game " + std::to_string(number) + " was not dealt");
    say("game " + std::to_string(number) + " dealt");
    Sleep(300);  // the board is painted after the deal's messages
    screenshot(dir, "1-dealt", e2e::windowRect(window));

    const auto playStarted = std::chrono::steady_clock::now();
    int shot = 2;
    const e2e::MousePlay result = e2e::playToTheEnd(window, number, [&](int done, int total) {
        if (shot <= 3 && done == total * (shot - 1) / 3) {
            Sleep(200);
            screenshot(dir, std::to_string(shot) + "-move-" + std::to_string(done), e2e::windowRect(window));
            ++shot;
        }
    });
    if (!result.won) throw Failure(result.failure);
    const auto playMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - playStarted).count();
    say("game " + std::to_string(number) + " won in " + std::to_string(result.moves) + " moves with the mouse (" +
        std::to_string(log.count("play")) + " moves in the game's log, " + std::to_string(playMs) + " ms)");

    dialog = nullptr;
    e2e::waitUntil([&] { return (dialog = gameDialog(game.id())) != nullptr; });
    if (!dialog) throw Failure("the won dialog did not open");
    Sleep(300);
    // The game and its dialog, which reaches out of the window's right edge.
    screenshot(dir, "4-won", unite(e2e::windowRect(window), dialog));

    e2e::clickButton(e2e::findChild(dialog, "Button", freecell::kCaptionNo));
    if (!log.waitFor("frozen", std::to_string(number))) throw Failure("the won dialog did not take the answer no");
    e2e::post(window, WM_CLOSE);
    if (!game.waitForExit(20s)) throw Failure("the game did not close");
    const auto totalMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
    say("the game closed; " + std::to_string(totalMs) + " ms in all");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: freecell_play <windows path of a dir with FREECELL.EXE> [game number]\n");
        return 2;
    }
    try {
        play(argv[1], argc == 3 ? std::atoi(argv[2]) : 1);
        return 0;
    } catch (const std::exception& error) {
        say(std::string("freecell_play: FAILED: ") + error.what());
        return 1;
    }
}
