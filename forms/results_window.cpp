#include "forms/results_window.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "common/app_error.h"
#include "common/number_text.h"
#include "records/deal_difficulty.h"
#include "toolkit/application.h"
#include "toolkit/documents.h"
#include "toolkit/event_gate.h"
#include "toolkit/message_box.h"
#include "toolkit/screen_scale.h"

namespace {

constexpr Color kLightYellow = 8454143;  // 0x0080FFFF: red 255, green 255, blue 128

void setCaption(Label& label, const std::string& caption) {
    if (label.caption() != caption) label.setCaption(caption);
}

}  // namespace

ResultsWindow::ResultsWindow(ResultsWindowPorts ports) : ports_(std::move(ports)), keeper_(*ports_.keeper) {}

ResultsWindow::~ResultsWindow() {
    // Nothing asks the timer for a tick once it is gone.
    if (ports_.earlyTicks) ports_.earlyTicks->stop();
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
    // The form data's 436, and the difficulty's row below the number box
    // (dropped again when there is no deals' table).
    args.clientHeight = 452;
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
    const RecordChange loaded = keeper_.load();
    if (!keeper_.dealTable()) dropDifficultyRow();
    controlBarVisible_ = keeper_.options().showControlBar;
    show(loaded);
    draw();
    tellKeepingProblems();
    findOrStartGame();
    // The group starts shown, a game found minimised included.
    if (ports_.game->gameMinimized()) ports_.game->restore();
    groupMinimizing_.tallykeepWent(false, ports_.game->nowMs());
    startEarlyTicks();
    Application& application = Application::instance();
    // The game and the control bar go and come back with the results window:
    // a bar left on top of an empty desktop would stand for nothing.
    application.OnMinimize = [this] {
        groupMinimizing_.tallykeepWent(true, ports_.game->nowMs());
        ports_.game->minimize();
        if (controlBar_) controlBar_->hideBar();
    };
    application.OnRestore = [this] {
        groupMinimizing_.tallykeepWent(false, ports_.game->nowMs());
        ports_.game->restore();
        if (controlBar_ && keeper_.options().showControlBar) {
            controlBar_->showBar();
            controlBarVisible_ = true;
        }
        draw();
    };
    application.OnActivate = [this] { onActivate(); };
}

// Where Windows tells of the game's new dialogs, they need not wait for the
// next tick.
void ResultsWindow::startEarlyTicks() {
    earlyTickSeen_ = false;
    earlyTicksRunning_ = ports_.earlyTicks && ports_.earlyTicks->start(*ports_.game, [this] {
        earlyTickSeen_ = true;
        watchTimer_.requestTick();
    });
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
    if (ports_.earlyTicks) ports_.earlyTicks->stop();
    earlyTicksRunning_ = false;
    const bool gameClosed = ports_.game->close(kCloseWaitLimitMs);
    keeper_.boxChanged(boxText());
    try {
        keeper_.finish(gameClosed);
        lastCloseFailed_ = false;
    } catch (const std::exception& error) {
        canClose = false;
        lastCloseFailed_ = true;
        closeInProgress_ = false;
        startEarlyTicks();
        Application::instance().showError(error.what());
        return;
    }
    closeInProgress_ = false;
}

// The Windows session ends before the close has saved: it may be running
// below this, or waiting behind a handler that will not resume. Everything is
// saved here; a failure waits in the settings file for the next start, as
// nobody is left to answer a box. Windows ends the game itself.
void ResultsWindow::endSession() {
    keeper_.boxChanged(boxText());
    keeper_.finishAtSessionEnd();
}

