#include "forms/results_window.h"

#include <exception>
#include <optional>
#include <utility>

#include "common/app_error.h"
#include "common/number_text.h"
#include "records/settings.h"
#include "toolkit/application.h"
#include "toolkit/message_box.h"

namespace {

constexpr Color kLightYellow = 8454143;  // 0x0080FFFF: red 255, green 255, blue 128

void setCaption(Label& label, const std::string& caption) {
    if (label.caption() != caption) label.setCaption(caption);
}

}  // namespace

ResultsWindow::ResultsWindow(ResultsWindowPorts ports) : ports_(std::move(ports)) {}

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
    // The game's last windows are the shutdown's to answer, and no tick may
    // be left waiting behind it.
    earlyTicks_.stop();
    try {
        ports_.game->close(kCloseWaitLimitMs);
        if (tally_.options.restoreGameStatistics) writeStatistics(*ports_.gameStatistics, gameStatisticsAtStart_);
        saveSettings();
        lastCloseFailed_ = false;
    } catch (const std::exception& error) {
        canClose = false;
        lastCloseFailed_ = true;
        closeInProgress_ = false;
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
    saveSettings();
    if (writeBackFailure) std::rethrow_exception(writeBackFailure);
}

void ResultsWindow::loadSettings() {
    recoverSettingsFile(*ports_.settingsFiles, ports_.settingsPath);
    const std::unique_ptr<ProfileStore> store = ports_.settingsFiles->openProfile(ports_.settingsPath);
    const Settings settings = readSettings(*store);
    tally_ = settings.tally;
    controlBarVisible_ = tally_.options.showControlBar;
    ports_.game->watcher().resume(settings.game);
    showInNumberBox(intToText(settings.game.number));
}

void ResultsWindow::saveSettings() {
    saveSettingsFile(*ports_.settingsFiles, Settings{ports_.game->watcher().inPlay(), tally_}, ports_.settingsPath);
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
    if (failure) throw AppError(*failure);
}

void ResultsWindow::apply(const TickOutcome& outcome) {
    if (outcome.result) tally_.record(*outcome.result);
    if (outcome.boxNumber) showInNumberBox(intToText(*outcome.boxNumber));
    draw();
    if (outcome.error) throw AppError(*outcome.error);
    // After a close that failed, the watcher's requests would bring the error
    // box back after every dismissal and keep the user from the menu: the next
    // attempt is the user's, made once the cause is removed.
    if (outcome.gameGone && !lastCloseFailed_) close();
}

// The number box's text for the watcher, and whether the player is typing
// into it: the box has the keyboard focus and its text changed within the
// last second (changes the program makes itself do not count).
TickInput ResultsWindow::readNumberBox() {
    TickInput input;
    input.boxText = numberBox_.text();
    const uint64_t now = GetTickCount();
    if (input.boxText != numberBoxSeen_) {
        numberBoxSeen_ = input.boxText;
        numberBoxTypedAtMs_ = now;
        numberBoxTyped_ = true;
    }
    input.boxBeingTyped = numberBoxTyped_ && GetFocus() == numberBox_.handle() &&
                          static_cast<uint32_t>(now - numberBoxTypedAtMs_) < kTypingPauseMs;
    return input;
}

void ResultsWindow::showInNumberBox(const std::string& text) {
    numberBox_.setText(text);
    numberBoxSeen_ = numberBox_.text();
}

void ResultsWindow::toggleControlBar() {
    const bool show = !controlBarVisible_;
    if (controlBar_) {
        if (show) controlBar_->showBar();
        else controlBar_->hideBar();
    }
    tally_.options.showControlBar = show;
    controlBarVisible_ = show;
    draw();
}

void ResultsWindow::controlBarHidden() {
    controlBarVisible_ = false;
    draw();
}

void ResultsWindow::toggleRestoreGameStatistics() {
    tally_.options.restoreGameStatistics = !tally_.options.restoreGameStatistics;
    draw();
}

void ResultsWindow::clearTotals() {
    tally_.clearTotals();
    draw();
}

void ResultsWindow::passGame() {
    const PassOutcome outcome = ::passGame(tally_.passes, numberBox_.text());
    if (outcome.listFull) {
        errorMessageBox("パスは10回までです");
        return;
    }
    draw();
    showInNumberBox(intToText(outcome.nextNumber));
}

void ResultsWindow::retryPassedGame(int slot) {
    const std::string number = tally_.passes[static_cast<size_t>(slot)];
    takeBackPass(tally_.passes, slot);
    showInNumberBox(number);
    draw();
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
}
