// freecell_game_probe [searches of each kind, default 5]: figures of the game FREECELL.EXE
// (its test build, beside this program) as a player meets them, measured from
// outside with real input under Wine (docs/performance.md):
//  - how soon a dragged card shows where the pointer moved: the time from
//    each move of the real mouse (SendInput) to the first screen read that
//    shows the card's edge there, with no search and during a search;
//  - how soon the game answers while its worker searches: SendMessageTimeout
//    round trips to the main window, one after another, while game 11982 (a
//    deal shown lost only by the thorough search) is searched;
//  - the game's private bytes as it reads them itself (the test build's
//    hidden memory text), before the first deal and at their highest.
// Also the processor time the game's threads used meanwhile, which shows
// that the searches ran while the figures were taken.
#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "freecell/board_layout.h"
#include "freecell/cards.h"
#include "freecell/test_protocol.h"
#include "harness/harness.h"
#include "tool_support.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using tools::Failure;

constexpr int32_t kLostDeal = 11982;  // the thorough search runs to its end
constexpr int kStepPixels = 6;
constexpr int kStepsEachWay = 15;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Spread {
    std::size_t count = 0;
    double median = 0, p99 = 0, longest = 0;
};

Spread spreadOf(std::vector<double> values) {
    Spread spread;
    spread.count = values.size();
    if (values.empty()) return spread;
    std::sort(values.begin(), values.end());
    spread.median = values[values.size() / 2];
    spread.p99 = values[std::min(values.size() - 1, values.size() * 99 / 100)];
    spread.longest = values.back();
    return spread;
}

// Processor time of all the threads of `processId`, in milliseconds
// (GetProcessTimes tells Wine's other processes nothing).
double processorMs(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) throw Failure("no thread snapshot");
    double total = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        if (!thread) continue;
        FILETIME created, ended, kernel, user;
        if (GetThreadTimes(thread, &created, &ended, &kernel, &user)) {
            for (const FILETIME& time : {kernel, user})
                total += ((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000.0;
        }
        CloseHandle(thread);
    }
    CloseHandle(snapshot);
    return total;
}

// Waits until the game's threads have used no more than 5 ms of processor
// time in 200 ms: its search, if any, has ended.
void waitUntilQuiet(DWORD processId) {
    const auto end = Clock::now() + 30s;
    for (double before = processorMs(processId); Clock::now() < end;) {
        Sleep(200);
        const double now = processorMs(processId);
        if (now - before <= 5) return;
        before = now;
    }
    throw Failure("the game kept working for 30 s");
}

class Probe {
public:
    Probe()
        : sandbox_("freecell_game_probe"),
          game_(e2e::Process::start(sandbox_.copyProgram("FREECELL.EXE"), sandbox_.dir(),
                                    {{freecell::kLogVariable, sandbox_.path("freecell.log")}})),
          log_(sandbox_.path("freecell.log")) {
        e2e::waitUntil([&] { return (window_ = tools::findProcessWindow(game_.id(), "FreeWClass", nullptr)); }, 30s);
        if (!window_) throw Failure("the game's window did not appear");
        if (!MoveWindow(window_, 0, 0, 632, 480, TRUE)) throw Failure("the game's window cannot be placed");
        screen_ = GetDC(nullptr);
        if (!screen_) throw Failure("no screen to read");
    }
    ~Probe() {
        if (screen_) ReleaseDC(nullptr, screen_);
    }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    DWORD processId() const { return game_.id(); }

    // "private=<KB> peak=<KB>" as the game reads it; waits for its first figure.
    std::string memory() const {
        std::string text;
        e2e::waitUntil([&] {
            text = e2e::windowText(GetDlgItem(window_, freecell::kMemoryControlId));
            return text.rfind("private=", 0) == 0 && text != "private=unknown";
        });
        return text;
    }