void ResultsWindow::onTick() {
    if (!clipboard_) return;
    // A display that cannot take its new text must not cut the tick short:
    // the keeper has counted already and the watcher goes on answering the game.
    std::optional<std::string> failure;
    TickOutcome outcome = ports_.game->tick(*clipboard_, readNumberBox());
    bool waitedForThePlayer = false;
    for (;;) {
        try {
            take(outcome);
        } catch (const std::exception& error) {
            if (!failure) failure = error.what();
        }
        if (!outcome.more) break;
        waitedForThePlayer = waitedForThePlayer || outcome.ended == GameEnd::won;
        outcome = ports_.game->continueTick(*clipboard_);
    }
    if (waitedForThePlayer) dropClicksMadeWhileTheGameAsked();
    followTheGamesMinimize();
    const std::size_t waiting = keeper_.waitingLineCount();
    keeper_.retryLog();
    if (keeper_.waitingLineCount() != waiting) draw();
    // Ticks come with the game's window events where they are known to come;
    // the timer stands behind them, at its full pace only while the game
    // shows a dialog (whose answer may wait for the player's typing).
    const bool eventsBringTicks = earlyTicksRunning_ && earlyTickSeen_;
    watchTimer_.setInterval(eventsBringTicks && ports_.game->idleAtLastTick() ? kIdleTickMs : kTickMs);
    tellKeepingProblems();
    if (failure) throw AppError(*failure);
}

// A click on Tallykeep's windows made while the won dialog asked the player
// waited in the input queue behind this tick: it is no answer to the dialog,
// and no command after it (開始 would end the game the answer deals).
void ResultsWindow::dropClicksMadeWhileTheGameAsked() {
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE | PM_NOYIELD)) {}
    while (PeekMessageA(&message, nullptr, WM_NCLBUTTONDOWN, WM_NCMBUTTONDBLCLK, PM_REMOVE | PM_NOYIELD)) {}
}

// A result is in the log before the game is answered and before the window
// shows it. The window is drawn and the settings file saved when the tick no
// longer waits for the game: the game's answer goes out first (a lost game's
// yes, a game number's Enter), and the game goes on while the window draws
// its new lines and the file is written, both of which take longer than the
// game's answer. A won game's dialog (its select box ticked already) waits
// for the player, for as long as it takes: that is drawn and saved at once.
void ResultsWindow::take(const TickOutcome& outcome) {
    if (outcome.dealRefused) keeper_.dealRefused(*outcome.dealRefused);
    if (outcome.toldNumber) keeper_.boardTold(*outcome.toldNumber);
    if (outcome.unknownDeal) show(keeper_.unknownGameDealt());
    if (outcome.dealt) show(keeper_.gameDealt(*outcome.dealt));
    if (outcome.ended) show(keeper_.gameEnded(*outcome.ended, ports_.game->nowMs()));
    const bool waitsForThePlayer = outcome.ended == GameEnd::won;
    // The game opens its next dialog as soon as it has taken an answer (the
    // game-number dialog after the end-this-game box): the tick that answers
    // it goes first, and draws and saves for both. For 100 ms at most.
    const uint64_t now = ports_.game->nowMs();
    const bool gameBuildsAWindow = earlyTicksRunning_ && ports_.earlyTicks->gameBuildsAWindow();
    if (!outcome.more && !outcome.error && !outcome.gameGone && gameBuildsAWindow &&
        now - drawOwedSinceMs_.value_or(now) < kLongestDrawOwedMs) {
        if (!drawOwedSinceMs_) drawOwedSinceMs_ = now;
    } else if (!outcome.more || waitsForThePlayer) {
        drawOwedSinceMs_.reset();
        if (progress_) progress_->setNumberInPlay(keeper_.inPlay().number);
        draw();
        keeper_.saveIfChanged();
    }
    if (outcome.error) throw AppError(*outcome.error);
    // After a close that failed, the watcher's requests would bring the error
    // box back after every dismissal and keep the user from the menu: the next
    // attempt is the user's, made once the cause is removed.
    if (outcome.gameGone && !lastCloseFailed_) close();
}

void ResultsWindow::show(const RecordChange& change) {
    if (progress_)
        for (const LogEntry& entry : change.logged) progress_->add(entry);
    if (change.boxText) numberBox_.setText(*change.boxText);
}

