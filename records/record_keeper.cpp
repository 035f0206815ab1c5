#include "records/record_keeper.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

#include "common/app_error.h"
#include "common/number_text.h"
#include "controls/thousands.h"
#include "records/impossible_deals.h"
#include "records/log_replay.h"
#include "records/results_log_reader.h"

namespace {

// The log is read from this far before the checkpoint's mark, so that the
// line ending there is read whole and its 通番 compared.
constexpr uint64_t kMarkLookBack = kLongestLogLine + 2;
// Where the log could not be read at the start, the lines Tallykeep writes
// are numbered from this far past what the settings file knows, so that they
// never share a 通番 with lines the log may hold beyond it.
constexpr uint32_t kSerialGapWhenUnread = 1000000;

uint32_t serialAfter(uint32_t serial) { return serial >= INT32_MAX ? serial : serial + 1; }

}  // namespace

RecordKeeper::RecordKeeper(RecordFiles files, int32_t maxGameNumber)
    : files_(std::move(files)),
      maxGameNumber_(maxGameNumber),
      log_(*files_.logFile, *files_.clock, files_.waitingLinesFile),
      played_(maxGameNumber),
      impossibleDeals_(impossibleDealsUpTo(nullptr, maxGameNumber)) {}

RecordChange RecordKeeper::load() {
    recoverSettingsFile(*files_.settingsFiles, files_.settingsPath);
    {
        const std::unique_ptr<ProfileStore> store = files_.settingsFiles->openProfile(files_.settingsPath);
        settings_ = readSettings(*store);
    }
    lastSaveTried_ = savedValues(settings_);
    bringIntoRange();
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
    readDealTable();
    replayTheLog();
    changed();
    saveIfChanged();
    RecordChange change;
    change.boxText = intToText(nextNumber());
    return change;
}

// Values edited by hand, or written for a version with a wider range.
void RecordKeeper::bringIntoRange() {
    const auto clamp = [this](int32_t& number) { number = std::clamp(number, 1, maxGameNumber_); };
    clamp(settings_.game.number);
    settings_.game.attempt = std::max(settings_.game.attempt, 1);
    if (settings_.nextGame != 0) clamp(settings_.nextGame);
    if (settings_.afterRetry != 0) clamp(settings_.afterRetry);
    Settings::LogMark& mark = settings_.logMark;
    mark.serial = std::max(mark.serial, 0);
    mark.lastLogged = std::clamp(mark.lastLogged, 0, mark.serial);
}

