// tk_bench: what Tallykeep costs beside the game FREECELL.EXE and how quickly it
// answers, as figures (minimum, median, maximum over repeated measurements).
// Not a test: it fails only when the session does not go as played.
//   --windows N --seconds S  processor time per second of wall time over N
//                            windows of S s each (3 x 30), idle beside a dealt
//                            game and while the won dialog waits for the user:
//                            Tallykeep (its threads' times), the game, and the
//                            wineserver (its Linux /proc/PID/stat, PID from
//                            TK_WINESERVER_PID), which does window look-ups on
//                            Tallykeep's behalf
//   --dialogs D              dialogs of each kind answered (100): the lost
//                            dialog, the end-this-game box, the game-number
//                            dialog and the won dialog, from the game's log;
//                            the player answers half of the won dialogs at
//                            once, half after reading them (200-399 ms)
//   --saves R                results whose way to the disk is timed (100):
//                            from the lost dialog to the result's line in
//                            Tallykeep.csv and to the settings file that holds
//                            it, polled every millisecond
//   --starts K               start-ups to the visible results window (10),
//                            beside as many starts of tk_trivial.exe
//   --timer-only-exe PATH    also the same figures for a build that sees the
//                            game on its 100 ms timer alone, without early
//                            ticks on the game's window events
//                            (tk_bench_timer_only.exe), with as many dialogs
//   --before-exe PATH        also the same figures for an earlier Tallykeep.exe
//                            (scripts/bench.sh builds one with TK_BENCH_BEFORE),
//                            with as many dialogs, side by side with this one
//   --without-table          also the same figures for this Tallykeep.exe
//                            without the deals' table deals.tkd beside it
//                            (every run copies it beside the program when the
//                            program's folder has one)
//   --table-only             only the deals' table's read and lookup, in
//                            this process (no session)
//   --seed-exe PATH          also the same figures for a build whose wait loops
//                            pass without pause (tk_bench_spinning.exe), with
//                            --seed-dialogs (20) dialogs of each kind
#include <windows.h>
// psapi.h and tlhelp32.h need <windows.h> first.
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "gamelink/game_contract.h"
#include "records/deal_difficulty.h"
#include "records/deal_table_file_win.h"
#include "records/impossible_deals.h"
#include "harness/harness.h"
#include "tallykeep_session.h"
#include "tool_support.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using tools::Failure;
using tools::say;

struct Options {
    int windows = 3;
    int seconds = 30;
    int dialogs = 100;
    int starts = 10;
    int saves = 100;
    std::string timerOnlyExe;
    std::string seedExe;
    std::string beforeExe;
    bool withoutTable = false;
    bool tableOnly = false;
    int seedDialogs = 20;
    DWORD wineserverPid = 0;
};

