// tk_bench [seconds] [dialogs]: how much Tallykeep costs beside the stand-in
// game and how quickly it answers the game's dialogs. Not a test: it prints
// figures and fails only when the session does not go as played.
//   - processor time (user + kernel, summed over Tallykeep's threads) per
//     second of wall time, idle beside a dealt game, over `seconds` (10);
//   - the same while the won dialog waits for the user's answer;
//   - from a dialog's appearance to its answer, from the game's own log:
//     `dialogs` (50) each of the lost dialog, the end-this-game box and the
//     game-number dialog (which follows each end-this-game box and each won
//     dialog), and of the won dialog up to its ticked select-game box.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "gamelink/game_contract.h"
#include "harness/harness.h"
#include "tallykeep_session.h"
#include "tool_support.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using tools::Failure;
using tools::say;

// Closes a handle from OpenThread or CreateToolhelp32Snapshot.
struct HandleOwner {
    HANDLE handle;
    ~HandleOwner() {
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};

uint64_t ticks(const FILETIME& time) { return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

// User plus kernel time of the process's threads, in 100 ns units. Wine's
// GetProcessTimes reports no user time for another process; its
// GetThreadTimes reads the Linux thread's figures.
uint64_t processorTime(DWORD processId) {
    const HandleOwner snapshot{CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0)};
    if (snapshot.handle == INVALID_HANDLE_VALUE) throw Failure("CreateToolhelp32Snapshot failed");
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    uint64_t total = 0;
    int threads = 0;
    for (BOOL more = Thread32First(snapshot.handle, &entry); more; more = Thread32Next(snapshot.handle, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        const HandleOwner thread{OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID)};
        FILETIME created, exited, kernel, user;
        if (!thread.handle || !GetThreadTimes(thread.handle, &created, &exited, &kernel, &user)) continue;
        total += ticks(kernel) + ticks(user);
        ++threads;
    }
    if (threads == 0) throw Failure("no thread of process " + std::to_string(processId) + " could be read");
    return total;
}

struct Load {
    double tallykeepMsPerSecond;
    double gameMsPerSecond;
    double seconds;
};

Load measureLoad(DWORD tallykeep, DWORD game, std::chrono::seconds span) {
    const uint64_t tallykeepBefore = processorTime(tallykeep);
    const uint64_t gameBefore = processorTime(game);
    const Clock::time_point start = Clock::now();
    std::this_thread::sleep_for(span);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double tallykeepMs = static_cast<double>(processorTime(tallykeep) - tallykeepBefore) / 1e4;
    const double gameMs = static_cast<double>(processorTime(game) - gameBefore) / 1e4;
    return {tallykeepMs / seconds, gameMs / seconds, seconds};
}

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void reportLoad(const std::string& what, const Load& load) {
    say(what + ": Tallykeep " + fixed(load.tallykeepMsPerSecond, 2) + " ms of processor time per second (" +
        fixed(load.tallykeepMsPerSecond / 10.0, 3) + " % of one core), the game " +
        fixed(load.gameMsPerSecond, 2) + " ms/s, over " + fixed(load.seconds, 1) +
        " s (Linux counts processor time in 10 ms steps)");
}

// Milliseconds from each line that `opens` to the first later line that
// `answers`, in the game's log.
std::vector<long> reactionTimes(const std::vector<e2e::LogLine>& lines, const std::string& opensEvent,
                                const std::string& opensPrefix, const std::string& answersEvent,
                                const std::string& answersPrefix) {
    const auto is = [](const e2e::LogLine& line, const std::string& event, const std::string& prefix) {
        return line.event == event && line.details.rfind(prefix, 0) == 0;
    };
    std::vector<long> times;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!is(lines[i], opensEvent, opensPrefix)) continue;
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            if (is(lines[j], answersEvent, answersPrefix)) {
                times.push_back(lines[j].milliseconds - lines[i].milliseconds);
                break;
            }
        }
    }
    return times;
}

void reportTimes(const std::string& what, std::vector<long> times) {
    if (times.empty()) throw Failure("no " + what + " in the game's log");
    std::sort(times.begin(), times.end());
    const std::size_t n = times.size();
    const double median =
        n % 2 ? static_cast<double>(times[n / 2]) : (static_cast<double>(times[n / 2 - 1]) + times[n / 2]) / 2.0;
    say("  " + what + ": median " + fixed(median, 1) + " ms, maximum " + std::to_string(times.back()) +
        " ms, minimum " + std::to_string(times.front()) + " ms, over " + std::to_string(n));
}