// The record as the log has it: the settings file's checkpoint, and every
// line after it applied in the order of its 通番, whether the log or its
// waiting lines hold it. Only the log's lines after the checkpoint's mark are
// read when the mark is where the checkpoint left it; a log saved back by a
// spreadsheet (its bytes moved) is read whole, and its lines count by their
// 通番 all the same, so that none is applied twice. Lines without a 通番
// (older versions) are in the checkpoint already.
void RecordKeeper::replayTheLog() {
    const Settings::LogMark mark = settings_.logMark;
    const uint32_t checkpoint = static_cast<uint32_t>(mark.serial);
    std::optional<uint32_t> playedUpTo;
    if (files_.playedNumbersFile) playedUpTo = played_.readFile(files_.playedNumbersFile->read());

    std::vector<LogEntry> logLines;  // the lines read, in the file's order
    uint32_t lastInLog = 0;
    bool whole = true;
    std::optional<uint64_t> size;
    if (files_.logSource) {
        // The tail after the mark, when the mark is still there and the
        // played numbers reach it.
        if (mark.logSize > 0 && mark.lastLogged > 0 && playedUpTo && *playedUpTo >= static_cast<uint32_t>(mark.lastLogged)) {
            bool found = false;
            size = files_.logSource->read(mark.logSize > kMarkLookBack ? mark.logSize - kMarkLookBack : 0,
                                          [&](const LogEntry& entry, uint64_t lineEnd) {
                                              if (lineEnd == mark.logSize)
                                                  found = entry.serial == static_cast<uint32_t>(mark.lastLogged);
                                              else if (lineEnd > mark.logSize)
                                                  logLines.push_back(entry);
                                          });
            whole = !(size && found);
            if (whole) logLines.clear();
            else lastInLog = static_cast<uint32_t>(mark.lastLogged);
        }
        if (whole) {
            size = files_.logSource->read(0, [&](const LogEntry& entry, uint64_t) { logLines.push_back(entry); });
            if (!size) logLines.clear();
        }
    }
    const bool logRead = !files_.logSource || size.has_value();
    for (const LogEntry& entry : logLines) lastInLog = std::max(lastInLog, entry.serial);
    std::vector<LogEntry> waiting = log_.linesLeftWaiting();
    uint32_t lastWaiting = 0;
    for (const LogEntry& entry : waiting) lastWaiting = std::max(lastWaiting, entry.serial);
    // Numbers said to reach beyond every line the record holds belong to
    // another record (the log and the settings file deleted, the numbers
    // left): they are read again from the log.
    if (playedUpTo && logRead && *playedUpTo > std::max({checkpoint, lastInLog, lastWaiting})) {
        playedUpTo.reset();
        if (!whole) {
            logLines.clear();
            size = files_.logSource->read(0, [&](const LogEntry& entry, uint64_t) { logLines.push_back(entry); });
            for (const LogEntry& entry : logLines) lastInLog = std::max(lastInLog, entry.serial);
        }
    }

    // The numbers played: from the whole log when their file is missing or
    // damaged, else from their own checkpoint on.
    if (!playedUpTo) {
        played_.clear();
        for (const LogEntry& entry : logLines) applyToPlayed(entry, played_);
        playedUpTo = lastInLog;
        playedChanged_ = true;
    }

    // The waiting lines the log took already (the last run ended between the
    // append and letting the file go) are found by their 通番; those of an
    // older version, without one, by the log's last lines.
    std::vector<LogEntry> unnumbered;
    std::vector<LogEntry> stillWaiting;
    for (const LogEntry& entry : waiting) {
        if (entry.serial == 0)
            unnumbered.push_back(entry);
        else if (entry.serial > lastInLog || !logRead)
            stillWaiting.push_back(entry);
    }
    if (!unnumbered.empty()) {
        const std::size_t tail = std::min(logLines.size(), unnumbered.size());
        const std::size_t logged =
            linesAlreadyLogged({logLines.end() - static_cast<std::ptrdiff_t>(tail), logLines.end()}, unnumbered);
        unnumbered.erase(unnumbered.begin(), unnumbered.begin() + static_cast<std::ptrdiff_t>(logged));
        for (const LogEntry& entry : unnumbered) applyToPlayed(entry, played_);
        stillWaiting.insert(stillWaiting.begin(), unnumbered.begin(), unnumbered.end());
    }

    // Everything after the checkpoint, in the order it was written.
    std::vector<LogEntry> after;
    for (const LogEntry& entry : logLines)
        if (entry.serial > checkpoint || entry.serial > *playedUpTo) after.push_back(entry);
    for (const LogEntry& entry : stillWaiting)
        if (entry.serial > lastInLog && (entry.serial > checkpoint || entry.serial > *playedUpTo)) after.push_back(entry);
    std::stable_sort(after.begin(), after.end(),
                     [](const LogEntry& a, const LogEntry& b) { return a.serial < b.serial; });
    uint32_t newest = std::max(checkpoint, lastInLog);
    for (const LogEntry& entry : after) {
        const bool toPlayed = entry.serial > *playedUpTo;
        if (entry.serial > checkpoint)
            applyLogLine(entry, settings_, toPlayed ? &played_ : nullptr, maxGameNumber_);
        else
            applyToPlayed(entry, played_);
        playedChanged_ = playedChanged_ || toPlayed;
        newest = std::max(newest, entry.serial);
    }
    for (const LogEntry& entry : stillWaiting) newest = std::max(newest, entry.serial);
    // The run's counts are this run's: the lines replayed belong to the last.
    settings_.tally.ledger.runWins = 0;
    settings_.tally.ledger.runLosses = 0;

    settings_.logMark.serial = static_cast<int32_t>(newest);
    if (logRead && files_.logSource) {
        settings_.logMark.lastLogged = static_cast<int32_t>(lastInLog);
        settings_.logMark.logSize = size.value_or(0);
    }
    nextSerial_ = logRead ? serialAfter(newest) : serialAfter(std::min<uint32_t>(newest + kSerialGapWhenUnread, INT32_MAX - 1));

    log_.takeBackWaiting(stillWaiting);
    if (!stillWaiting.empty()) tellIfRefused(log_.writePending());
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
    changed();
}

int32_t RecordKeeper::nextNumber() const {
    return settings_.nextGame != 0 ? settings_.nextGame : settings_.game.number;
}

