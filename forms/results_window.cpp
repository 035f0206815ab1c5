#include "forms/results_window.h"

#include <exception>
#include <optional>
#include <utility>

#include "common/app_error.h"
#include "common/number_text.h"
#include "records/impossible_deals.h"
#include "records/settings.h"
#include "toolkit/application.h"
#include "toolkit/message_box.h"

namespace {

constexpr Color kLightYellow = 8454143;  // 0x0080FFFF: red 255, green 255, blue 128

void setCaption(Label& label, const std::string& caption) {
    if (label.caption() != caption) label.setCaption(caption);
}

}  // namespace

ResultsWindow::ResultsWindow(ResultsWindowPorts ports)
    : ports_(std::move(ports)), log_(*ports_.logFile, *ports_.clock) {}

ResultsWindow::~ResultsWindow() {
    Application& application = Application::instance();
    if (application.mainForm() == this) {
        application.OnMinimize = nullptr;
        application.OnRestore = nullptr;
        application.OnActivate = nullptr;
    }
}

void ResultsWindow::create() {
    OnCreate = [this] { startUp(); };
    OnCloseQuery = [this](bool& canClose) { shutDown(canClose); };
    OnEndSession = [this] { endSession(); };
    FormArgs args;
    args.caption = "成績";
    args.clientWidth = 151;
    args.clientHeight = 436;
    args.left = 789;
    args.top = 231;
    args.border = BorderStyle::bsSingle;
    args.color = kLightYellow;
    args.font = FontSpec{-12, false, clWindowText};
    Form::create(args, [this] {
        clipboard_ = ports_.makeClipboard(handle());
        createControls();
    });
}

// The game's texts were chosen before the window existed: the watcher ticks
// inside every message box from here on, and a lookup without the texts would
// match unrelated windows.
void ResultsWindow::startUp() {
    loadSettings();
    // A snapshot not taken whole concerns only the write-back at the close,
    // which leaves the values not read alone: start-up goes on, so that the
    // game is still found and watched.
    try {
        readStatistics(*ports_.gameStatistics, gameStatisticsAtStart_);
    } catch (const AppError& error) {
        Application::instance().showError(error.what());
    }
    draw();
    findOrStartGame();
    // Where Windows tells of the game's new dialogs, they need not wait for
    // the next tick.
    earlyTicks_.start(*ports_.game);
    Application& application = Application::instance();
    application.OnMinimize = [this] { ports_.game->minimize(); };
    application.OnRestore = [this] { ports_.game->restore(); };
    application.OnActivate = [this] { onActivate(); };
}

void ResultsWindow::findOrStartGame() {
    GameLink& game = *ports_.game;
    if (!game.findOrStart()) return;
    // Closed with its close box, the box lets start-up go on without a game;
    // the first tick then ends the program. OK runs the shutdown here, before
    // the game's window is looked for again: a close would wait behind the
    // start-up and then close a game that the user started while the box was
    // open. Start-up is not over, so the program does not end here.
    if (errorMessageBox("Freecell Not Found") == BoxResult::ok) {
        bool canClose = true;
        shutDown(canClose);
    }
    game.findAgain();
}

void ResultsWindow::shutDown(bool& canClose) {
    // Once the game is gone the watcher asks for a close on every tick, also
    // while the error box of a failed attempt is open: one attempt at a time.
    if (closeInProgress_) {
        canClose = false;
        return;
    }
    closeInProgress_ = true;
    // The game's last windows (its end-this-game box) are the shutdown's to
    // answer: no tick asked for by their window events while the close
    // waits may run after it and count them as a resigned game. (The timer's
    // own ticks come after the end the close asks for.)
    earlyTicks_.stop();
    try {
        ports_.game->close(kCloseWaitLimitMs);
        if (tally_.options.restoreGameStatistics) writeStatistics(*ports_.gameStatistics, gameStatisticsAtStart_);
        // The last chance for lines the log refused; they were told already.
        log_.writePending();
        saveSettings();
        lastCloseFailed_ = false;
    } catch (const std::exception& error) {
        canClose = false;
        lastCloseFailed_ = true;
        closeInProgress_ = false;
        earlyTicks_.start(*ports_.game);
        Application::instance().showError(error.what());
        return;
    }
    closeInProgress_ = false;
}

