#include "records/record_keeper.h"

#include <deque>
#include <exception>
#include <stdexcept>
#include <utility>

#include "common/app_error.h"
#include "common/number_text.h"
#include "controls/thousands.h"
#include "records/impossible_deals.h"

RecordKeeper::RecordKeeper(RecordFiles files, int32_t maxGameNumber)
    : files_(std::move(files)),
      maxGameNumber_(maxGameNumber),
      log_(*files_.logFile, *files_.clock, files_.waitingLinesFile),
      counted_(maxGameNumber),
      impossibleDeals_(impossibleDealsUpTo(nullptr, maxGameNumber)) {}

RecordChange RecordKeeper::load() {
    recoverSettingsFile(*files_.settingsFiles, files_.settingsPath);
    {
        const std::unique_ptr<ProfileStore> store = files_.settingsFiles->openProfile(files_.settingsPath);
        settings_ = readSettings(*store);
    }
    lastSaveTried_ = savedValues(settings_);
    // A problem the last session's end could not tell is told now, once.
    if (!settings_.untoldProblem.empty()) {
        untoldProblems_.push_back(settings_.untoldProblem);
        settings_.untoldProblem.clear();
    }
    // A snapshot not taken whole concerns only the write-back at the end,
    // which leaves the values not read alone.
    try {
        readStatistics(*files_.gameStatistics, gameStatisticsAtStart_);
    } catch (const AppError& error) {
        untoldProblems_.push_back(error.what());
    }
    takeBackWaitingLines();
    readDealTable();
    changed();
    RecordChange change;
    change.boxText = intToText(nextNumber());
    return change;
}

// The numbers counted since the totals were last cleared, from the log and
// then from the lines the last run left waiting for it; the log's last lines
// are kept to tell which of those it took after all. A log that cannot be
// read counts every number as new, as before the log was kept.
void RecordKeeper::takeBackWaitingLines() {
    std::vector<LogEntry> waiting = log_.linesLeftWaiting();
    std::deque<LogEntry> tail;
    if (files_.readLog) {
        try {
            files_.readLog([&](const LogEntry& entry) {
                countLine(entry);
                if (waiting.empty()) return;
                tail.push_back(entry);
                if (tail.size() > waiting.size()) tail.pop_front();
            });
        } catch (const std::exception&) {
            counted_.clear();
            tail.clear();
        }
    }
    const std::size_t logged = linesAlreadyLogged({tail.begin(), tail.end()}, waiting);
    waiting.erase(waiting.begin(), waiting.begin() + static_cast<std::ptrdiff_t>(logged));
    for (const LogEntry& entry : waiting) countLine(entry);
    log_.takeBackWaiting(waiting);
    if (!waiting.empty()) tellIfRefused(log_.writePending());
}

void RecordKeeper::countLine(const LogEntry& entry) {
    if (entry.event == LogEvent::clear)
        counted_.clear();
    else if ((entry.event == LogEvent::win || entry.event == LogEvent::loss) && entry.counted)
        counted_.add(entry.gameNumber);
}

// A table is taken whole or not at all; a refused one is told once, and the
// known impossible deals stand in for its list.
void RecordKeeper::readDealTable() {
    if (!files_.readDealTable) return;
    DealTableLoad load = files_.readDealTable();
    const std::string message = dealTableRefusalMessage(load, files_.dealTablePath);
    if (!message.empty()) untoldProblems_.push_back(message);
    dealTable_ = std::move(load.table);
    impossibleDeals_ = impossibleDealsUpTo(dealTable(), maxGameNumber_);
}

bool RecordKeeper::isImpossible(int32_t number) const {
    return ::isImpossible(number, maxGameNumber_, impossibleDeals_);
}

DifficultyLevel RecordKeeper::difficultyOf(int32_t number) const {
    return ::difficultyOf(dealTable(), impossibleDeals_, maxGameNumber_, number);
}

NumberToDeal RecordKeeper::numberToDeal(const std::string& boxText) const {
    NumberToDeal deal;
    const std::optional<int32_t> number = tryTextToInt(boxText);
    if (!number) {
        try {
            textToInt(boxText);
        } catch (const AppError& error) {
            deal.refusal = error.what();
        }
        return deal;
    }
    if (*number < 1 || *number > maxGameNumber_) {
        deal.refusal = "「" + boxText + "」はゲーム番号にできません（1 から " +
                       groupThousands(intToText(maxGameNumber_)) + " まで）";
        return deal;
    }
    deal.number = *number;
    return deal;
}