// Closes a handle from OpenThread, OpenProcess or CreateToolhelp32Snapshot.
struct HandleOwner {
    HANDLE handle;
    ~HandleOwner() {
        if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Named series of samples, in the order first recorded.
class Figures {
public:
    void add(const std::string& name, double value) { series(name).push_back(value); }
    void add(const std::string& name, const std::vector<double>& values) {
        std::vector<double>& s = series(name);
        s.insert(s.end(), values.begin(), values.end());
    }
    const std::vector<double>* find(const std::string& name) const {
        for (const auto& [n, values] : all_)
            if (n == name) return &values;
        return nullptr;
    }
    const std::vector<std::pair<std::string, std::vector<double>>>& all() const { return all_; }

private:
    std::vector<double>& series(const std::string& name) {
        for (auto& [n, values] : all_)
            if (n == name) return values;
        all_.emplace_back(name, std::vector<double>{});
        return all_.back().second;
    }
    std::vector<std::pair<std::string, std::vector<double>>> all_;
};

struct Summary {
    double min = 0, median = 0, max = 0;
    std::size_t count = 0;
};

Summary summarize(std::vector<double> values) {
    Summary s;
    if (values.empty()) return s;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    s.count = n;
    s.min = values.front();
    s.max = values.back();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
    return s;
}

uint64_t ticks(const FILETIME& time) { return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

// User plus kernel time of a Windows process's threads, in milliseconds. Wine's
// GetProcessTimes reports no user time for another process; its
// GetThreadTimes reads the Linux thread's figures.
double windowsProcessMs(DWORD processId) {
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
    return static_cast<double>(total) / 1e4;
}

// User plus system time of a Linux process from /proc/PID/stat (Wine's Z:
// drive is the Linux root), in milliseconds; clock ticks are 10 ms.
std::optional<double> linuxProcessMs(DWORD pid) {
    if (pid == 0) return std::nullopt;
    std::ifstream file("Z:\\proc\\" + std::to_string(pid) + "\\stat");
    std::string line;
    if (!std::getline(file, line)) return std::nullopt;
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14) utime = std::strtoull(field.c_str(), nullptr, 10);
        if (index == 15) {
            stime = std::strtoull(field.c_str(), nullptr, 10);
            return static_cast<double>(utime + stime) * 10.0;
        }
    }
    return std::nullopt;
}

// Processor time per second of wall time over `windows` consecutive windows.
void measureLoad(Figures& figures, const std::string& what, const Options& options, DWORD tallykeep, DWORD game) {
    for (int window = 0; window < options.windows; ++window) {
        const double tallykeepBefore = windowsProcessMs(tallykeep);
        const double gameBefore = windowsProcessMs(game);
        const std::optional<double> serverBefore = linuxProcessMs(options.wineserverPid);
        const Clock::time_point start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(options.seconds));
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        figures.add("cpu " + what + ", Tallykeep (ms/s)", (windowsProcessMs(tallykeep) - tallykeepBefore) / seconds);
        figures.add("cpu " + what + ", game (ms/s)", (windowsProcessMs(game) - gameBefore) / seconds);
        if (const std::optional<double> serverAfter = linuxProcessMs(options.wineserverPid);
            serverAfter && serverBefore)
            figures.add("cpu " + what + ", wineserver (ms/s)", (*serverAfter - *serverBefore) / seconds);
    }
}

bool is(const e2e::LogLine& line, const std::string& event, const std::string& prefix) {
    return line.event == event && line.details.rfind(prefix, 0) == 0;
}

// Milliseconds from each line that opens (event and details prefix) to the
// first later line that answers, in the game's log.
std::vector<double> intervals(const std::vector<e2e::LogLine>& lines, const std::string& opensEvent,
                              const std::string& opensPrefix, const std::string& answersEvent,
                              const std::string& answersPrefix) {
    std::vector<double> times;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!is(lines[i], opensEvent, opensPrefix)) continue;
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            if (is(lines[j], opensEvent, opensPrefix)) break;
            if (is(lines[j], answersEvent, answersPrefix)) {
                times.push_back(static_cast<double>(lines[j].milliseconds - lines[i].milliseconds));
                break;
            }
        }
    }
    return times;
}

// Working set and private bytes as Windows reports them for the process.
void measureMemory(Figures& figures, const std::string& what, DWORD processId) {
    const HandleOwner process{OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId)};
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!process.handle ||
        !GetProcessMemoryInfo(process.handle, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
        say("  (GetProcessMemoryInfo failed: " + std::to_string(GetLastError()) + ")");
        return;
    }
    // Wine leaves PrivateUsage at 0 for another process; PagefileUsage is the
    // same figure (the private committed bytes) on Windows.
    figures.add(what + "peak working set (KB)", static_cast<double>(counters.PeakWorkingSetSize) / 1024.0);
    figures.add(what + "private bytes (KB)",
                static_cast<double>(std::max(counters.PrivateUsage, counters.PagefileUsage)) / 1024.0);
}