// The Windows session ends before the close has saved: it may be running
// below this, or waiting behind a handler that will not resume. Everything is
// saved here, the settings even when the write-back fails, since no later
// close will try again; Windows ends the game itself.
void ResultsWindow::endSession() {
    std::exception_ptr writeBackFailure;
    try {
        if (tally_.options.restoreGameStatistics) writeStatistics(*ports_.gameStatistics, gameStatisticsAtStart_);
    } catch (...) {
        writeBackFailure = std::current_exception();
    }
    log_.writePending();
    saveSettings();
    if (writeBackFailure) std::rethrow_exception(writeBackFailure);
}

void ResultsWindow::loadSettings() {
    recoverSettingsFile(*ports_.settingsFiles, ports_.settingsPath);
    const std::unique_ptr<ProfileStore> store = ports_.settingsFiles->openProfile(ports_.settingsPath);
    const Settings settings = readSettings(*store);
    tally_ = settings.tally;
    lastSaveTried_ = savedValues(settings);
    controlBarVisible_ = tally_.options.showControlBar;
    ports_.game->watcher().resume(settings.game);
    showInNumberBox(intToText(settings.game.number));
}

void ResultsWindow::saveSettings() {
    saveSettingsFile(*ports_.settingsFiles, Settings{ports_.game->watcher().inPlay(), tally_}, ports_.settingsPath);
}

void ResultsWindow::saveWhenChanged() {
    std::vector<std::string> values = savedValues(Settings{ports_.game->watcher().inPlay(), tally_});
    if (values == lastSaveTried_) return;
    // A save that fails is tried again with the next change, or at the close:
    // the tally stays in memory meanwhile.
    lastSaveTried_ = std::move(values);
    try {
        saveSettings();
    } catch (const AppError& error) {
        if (settingsProblemTold_) return;
        settingsProblemTold_ = true;
        const std::string reason = ports_.settingsFiles->failureReason();
        untoldProblems_.push_back(std::string(error.what()) + (reason.empty() ? "" : "\r\n" + reason) +
                                  "\r\n成績は覚えておき、書き込めるようになったときに保存します。");
    }
}

void ResultsWindow::writeToLog(const LogEntry& entry) {
    const AppendOnlyFile::Outcome outcome = log_.add(entry);
    if (progress_) progress_->add(entry);
    if (outcome.written || logProblemTold_) return;
    logProblemTold_ = true;
    untoldProblems_.push_back(
        ports_.logPath + " に書き込めません\r\n" + outcome.reason +
        "\r\n記録はそのまま続けます。書けなかった行は、書き込めるようになったときに書き足します。");
}

// The attempt at a number not in play is the first.
LogEntry ResultsWindow::stampedEntry(LogEvent event, int32_t gameNumber, bool counted) const {
    const GameInPlay& inPlay = ports_.game->watcher().inPlay();
    return log_.stamped(event, gameNumber, gameNumber == inPlay.number ? inPlay.attempt : 1, counted);
}

void ResultsWindow::tellKeepingProblems() {
    Application& application = Application::instance();
    if (untoldProblems_.empty() || application.errorBoxOpen()) return;
    std::string text;
    for (const std::string& problem : untoldProblems_) text += (text.empty() ? "" : "\r\n\r\n") + problem;
    untoldProblems_.clear();
    application.showError(text);
}

void ResultsWindow::onTick() {
    if (!clipboard_) return;
    GameWatcher& watcher = ports_.game->watcher();
    // A display that cannot take its new text must not cut the tick short:
    // the watcher has counted already and goes on answering the game.
    std::optional<std::string> failure;
    TickOutcome outcome = watcher.tick(*clipboard_, readNumberBox());
    for (;;) {
        try {
            apply(outcome);
        } catch (const std::exception& error) {
            if (!failure) failure = error.what();
        }
        if (!outcome.more) break;
        outcome = watcher.continueTick(*clipboard_);
    }
    tellKeepingProblems();
    if (failure) throw AppError(*failure);
}