void ResultsWindow::apply(const RecordChange& change) {
    show(change);
    draw();
    tellKeepingProblems();
    if (!change.refusal.empty()) Application::instance().showError(change.refusal);
}

void ResultsWindow::tellKeepingProblems() {
    Application& application = Application::instance();
    if (application.errorBoxOpen()) return;
    const std::string problems = keeper_.takeProblems();
    if (!problems.empty()) application.showError(problems);
}

// The number to deal from the number box, and whether the player is typing
// into it: the box has the keyboard focus and the player edited its text
// within the last second.
TickInput ResultsWindow::readNumberBox() {
    TickInput input;
    const std::string text = boxText();
    keeper_.boxChanged(text);
    input.deal = keeper_.numberToDeal(text);
    const std::optional<uint32_t> editedAt = numberBox_.lastUserEditMs();
    input.boxBeingTyped = editedAt && GetFocus() == numberBox_.handle() &&
                          static_cast<uint32_t>(GetTickCount() - *editedAt) < kTypingPauseMs;
    return input;
}

void ResultsWindow::toggleControlBar() {
    const bool show = !controlBarVisible_;
    if (controlBar_) {
        if (show)
            controlBar_->showBar();
        else
            controlBar_->hideBar();
    }
    controlBarVisible_ = show;
    apply(keeper_.setShowControlBar(show));
}

void ResultsWindow::controlBarHidden() {
    controlBarVisible_ = false;
    draw();
}

void ResultsWindow::passGame() {
    const RecordChange change = keeper_.pass(boxText());
    if (change.passListFull) {
        errorMessageBox("パスは10回までです");
        return;
    }
    apply(change);
}

void ResultsWindow::retryPassedGame(int slot) { apply(keeper_.takeBackPass(slot, boxText())); }

void ResultsWindow::clearTotals() {
    if (!askYesNo("Tallykeep の通算成績（勝ち数、負け数、連勝・連敗、対戦履歴）を 0 に戻します。\r\n"
                  "記録ファイルの行は消えません。よろしいですか？",
                  "Tallykeep"))
        return;
    apply(keeper_.clearTotals(boxText()));
}

// 開始 and やり直し send nothing while the box holds no number to deal: the
// game would end the game on the board first and then be refused one.
bool ResultsWindow::boxHoldsANumber() {
    const NumberToDeal deal = keeper_.numberToDeal(boxText());
    if (deal.number) return true;
    Application::instance().showError(deal.refusal);
    return false;
}

void ResultsWindow::startGame() {
    if (!boxHoldsANumber()) return;
    if (ports_.game->start(EventGate::runningEventWaitedMs())) keeper_.startSent(ports_.game->nowMs());
}

void ResultsWindow::restartGame() {
    if (!boxHoldsANumber()) return;
    // A press made while the game asked the player is dropped (GameLink).
    if (ports_.game->restart(EventGate::runningEventWaitedMs())) keeper_.restartSent(ports_.game->nowMs());
}

void ResultsWindow::onActivate() {
    if (controlBar_) {
        arrangeAroundGame();
        // Nothing enables the button again: on NT 4.0 it stays disabled.
        if (!ports_.game->takeBackAvailable()) controlBar_->disableTakeBack();
        if (keeper_.options().showControlBar) {
            controlBar_->showBar();
            controlBarVisible_ = true;
        } else {
            controlBar_->hideBar();
        }
    }
    draw();
}

