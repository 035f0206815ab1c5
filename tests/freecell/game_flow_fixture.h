#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "freecell/event_log.h"
#include "freecell/freecell_game.h"
#include "freecell/statistics.h"

namespace freecell::testing {

class MemoryStore : public StatisticsStore {
public:
    Statistics load() override { return values; }
    void save(const Statistics& statistics) override {
        values = statistics;
        ++saves;
    }
    Statistics values;
    int saves = 0;
};

// Answers the game's dialogs from scripts and remembers what was shown.
class ScriptedUi : public GameUi {
public:
    bool confirmEndGame() override {
        ++confirms;
        return pop(confirmAnswers, true);
    }
    std::optional<std::string> askGameNumber(const std::string& initial) override {
        numberFields.push_back(initial);
        if (duringNumberDialog) duringNumberDialog();
        return pop(numberAnswers, std::optional<std::string>());
    }
    LostAnswer askAfterLoss() override { return pop(lostAnswers, LostAnswer{true, true}); }
    WonAnswer askAfterWin(bool selectGame) override {
        wonBoxStates.push_back(selectGame);
        return pop(wonAnswers, WonAnswer{true, selectGame});
    }
    void boardChanged() override {}
    void moveRefused() override { ++refusals; }

    std::deque<bool> confirmAnswers;
    std::deque<std::optional<std::string>> numberAnswers;
    std::deque<LostAnswer> lostAnswers;
    std::deque<WonAnswer> wonAnswers;
    std::function<void()> duringNumberDialog;
    int confirms = 0;
    int refusals = 0;
    std::vector<std::string> numberFields;
    std::vector<bool> wonBoxStates;

private:
    template <typename T>
    static T pop(std::deque<T>& answers, T fallback) {
        if (answers.empty()) return fallback;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class GameFlow : public ::testing::Test {
protected:
    void selectAndDeal(const std::string& number) {
        ui.numberAnswers.push_back(number);
        game.selectGame();
    }

    ScriptedUi ui;
    MemoryStore store;
    EventLog log;
    int32_t nextRandom = 777;
    FreeCellGame game{ui, store, log, 32000, [this] { return nextRandom; }};
};

}  // namespace freecell::testing
