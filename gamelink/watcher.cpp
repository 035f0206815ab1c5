#include "gamelink/watcher.h"

#include <exception>

#include "common/app_error.h"
#include "common/number_text.h"
#include "gamelink/game_contract.h"

GameWatcher::Wait GameWatcher::yesWait(WindowId dialog, WindowId yesButton, Counted counted) {
    Wait wait;
    wait.kind = Wait::Kind::gameTakesYes;
    wait.dialog = dialog;
    wait.control = yesButton;
    wait.counted = counted;
    return wait;
}

// A wait sends its answer again every kGamePassPauseMs while the game has
// not taken it, and at once to a window it has not sent it to yet; between
// the sends it looks again whenever the game's windows change.
bool GameWatcher::Resend::due(uint64_t nowMs, WindowId to) {
    if (sentAtMs_ && to == sentTo_ && nowMs - *sentAtMs_ < kGamePassPauseMs) return false;
    sentAtMs_ = nowMs;
    sentTo_ = to;
    return true;
}

uint32_t GameWatcher::Resend::leftMs(uint64_t nowMs) const {
    const uint64_t since = sentAtMs_ ? nowMs - *sentAtMs_ : 0;
    return since >= kGamePassPauseMs ? 1 : static_cast<uint32_t>(kGamePassPauseMs - since);
}

TickOutcome GameWatcher::tick(Clipboard& clipboard, const TickInput& input) {
    next_ = Step::done;
    wait_ = Wait{};
    // The shutdown is about to run; the game's dialogs are left to it.
    if (desktop_.sessionEnding()) return {};

    const ProfileTexts& texts = profile_.texts;
    input_ = input;
    found_ = Lookups{};
    found_.gameNumberDialog = desktop_.findTopLevel(nullptr, texts.TitleGameNumber);
    found_.gameOverDialog = desktop_.findTopLevel(nullptr, texts.TitleGameOver);
    found_.sameGameBox = desktop_.findChild(found_.gameOverDialog, nullptr, texts.CaptionSameGame);
    found_.gameOverYes = desktop_.findChild(found_.gameOverDialog, nullptr, texts.CaptionYes);
    found_.selectGameBox = desktop_.findChild(found_.gameOverDialog, nullptr, texts.CaptionSelectGame);
    found_.confirmBox = desktop_.findTopLevel(game::kDialogClass, texts.TitleConfirm);
    found_.confirmText = desktop_.findChild(found_.confirmBox, nullptr, texts.TextConfirm);
    found_.confirmYes = desktop_.findChild(found_.confirmBox, nullptr, texts.CaptionYes);

    for (WindowId* counted : {&countedLossButton_, &countedConfirmButton_, &countedWinBox_})
        if (*counted != 0 && !desktop_.exists(*counted)) *counted = 0;
    lastTickFoundNoDialog_ = found_.gameNumberDialog == 0 && found_.gameOverDialog == 0 && found_.confirmBox == 0;
    if (found_.gameOverDialog != 0) gameOverLastSeenMs_ = desktop_.nowMs();

    const WindowId gameWindow = desktop_.findTopLevel(game::kMainWindowClass, nullptr);
    const std::optional<int32_t> told = gameWindow ? desktop_.toldGameNumber(gameWindow) : std::nullopt;
    // A game that refuses a number closes its dialog and opens a new one at
    // once: the number dealt last was not taken after all.
    std::optional<int32_t> refused;
    if (dealtLast_ && found_.gameNumberDialog != 0 && desktop_.nowMs() - dealtLastAtMs_ < kRefusalMemoryMs)
        refused = dealtLast_;
    if (found_.gameNumberDialog != 0 || desktop_.nowMs() - dealtLastAtMs_ >= kRefusalMemoryMs) dealtLast_.reset();
    next_ = Step::gameNumber;
    TickOutcome outcome = runSteps(clipboard);
    outcome.toldNumber = told;
    outcome.dealRefused = refused;
    return outcome;
}

TickOutcome GameWatcher::continueTick(Clipboard& clipboard) {
    const Wait wait = wait_;
    wait_ = Wait{};
    answeredWithSelectUnticked_ = false;
    carryOut(wait, clipboard);
    TickOutcome outcome = runSteps(clipboard);
    outcome.unknownDeal = answeredWithSelectUnticked_;
    // The game closed its dialog after the number went in: dealt, unless the
    // next tick finds it asking again.
    if (numberTaken_) {
        outcome.dealt = dealtLast_ = numberTaken_;
        dealtLastAtMs_ = desktop_.nowMs();
        numberTaken_.reset();
    }
    return outcome;
}