void RecordKeeper::boxChanged(const std::string& boxText) {
    const std::optional<int32_t> number = tryTextToInt(boxText);
    if (!number || *number < 1 || *number > maxGameNumber_ || *number == nextNumber()) return;
    // The player chose another number: a game taken back and left is theirs
    // to take up again by hand.
    settings_.nextGame = *number;
    settings_.afterRetry = 0;
    unsaved_ = true;
}

int32_t RecordKeeper::nextNumber() const {
    const int32_t next = settings_.nextGame;
    return next >= 1 && next <= maxGameNumber_ ? next : settings_.game.number;
}

void RecordKeeper::showInBox(int32_t number, RecordChange& change) {
    settings_.nextGame = number;
    change.boxText = intToText(number);
}

RecordChange RecordKeeper::gameDealt(int32_t number) {
    GameInPlay& game = settings_.game;
    if (number != game.number || board_ != Board::inPlay) {
        // The same number again after its win or a deal of the game's own is
        // a later attempt at it.
        const bool sameAsWon = board_ == Board::over && over_.number == number;
        if (number != game.number) game.attempt = sameAsWon ? wrappingAdd(over_.attempt, 1) : firstAttemptAt(number);
        game.number = number;
    }
    board_ = Board::inPlay;
    restartAsked_ = startAsked_ = false;
    changed();
    return {};
}

void RecordKeeper::boardTold(int32_t number) {
    // A board Tallykeep dealt is the game's to tell only once dealt: the
    // game-number dialog may still be closing.
    if (board_ == Board::inPlay || (board_ == Board::own && own_.number == number) ||
        (board_ == Board::over && over_.number == number))
        return;
    own_ = {number, firstAttemptAt(number)};
    board_ = Board::own;
    changed();
}

std::optional<int32_t> RecordKeeper::attemptShown() const {
    switch (board_) {
        case Board::own:
            return own_.attempt;
        case Board::unknown:
            return std::nullopt;
        case Board::inPlay:
        case Board::over:
            break;
    }
    return settings_.game.attempt;
}

// Counts the game (a first attempt at a number not counted before), writes
// its history line and its line in the log; a won game stays on the board.
GameResult RecordKeeper::record(GameEnd end, const GameInPlay& game, RecordChange& change) {
    const GameResult result{end == GameEnd::won, game.number, game.attempt, counted_.contains(game.number)};
    if (result.counted()) counted_.add(game.number);
    settings_.tally.record(result);
    log(entryForResult(result, files_.clock->now()), change);
    if (result.won) {
        board_ = Board::over;
        over_ = game;
    }
    return result;
}

// A game the game dealt itself and told the number of: counted under that
// number, once, while the box keeps the next number of the player's road.
RecordChange RecordKeeper::ownGameEnded(GameEnd end) {
    RecordChange change;
    if (record(end, own_, change).won) {
        overIsOwn_ = true;
    } else {
        own_.attempt = wrappingAdd(own_.attempt, 1);
    }
    restartAsked_ = startAsked_ = false;
    changed();
    return change;
}

RecordChange RecordKeeper::gameEnded(GameEnd end) {
    if (board_ == Board::own) return ownGameEnded(end);
    RecordChange change;
    if (board_ != Board::inPlay) {
        // A deal Tallykeep did not enter (a random one, or one the player
        // asked of the game itself): whatever comes next is no known number
        // either, until Tallykeep enters one.
        board_ = Board::unknown;
        restartAsked_ = startAsked_ = false;
        changed();
        return change;
    }
    GameInPlay& game = settings_.game;
    if (record(end, game, change).won) {
        overIsOwn_ = false;
        // A passed game taken back and now won: the box goes back to where
        // it was. Otherwise the next number, 1 after the highest.
        if (settings_.afterRetry != 0 && nextNumber() == game.number) {
            game.number = settings_.afterRetry;
            settings_.afterRetry = 0;
        } else {
            game.number = moveOn(game.number >= maxGameNumber_ ? 1 : game.number + 1, change);
        }
        game.attempt = firstAttemptAt(game.number);
        showInBox(game.number, change);
    } else {
        game.attempt = wrappingAdd(game.attempt, 1);
        // The lost dialog's yes deals the same game again, and so does a
        // restart; 開始 goes on to the game-number dialog. After an
        // end-this-game box of the player's own command (the game's new game,
        // its menu) the deal is one nobody can vouch for.
        if (end == GameEnd::resigned && !restartAsked_ && !startAsked_) board_ = Board::unknown;
    }
    restartAsked_ = startAsked_ = false;
    changed();
    return change;
}