// Polls every millisecond until a visible top-level window of that class and
// title exists; the milliseconds from `start`, or none at the timeout.
std::optional<double> waitVisible(const char* className, const char* title, Clock::time_point start) {
    while (Clock::now() - start < 30s) {
        if (const HWND window = FindWindowA(className, title); window && IsWindowVisible(window))
            return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        Sleep(1);
    }
    return std::nullopt;
}

// The program, and the deals' table of its folder beside it when asked.
void copyTallykeep(const std::string& exe, const e2e::Sandbox& sandbox, bool withTable) {
    if (!CopyFileA(exe.c_str(), sandbox.path("Tallykeep.exe").c_str(), FALSE))
        throw Failure("cannot copy " + exe + ": error " + std::to_string(GetLastError()));
    const std::string table = exe.substr(0, exe.find_last_of('\\') + 1) + "deals.tkd";
    if (withTable && GetFileAttributesA(table.c_str()) != INVALID_FILE_ATTRIBUTES &&
        !CopyFileA(table.c_str(), sandbox.path("deals.tkd").c_str(), FALSE))
        throw Failure("cannot copy " + table + ": error " + std::to_string(GetLastError()));
}

// Start-up to the visible results window (the game already running, so that
// its own start is not counted), alternating with starts of a trivial program
// that only shows a window: Wine's own process start.
void measureStartUp(Figures& figures, const std::string& label, const std::string& exe, int starts, bool withTable) {
    const std::string trivial = e2e::binDir() + "\\tk_trivial.exe";
    for (int i = 0; i < starts; ++i) {
        // A folder for each start: the game is copied in afresh each time.
        const e2e::Sandbox sandbox("bench-" + label + "-start");
        copyTallykeep(exe, sandbox, withTable);
        {
            const Clock::time_point start = Clock::now();
            e2e::Process program = e2e::Process::start(trivial, sandbox.dir());
            const std::optional<double> ms = waitVisible("TkTrivial", "tk_trivial", start);
            if (!ms) throw Failure("tk_trivial showed no window");
            figures.add("start-up, trivial program (ms)", *ms);
            measureMemory(figures, "trivial program: ", program.id());
            e2e::post(FindWindowA("TkTrivial", "tk_trivial"), WM_CLOSE);
            program.waitForExit(10s);
        }
        {
            const e2e::RunningStandin game(sandbox);
            if (!game.mainWindow) throw Failure("the game did not start");
            const Clock::time_point start = Clock::now();
            e2e::Process tallykeep = e2e::Process::start(sandbox.path("Tallykeep.exe"), sandbox.dir());
            const std::optional<double> ms = waitVisible(e2e::kResultsClass, e2e::kResultsCaption, start);
            if (!ms) throw Failure("the results window did not appear");
            figures.add("start-up to the results window (ms)", *ms);
            // Start-up is over once the window shows: the table, if any, is held.
            measureMemory(figures, "after start-up: ", tallykeep.id());
            e2e::post(FindWindowA(e2e::kResultsClass, e2e::kResultsCaption), WM_CLOSE);
            if (!tallykeep.waitForExit(30s)) throw Failure("Tallykeep did not end after a start");
        }
    }
    const std::vector<double>& own = *figures.find("start-up to the results window (ms)");
    const std::vector<double>& wine = *figures.find("start-up, trivial program (ms)");
    const double wineMedian = summarize(wine).median;
    for (double ms : own) figures.add("start-up less Wine's process start (ms)", ms - wineMedian);
}