TickOutcome GameWatcher::runSteps(Clipboard& clipboard) {
    TickOutcome outcome;
    try {
        while (next_ != Step::done) {
            const Step step = next_;
            next_ = static_cast<Step>(static_cast<int>(step) + 1);
            if (runStep(step, clipboard, outcome)) {
                outcome.more = true;
                return outcome;
            }
        }
        lastError_.reset();
    } catch (const std::exception& error) {
        // Ticks go on while the error box is open; a dialog that keeps failing
        // the same way (a box without a number, a clipboard held by another
        // program) must not stack up one error after another.
        next_ = Step::done;
        if (!lastError_ || *lastError_ != error.what()) outcome.error = error.what();
        lastError_ = error.what();
    }
    return outcome;
}

bool GameWatcher::runStep(Step step, Clipboard& clipboard, TickOutcome& outcome) {
    switch (step) {
        case Step::gameNumber:
            if (found_.gameNumberDialog == 0) {
                if (desktop_.nowMs() - gameNumberDialogLastSeenMs_ >= kRefusalMemoryMs) refusedNumber_.reset();
                return false;
            }
            gameNumberDialogLastSeenMs_ = desktop_.nowMs();
            // A number still being typed is not taken half-typed: the dialog waits.
            if (input_.boxBeingTyped) return false;
            if (refusedNumber_ && input_.deal.number == refusedNumber_) return false;
            return enterGameNumber(clipboard);
        case Step::lostDialog:
            if (found_.gameOverDialog == 0 || found_.sameGameBox == 0 || found_.gameOverYes == 0 ||
                found_.gameOverYes == countedLossButton_)
                return false;
            countEndedGame(GameEnd::lost, outcome);
            countedLossButton_ = found_.gameOverYes;
            wait_ = yesWait(found_.gameOverDialog, found_.gameOverYes, Counted::lostDialog);
            return true;
        case Step::wonDialog:
            if (found_.gameOverDialog == 0 || found_.selectGameBox == 0 || found_.selectGameBox == countedWinBox_)
                return false;
            countEndedGame(GameEnd::won, outcome);
            countedWinBox_ = found_.selectGameBox;
            // The game's part is done at once; the player answers while the
            // win is shown and saved.
            desktop_.bringToForeground(found_.gameOverDialog);
            desktop_.post(found_.selectGameBox, game::kBmSetCheck, game::kBstChecked);
            wait_ = Wait{};
            wait_.kind = Wait::Kind::userAnswersWin;
            wait_.dialog = found_.gameOverDialog;
            wait_.control = found_.selectGameBox;
            return true;
        case Step::confirmBox:
            if (found_.confirmBox == 0 || found_.confirmText == 0 || found_.confirmYes == 0 ||
                found_.confirmYes == countedConfirmButton_)
                return false;
            countEndedGame(GameEnd::resigned, outcome);
            countedConfirmButton_ = found_.confirmYes;
            wait_ = yesWait(found_.confirmBox, found_.confirmYes, Counted::confirmBox);
            return true;
        case Step::gameGone:
            outcome.gameGone = desktop_.findTopLevel(game::kMainWindowClass, nullptr) == 0;
            return false;
        case Step::done:
            break;
    }
    return false;
}

bool GameWatcher::enterGameNumber(Clipboard& clipboard) {
    // A box that gives no number raises before anything changes.
    if (!input_.deal.number) throw AppError(input_.deal.refusal);
    const int32_t number = *input_.deal.number;

    // The player's own text goes back once the game has pasted the number.
    // Pasting whatever else the clipboard holds would deal a wrong game: when
    // the number does not stay on the clipboard, the dialog is left for the
    // next tick.
    std::string before = clipboard.text();
    if (!putOnClipboard(clipboard, intToText(number))) return false;

    wait_ = Wait{};
    wait_.kind = Wait::Kind::gameTakesNumber;
    wait_.dialog = found_.gameNumberDialog;
    wait_.enteredNumber = number;
    // A number left there by an earlier entry is no text of the player's.
    if (!before.empty() && before != intToText(number) && before != numberLeftOnClipboard_)
        wait_.clipboardBefore = std::move(before);
    wait_.askedAtMs = desktop_.nowMs();
    return true;
}

bool GameWatcher::putOnClipboard(Clipboard& clipboard, const std::string& text) {
    for (int attempt = 0; attempt < kClipboardTries; ++attempt) {
        if (attempt > 0) {
            desktop_.pause(kGamePassPauseMs);
            if (desktop_.sessionEnding()) return false;
        }
        clipboard.setText(text);
        if (clipboard.text() == text) return true;
    }
    return false;
}

// Either way the next request for the same number is a new game, not the
// game refusing it.
void GameWatcher::countEndedGame(GameEnd end, TickOutcome& outcome) {
    quickEntries_ = 0;
    dealtLast_.reset();
    outcome.ended = end;
}

void GameWatcher::carryOut(const Wait& wait, Clipboard& clipboard) {
    switch (wait.kind) {
        case Wait::Kind::gameTakesNumber:
            waitForNumberTaken(wait, clipboard);
            break;
        case Wait::Kind::gameTakesYes:
            waitForYesTaken(wait);
            break;
        case Wait::Kind::userAnswersWin:
            waitForUserAnswer(wait);
            break;
        case Wait::Kind::none:
            break;
    }
}