    // F3, yes to the end-this-game box of a game in play, the number through
    // the clipboard, Enter, as Tallykeep deals.
    void deal(int32_t number) {
        const std::size_t mark = log_.size();
        e2e::postKey(window_, VK_F3);
        HWND dialog = nullptr;
        e2e::waitUntil([&] {
            if (HWND confirm = tools::findProcessWindow(game_.id(), "#32770", texts_.TitleConfirm))
                e2e::post(e2e::findChild(confirm, "Button", texts_.CaptionYes), WM_KEYDOWN, 'Y');
            return (dialog = tools::findProcessWindow(game_.id(), "#32770", texts_.TitleGameNumber)) != nullptr;
        });
        if (!dialog) throw Failure("the game-number dialog did not open");
        if (!e2e::setClipboardText(std::to_string(number))) throw Failure("the clipboard cannot be set");
        e2e::post(e2e::findChild(dialog, "Edit", nullptr), WM_PASTE);
        e2e::post(e2e::findChild(dialog, "Button", nullptr), WM_KEYDOWN, VK_RETURN);
        if (!log_.waitFor("deal", std::to_string(number), mark)) throw Failure("no deal " + std::to_string(number));
        board_ = freecell::dealBoard(number);
        if (!e2e::waitForStandinBoard(window_, freecell::boardText(board_))) throw Failure("the board is not shown");
    }

    // SendMessageTimeout round trips, one every 5 ms or so, in windows of
    // 100 ms, kept from each window in which the game's threads used more
    // than half a core (its search was running), until a window in which
    // they used less than 5 ms. `searchMs` adds up the busy windows' length.
    std::vector<double> roundTripsWhileBusy(double& searchMs) const {
        std::vector<double> kept;
        const auto end = Clock::now() + 20s;
        while (Clock::now() < end) {
            const double before = processorMs(game_.id());
            const auto start = Clock::now();
            std::vector<double> times;
            while (Clock::now() - start < 100ms) {
                const auto sent = Clock::now();
                DWORD_PTR result = 0;
                if (!SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result))
                    throw Failure("the game did not answer within 5 s");
                times.push_back(millisecondsSince(sent));
                Sleep(4);  // a message every 5 ms or so, as a moving mouse sends them
            }
            const double used = processorMs(game_.id()) - before;
            const double length = millisecondsSince(start);
            if (used < 5) return kept;
            if (used > length / 2) {
                kept.insert(kept.end(), times.begin(), times.end());
                searchMs += length;
            }
        }
        throw Failure("the game kept working for 20 s");
    }

    // Column 1's bottom card dragged down and back up in steps, twice, in
    // one press (a second press at the same spot would be a double click);
    // each step's time until the screen shows the card's bottom edge past it.
    std::vector<double> dragSteps() {
        const freecell::BoardLayout layout = e2e::standinLayout(window_);
        const int cards = static_cast<int>(board_.columns[0].size());
        const freecell::Rect card = layout.card(board_, 0, cards - 1);
        const freecell::Point press = layout.pointOn(board_, {freecell::Place::Column, 0});
        if (!e2e::mouseAt(window_, press, MOUSEEVENTF_LEFTDOWN) ||
            !e2e::waitUntil([&] { return e2e::holdsMouse(window_); }))
            throw Failure("the press picked nothing up");
        std::vector<double> times;
        for (int sweep = 0; sweep < 2; ++sweep) {
            // Down: the spot just above the card's new bottom edge turns white.
            for (int step = 1; step <= kStepsEachWay; ++step)
                times.push_back(timeStep(press, step, card.bottom + step * kStepPixels - 3, true));
            // Up: the spot just below it turns back to the table.
            for (int step = kStepsEachWay - 1; step >= 0; --step)
                times.push_back(timeStep(press, step, card.bottom + step * kStepPixels + 3, false));
        }
        // Dropped where it was picked up: no move.
        if (!e2e::mouseAt(window_, press, MOUSEEVENTF_LEFTUP) ||
            !e2e::waitUntil([&] { return !e2e::holdsMouse(window_); }))
            throw Failure("the release was not taken");
        return times;
    }