void run(std::chrono::seconds span, int dialogs) {
    if (e2e::findGameWindow()) throw Failure("a FreeCell window is already open; close it first");
    const e2e::Sandbox sandbox("bench");
    e2e::TallykeepSession session(sandbox);
    if (!session.game || !session.results.found()) throw Failure("the game or the results window did not appear");
    const DWORD tallykeep = session.tallykeep->id();
    DWORD game = 0;
    GetWindowThreadProcessId(session.game, &game);
    say("Tallykeep (Windows process " + std::to_string(tallykeep) + ") beside the game (" + std::to_string(game) +
        "), sandbox " + sandbox.dir());
    if (!session.selectGame("1", "1")) throw Failure("game 1 was not dealt:\n" + session.log.text());
    const tools::Table table{session.game, &session.log, tools::currentTexts()};

    // Let start-up and the first deal settle before measuring.
    std::this_thread::sleep_for(2s);
    reportLoad("idle beside a dealt game", measureLoad(tallykeep, game, span));

    const std::size_t mark = session.log.size();
    e2e::standinWin(session.game);
    if (!session.log.waitFor("msg", std::string("selectbox BM_SETCHECK 1"), mark))
        throw Failure("Tallykeep did not tick the won dialog's select-game box");
    reportLoad("won dialog waiting for the user", measureLoad(tallykeep, game, span));
    HWND dialog = e2e::findTopLevel(game::kDialogClass, table.texts.TitleGameOver);
    HWND yes = dialog ? e2e::findChild(dialog, nullptr, table.texts.CaptionYes) : nullptr;
    if (!yes) throw Failure("the won dialog's yes button is not there");
    e2e::clickButton(yes);
    if (!session.log.waitFor("deal", std::string("2"), mark)) throw Failure("game 2 was not dealt");

    // A user acts at any moment of Tallykeep's 100 ms tick. Acting at once
    // after each answer would open every dialog just after a tick and measure
    // the worst phase only; a random pause spreads the moments over the tick.
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> pauseMs(0, 199);
    const auto userPause = [&] { Sleep(static_cast<DWORD>(pauseMs(random))); };

    say("answering " + std::to_string(dialogs) + " dialogs of each kind, a random 0-199 ms pause before each ...");
    int number = 2;
    for (int i = 0; i < dialogs; ++i) {
        userPause();
        tools::loseAndRedeal(table, number);
    }
    for (int i = 0; i < dialogs; ++i) {
        userPause();
        // Another number each time, as a user picks one: the same number asked
        // for again at once counts as refused by the game. F3 during a game
        // brings the end-this-game box, then the game-number dialog.
        number = 101 + i;
        if (!session.selectGame(std::to_string(number), std::to_string(number)))
            throw Failure("F3 did not lead to game " + std::to_string(number) + ":\n" + session.log.text());
    }
    for (int i = 0; i < dialogs; ++i) {
        userPause();
        tools::winAndAnswerYes(table, number + 1);
        ++number;
    }

    const std::vector<e2e::LogLine> lines = session.log.lines();
    say("from a dialog's appearance to its answer, in the game's log:");
    reportTimes("game-number dialog to its deal", reactionTimes(lines, "dialog-open", "gamenumber", "deal", ""));
    reportTimes("lost dialog to its yes", reactionTimes(lines, "dialog-open", "lost", "answer", "lost yes"));
    reportTimes("end-this-game box to its yes", reactionTimes(lines, "confirm-open", "", "confirm-yes", ""));
    reportTimes("won dialog to its ticked select box",
                reactionTimes(lines, "dialog-open", "won", "msg", "selectbox BM_SETCHECK 1"));

    if (!session.closeAndWait()) throw Failure("Tallykeep did not end when closed");
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const int dialogs = argc > 2 ? std::atoi(argv[2]) : 50;
    if (seconds <= 0 || dialogs <= 0) {
        std::fprintf(stderr, "usage: tk_bench [seconds] [dialogs]\n");
        return 2;
    }
    try {
        run(std::chrono::seconds(seconds), dialogs);
        return 0;
    } catch (const std::exception& error) {
        say(std::string("tk_bench: FAILED: ") + error.what());
        return 1;
    }
}