// The dialogs of a user's session, each after a random pause: a user acts at
// any moment of Tallykeep's 100 ms tick. Returns where each run begins in the
// game's log and where the last ends (lost dialogs, end-this-game boxes, won
// dialogs answered at once, won dialogs answered after a while): the
// game-number dialog follows each of these but the lost dialog, and finds
// Tallykeep busy with another thing.
std::vector<std::size_t> playDialogs(e2e::TallykeepSession& session, const tools::Table& table, int dialogs,
                                     int& number) {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> pauseMs(0, 199);
    const auto userPause = [&] { Sleep(static_cast<DWORD>(pauseMs(random))); };
    std::vector<std::size_t> marks{session.log.size()};
    for (int i = 0; i < dialogs; ++i) {
        userPause();
        tools::loseAndRedeal(table, number);
    }
    marks.push_back(session.log.size());
    for (int i = 0; i < dialogs; ++i) {
        userPause();
        // Another number each time, as a user picks one. F3 during a game
        // brings the end-this-game box, then the game-number dialog.
        number = 1001 + i;
        if (!session.selectGame(std::to_string(number), std::to_string(number)))
            throw Failure("F3 did not lead to game " + std::to_string(number));
    }
    marks.push_back(session.log.size());
    // The won dialog: half of them answered as soon as Tallykeep has ticked
    // its box, as a program would (Tallykeep is still drawing and saving the
    // win then), half after 200-399 ms, as a person reads the dialog first.
    for (int half = 0; half < 2; ++half) {
        for (int i = 0; i < (dialogs + 1 - half) / 2; ++i) {
            userPause();
            tools::winAndAnswerYes(table, number + 1, half == 0 ? 0u : 200u + static_cast<unsigned>(pauseMs(random)));
            ++number;
        }
        marks.push_back(session.log.size());
    }
    return marks;
}

void recordDialogTimes(Figures& figures, const std::vector<e2e::LogLine>& all, const std::vector<std::size_t>& marks) {
    const auto part = [&](std::size_t kind) {
        return std::vector<e2e::LogLine>(all.begin() + static_cast<std::ptrdiff_t>(marks[kind]),
                                         all.begin() + static_cast<std::ptrdiff_t>(marks[kind + 1]));
    };
    const std::vector<e2e::LogLine> lines(all.begin() + static_cast<std::ptrdiff_t>(marks.front()),
                                          all.begin() + static_cast<std::ptrdiff_t>(marks.back()));
    figures.add("game-number dialog to its Enter (ms)",
                intervals(lines, "dialog-open", "gamenumber", "msg", "okbutton WM_KEYDOWN"));
    // A lost game is dealt again without the dialog.
    const char* const after[] = {"after the end-this-game box", "after the won dialog answered at once",
                                 "after the won dialog answered after 200-399 ms"};
    for (std::size_t kind = 1; kind < 4; ++kind)
        figures.add(std::string("  game-number dialog to its Enter, ") + after[kind - 1] + " (ms)",
                    intervals(part(kind), "dialog-open", "gamenumber", "msg", "okbutton WM_KEYDOWN"));
    figures.add("game-number dialog to its deal (ms)", intervals(lines, "dialog-open", "gamenumber", "deal", ""));
    figures.add("lost dialog to its yes (ms)", intervals(lines, "dialog-open", "lost", "answer", "lost yes"));
    figures.add("end-this-game box to its yes (ms)", intervals(lines, "confirm-open", "", "confirm-yes", ""));
    figures.add("won dialog to its ticked select box (ms)",
                intervals(lines, "dialog-open", "won", "msg", "selectbox BM_SETCHECK 1"));
    // The game's share and Tallykeep's: the dialog is complete (its title
    // given, the last of it) some milliseconds after it began.
    figures.add("  game-number dialog begun to complete, the game alone (ms)",
                intervals(lines, "dialog-open", "gamenumber", "dialog-ready", "gamenumber"));
    figures.add("  game-number dialog complete to its Enter (ms)",
                intervals(lines, "dialog-ready", "gamenumber", "msg", "okbutton WM_KEYDOWN"));
    figures.add("  lost dialog complete to its yes (ms)",
                intervals(lines, "dialog-ready", "lost", "answer", "lost yes"));
    figures.add("  won dialog complete to its ticked select box (ms)",
                intervals(lines, "dialog-ready", "won", "msg", "selectbox BM_SETCHECK 1"));
    // Where the game-number dialog's time goes: until Tallykeep's first
    // message reaches the dialog (the tick, the clipboard), then until the game
    // has dealt (the paste, the Enter).
    figures.add("  game-number dialog to the paste (ms)",
                intervals(lines, "dialog-open", "gamenumber", "msg", "edit WM_PASTE"));
    figures.add("  lost dialog to the Y key (ms)",
                intervals(lines, "dialog-open", "lost", "msg", "yesbutton WM_KEYDOWN"));
    figures.add("  paste to the deal (ms)", intervals(lines, "msg", "edit WM_PASTE", "deal", ""));
}