// A result is in the log before the game is answered and before the window
// shows it. The window is drawn and the settings file saved when the tick no
// longer waits for the game: the game's answer goes out first (a lost game's
// yes, a game number's Enter), and the game goes on while the window draws
// its new lines and the file is written, both of which take longer than the
// game's answer. A won game's dialog (its select box ticked already) waits
// for the player, for as long as it takes: that is drawn and saved at once.
void ResultsWindow::apply(const TickOutcome& outcome) {
    if (outcome.result) {
        tally_.record(*outcome.result);
        writeToLog(entryForResult(*outcome.result, ports_.clock->now()));
    }
    if (outcome.boxNumber) showInNumberBox(intToText(moveOnFromImpossible(*outcome.boxNumber)));
    const bool waitsForThePlayer = outcome.result && outcome.result->won;
    // The game opens its next dialog as soon as it has taken an answer (the
    // game-number dialog after the end-this-game box): the tick that answers
    // it goes first, and draws and saves for both. For 100 ms at most.
    const uint64_t now = ports_.game->desktop().nowMs();
    if (!outcome.more && !outcome.error && !outcome.gameGone && earlyTicks_.gameBuildsAWindow() &&
        now - drawOwedSinceMs_.value_or(now) < kLongestDrawOwedMs) {
        if (!drawOwedSinceMs_) drawOwedSinceMs_ = now;
    } else if (!outcome.more || waitsForThePlayer) {
        drawOwedSinceMs_.reset();
        if (progress_) progress_->setNumberInPlay(ports_.game->watcher().inPlay().number);
        draw();
        saveWhenChanged();
    }
    if (outcome.error) throw AppError(*outcome.error);
    // After a close that failed, the watcher's requests would bring the error
    // box back after every dismissal and keep the user from the menu: the next
    // attempt is the user's, made once the cause is removed.
    if (outcome.gameGone && !lastCloseFailed_) close();
}

// The number box's text for the watcher, and whether the player is typing
// into it: the box has the keyboard focus and the player edited its text
// within the last second.
TickInput ResultsWindow::readNumberBox() {
    TickInput input;
    input.boxText = numberBox_.text();
    const std::optional<uint32_t> editedAt = numberBox_.lastUserEditMs();
    input.boxBeingTyped = editedAt && GetFocus() == numberBox_.handle() &&
                          static_cast<uint32_t>(GetTickCount() - *editedAt) < kTypingPauseMs;
    return input;
}

void ResultsWindow::showInNumberBox(const std::string& text) { numberBox_.setText(text); }

void ResultsWindow::toggleControlBar() {
    const bool show = !controlBarVisible_;
    if (controlBar_) {
        if (show)
            controlBar_->showBar();
        else
            controlBar_->hideBar();
    }
    tally_.options.showControlBar = show;
    controlBarVisible_ = show;
    saveWhenChanged();
    draw();
    tellKeepingProblems();
}

void ResultsWindow::controlBarHidden() {
    controlBarVisible_ = false;
    draw();
}

void ResultsWindow::toggleRestoreGameStatistics() {
    tally_.options.restoreGameStatistics = !tally_.options.restoreGameStatistics;
    saveWhenChanged();
    draw();
    tellKeepingProblems();
}

// The log keeps what was cleared: the totals can be counted again from it.
void ResultsWindow::clearTotals() {
    const GameInPlay& inPlay = ports_.game->watcher().inPlay();
    const int32_t boxNumber = tryTextToInt(numberBox_.text()).value_or(inPlay.number);
    writeToLog(log_.stamped(LogEvent::clear, boxNumber, inPlay.attempt, true));
    tally_.clearTotals();
    saveWhenChanged();
    draw();
    tellKeepingProblems();
}

void ResultsWindow::passGame() {
    const std::string boxText = numberBox_.text();
    const PassOutcome outcome = ::passGame(tally_.passes, boxText);
    if (outcome.listFull) {
        errorMessageBox("パスは10回までです");
        return;
    }
    writeToLog(stampedEntry(LogEvent::pass, textToInt(boxText), false));
    saveWhenChanged();
    draw();
    showInNumberBox(intToText(moveOnFromImpossible(outcome.nextNumber)));
    tellKeepingProblems();
}

// An entry written by hand that is no number names no game: it leaves the
// list without a line in the log.
void ResultsWindow::retryPassedGame(int slot) {
    const std::string number = tally_.passes[static_cast<size_t>(slot)];
    takeBackPass(tally_.passes, slot);
    if (const std::optional<int32_t> retried = tryTextToInt(number))
        writeToLog(stampedEntry(LogEvent::retry, *retried, false));
    showInNumberBox(number);
    saveWhenChanged();
    draw();
    tellKeepingProblems();
}

void ResultsWindow::onActivate() {
    if (controlBar_) {
        arrangeAroundGame();
        // Nothing enables the button again: on NT 4.0 it stays disabled.
        if (!ports_.game->takeBackAvailable()) controlBar_->disableTakeBack();
        if (tally_.options.showControlBar) {
            controlBar_->showBar();
            controlBarVisible_ = true;
        } else {
            controlBar_->hideBar();
        }
    }
    draw();
}

