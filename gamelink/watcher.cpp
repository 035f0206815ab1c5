#include "gamelink/watcher.h"

#include "common/app_error.h"
#include "common/number_text.h"
#include "gamelink/game_contract.h"

// The eight lookups of a tick, made before anything is tested; their results
// stand for the whole tick (only the wait loops look again).
struct GameWatcher::Lookups {
    WindowId gameNumberDialog = 0;
    WindowId gameOverDialog = 0;
    WindowId sameGameBox = 0;
    WindowId gameOverYes = 0;
    WindowId selectGameBox = 0;
    WindowId confirmBox = 0;
    WindowId confirmText = 0;
    WindowId confirmYes = 0;
};

// The writes to the results window's displays (number box, attempt label,
// history, counters). A write that fails must not change what the tick counts
// or answers: its error is kept and raised once the tick has done everything
// else.
class GameWatcher::DisplayWrites {
public:
    template <class Write>
    void operator()(Write&& write)
    {
        try {
            write();
        } catch (...) {
            if (!failure_)
                failure_ = std::current_exception();
        }
    }
    void raiseFirstFailure() const
    {
        if (failure_)
            std::rethrow_exception(failure_);
    }

private:
    std::exception_ptr failure_;
};

void GameWatcher::tick(WatcherContext& context)
{
    // Ticks go on while the error box is open; a dialog that keeps failing the
    // same way (a box without a number, a clipboard held by another program)
    // must not stack up one error after another.
    try {
        DisplayWrites display;
        runTick(context, display);
        display.raiseFirstFailure();
        lastError_.reset();
    } catch (const std::exception& error) {
        if (lastError_ && *lastError_ == error.what())
            return;
        lastError_ = error.what();
        throw;
    }
}

void GameWatcher::runTick(WatcherContext& context, DisplayWrites& display)
{
    Desktop& desktop = context.desktop;
    const ProfileTexts& texts = context.profile.texts;
    // The shutdown is about to run; the game's dialogs are left to it.
    if (desktop.sessionEnding())
        return;

    Lookups found;
    found.gameNumberDialog = desktop.findTopLevel(nullptr, texts.TitleGameNumber);
    found.gameOverDialog = desktop.findTopLevel(nullptr, texts.TitleGameOver);
    found.sameGameBox = desktop.findChild(found.gameOverDialog, nullptr, texts.CaptionSameGame);
    found.gameOverYes = desktop.findChild(found.gameOverDialog, nullptr, texts.CaptionYes);
    found.selectGameBox = desktop.findChild(found.gameOverDialog, nullptr, texts.CaptionSelectGame);
    found.confirmBox = desktop.findTopLevel(game::kDialogClass, texts.TitleConfirm);
    found.confirmText = desktop.findChild(found.confirmBox, nullptr, texts.TextConfirm);
    found.confirmYes = desktop.findChild(found.confirmBox, nullptr, texts.CaptionYes);

    for (WindowId* counted : {&countedLossButton_, &countedConfirmButton_, &countedWinBox_})
        if (*counted != 0 && !desktop.exists(*counted))
            *counted = 0;

    if (found.gameNumberDialog != 0) {
        const std::string boxText = context.host.numberBoxText();
        if (!refusedBoxText_ || boxText != *refusedBoxText_) {
            const uint64_t askedAtMs = desktop.nowMs();
            if (answerGameNumber(context, display, found.gameNumberDialog))
                noteEntry(boxText, askedAtMs, desktop.nowMs());
        }
        gameNumberDialogLastSeenMs_ = desktop.nowMs();
    } else if (desktop.nowMs() - gameNumberDialogLastSeenMs_ >= kRefusalMemoryMs) {
        refusedBoxText_.reset();
    }

    if (found.gameOverDialog != 0 && found.sameGameBox != 0 && found.gameOverYes != 0
        && found.gameOverYes != countedLossButton_)
        answerYes(context, display, found.gameOverDialog, found.gameOverYes, countedLossButton_);

    if (found.gameOverDialog != 0 && found.selectGameBox != 0 && found.selectGameBox != countedWinBox_)
        recordWin(context, display, found.gameOverDialog, found.selectGameBox);

    if (found.confirmBox != 0 && found.confirmText != 0 && found.confirmYes != 0
        && found.confirmYes != countedConfirmButton_)
        answerYes(context, display, found.confirmBox, found.confirmYes, countedConfirmButton_);

    if (desktop.findTopLevel(game::kMainWindowClass, nullptr) == 0)
        context.host.closeResultsWindow();
}

void GameWatcher::noteEntry(const std::string& boxText, uint64_t askedAtMs, uint64_t nowMs)
{
    const bool askedAgainAtOnce = boxText == lastEnteredText_ && askedAtMs - lastEnteredAtMs_ < kRefusalMemoryMs;
    quickEntries_ = askedAgainAtOnce ? quickEntries_ + 1 : 1;
    lastEnteredText_ = boxText;
    lastEnteredAtMs_ = nowMs;
    if (quickEntries_ >= kEntriesBeforeRefusal) {
        refusedBoxText_ = boxText;
        quickEntries_ = 0;
    }
}

