#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "common/game_in_play.h"
#include "records/pass_list.h"
#include "records/score_ledger.h"

// The options of the results window's menu.
struct Options {
    // At the close, the game's own statistics are put back as they were at
    // start-up ("Tallykeepの成績だけ更新").
    bool restoreGameStatistics = false;
    bool showControlBar = true;
    // Carried from one run to the next, used by nothing else.
    bool renMode = false;
    // A known impossible deal next is passed over ("解けない番号は飛ばす").
    bool skipImpossible = false;
    // The progress window's place on the screen; a width of 0: not yet placed.
    struct Place {
        int32_t left = 0, top = 0, width = 0, height = 0;
    } progressWindow{};
    // 進捗's map coloured by the deals' difficulty ("難易度で色分け").
    bool progressByDifficulty = false;
};

// "N 勝ち" for a win at the first attempt, "N 負け（k回）" for a win at a
// later attempt k; a loss makes no line.
std::string historyLine(const GameResult& result);

// The results of this run and the ten loaded from the settings file, newest
// first. The ten newest are saved. Older lines stay visible in the window for
// the run, up to a bound that keeps the history small (the edit control of the
// Windows 95 family holds at most 64 KB).
class History {
public:
    static constexpr std::size_t kSavedLines = 10;
    static constexpr std::size_t kMaxLines = 1000;
    static constexpr std::size_t kMaxBytes = 32 * 1024;

    // The ten lines of the settings file, newest first; empty ones included,
    // as they take their place in the window.
    static History fromSaved(const std::array<std::string, kSavedLines>& newestFirst);

    std::vector<std::string> lines() const { return {lines_.begin(), lines_.end()}; }
    void addNewest(const std::string& line);
    // The ten newest lines, an empty text for a line the history does not have.
    std::array<std::string, kSavedLines> saved() const;

private:
    void dropOldest();

    // Newest first; a deque, so that a start replaying a long log adds each
    // line at the front in constant time.
    std::deque<std::string> lines_;
    std::size_t bytes_ = 0;
};

// Everything the results window keeps and shows besides the game in play:
// the counts, the history, the pass list and the options.
struct Tally {
    ScoreLedger ledger;
    History history;
    PassSlots passes;
    Options options;

    // Counts a first attempt and writes the history line of a win.
    void record(const GameResult& result);
    // The six totals become 0, the run's counts stay; thirteen empty lines
    // push the history out of the ten lines that are saved, while the older
    // lines stay visible below them for the rest of the run.
    void clearTotals();
};