// The file's bytes, or none while it cannot be read.
std::optional<std::string> fileBytes(const std::string& path) {
    const HandleOwner file{CreateFileA(path.c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.handle, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

// When the file was last written and how long it is, looked at without
// opening it: a reader that holds the settings file open would make
// Tallykeep's replace of it fail.
std::optional<std::pair<uint64_t, uint64_t>> fileStamp(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return std::make_pair(ticks(data.ftLastWriteTime), (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
}

// Losses on the dealt game: each time from the lost dialog (as this program
// sees it appear) to the result's line in the log and to the settings file
// on disk that was replaced, both polled each millisecond by their time and
// size; the new settings file is then checked to hold the new attempt.
void measureSaves(Figures& figures, const e2e::TallykeepSession& session, const tools::Table& table, int results,
                  int number) {
    const std::string iniPath = session.iniPath();
    const std::string logPath = session.sandbox.path("Tallykeep.csv");
    const std::string attemptKey = "\nTryCnt=";
    std::optional<std::string> ini = fileBytes(iniPath);
    const std::size_t at = ini ? ini->find(attemptKey) : std::string::npos;
    if (at == std::string::npos) throw Failure("the settings file holds no attempt before the saves");
    int attempt = std::atoi(ini->c_str() + at + attemptKey.size());
    for (int i = 0; i < results; ++i) {
        const auto iniBefore = fileStamp(iniPath);
        const auto logBefore = fileStamp(logPath);
        const std::size_t mark = table.log->size();
        e2e::standinLose(table.game);
        std::optional<Clock::time_point> dialogSeen, logged, savedSeen;
        const Clock::time_point start = Clock::now();
        while (!(dialogSeen && logged && savedSeen) && Clock::now() - start < 20s) {
            const Clock::time_point now = Clock::now();
            if (!dialogSeen && FindWindowA(game::kDialogClass, table.texts.TitleGameOver)) dialogSeen = now;
            if (!logged && fileStamp(logPath) != logBefore) logged = now;
            if (!savedSeen) {
                const auto stamp = fileStamp(iniPath);
                if (stamp && stamp != iniBefore) savedSeen = now;
            }
            Sleep(1);
        }
        const std::string saved = attemptKey + std::to_string(attempt + 1) + "\r\n";
        if (!dialogSeen || !logged || !savedSeen || fileBytes(iniPath).value_or("").find(saved) == std::string::npos)
            throw Failure("result " + std::to_string(i + 1) + ":" + (dialogSeen ? "" : " no lost dialog seen") +
                          (logged ? "" : " no line in the log") +
                          (savedSeen ? "" : " the settings file was not replaced") + ", settings file:\n" +
                          fileBytes(iniPath).value_or("<none>"));
        const auto ms = [](Clock::time_point from, Clock::time_point to) {
            return std::chrono::duration<double, std::milli>(to - from).count();
        };
        figures.add("lost dialog to its line in the log (ms)", ms(*dialogSeen, *logged));
        figures.add("lost dialog to its saved settings file (ms)", ms(*dialogSeen, *savedSeen));
        figures.add("  line in the log to the saved settings file (ms)", ms(*logged, *savedSeen));
        ++attempt;
        if (!table.log->waitFor("deal", std::to_string(number), mark))
            throw Failure("game " + std::to_string(number) + " was not dealt again after the loss");
    }
}

// What the deals' table adds to the start-up, in this process: the file read
// whole, checked and parsed, and the impossible deals listed, as the keeper's
// load does; then a lookup of every deal's level, as the window's drawing does
// for the number in the box.
void measureDealTable(Figures& figures, int times) {
    const std::string path = e2e::binDir() + "\\deals.tkd";
    for (int i = 0; i < times; ++i) {
        const Clock::time_point start = Clock::now();
        const DealTableLoad load = loadDealTableFile(path);
        if (!load.table) throw Failure(path + ": " + dealTableRefusalText(load.refusal));
        const std::vector<int32_t> impossible = impossibleDealsUpTo(&*load.table, load.table->dealCount());
        const Clock::time_point loaded = Clock::now();
        figures.add("deals' table read, checked and listed (ms)",
                    std::chrono::duration<double, std::milli>(loaded - start).count());
        int known = 0;
        for (int32_t deal = 1; deal <= load.table->dealCount(); ++deal)
            known += difficultyOf(&*load.table, impossible, load.table->dealCount(), deal) != DifficultyLevel::unknown;
        const double perLookup =
            std::chrono::duration<double, std::nano>(Clock::now() - loaded).count() / load.table->dealCount();
        if (known == 0) throw Failure("no deal of the table has a level");
        figures.add("a deal's level looked up (ns)", perLookup);
    }
}

// One build of Tallykeep through every figure.
Figures runBuild(const std::string& label, const std::string& exe, const Options& options, int dialogs,
                 bool withTable = true) {
    Figures figures;
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (GetFileAttributesExA(exe.c_str(), GetFileExInfoStandard, &attributes))
        figures.add("executable size (KB)", static_cast<double>(attributes.nFileSizeLow) / 1024.0);

    say("[" + label + "] " + std::to_string(options.starts) + " start-ups ...");
    measureStartUp(figures, label, exe, options.starts, withTable);

    const e2e::Sandbox sandbox("bench-" + label);
    copyTallykeep(exe, sandbox, withTable);

    e2e::TallykeepSession session(sandbox);
    if (!session.game || !session.results.found()) throw Failure("the game or the results window did not appear");
    const DWORD tallykeep = session.tallykeep->id();
    DWORD game = 0;
    GetWindowThreadProcessId(session.game, &game);
    if (!session.selectGame("1", "1")) throw Failure("game 1 was not dealt:\n" + session.log.text());
    const tools::Table table{session.game, &session.log, tools::currentTexts()};
    std::this_thread::sleep_for(2s);  // start-up and the first deal settle

    say("[" + label + "] processor time, " + std::to_string(options.windows) + " windows of " +
        std::to_string(options.seconds) + " s idle, then as many with the won dialog open ...");
    measureLoad(figures, "idle", options, tallykeep, game);
    const std::size_t mark = session.log.size();
    e2e::standinWin(session.game);
    if (!session.log.waitFor("msg", std::string("selectbox BM_SETCHECK 1"), mark))
        throw Failure("Tallykeep did not tick the won dialog's select-game box");
    measureLoad(figures, "won dialog open", options, tallykeep, game);
    HWND dialog = e2e::findTopLevel(game::kDialogClass, table.texts.TitleGameOver);
    HWND yes = dialog ? e2e::findChild(dialog, nullptr, table.texts.CaptionYes) : nullptr;
    if (!yes) throw Failure("the won dialog's yes button is not there");
    e2e::clickButton(yes);
    if (!session.log.waitFor("deal", std::string("2"), mark)) throw Failure("game 2 was not dealt");

    say("[" + label + "] " + std::to_string(dialogs) +
        " dialogs of each kind, a random 0-199 ms pause before each ...");
    int number = 2;
    const std::vector<std::size_t> marks = playDialogs(session, table, dialogs, number);
    recordDialogTimes(figures, session.log.lines(), marks);

    if (options.saves > 0) {
        say("[" + label + "] " + std::to_string(options.saves) +
            " results, each to its log line and saved settings ...");
        measureSaves(figures, session, table, options.saves, number);
    }

    measureMemory(figures, "", tallykeep);
    if (!session.closeAndWait()) throw Failure("Tallykeep did not end when closed");
    return figures;
}

std::string cell(const std::optional<Summary>& s) {
    if (!s || s->count == 0) return "-";
    const int decimals = s->max >= 100 ? 0 : 1;
    return fixed(s->min, decimals) + " / " + fixed(s->median, decimals) + " / " + fixed(s->max, decimals) + " (" +
           std::to_string(s->count) + ")";
}

// Tallykeep's figures beside those of the comparison builds, each with the
// ratio of its median to Tallykeep's.
void printTable(const Figures& figures, const std::vector<std::pair<std::string, Figures>>& others) {
    say("");
    std::string header = "figure | Tallykeep: min / median / max (n)";
    for (const auto& [label, other] : others) header += " | " + label + ": min / median / max (n) | median ratio";
    say(header);
    for (const auto& [name, values] : figures.all()) {
        const Summary own = summarize(values);
        std::string row = name + " | " + cell(own);
        for (const auto& [label, other] : others) {
            const std::vector<double>* theirValues = other.find(name);
            const std::optional<Summary> theirs =
                theirValues ? std::optional<Summary>(summarize(*theirValues)) : std::nullopt;
            row += " | " + cell(theirs) + " | ";
            row += theirs && theirs->count && own.median > 0 ? fixed(theirs->median / own.median, 1) + "x" : "-";
        }
        say(row);
    }
}

Options parse(int argc, char** argv) {
    Options options;
    if (const char* pid = std::getenv("TK_WINESERVER_PID")) options.wineserverPid = std::strtoul(pid, nullptr, 10);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw Failure("no value after " + arg);
            return argv[++i];
        };
        const auto positive = [&] {
            const int n = std::atoi(value().c_str());
            if (n <= 0) throw Failure(arg + " needs a positive number");
            return n;
        };
        if (arg == "--windows")
            options.windows = positive();
        else if (arg == "--seconds")
            options.seconds = positive();
        else if (arg == "--dialogs")
            options.dialogs = positive();
        else if (arg == "--starts")
            options.starts = positive();
        else if (arg == "--saves")
            options.saves = positive();
        else if (arg == "--seed-dialogs")
            options.seedDialogs = positive();
        else if (arg == "--seed-exe")
            options.seedExe = value();
        else if (arg == "--timer-only-exe")
            options.timerOnlyExe = value();
        else if (arg == "--before-exe")
            options.beforeExe = value();
        else if (arg == "--without-table")
            options.withoutTable = true;
        else if (arg == "--table-only")
            options.tableOnly = true;
        else
            throw Failure("unknown argument " + arg);
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const Options options = parse(argc, argv);
        if (options.tableOnly) {
            Figures table;
            measureDealTable(table, 50);
            printTable(table, {});
            return 0;
        }
        if (e2e::findGameWindow()) throw Failure("a FreeCell window is already open; close it first");
        if (!options.wineserverPid) say("(TK_WINESERVER_PID not set: no wineserver figures)");
        Figures own = runBuild("tallykeep", e2e::binDir() + "\\Tallykeep.exe", options, options.dialogs);
        measureDealTable(own, 20);
        std::vector<std::pair<std::string, Figures>> others;
        if (options.withoutTable)
            others.emplace_back("without the table", runBuild("no-table", e2e::binDir() + "\\Tallykeep.exe", options,
                                                              options.dialogs, false));
        if (!options.beforeExe.empty())
            others.emplace_back("before", runBuild("before", options.beforeExe, options, options.dialogs));
        if (!options.timerOnlyExe.empty())
            others.emplace_back("timer only", runBuild("timer-only", options.timerOnlyExe, options, options.dialogs));
        if (!options.seedExe.empty())
            others.emplace_back("wait loops without pause",
                                runBuild("seed", options.seedExe, options, options.seedDialogs));
        printTable(own, others);
        return 0;
    } catch (const std::exception& error) {
        say(std::string("tk_bench: FAILED: ") + error.what());
        return 1;
    }
}