// The attempt a number is at: the game in play's own, else its next.
int32_t RecordKeeper::attemptOf(int32_t number) const {
    if (board_ == Board::dealt && onBoard_.number == number && !attemptAtEnd_) return onBoard_.attempt;
    return played_.nextAttempt(number);
}

GameInPlay RecordKeeper::inPlay() const { return {nextNumber(), attemptOf(nextNumber())}; }

std::optional<int32_t> RecordKeeper::attemptShown() const {
    if (board_ == Board::unknown) return std::nullopt;
    return inPlay().attempt;
}

std::optional<int32_t> RecordKeeper::otherNumberOnBoard() const {
    if (board_ != Board::dealt || onBoard_.number == nextNumber()) return std::nullopt;
    return onBoard_.number;
}

// The number's next attempt is on the board.
void RecordKeeper::dealOnBoard(int32_t number) {
    redealAssumed_ = false;
    attemptAtEnd_ = false;
    board_ = Board::dealt;
    onBoard_ = {number, played_.nextAttempt(number)};
    boardPassed_ = false;
    boardConfirmed_ = lastTold_ == number;
    changed();
}

RecordChange RecordKeeper::gameDealt(int32_t number) {
    command_ = Command::none;
    boardBeforeDeal_ = board_;
    onBoardBeforeDeal_ = onBoard_;
    if (number < 1 || number > maxGameNumber_) {
        board_ = Board::unknown;
        changed();
        return {};
    }
    dealOnBoard(number);
    return {};
}

void RecordKeeper::dealRefused(int32_t number) {
    if (board_ != Board::dealt || onBoard_.number != number) return;
    board_ = boardBeforeDeal_;
    onBoard_ = onBoardBeforeDeal_;
    boardPassed_ = false;
    changed();
}

void RecordKeeper::boardTold(int32_t number) {
    // No number of the game's range: nothing to count under, and no longer
    // the number the board told before; a game in play the game told is
    // gone from the board.
    if (number < 1 || number > maxGameNumber_) {
        lastTold_.reset();
        if (board_ == Board::dealt && boardConfirmed_) {
            board_ = Board::unknown;
            changed();
        }
        return;
    }
    lastTold_ = number;
    switch (board_) {
        case Board::dealt:
            // Until the game has told the number it was given, what it tells
            // may be the deal before (its dialog is still closing).
            if (number == onBoard_.number) {
                boardConfirmed_ = true;
                return;
            }
            if (!boardConfirmed_) return;
            break;
        case Board::over:
            if (number == onBoard_.number) return;
            break;
        case Board::none:
        case Board::unknown:
            break;
    }
    dealOnBoard(number);
    // When the game dealt it is not known: its attempt is the one the number
    // is at when it ends.
    attemptAtEnd_ = true;
}

RecordChange RecordKeeper::unknownGameDealt() {
    board_ = Board::unknown;
    changed();
    return {};
}

void RecordKeeper::restartSent(uint64_t nowMs) {
    command_ = Command::restart;
    commandAtMs_ = nowMs;
    redealAssumed_ = false;
    if (board_ == Board::over) {
        // No game is in progress: the game deals the one won again at once.
        // An end-this-game box that comes all the same tells otherwise: the
        // game had dealt another game meanwhile, one nobody can vouch for.
        dealOnBoard(onBoard_.number);
        redealAssumed_ = true;
    }
}

void RecordKeeper::startSent(uint64_t nowMs) {
    redealAssumed_ = false;
    command_ = Command::start;
    commandAtMs_ = nowMs;
}