private:
    double timeStep(const freecell::Point& press, int step, int spotY, bool cardThere) {
        const freecell::Point to{press.x, press.y + step * kStepPixels};
        POINT spot{press.x, spotY};
        if (!ClientToScreen(window_, &spot)) throw Failure("the window is gone");
        const auto start = Clock::now();
        if (!e2e::mouseAt(window_, to)) throw Failure("the mouse cannot be moved");
        while ((GetPixel(screen_, spot.x, spot.y) == RGB(255, 255, 255)) != cardThere) {
            if (Clock::now() - start > 2s) throw Failure("the card did not follow within 2 s");
            Sleep(1);  // the probe leaves the processors to the game and the X server
        }
        return millisecondsSince(start);
    }

    const ProfileTexts texts_ = tools::currentTexts();
    e2e::Sandbox sandbox_;
    e2e::Process game_;
    e2e::StandinLog log_;
    HWND window_ = nullptr;
    HDC screen_ = nullptr;
    freecell::Board board_;
};

void print(const char* what, const Spread& spread) {
    std::printf("%-58s %5zu  median %6.2f ms  99%% %6.2f ms  longest %6.2f ms\n", what, spread.count, spread.median,
                spread.p99, spread.longest);
}

void run(int rounds) {
    e2e::killStrayPrograms();
    Probe probe;
    const DWORD game = probe.processId();
    const std::string idle = probe.memory();

    probe.deal(1);
    waitUntilQuiet(game);
    double cpu = processorMs(game);
    auto start = Clock::now();
    const auto quiet = spreadOf(probe.dragSteps());
    const double quietShare = (processorMs(game) - cpu) / millisecondsSince(start);

    // Each search of 11982 measured twice over: once for the round trips,
    // once with a drag from the moment of the deal.
    std::vector<double> searching, trips;
    double searchMs = 0, dragCpu = 0, dragTime = 0;
    for (int round = 0; round < 2 * rounds; ++round) {
        // Another deal in between: the game forgets what it learnt of 11982.
        probe.deal(round % 2 == 0 ? 2 : 1);
        waitUntilQuiet(game);
        probe.deal(kLostDeal);
        if (round % 2 == 0) {
            const std::vector<double> answers = probe.roundTripsWhileBusy(searchMs);
            trips.insert(trips.end(), answers.begin(), answers.end());
        } else {
            cpu = processorMs(game);
            start = Clock::now();
            const std::vector<double> steps = probe.dragSteps();
            searching.insert(searching.end(), steps.begin(), steps.end());
            dragCpu += processorMs(game) - cpu;
            dragTime += millisecondsSince(start);
        }
        waitUntilQuiet(game);
    }
    const std::string peak = probe.memory();

    const auto share = [](double cpuMs, double wallMs) { return wallMs > 0 ? 100 * cpuMs / wallMs : 0; };
    std::printf(
        "freecell_game_probe: game %d searched %d times for the round trips and %d times with a drag, "
        "the classic window (632 x 480)\n",
        kLostDeal, rounds, rounds);
    print("drag: each mouse move to the card shown there, no search", quiet);
    std::printf("%-58s %.0f %% of a core\n", "  the game's processor time meanwhile", 100 * quietShare);
    print("round trips (SendMessageTimeout) while a search runs", spreadOf(trips));
    const auto slow = std::count_if(trips.begin(), trips.end(), [](double ms) { return ms > 50; });
    std::printf("%-58s %ld of %zu\n", "  of them over 50 ms", static_cast<long>(slow), trips.size());
    std::printf("%-58s %.0f ms\n", "  time of the search in which they were taken", searchMs);
    print("drag from the deal of 11982 on, while it is searched", spreadOf(searching));
    std::printf("%-58s %.0f %% of a core\n", "  the game's processor time meanwhile", share(dragCpu, dragTime));
    std::printf("%-58s %s\n", "the game's private memory before the first deal (KB)", idle.c_str());
    std::printf("%-58s %s\n", "at the end, and its highest since the start (KB)", peak.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    try {
        run(rounds);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "freecell_game_probe: FAILED: %s\n", error.what());
        return 1;
    }
}
