// tk_start_bench: Tallykeep's start-up to its visible results window beside a
// log of a million lines, and beside none, alternating in one run. The long
// log stands as a run leaves it: its settings file's checkpoint marks the
// log's end and the numbers played are kept beside it, so that a start reads
// neither the log nor more than the lines after the mark. The first start on
// that log, which finds no checkpoint and reads the whole log once, is timed
// apart. Not a test.
//   --starts K   starts of each kind (10)
//   --lines N    lines of the long log (1,000,000)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "harness/harness.h"
#include "records/results_log.h"
#include "tallykeep_session.h"
#include "tool_support.h"

namespace {

using Clock = std::chrono::steady_clock;
using tools::Failure;
using tools::say;

// A log of `lines` counted games, numbers 1 upward (past the highest they
// come round again, as a player's years do), with their 通番.
void writeLog(const std::string& path, int32_t lines, int32_t highest) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << kResultsLogHeader << "\r\n";
    for (int32_t line = 0; line < lines; ++line) {
        LogEntry entry;
        entry.when = LocalTime{2000 + line / 40000, 1 + line / 3400 % 12, 1 + line / 110 % 28, 10, line % 60, 0};
        entry.gameNumber = 1 + line % highest;
        entry.attempt = 1 + line / highest;
        entry.counted = entry.attempt == 1;
        entry.event = line % 7 == 0 ? LogEvent::loss : LogEvent::win;
        entry.serial = static_cast<uint32_t>(line + 1);
        out << formatLogLine(entry);
    }
    if (!out.flush()) throw Failure("cannot write " + path);
}

void copy(const std::string& from, const std::string& to) {
    if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
        throw Failure("cannot copy " + from + ": error " + std::to_string(GetLastError()));
}

// Milliseconds from Tallykeep's process start to its visible results window,
// the game already running in the folder.
double timedStart(const e2e::Sandbox& sandbox) {
    const e2e::RunningStandin game(sandbox);
    if (!game.mainWindow) throw Failure("the game did not start");
    const Clock::time_point start = Clock::now();
    e2e::Process tallykeep = e2e::Process::start(sandbox.path("Tallykeep.exe"), sandbox.dir());
    std::optional<double> ms;
    while (!ms && Clock::now() - start < std::chrono::seconds(60)) {
        const HWND window = FindWindowA(e2e::kResultsClass, e2e::kResultsCaption);
        if (window && IsWindowVisible(window))
            ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        else
            Sleep(1);
    }
    if (!ms) throw Failure("the results window did not appear");
    e2e::post(FindWindowA(e2e::kResultsClass, e2e::kResultsCaption), WM_CLOSE);
    if (!tallykeep.waitForExit(std::chrono::seconds(60))) throw Failure("Tallykeep did not end");
    return *ms;
}

struct Summary {
    double minimum, median, maximum;
};

Summary summarize(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {values.front(), median, values.back()};
}

void print(const char* what, const std::vector<double>& values) {
    const Summary s = summarize(values);
    char line[200];
    std::snprintf(line, sizeof line, "  %-44s %8.1f %8.1f %8.1f", what, s.minimum, s.median, s.maximum);
    say(line);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        int starts = 10;
        int32_t lines = 1000000;
        for (int i = 1; i + 1 < argc; i += 2) {
            const std::string arg = argv[i];
            if (arg == "--starts")
                starts = std::max(1, std::atoi(argv[i + 1]));
            else if (arg == "--lines")
                lines = std::max(1, std::atoi(argv[i + 1]));
            else
                throw Failure("unknown argument " + arg);
        }
        if (e2e::findGameWindow()) throw Failure("a FreeCell window is already open; close it first");
        const std::string exe = e2e::binDir() + "\\Tallykeep.exe";

        // The long log, and what its first start leaves beside it.
        const e2e::Sandbox prepared("start-bench-long-log");
        copy(exe, prepared.path("Tallykeep.exe"));
        say("writing a log of " + std::to_string(lines) + " lines ...");
        writeLog(prepared.path("Tallykeep.csv"), lines, 1000000);
        const double first = timedStart(prepared);

        std::vector<double> withoutLog, withLog;
        for (int i = 0; i < starts; ++i) {
            {
                const e2e::Sandbox sandbox("start-bench-no-log");
                copy(exe, sandbox.path("Tallykeep.exe"));
                withoutLog.push_back(timedStart(sandbox));
            }
            {
                const e2e::Sandbox sandbox("start-bench-with-log");
                for (const char* file : {"Tallykeep.exe", "Tallykeep.csv", "Tallykeep.Ini", "Tallykeep.csv.idx"})
                    copy(prepared.path(file), sandbox.path(file));
                withLog.push_back(timedStart(sandbox));
            }
        }
        say("start-up to the visible results window (ms), " + std::to_string(starts) + " starts each, alternating:");
        say("                                                   min   median      max");
        print("without a log", withoutLog);
        print(("with a log of " + std::to_string(lines) + " lines and its checkpoint").c_str(), withLog);
        print("the first start on that log (no checkpoint)", {first});
        std::vector<double> added;
        const double base = summarize(withoutLog).median;
        for (const double ms : withLog) added.push_back(ms - base);
        print("the log's cost (with less the median without)", added);
        return 0;
    } catch (const std::exception& error) {
        say(std::string("tk_start_bench: FAILED: ") + error.what());
        return 1;
    }
}