RecordChange RecordKeeper::gameEnded(GameEnd end, uint64_t nowMs) {
    RecordChange change;
    const Command command = nowMs - commandAtMs_ <= kCommandAnswerMs ? command_ : Command::none;
    command_ = Command::none;
    if (redealAssumed_ && command == Command::restart && end == GameEnd::resigned && lastTold_ != onBoard_.number)
        board_ = Board::unknown;
    redealAssumed_ = false;
    // A game ended on a board that stood still after a win: the game that
    // ships with Tallykeep dealt the number won again from its own menu (it
    // told the same number all along).
    if (board_ == Board::over && lastTold_ == onBoard_.number) dealOnBoard(onBoard_.number);
    if (board_ != Board::dealt) {
        // A deal nobody can vouch for: whatever comes next is none either,
        // until a number is dealt or told.
        board_ = end == GameEnd::resigned && command == Command::start ? Board::none : Board::unknown;
        changed();
        return change;
    }
    if (attemptAtEnd_) onBoard_.attempt = played_.nextAttempt(onBoard_.number);
    const GameInPlay game = onBoard_;
    // A game passed is "not now": ending it counts nothing.
    if (!(end == GameEnd::resigned && boardPassed_)) {
        const bool won = end == GameEnd::won;
        log(stamped(won ? LogEvent::win : LogEvent::loss, game.number, game.attempt == 1), change);
    }
    switch (end) {
        case GameEnd::won:
            board_ = Board::over;
            break;
        case GameEnd::lost:
            // The lost dialog's yes deals the same game again.
            dealOnBoard(game.number);
            break;
        case GameEnd::resigned:
            // やり直し deals the same game again and 開始 asks for a number;
            // after a command of the player's own in the game (its new game,
            // its menu) the deal is one nobody can vouch for.
            if (command == Command::restart)
                dealOnBoard(game.number);
            else
                board_ = command == Command::start ? Board::none : Board::unknown;
            break;
    }
    changed();
    return change;
}

RecordChange RecordKeeper::pass(const std::string& boxText) {
    RecordChange change;
    const NumberToDeal number = numberToDeal(boxText);
    if (!number.number) {
        change.refusal = number.refusal;
        return change;
    }
    boxChanged(boxText);
    PassSlots trial = settings_.tally.passes;
    if (passGame(trial, intToText(*number.number)).listFull) {
        change.passListFull = true;
        return change;
    }
    if (board_ == Board::dealt && onBoard_.number == *number.number) boardPassed_ = true;
    log(stamped(LogEvent::pass, *number.number, false), change);
    change.boxText = intToText(nextNumber());
    changedAndSaved();
    return change;
}

RecordChange RecordKeeper::takeBackPass(int slot, const std::string& boxText) {
    PassSlots& passes = settings_.tally.passes;
    if (slot < 0 || slot >= static_cast<int>(passes.size()) || passes[static_cast<size_t>(slot)].empty())
        throw std::out_of_range("no passed game in slot " + std::to_string(slot));
    RecordChange change;
    const std::string entry = passes[static_cast<size_t>(slot)];
    const NumberToDeal retried = numberToDeal(entry);
    if (!retried.number) {
        // An entry written by hand that names no game of this version leaves
        // the list without a line in the log, and the box stays.
        ::takeBackPass(passes, slot);
        if (tryTextToInt(entry)) change.refusal = retried.refusal;
        changedAndSaved();
        return change;
    }
    boxChanged(boxText);
    const int32_t boxNumber = nextNumber();
    // A game taken back before and not yet played goes back on the list
    // (into the slot about to be freed) rather than being lost from the box.
    const bool boxWasTakenBack = settings_.afterRetry != 0 && boxNumber != *retried.number;
    log(stamped(LogEvent::retry, *retried.number, false), change);
    if (boxWasTakenBack) {
        if (board_ == Board::dealt && onBoard_.number == boxNumber) boardPassed_ = true;
        log(stamped(LogEvent::pass, boxNumber, false), change);
    }
    change.boxText = intToText(nextNumber());
    changedAndSaved();
    return change;
}