RecordChange RecordKeeper::unknownGameDealt() {
    board_ = Board::unknown;
    changed();
    return {};
}

void RecordKeeper::restartSent() {
    if (board_ == Board::over && overIsOwn_) {
        own_ = {over_.number, wrappingAdd(over_.attempt, 1)};
        board_ = Board::own;
        changed();
    } else if (board_ == Board::over) {
        // The game won is dealt again at once: no game is in progress.
        settings_.game.number = over_.number;
        settings_.game.attempt = wrappingAdd(over_.attempt, 1);
        board_ = Board::inPlay;
        changed();
    } else if (board_ == Board::inPlay || board_ == Board::own) {
        restartAsked_ = true;
    }
}

RecordChange RecordKeeper::pass(const std::string& boxText) {
    // The box as typed since the last tick.
    boxChanged(boxText);
    RecordChange change;
    const PassOutcome outcome = passGame(settings_.tally.passes, boxText);
    if (outcome.listFull) {
        change.passListFull = true;
        return change;
    }
    const int32_t passed = textToInt(boxText);
    log(stamped(LogEvent::pass, passed, false), change);
    // A game taken back and passed again: the box goes back to where it was.
    if (settings_.afterRetry != 0 && passed == nextNumber()) {
        showInBox(settings_.afterRetry, change);
        settings_.afterRetry = 0;
    } else {
        // The highest number passed goes on with game 1, as a win does.
        showInBox(moveOn(passed == maxGameNumber_ ? 1 : outcome.nextNumber, change), change);
    }
    changedAndSaved();
    return change;
}

// An entry written by hand that is no number names no game: it leaves the
// list without a line in the log.
RecordChange RecordKeeper::takeBackPass(int slot, const std::string& boxText) {
    PassSlots& passes = settings_.tally.passes;
    if (slot < 0 || slot >= static_cast<int>(passes.size()) || passes[static_cast<size_t>(slot)].empty())
        throw std::out_of_range("no passed game in slot " + std::to_string(slot));
    boxChanged(boxText);
    RecordChange change;
    const std::string number = passes[static_cast<size_t>(slot)];
    ::takeBackPass(passes, slot);
    const std::optional<int32_t> retried = tryTextToInt(number);
    if (retried) log(stamped(LogEvent::retry, *retried, false), change);
    change.boxText = number;
    const std::optional<int32_t> boxNumber = tryTextToInt(boxText);
    if (settings_.afterRetry != 0 && boxNumber == nextNumber()) {
        // A game taken back before and not yet played goes back on the list
        // (into the slot just freed) rather than being lost from the box.
        passGame(passes, intToText(*boxNumber));
        log(stamped(LogEvent::pass, *boxNumber, false), change);
    } else if (boxNumber && *boxNumber >= 1 && *boxNumber <= maxGameNumber_) {
        // Where the box goes back to once the game is won or passed again.
        settings_.afterRetry = *boxNumber;
    }
    if (retried && *retried >= 1 && *retried <= maxGameNumber_) settings_.nextGame = *retried;
    changedAndSaved();
    return change;
}

RecordChange RecordKeeper::clearTotals(const std::string& boxText) {
    RecordChange change;
    const GameInPlay& game = settings_.game;
    const int32_t boxNumber = tryTextToInt(boxText).value_or(game.number);
    log(log_.stamped(LogEvent::clear, boxNumber, game.attempt, true), change);
    settings_.tally.clearTotals();
    // Counting starts again: every number counts once more.
    counted_.clear();
    changedAndSaved();
    return change;
}

RecordChange RecordKeeper::setShowControlBar(bool show) {
    settings_.tally.options.showControlBar = show;
    changedAndSaved();
    return {};
}

RecordChange RecordKeeper::toggleRestoreGameStatistics() {
    bool& option = settings_.tally.options.restoreGameStatistics;
    option = !option;
    changedAndSaved();
    return {};
}

RecordChange RecordKeeper::toggleSkipImpossible() {
    bool& option = settings_.tally.options.skipImpossible;
    option = !option;
    changedAndSaved();
    return {};
}

// A command of the menu: drawn and saved at once.
void RecordKeeper::changedAndSaved() {
    changed();
    saveIfChanged();
}

void RecordKeeper::setProgressPlace(const Options::Place& place) {
    settings_.tally.options.progressWindow = place;
    unsaved_ = true;
    saveIfChanged();
}

void RecordKeeper::setProgressByDifficulty(bool byDifficulty) {
    settings_.tally.options.progressByDifficulty = byDifficulty;
    unsaved_ = true;
    saveIfChanged();
}

