// A long run of games through Tallykeep.exe beside the game, every figure it
// shows checked against a model of the scoring rules written apart from the
// program: wins, losses at first and later attempts, resigns through the
// control bar's redo button (the game's end-this-game box), passes and retries
// chosen while the won dialog waits; then a close, the saved file, a restart
// and more games; Tallykeep.csv is compared line by line with the model.
// TK_SOAK_GAMES sets the number of games before the restart (100 in the test
// command; scripts/soak.sh plays 1,000), TK_SOAK_SEED the random choices.
// The run prints its games per second beside the limit that the 100 ms tick
// sets for the same mix: two ticks a win, one a loss or resign.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "gamelink/game_contract.h"
#include "gamelink/game_link.h"
#include "gamelink/os_profile.h"
#include "harness/harness.h"
#include "records/results_log_reader.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using Clock = std::chrono::steady_clock;

int environmentNumber(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

std::string grouped(int32_t number) {
    std::string digits = std::to_string(number);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

// "00.00%": the share as a 32-bit float, the third decimal rounded half up.
std::string percentage(int32_t wins, int32_t losses) {
    const int64_t games = int64_t{wins} + losses;
    const float share = games == 0 ? 0.0f : static_cast<float>(static_cast<double>(wins) / games * 100.0);
    const auto hundredths = static_cast<long long>(std::floor(static_cast<double>(share) * 100.0 + 0.5));
    char text[32];
    std::snprintf(text, sizeof text, "%02lld.%02lld%%", hundredths / 100, hundredths % 100);
    return text;
}

// A line of Tallykeep.csv without its date and time.
struct LoggedLine {
    LogEvent event;
    int32_t number;
    int32_t attempt;
    bool counted;
    bool operator==(const LoggedLine& other) const {
        return event == other.event && number == other.number && attempt == other.attempt && counted == other.counted;
    }
};

std::ostream& operator<<(std::ostream& out, const LoggedLine& line) {
    return out << logEventWord(line.event) << ' ' << line.number << ' ' << line.attempt << ' ' << line.counted;
}

// What Tallykeep should show, save and log, worked out from the rules alone.
struct Model {
    int32_t maxGameNo = 32000;
    int32_t wins = 0, won = 0, lost = 0, losses = 0, streak = 0, stype = 0;
    int32_t runWins = 0, runLosses = 0;
    int32_t gameNo = 1, tryCnt = 1;
    std::string box = "1";
    std::vector<std::string> memo = std::vector<std::string>(11);  // ten loaded lines and the memo's own
    std::array<std::string, 10> passList{};
    std::vector<LoggedLine> logged;

    // Each number counts once: its first attempt, unless counted before.
    std::set<int32_t> counted;
    // Where the box goes back to once a game taken back is played; 0: none.
    int32_t afterRetry = 0;
    // Times the box went on from the highest number to game 1.
    int wrapped = 0;

    // A number not in play would be dealt at its first attempt.
    int32_t attemptAt(int32_t number) const { return number == gameNo ? tryCnt : 1; }
    int32_t firstAttemptAt(int32_t number) const { return counted.count(number) ? 2 : 1; }
    // Counts the game in play when its first attempt was not counted before.
    bool count() {
        const bool counts = tryCnt == 1 && counted.insert(gameNo).second;
        logged.back().counted = counts;
        return counts;
    }

    void win() {
        logged.push_back({LogEvent::win, gameNo, tryCnt, false});
        const bool counts = count();
        if (counts) {
            ++runWins;
            ++won;
            streak = stype == 1 ? streak + 1 : 1;
            stype = 1;
            if (streak > wins) wins = streak;
        }
        const std::string number = std::to_string(gameNo);
        memo.insert(memo.begin(), counts ? number + " 勝ち" : number + " 負け（" + std::to_string(tryCnt) + "回）");
        if (afterRetry != 0 && std::stoi(box) == gameNo) {
            gameNo = afterRetry;
            afterRetry = 0;
        } else {
            wrapped += gameNo >= maxGameNo;
            gameNo = gameNo >= maxGameNo ? 1 : gameNo + 1;
        }
        tryCnt = firstAttemptAt(gameNo);
        box = std::to_string(gameNo);
    }
    void loss() {
        logged.push_back({LogEvent::loss, gameNo, tryCnt, false});
        if (count()) {
            ++runLosses;
            ++lost;
            streak = stype != 0 ? 1 : streak + 1;
            if (streak > losses) losses = streak;
            stype = 0;
        }
        ++tryCnt;
    }
    // The game asks for a number; returns the one entered.
    int32_t numberDialog() {
        const int32_t number = std::stoi(box);
        if (number != gameNo) tryCnt = firstAttemptAt(number);
        gameNo = number;
        return gameNo;
    }
    int passed() const {
        int count = 0;
        for (const std::string& slot : passList) count += !slot.empty();
        return count;
    }
    void putOnPassList(const std::string& number) {
        std::size_t free = 0;
        while (!passList[free].empty()) ++free;
        passList[free] = number;
        logged.push_back({LogEvent::pass, std::stoi(number), attemptAt(std::stoi(number)), false});
        for (std::size_t j = 0; j < 9; ++j)
            for (std::size_t k = j + 1; k < 10; ++k)
                if (!passList[j].empty() && passList[k] == passList[j]) passList[k].clear();
        for (std::size_t j = 0; j < 9; ++j)
            for (std::size_t k = j + 1; k < 10; ++k)
                if (!passList[j].empty() && !passList[k].empty() && std::stoi(passList[j]) < std::stoi(passList[k]))
                    std::swap(passList[j], passList[k]);
    }
    void pass() {
        putOnPassList(box);
        if (afterRetry != 0) {
            box = std::to_string(afterRetry);
            afterRetry = 0;
        } else {
            wrapped += std::stoi(box) >= maxGameNo;
            box = std::to_string(std::stoi(box) >= maxGameNo ? 1 : std::stoi(box) + 1);
        }
    }
    void retry(std::size_t slot) {
        const std::string taken = passList[slot];
        logged.push_back({LogEvent::retry, std::stoi(taken), attemptAt(std::stoi(taken)), false});
        passList[slot].clear();
        for (std::size_t i = 0; i < 9; ++i)
            if (passList[i].empty()) std::swap(passList[i], passList[i + 1]);
        // A game taken back before and not yet played goes back on the list.
        if (afterRetry != 0)
            putOnPassList(box);
        else
            afterRetry = std::stoi(box);
        box = taken;
    }
    // Close and start again: the run's counts go, the memo keeps the ten saved lines.
    void restart() {
        runWins = runLosses = 0;
        memo.resize(10);
        memo.emplace_back();
    }
};

std::vector<std::string> withoutTrailingEmpty(std::vector<std::string> lines) {
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

// The game's log read as it grows, each line once, in order.
class LogTail {
public:
    explicit LogTail(std::string path) : path_(std::move(path)) {}

    // Consumes lines up to the first that `wanted` accepts; fails at a line
    // that `unexpected` names, or at the time-out.
    LogLine waitFor(const std::function<bool(const LogLine&)>& wanted, const std::string& what,
                    const std::function<bool(const LogLine&)>& unexpected = nullptr,
                    std::chrono::milliseconds timeout = kDefaultTimeout) {
        const Clock::time_point deadline = Clock::now() + timeout;
        for (;;) {
            read();
            while (!lines_.empty()) {
                LogLine line = std::move(lines_.front());
                lines_.pop_front();
                if (wanted(line)) return line;
                if (unexpected && unexpected(line))
                    throw std::runtime_error("waiting for " + what + ": " + line.event + " " + line.details);
            }
            if (Clock::now() >= deadline) throw std::runtime_error("no " + what + " in the game's log");
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            Sleep(1);
        }
    }
    LogLine waitFor(const std::string& event, const std::string& details) {
        return waitFor([&](const LogLine& line) { return line.event == event && line.details == details; },
                       event + " " + details,
                       [](const LogLine& line) {
                           return line.event == "deal" || line.event == "refused" || line.event == "error";
                       });
    }

private:
    void read() {
        std::ifstream file(path_, std::ios::binary);
        file.seekg(static_cast<std::streamoff>(offset_));
        std::string chunk((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        std::size_t start = 0;
        for (std::size_t end; (end = chunk.find('\n', start)) != std::string::npos; start = end + 1)
            if (std::optional<LogLine> line = parseLogLine(chunk.substr(start, end - start)))
                lines_.push_back(std::move(*line));
        offset_ += start;  // a line still being written is read again next time
    }

    std::string path_;
    std::size_t offset_ = 0;
    std::deque<LogLine> lines_;
};

struct Tally {
    int wins = 0, lossDialogs = 0, resigns = 0, laterAttempts = 0, passes = 0, retries = 0, wraps = 0;
};

class TallykeepSoak : public TallykeepTest {
protected:
    void SetUp() override {
        TallykeepTest::SetUp();
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        OsVersion version;
        if (GetVersionExA(&info)) version = {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
        const OsProfile profile = chooseOsProfile(version);
        texts = profile.texts;
        model.maxGameNo = profile.maxGameNumber;
    }

    // Everything Tallykeep shows against the model.
    void expectShown(const std::string& when) {
        const ResultsWindow& shown = results();
        const std::vector<std::pair<const char*, std::string>> labels = {
            {"Label1", std::to_string(model.tryCnt)},
            {"Label13", percentage(model.runWins, model.runLosses)},
            {"Label16", std::to_string(model.runWins)},
            {"Label17", std::to_string(model.runLosses)},
            {"Label9", percentage(model.won, model.lost)},
            {"Label18", std::to_string(model.won)},
            {"Label19", std::to_string(model.lost)},
            {"Label20", std::to_string(model.wins)},
            {"Label21", std::to_string(model.losses)},
            {"Label11", std::to_string(model.streak) + (model.stype == 1 ? "連勝中" : "連敗中")},
        };
        // The window draws a lost or resigned game once the game has taken
        // its answer, a moment after it deals.
        waitUntil([&] {
            for (const auto& [name, expected] : labels)
                if (shown.label(name) != expected) return false;
            return withoutTrailingEmpty(shown.history()) == withoutTrailingEmpty(model.memo);
        });
        for (const auto& [name, expected] : labels) ASSERT_EQ(shown.label(name), expected) << name << ", " << when;
        ASSERT_EQ(shown.numberBox(), grouped(model.gameNo)) << when;
        ASSERT_EQ(withoutTrailingEmpty(shown.history()), withoutTrailingEmpty(model.memo)) << when;
    }

    void expectSaved() {
        const std::string ini = session->iniPath();
        EXPECT_EQ(iniValue(ini, "Game", "GameNo"), std::to_string(model.gameNo));
        EXPECT_EQ(iniValue(ini, "Game", "TryCnt"), std::to_string(model.tryCnt));
        EXPECT_EQ(iniValue(ini, "Extra", "NextGame"), model.box);
        const std::vector<std::pair<const char*, int32_t>> score = {{"won", model.won},       {"wins", model.wins},
                                                                    {"lost", model.lost},     {"losses", model.losses},
                                                                    {"streak", model.streak}, {"stype", model.stype}};
        for (const auto& [key, value] : score) EXPECT_EQ(iniValue(ini, "Score", key), std::to_string(value)) << key;
        for (std::size_t slot = 0; slot < 10; ++slot) {
            const std::string digit = std::to_string(slot);
            EXPECT_EQ(iniValue(ini, "Hist", ("hist" + digit).c_str()), model.memo[slot]) << slot;
            EXPECT_EQ(iniValue(ini, "Rtry", ("Retry" + digit).c_str()), model.passList[slot]) << slot;
        }
    }

    // Tallykeep.csv line by line against the model, dated today.
    void expectLogged() {
        std::istringstream in(readFileBytes(sandbox.path("Tallykeep.csv")).value_or(""));
        const LogReading reading = readResultsLog(in);
        EXPECT_EQ(reading.skippedLines, 0u);
        SYSTEMTIME today{};
        GetLocalTime(&today);
        std::vector<LoggedLine> lines;
        for (const LogEntry& entry : reading.entries) {
            lines.push_back({entry.event, entry.gameNumber, entry.attempt, entry.counted});
            EXPECT_EQ(entry.when.year, today.wYear) << lines.back();
        }
        ASSERT_EQ(lines.size(), model.logged.size());
        for (std::size_t i = 0; i < lines.size(); ++i) ASSERT_EQ(lines[i], model.logged[i]) << "log line " << i + 1;
    }

    // One game on the dealt number: won, lost or resigned, and the next deal.
    Clock::time_point lastRedo_{};

    void playOne(HWND redo, Tally& tally) {
        const int action = std::uniform_int_distribution<int>(0, 99)(random);
        const std::string current = std::to_string(model.gameNo);
        if (model.tryCnt > 1) ++tally.laterAttempts;
        if (action < 45) {
            standinWin(session->game);
            tail.waitFor("msg", "selectbox BM_SETCHECK 1");
            // The user passes the next number, or takes a passed one back,
            // while the won dialog waits; Tallykeep acts on it once the tick
            // that waits has ended, before the game asks for the number.
            const int choice = std::uniform_int_distribution<int>(0, 99)(random);
            model.win();
            ++tally.wins;
            if (choice < 15 && model.passed() < 10) {
                results().menuCommand(kCmdPass);
                model.pass();
                ++tally.passes;
            } else if (choice >= 85 && model.passed() > 0) {
                const int slot = std::uniform_int_distribution<int>(0, model.passed() - 1)(random);
                results().menuCommand(kCmdRetry0 + static_cast<UINT>(slot));
                model.retry(static_cast<std::size_t>(slot));
                ++tally.retries;
            }
            tally.wraps = model.wrapped;
            const HWND dialog = findTopLevel(game::kDialogClass, texts.TitleGameOver);
            const HWND yes = dialog ? findChild(dialog, nullptr, texts.CaptionYes) : nullptr;
            ASSERT_NE(yes, nullptr) << "the won dialog's yes button";
            clickButton(yes);
            tail.waitFor("deal", std::to_string(model.numberDialog()));
        } else if (action < 80) {
            standinLose(session->game);
            tail.waitFor("answer", "lost yes same=1");
            model.loss();
            ++tally.lossDialogs;
            tail.waitFor("deal", current);
        } else {
            // Tallykeep takes two presses of the bar's game commands closer
            // together than its settle time as one double press.
            std::this_thread::sleep_until(lastRedo_ + std::chrono::milliseconds(GameLink::kCommandSettleMs + 50));
            lastRedo_ = Clock::now();
            clickButton(redo);
            tail.waitFor("confirm-yes", "");
            model.loss();
            ++tally.resigns;
            tail.waitFor("deal", current);
        }
    }

    // Plays `games` games from a dealt one; the seconds they took.
    double play(int games, Tally& tally) {
        const HWND bar = waitForTopLevel(nullptr, kControlBarCaption);
        const HWND redo = bar ? waitForChild(bar, nullptr, "やり直し") : nullptr;
        EXPECT_NE(redo, nullptr) << "the control bar's redo button";
        if (!redo) return 0;
        const Clock::time_point start = Clock::now();
        for (int game = 1; game <= games && !HasFatalFailure(); ++game) {
            try {
                playOne(redo, tally);
            } catch (const std::exception& error) {
                ADD_FAILURE() << "game " << game << ": " << error.what();
                return 0;
            }
            if (HasFatalFailure()) return 0;
            expectShown("after game " + std::to_string(game));
        }
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    ProfileTexts texts{};
    Model model;
    // Both runs append to the same log.
    LogTail tail{sandbox.path("freecell.log")};
    std::mt19937 random{static_cast<unsigned>(environmentNumber("TK_SOAK_SEED", 20261207))};
};

TEST_F(TallykeepSoak, EveryCountStreakPercentageHistoryLineAndPassedGameFollowsTheRules) {
    const int games = environmentNumber("TK_SOAK_GAMES", 100);
    // Close to the highest game number: the run goes on with game 1 after it.
    model.box = std::to_string(model.maxGameNo - 3);
    start();
    results().selectInNumberBox(0, -1);
    results().typeIntoNumberBox(model.box);
    ASSERT_TRUE(results().waitForNumberBox(grouped(std::stoi(model.box))));
    postKey(session->game, game::kVkF3);
    ASSERT_NO_THROW(tail.waitFor("deal", std::to_string(model.numberDialog())));
    ASSERT_NO_FATAL_FAILURE(expectShown("after the first deal"));

    Tally tally;
    const double seconds = play(games, tally);
    ASSERT_FALSE(HasFailure());
    const int ticks = 2 * tally.wins + tally.lossDialogs + tally.resigns;
    const double rate = games / seconds;
    const double limit = games / (ticks * 0.1);
    std::printf(
        "soak: %d games in %.1f s: %d won, %d lost dialogs, %d resigned; %d at a later attempt; "
        "%d passes, %d retries, %d from the highest number on to game 1\n",
        games, seconds, tally.wins, tally.lossDialogs, tally.resigns, tally.laterAttempts, tally.passes, tally.retries,
        tally.wraps);
    std::printf("soak: %.2f games/s; the 100 ms tick allows %.2f games/s (%d ticks): %.1f%% of the limit\n", rate,
                limit, ticks, 100.0 * rate / limit);
    std::fflush(stdout);
    EXPECT_GT(tally.wins, 0);
    EXPECT_GT(tally.laterAttempts, 0);
    EXPECT_GT(tally.passes, 0);
    EXPECT_GT(tally.retries, 0);
    EXPECT_GT(tally.wraps, 0);

    ASSERT_TRUE(session->closeAndWait()) << "Tallykeep did not end when closed";
    expectSaved();
    expectLogged();

    session->restart();
    ASSERT_NE(session->game, nullptr);
    ASSERT_TRUE(session->results.found());
    model.restart();
    ASSERT_NO_FATAL_FAILURE(expectShown("after the restart"));
    ASSERT_NO_THROW(tail.waitFor([](const LogLine& line) { return line.event == "start"; }, "the game's start"));
    postKey(session->game, game::kVkF3);
    // Tallykeep enters the saved number; its attempt goes on where it was.
    ASSERT_NO_THROW(tail.waitFor("deal", std::to_string(model.numberDialog())));
    Tally afterRestart;
    play(std::max(5, games / 10), afterRestart);
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(session->closeAndWait());
    expectSaved();
    expectLogged();
}

}  // namespace