RecordChange RecordKeeper::clearTotals(const std::string& boxText) {
    RecordChange change;
    const int32_t boxNumber = numberToDeal(boxText).number.value_or(nextNumber());
    log(stamped(LogEvent::clear, boxNumber, true), change);
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

// A line's 回目 is the attempt its number is at.
LogEntry RecordKeeper::stamped(LogEvent event, int32_t gameNumber, bool counted) const {
    return log_.stamped(event, gameNumber, attemptOf(gameNumber), counted);
}

// The numbers played, kept with the 通番 the checkpoint reaches.
void RecordKeeper::keepPlayedNumbers() {
    if (files_.playedNumbersFile &&
        files_.playedNumbersFile->keep(played_.fileBytes(static_cast<uint32_t>(settings_.logMark.serial))))
        playedChanged_ = false;
}

void RecordKeeper::log(LogEntry entry, RecordChange& change) {
    entry.serial = nextSerial_;
    nextSerial_ = serialAfter(nextSerial_);
    const int32_t box = nextNumber();
    const int32_t afterRetry = settings_.afterRetry;
    applyLogLine(entry, settings_, &played_, maxGameNumber_);
    settings_.logMark.serial = static_cast<int32_t>(entry.serial);
    playedChanged_ = playedChanged_ || entry.event == LogEvent::win || entry.event == LogEvent::loss ||
                     entry.event == LogEvent::clear;
    change.logged.push_back(entry);
    const AppendOnlyFile::Outcome outcome = log_.add(entry);
    keepLogMark(outcome);
    tellIfRefused(outcome);
    const bool boxMoved = nextNumber() != box;
    const bool afterRetryMoved = settings_.afterRetry != afterRetry && settings_.afterRetry != 0;
    if (boxMoved) change.boxText = intToText(nextNumber());
    // A number the player typed stays, impossible or not; one the box moved
    // on to is passed over when asked.
    if (entry.event == LogEvent::win || entry.event == LogEvent::pass) skipPastImpossible(boxMoved, afterRetryMoved, change);
    changed();
}

// Every line queued went into the log: the next start reads from here on.
void RecordKeeper::keepLogMark(const AppendOnlyFile::Outcome& outcome) {
    if (!outcome.written || log_.pendingLines() != 0) return;
    settings_.logMark.lastLogged = settings_.logMark.serial;
    settings_.logMark.logSize = outcome.size;
}

void RecordKeeper::skipPastImpossible(bool box, bool afterRetry, RecordChange& change) {
    if (!settings_.tally.options.skipImpossible) return;
    for (const int32_t* target : {box ? &settings_.nextGame : nullptr, afterRetry ? &settings_.afterRetry : nullptr}) {
        if (!target || *target == 0) continue;
        const ImpossibleSkip skip = skipImpossible(*target, maxGameNumber_, impossibleDeals_);
        for (const int32_t skipped : skip.skipped) log(log_.stamped(LogEvent::skip, skipped, 1, false), change);
    }
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

void RecordKeeper::saveIfChanged() {
    // The checkpoint holds only what is on disk: while lines wait in memory
    // alone (the log and their own file both held), it waits with them.
    if (!unsaved_ || (log_.pendingLines() > 0 && !log_.waitingLinesKept())) return;
    unsaved_ = false;
    settings_.game = inPlay();
    if (playedChanged_) keepPlayedNumbers();
    std::vector<std::string> values = savedValues(settings_);
    if (values == lastSaveTried_) return;
    lastSaveTried_ = std::move(values);
    try {
        saveNow();
        settingsProblemTold_ = false;
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
    if (log_.pendingLines() == 0) return;
    const AppendOnlyFile::Outcome outcome = log_.writePending();
    if (!outcome.written) return;
    logProblemTold_ = false;
    keepLogMark(outcome);
    unsaved_ = true;
}

void RecordKeeper::finish(bool gameClosed) {
    // The last chance for lines the log refused; they were told already,
    // but lines kept nowhere would be lost with the program: the close waits,
    // and nothing is written that would hold them without their lines.
    retryLog();
    if (log_.pendingLines() > 0 && !log_.waitingLinesKept())
        throw AppError(files_.logPath + " に書き込めません\r\n記録の " + std::to_string(log_.pendingLines()) +
                       " 行をまだ書けず、置いておくファイルも書けません。書き込めるようにしてから閉じてください。");
    std::string failure;
    // A game that did not close keeps its own statistics: it writes them
    // itself when it ends. The program ends all the same (a hung game must
    // not keep it), and the next start tells what was left.
    if (!gameClosed) {
        settings_.untoldProblem = "前回 Tallykeep を閉じたとき、フリーセルが終了しませんでした。";
        if (settings_.tally.options.restoreGameStatistics)
            settings_.untoldProblem += "ゲームの成績は元に戻していません。";
    } else {
        // A clean close leaves nothing of an earlier one to tell.
        settings_.untoldProblem.clear();
        if (settings_.tally.options.restoreGameStatistics) {
            try {
                writeStatistics(*files_.gameStatistics, gameStatisticsAtStart_);
            } catch (const AppError& error) {
                failure = error.what();
            }
        }
    }
    settings_.game = inPlay();
    keepPlayedNumbers();
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
        retryLog();
        keepPlayedNumbers();
    } catch (const std::exception&) {
        // The lines stay where they were refused; nothing more can be done.
    }
    // The settings file keeps what the next start tells: the line breaks of
    // a message would end its value.
    for (char& c : failure)
        if (c == '\r' || c == '\n') c = ' ';
    settings_.untoldProblem = failure;
    settings_.game = inPlay();
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