// The attempt at a number not in play is the first.
LogEntry RecordKeeper::stamped(LogEvent event, int32_t gameNumber, bool counted) const {
    const GameInPlay& game = settings_.game;
    return log_.stamped(event, gameNumber, gameNumber == game.number ? game.attempt : 1, counted);
}

void RecordKeeper::log(const LogEntry& entry, RecordChange& change) {
    change.logged.push_back(entry);
    tellIfRefused(log_.add(entry));
}

// One message for each time the log is held: once it took the lines, the
// next refusal is a new one.
void RecordKeeper::tellIfRefused(const AppendOnlyFile::Outcome& outcome) {
    if (outcome.written) logProblemTold_ = false;
    if (outcome.written || logProblemTold_) return;
    logProblemTold_ = true;
    std::string text = files_.logPath + " に書き込めません\r\n" + outcome.reason +
                       "\r\n記録はそのまま続けます。書けなかった行は、書き込めるようになったときに書き足します。";
    if (!log_.waitingLinesKept())
        text += "\r\n書けなかった行を置いておくファイルも書けません。このまま Tallykeep を閉じると、その行は失われます。";
    untoldProblems_.push_back(text);
}

int32_t RecordKeeper::moveOn(int32_t next, RecordChange& change) {
    if (!settings_.tally.options.skipImpossible) return next;
    const ImpossibleSkip skip = skipImpossible(next, maxGameNumber_, impossibleDeals_);
    for (const int32_t skipped : skip.skipped) log(log_.stamped(LogEvent::skip, skipped, 1, false), change);
    return skip.next;
}

void RecordKeeper::saveIfChanged() {
    if (!unsaved_) return;
    unsaved_ = false;
    std::vector<std::string> values = savedValues(settings_);
    if (values == lastSaveTried_) return;
    lastSaveTried_ = std::move(values);
    try {
        saveNow();
    } catch (const AppError& error) {
        if (settingsProblemTold_) return;
        settingsProblemTold_ = true;
        const std::string reason = files_.settingsFiles->failureReason();
        untoldProblems_.push_back(std::string(error.what()) + (reason.empty() ? "" : "\r\n" + reason) +
                                  "\r\n成績は覚えておき、書き込めるようになったときに保存します。");
    }
}

void RecordKeeper::saveNow() { saveSettingsFile(*files_.settingsFiles, settings_, files_.settingsPath); }

void RecordKeeper::retryLog() {
    if (log_.pendingLines() > 0 && log_.writePending().written) logProblemTold_ = false;
}

void RecordKeeper::finish(bool gameClosed) {
    std::string failure;
    // A game that did not close keeps its own statistics: it writes them
    // itself when it ends. The program ends all the same (a hung game must
    // not keep it), and the next start tells what was left.
    if (!gameClosed) {
        settings_.untoldProblem = "前回 Tallykeep を閉じたとき、フリーセルが終了しませんでした。";
        if (settings_.tally.options.restoreGameStatistics)
            settings_.untoldProblem += "ゲームの成績は元に戻していません。";
    } else if (settings_.tally.options.restoreGameStatistics) {
        try {
            writeStatistics(*files_.gameStatistics, gameStatisticsAtStart_);
        } catch (const AppError& error) {
            failure = error.what();
        }
    }
    // The last chance for lines the log refused; they were told already.
    log_.writePending();
    lastSaveTried_ = savedValues(settings_);
    unsaved_ = false;
    saveNow();
    if (!failure.empty()) throw AppError(failure);
}

void RecordKeeper::finishAtSessionEnd() {
    std::string failure;
    try {
        if (settings_.tally.options.restoreGameStatistics)
            writeStatistics(*files_.gameStatistics, gameStatisticsAtStart_);
    } catch (const std::exception& error) {
        failure = error.what();
    }
    try {
        log_.writePending();
    } catch (const std::exception&) {
        // The lines stay where they were refused; nothing more can be done.
    }
    // The settings file keeps what the next start tells: the line breaks of
    // a message would end its value.
    for (char& c : failure)
        if (c == '\r' || c == '\n') c = ' ';
    settings_.untoldProblem = failure;
    try {
        saveNow();
    } catch (const std::exception&) {
        // Nothing is left to tell it to: Windows is ending the session.
    }
}

std::string RecordKeeper::takeProblems() {
    std::string text;
    for (const std::string& problem : untoldProblems_) text += (text.empty() ? "" : "\r\n\r\n") + problem;
    untoldProblems_.clear();
    return text;
}