void ResultsWindow::draw() {
    const std::string box = boxText();
    const bool recordChanged = keeper_.revision() != drawnRevision_;
    const std::size_t waiting = keeper_.waitingLineCount();
    if (!recordChanged && controlBarVisible_ == drawnControlBarVisible_ && box == drawnBoxText_ &&
        waiting == drawnWaitingLines_)
        return;

    // Lines the log refused (a spreadsheet holds it) are told quietly, beside
    // the history they belong to, until the log takes them; and so is a game
    // in progress whose number is not the box's (the box moved on, or the
    // player chose another), since its result goes under its own number.
    const std::optional<int32_t> onBoard = keeper_.otherNumberOnBoard();
    std::string historyCaption = "対戦履歴";
    if (onBoard) historyCaption += " 盤上" + intToText(*onBoard);
    if (waiting != 0) historyCaption += " 記録待ち" + intToText(waiting) + "行";
    if (historyCaption != historyGroup_.caption()) historyGroup_.setCaption(historyCaption);
    drawnWaitingLines_ = waiting;

    if (recordChanged) {
        const Tally& tally = keeper_.tally();
        const ScoreLedger& s = tally.ledger;
        setCaption(runPercentLabel_, percentText(s.runWins, s.runLosses));
        setCaption(runWonLabel_, intToText(s.runWins));
        setCaption(runLostLabel_, intToText(s.runLosses));
        setCaption(totalPercentLabel_, percentText(s.won, s.lost));
        setCaption(totalWonLabel_, intToText(s.won));
        setCaption(totalLostLabel_, intToText(s.lost));
        setCaption(longestWinLabel_, intToText(s.wins));
        setCaption(longestLossLabel_, intToText(s.losses));
        setCaption(currentStreakLabel_, streakText(s.streak, s.stype));
        // A deal nobody can vouch for has no number and no attempt to show.
        const std::optional<int32_t> attempt = keeper_.attemptShown();
        setCaption(attemptLabel_, attempt ? intToText(*attempt) : std::string());
        placeAttemptSuffix(attempt.has_value());

        if (tally.history.lines() != historyDrawn_) {
            historyDrawn_ = tally.history.lines();
            // The memo's own empty line stays the last.
            std::vector<std::string> lines = historyDrawn_;
            lines.emplace_back();
            historyMemo_.setLines(lines);
        }

        // An empty slot's item is absent from the submenu; with every slot
        // empty the submenu itself is greyed, as it has nothing to open.
        bool anyPassed = false;
        for (UINT command = cmRetryFirst; command <= cmRetryLast; ++command) {
            const std::string& passed = tally.passes[command - cmRetryFirst];
            MenuItem& item = menuItem(command);
            if (item.caption() != passed) item.setCaption(passed);
            if (item.visible() != !passed.empty()) item.setVisible(!passed.empty());
            anyPassed = anyPassed || !passed.empty();
        }
        MenuItem& retryMenu = menuItem(cmRetryMenu);
        if (retryMenu.enabled() != anyPassed) retryMenu.setEnabled(anyPassed);

        const Options& options = keeper_.options();
        MenuItem& restoreItem = menuItem(cmRestoreGameStatistics);
        if (restoreItem.checked() != options.restoreGameStatistics)
            restoreItem.setChecked(options.restoreGameStatistics);
        MenuItem& skipItem = menuItem(cmSkipImpossible);
        if (skipItem.checked() != options.skipImpossible) skipItem.setChecked(options.skipImpossible);
    }
    MenuItem& controlBarItem = menuItem(cmControlBar);
    if (controlBarItem.checked() != controlBarVisible_) controlBarItem.setChecked(controlBarVisible_);

    drawBoxNumber(box);

    drawnRevision_ = keeper_.revision();
    drawnControlBarVisible_ = controlBarVisible_;
    drawnBoxText_ = box;
}

// Without the deals' table there is no difficulty to show: its row goes, and
// the window is laid out as the form data has it, the two groups in their
// places and the client area 436 pixels high (at 96 pixels per inch).
void ResultsWindow::dropDifficultyRow() {
    constexpr int kResultsGroupTop = 38;  // the form data's place of "成績"
    const int row = resultsGroup_.top() - scaledToDpi(kResultsGroupTop, screenPixelsPerInch());
    if (row <= 0) return;
    difficultyLabel_.setVisible(false);
    for (Control* moved : {static_cast<Control*>(&resultsGroup_), static_cast<Control*>(&historyGroup_)}) {
        Rect place = moved->bounds();
        place.top -= row;
        moved->setBounds(place);
    }
    Rect window = bounds();
    window.height -= row;
    setBounds(window);
}