bool GameWatcher::answerGameNumber(WatcherContext& context, DisplayWrites& display, WindowId dialog)
{
    Desktop& desktop = context.desktop;
    WatcherHost& host = context.host;

    // The box is converted twice, as the two decisions are made one after the
    // other; nothing changes before a conversion error.
    if (textToInt(host.numberBoxText()) != context.GameNo)
        context.TryCnt = 1;
    const int32_t boxNumber = textToInt(host.numberBoxText());
    if (boxNumber > context.profile.MaxGameNo) {
        display([&] { host.setNumberBoxText("1"); });
        context.GameNo = 1;
        context.TryCnt = 1;
    } else {
        context.GameNo = boxNumber;
    }

    // Pasting whatever else the clipboard holds would deal a wrong game: when
    // the number does not stay on the clipboard, leave the dialog for the next
    // tick.
    if (!putOnClipboard(context, intToText(context.GameNo)))
        return false;

    display([&] { host.setAttemptText(intToText(context.TryCnt)); });

    const char* title = context.profile.texts.TitleGameNumber;
    const uint64_t start = desktop.nowMs();
    while (dialog != 0) {
        desktop.bringToForeground(dialog);
        if (const WindowId edit = desktop.findChild(dialog, game::kEditClass, nullptr))
            desktop.post(edit, game::kWmPaste, 0);
        if (const WindowId button = desktop.findChild(dialog, game::kButtonClass, nullptr))
            desktop.post(button, game::kWmKeyDown, game::kVkReturn);
        desktop.pause(kGamePassPauseMs);
        if (desktop.sessionEnding())
            return false;
        dialog = desktop.findTopLevel(nullptr, title);
        if (dialog != 0 && desktop.nowMs() - start >= kGameWaitLimitMs) {
            // The game keeps asking: it refuses this number (and opens a new
            // dialog each time) or does not react at all. Leave the dialog to
            // the user until the box holds something else.
            refusedBoxText_ = host.numberBoxText();
            return false;
        }
    }
    refusedBoxText_.reset();
    return true;
}

bool GameWatcher::putOnClipboard(WatcherContext& context, const std::string& text)
{
    for (int attempt = 0; attempt < kClipboardTries; ++attempt) {
        if (attempt > 0) {
            context.desktop.pause(kGamePassPauseMs);
            if (context.desktop.sessionEnding())
                return false;
        }
        context.clipboard.setText(text);
        if (context.clipboard.text() == text)
            return true;
    }
    return false;
}

void GameWatcher::answerYes(WatcherContext& context, DisplayWrites& display, WindowId dialog,
                            WindowId yesButton, WindowId& counted)
{
    // A dealt game ended or was resigned: the next request for the same
    // number is a new game, not the game refusing it.
    quickEntries_ = 0;
    Desktop& desktop = context.desktop;
    WatcherHost& host = context.host;

    if (context.TryCnt == 1)
        host.RecordLoss();
    context.TryCnt = wrappingAdd(context.TryCnt, 1);
    counted = yesButton;
    display([&] { host.setAttemptText(intToText(context.TryCnt)); });
    display([&] { host.HyoujiUpdate(); });

    const char* yesCaption = context.profile.texts.CaptionYes;
    const uint64_t start = desktop.nowMs();
    while (yesButton != 0) {
        desktop.bringToForeground(dialog);
        desktop.post(yesButton, game::kWmKeyDown, game::kKeyY);
        desktop.pause(kGamePassPauseMs);
        const WindowId stillThere = desktop.findChild(dialog, nullptr, yesCaption);
        if (stillThere != 0 && (desktop.nowMs() - start >= kGameWaitLimitMs || desktop.sessionEnding())) {
            // Counted already: the user answers this one; later ticks skip it.
            counted = stillThere;
            return;
        }
        yesButton = stillThere;
    }
    counted = 0;
}

void GameWatcher::recordWin(WatcherContext& context, DisplayWrites& display, WindowId dialog,
                            WindowId selectBox)
{
    quickEntries_ = 0;
    Desktop& desktop = context.desktop;
    WatcherHost& host = context.host;

    std::string line = intToText(context.GameNo);
    if (context.TryCnt == 1) {
        host.RecordWin();
        line += " 勝ち";
    } else {
        line += " 負け（" + intToText(context.TryCnt) + "回）";
    }
    // No bound here: the next game-number dialog applies MaxGameNo.
    context.GameNo = wrappingAdd(context.GameNo, 1);
    context.TryCnt = 1;
    countedWinBox_ = selectBox;

    display([&] { host.insertHistoryLine(line); });
    display([&] { host.setAttemptText("1"); });
    display([&] { host.setNumberBoxText(intToText(context.GameNo)); });
    display([&] { host.HyoujiUpdate(); });

    desktop.bringToForeground(dialog);
    desktop.post(selectBox, game::kBmSetCheck, game::kBstChecked);

    // The user answers the dialog in the game; this takes as long as it takes,
    // unless the Windows session ends first.
    const char* selectCaption = context.profile.texts.CaptionSelectGame;
    while (desktop.findChild(dialog, nullptr, selectCaption) != 0) {
        if (desktop.sessionEnding())
            return;
        desktop.pause(kUserPassPauseMs);
    }
    countedWinBox_ = 0;
}