void GameWatcher::waitForNumberTaken(const Wait& wait, Clipboard& clipboard) {
    const char* title = profile_.texts.TitleGameNumber;
    const uint64_t start = desktop_.nowMs();
    WindowId dialog = wait.dialog;
    Resend resend;
    while (dialog != 0) {
        if (resend.due(desktop_.nowMs(), dialog)) {
            desktop_.bringToForeground(dialog);
            if (const WindowId edit = desktop_.findChild(dialog, game::kEditClass, nullptr))
                desktop_.post(edit, game::kWmPaste, 0);
            if (const WindowId button = desktop_.findChild(dialog, game::kButtonClass, nullptr))
                desktop_.post(button, game::kWmKeyDown, game::kVkReturn);
        }
        desktop_.pauseUntilGameChanges(resend.leftMs(desktop_.nowMs()));
        if (desktop_.sessionEnding()) return;
        dialog = desktop_.findTopLevel(nullptr, title);
        if (dialog != 0 && desktop_.nowMs() - start >= kGameWaitLimitMs) {
            // The game keeps asking: it refuses this number (and opens a new
            // dialog each time) or does not react at all. The dialog is left
            // to the user until the box holds something else.
            refusedNumber_ = wait.enteredNumber;
            gameNumberDialogLastSeenMs_ = desktop_.nowMs();
            return;
        }
    }
    refusedNumber_.reset();
    numberTaken_ = wait.enteredNumber;
    noteEntry(wait.enteredNumber, wait.askedAtMs, desktop_.nowMs());
    gameNumberDialogLastSeenMs_ = desktop_.nowMs();
    // The game has pasted: the clipboard is the player's again. A clipboard
    // held by another program at this moment keeps the number; the deal is
    // done either way.
    numberLeftOnClipboard_ = intToText(wait.enteredNumber);
    if (wait.clipboardBefore) {
        try {
            clipboard.setText(*wait.clipboardBefore);
            numberLeftOnClipboard_.clear();
        } catch (const AppError&) {}
    }
}

void GameWatcher::noteEntry(int32_t number, uint64_t askedAtMs, uint64_t nowMs) {
    const bool askedAgainAtOnce = number == lastEnteredNumber_ && askedAtMs - lastEnteredAtMs_ < kRefusalMemoryMs;
    quickEntries_ = askedAgainAtOnce ? quickEntries_ + 1 : 1;
    lastEnteredNumber_ = number;
    lastEnteredAtMs_ = nowMs;
    if (quickEntries_ >= kEntriesBeforeRefusal) {
        refusedNumber_ = number;
        quickEntries_ = 0;
    }
}

WindowId& GameWatcher::countedWindow(Counted counted) {
    return counted == Counted::lostDialog ? countedLossButton_ : countedConfirmButton_;
}

void GameWatcher::waitForYesTaken(const Wait& wait) {
    WindowId& counted = countedWindow(wait.counted);
    const char* yesCaption = profile_.texts.CaptionYes;
    const uint64_t start = desktop_.nowMs();
    WindowId yesButton = wait.control;
    Resend resend;
    while (yesButton != 0) {
        if (resend.due(desktop_.nowMs(), yesButton)) {
            desktop_.bringToForeground(wait.dialog);
            desktop_.post(yesButton, game::kWmKeyDown, game::kKeyY);
        }
        desktop_.pauseUntilGameChanges(resend.leftMs(desktop_.nowMs()));
        const WindowId stillThere = desktop_.findChild(wait.dialog, nullptr, yesCaption);
        if (stillThere != 0 && (desktop_.nowMs() - start >= kGameWaitLimitMs || desktop_.sessionEnding())) {
            // Counted already: the user answers this one; later ticks skip it.
            counted = stillThere;
            return;
        }
        yesButton = stillThere;
    }
    counted = 0;
}

void GameWatcher::waitForUserAnswer(const Wait& wait) {
    // The user answers the dialog in the game; this takes as long as it takes,
    // unless the Windows session ends first.
    // The box as the player left it tells what the answer dealt: ticked, the
    // game-number dialog follows a yes (and a no leaves the board); unticked,
    // a yes deals a random game, and a no cannot be told from it.
    const char* selectCaption = profile_.texts.CaptionSelectGame;
    std::optional<bool> ticked;
    while (const WindowId selectBox = desktop_.findChild(wait.dialog, nullptr, selectCaption)) {
        gameOverLastSeenMs_ = desktop_.nowMs();
        if (desktop_.sessionEnding()) return;
        if (const std::optional<bool> now = desktop_.ticked(selectBox)) ticked = now;
        desktop_.pauseForPlayer(kUserPassPauseMs);
    }
    countedWinBox_ = 0;
    answeredWithSelectUnticked_ = ticked == false;
}