// A deal that cannot be won shows in red, in the box and beside it. Nothing
// is said of a deal the table has no answer for, or without a table.
void ResultsWindow::drawBoxNumber(const std::string& box) {
    const std::optional<int32_t> number = tryTextToInt(box);
    const bool impossible = number && keeper_.isImpossible(*number);
    numberBox_.setTextColor(impossible ? clRed : clBlue);
    const DifficultyLevel level = number ? keeper_.difficultyOf(*number) : DifficultyLevel::unknown;
    setCaption(difficultyLabel_, difficultyWord(level));
    difficultyLabel_.setTextColor(level == DifficultyLevel::cannotBeWon ? clRed : clBlack);
}

// "番号不明" is wider than "回目": it ends at the panel's inner edge instead
// of where "回目" ends, and never covers the number box.
void ResultsWindow::placeAttemptSuffix(bool numberKnown) {
    Label& label = attemptSuffixLabel_;
    if (!attemptSuffixRight_) attemptSuffixRight_ = label.left() + label.width();
    const char* caption = numberKnown ? "回目" : "番号不明";
    if (label.caption() == caption) return;
    label.setCaption(caption);
    if (numberKnown) {
        label.setLeft(*attemptSuffixRight_ - label.width());
    } else {
        RECT inside{};
        GetClientRect(numberPanel_.handle(), &inside);
        label.setLeft(std::max(numberBox_.left() + numberBox_.width(), static_cast<int>(inside.right) - label.width()));
    }
}

// The game, the control bar and this window together, on the screen; none
// without a game window.
std::optional<Rect> ResultsWindow::groupBox() {
    std::optional<Rect> group = ports_.game->gameBox();
    if (!group) return std::nullopt;
    const auto add = [&group](const Rect& box) {
        const int left = std::min(group->left, box.left);
        const int top = std::min(group->top, box.top);
        const int right = std::max(group->right(), box.right());
        const int bottom = std::max(group->bottom(), box.bottom());
        group = Rect{left, top, right - left, bottom - top};
    };
    add(bounds());
    if (controlBar_ && controlBarVisible_) add(controlBar_->barBox());
    return group;
}

// The manual in the player's program for text files, else Notepad.
void ResultsWindow::openManual() {
    const std::string& path = ports_.manualPath;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        errorMessageBox(path + " が見つかりません");
        return;
    }
    if (!openDocument(path)) errorMessageBox(path + " を開けません");
}

void ResultsWindow::showVersion() {
    informationMessageBox("Tallykeep バージョン " + programVersion().value_or("?") + "\r\nフリーセルの成績を記録します");
}

void ResultsWindow::openProgress() {
    if (!progress_) {
        ProgressWindowPorts ports;
        ports.logPath = keeper_.logPath();
        ports.dealTable = keeper_.dealTable();
        ports.chooseNumber = [this](int32_t number) {
            const NumberToDeal deal = keeper_.numberToDeal(intToText(number));
            if (!deal.number) {
                Application::instance().showError(deal.refusal);
                return;
            }
            numberBox_.setText(intToText(number));
            draw();
        };
        ports.placeChanged = [this](const Options::Place& place) {
            keeper_.setProgressPlace(place);
            tellKeepingProblems();
        };
        ports.colouredByDifficulty = keeper_.options().progressByDifficulty;
        ports.colouringChanged = [this](bool byDifficulty) {
            keeper_.setProgressByDifficulty(byDifficulty);
            tellKeepingProblems();
        };
        progress_ = std::make_unique<ProgressWindow>(handle(), std::move(ports));
    }
    progress_->open(keeper_.maxGameNumber(), keeper_.inPlay().number, keeper_.options().progressWindow,
                    keeper_.waitingLines(), groupBox());
}