void ResultsWindow::draw() {
    const ScoreLedger& s = tally_.ledger;
    setCaption(runPercentLabel_, percentText(s.runWins, s.runLosses));
    setCaption(runWonLabel_, intToText(s.runWins));
    setCaption(runLostLabel_, intToText(s.runLosses));
    setCaption(totalPercentLabel_, percentText(s.won, s.lost));
    setCaption(totalWonLabel_, intToText(s.won));
    setCaption(totalLostLabel_, intToText(s.lost));
    setCaption(longestWinLabel_, intToText(s.wins));
    setCaption(longestLossLabel_, intToText(s.losses));
    setCaption(currentStreakLabel_, streakText(s.streak, s.stype));
    setCaption(attemptLabel_, intToText(ports_.game->watcher().inPlay().attempt));

    if (tally_.history.lines() != historyDrawn_) {
        historyDrawn_ = tally_.history.lines();
        // The memo's own empty line stays the last.
        std::vector<std::string> lines = historyDrawn_;
        lines.emplace_back();
        historyMemo_.setLines(lines);
    }

    // An empty slot's item is absent from the submenu; with every slot empty
    // the submenu itself is greyed, as it has nothing to open.
    bool anyPassed = false;
    for (UINT command = cmRetryFirst; command <= cmRetryLast; ++command) {
        const std::string& passed = tally_.passes[command - cmRetryFirst];
        MenuItem& item = menuItem(command);
        if (item.caption() != passed) item.setCaption(passed);
        if (item.visible() != !passed.empty()) item.setVisible(!passed.empty());
        anyPassed = anyPassed || !passed.empty();
    }
    MenuItem& retryMenu = menuItem(cmRetryMenu);
    if (retryMenu.enabled() != anyPassed) retryMenu.setEnabled(anyPassed);

    MenuItem& controlBarItem = menuItem(cmControlBar);
    if (controlBarItem.checked() != controlBarVisible_) controlBarItem.setChecked(controlBarVisible_);
    MenuItem& restoreItem = menuItem(cmRestoreGameStatistics);
    if (restoreItem.checked() != tally_.options.restoreGameStatistics)
        restoreItem.setChecked(tally_.options.restoreGameStatistics);
    MenuItem& skipItem = menuItem(cmSkipImpossible);
    if (skipItem.checked() != tally_.options.skipImpossible) skipItem.setChecked(tally_.options.skipImpossible);

    // A known impossible deal in the box shows in red.
    const std::optional<int32_t> boxNumber = tryTextToInt(numberBox_.text());
    const bool impossible = boxNumber && isKnownImpossible(*boxNumber, ports_.game->profile().maxGameNumber);
    numberBox_.setTextColor(impossible ? clRed : clBlue);
}

void ResultsWindow::toggleSkipImpossible() {
    tally_.options.skipImpossible = !tally_.options.skipImpossible;
    saveWhenChanged();
    draw();
    tellKeepingProblems();
}

// After a win the game in play moves with the box, so that the settings file
// keeps the number the game will be asked for; after a pass it stays, as a
// pass leaves it.
int32_t ResultsWindow::moveOnFromImpossible(int32_t next) {
    if (!tally_.options.skipImpossible) return next;
    const ImpossibleSkip skip = skipKnownImpossible(next, ports_.game->profile().maxGameNumber);
    if (skip.skipped.empty()) return next;
    for (const int32_t skipped : skip.skipped) writeToLog(log_.stamped(LogEvent::skip, skipped, 1, false));
    GameWatcher& watcher = ports_.game->watcher();
    if (watcher.inPlay().number == next) watcher.resume(GameInPlay{skip.next, 1});
    return skip.next;
}

void ResultsWindow::openProgress() {
    if (!progress_) {
        ProgressWindowPorts ports;
        ports.logPath = ports_.logPath;
        ports.chooseNumber = [this](int32_t number) {
            showInNumberBox(intToText(number));
            draw();
        };
        ports.placeChanged = [this](const Options::Place& place) {
            tally_.options.progressWindow = place;
            saveWhenChanged();
            tellKeepingProblems();
        };
        progress_ = std::make_unique<ProgressWindow>(handle(), std::move(ports));
    }
    progress_->open(ports_.game->profile().maxGameNumber, ports_.game->watcher().inPlay().number,
                    tally_.options.progressWindow);
}
