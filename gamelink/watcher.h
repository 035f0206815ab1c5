#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/game_in_play.h"
#include "gamelink/desktop.h"
#include "gamelink/os_profile.h"

// What the watcher is given, once per tick.
struct TickInput {
    // The number the next game-number dialog is to deal (the keeper of the
    // record reads it from the number box), or why there is none.
    NumberToDeal deal;
    // The player is typing into the box: the game-number dialog waits.
    bool boxBeingTyped = false;
};

// What one step of a tick saw. The keeper of the record takes it and the
// results window shows what changed before the tick goes on, so that the
// player sees a result while the tick waits for the game or the user.
struct TickOutcome {
    // The game took this number: its game-number dialog closed after the
    // number went in.
    std::optional<int32_t> dealt;
    // The number dealt last was refused after all: the game asked again at
    // once, with nothing ended in between.
    std::optional<int32_t> dealRefused;
    std::optional<GameEnd> ended;  // the game on the board ended
    // The won dialog was answered with its select box unticked: the game
    // dealt a game of its own choosing (or left its board): no number.
    bool unknownDeal = false;
    // The number of the deal on the board, as the game told it when the
    // tick began (the game that ships with Tallykeep tells it).
    std::optional<int32_t> toldNumber;
    std::optional<std::string> error;  // an error to show; the tick has ended
    bool gameGone = false;             // no game window is left: the program ends
    bool more = false;                 // call continueTick() once this is taken
};

// Answers the game's dialogs. One tick (the 100 ms timer, or an early tick
// when the game's windows change) is tick() followed by continueTick() for as
// long as the outcome says there is more.
class GameWatcher {
public:
    GameWatcher(Desktop& desktop, const OsProfile& profile) : desktop_(desktop), profile_(profile) {}

    TickOutcome tick(Clipboard& clipboard, const TickInput& input);
    // Carries out the wait of the step before (until the game has closed the
    // dialog answered, or the user has answered the won dialog), then goes on.
    TickOutcome continueTick(Clipboard& clipboard);
    // The game's windows found by the last tick: none of its dialogs was open.
    bool lastTickFoundNoDialog() const { return lastTickFoundNoDialog_; }
    // When the watcher last saw a won or lost dialog open; none: never.
    std::optional<uint64_t> gameOverLastSeenMs() const { return gameOverLastSeenMs_; }

    // Pause of each pass of a loop that waits for the game, and of the wait
    // for the user's answer to the won dialog.
    static constexpr uint32_t kGamePassPauseMs = 10;
    static constexpr uint32_t kUserPassPauseMs = 25;
    // A loop that waits for the game gives up when the game has not closed the
    // window it waits for within this time.
    static constexpr uint64_t kGameWaitLimitMs = 5000;
    // Writes of the game number to the clipboard before the dialog is left for
    // the next tick (a clipboard watcher that keeps replacing the text).
    static constexpr int kClipboardTries = 10;
    // A refused number is offered again only after the game has shown no
    // game-number dialog for this long: between closing a refused dialog and
    // opening the next one the game shows none for a moment.
    static constexpr uint64_t kRefusalMemoryMs = 1000;
    // The game refuses a number by closing its dialog and opening a new one at
    // once. The same text entered this many times in a row, each time asked for
    // again within kRefusalMemoryMs, counts as refused.
    static constexpr int kEntriesBeforeRefusal = 3;

private:
    // When a wait sends its answer to the game again.
    class Resend {
    public:
        bool due(uint64_t nowMs, WindowId to);
        // Until the next send.
        uint32_t leftMs(uint64_t nowMs) const;

    private:
        std::optional<uint64_t> sentAtMs_;
        WindowId sentTo_ = 0;
    };

    // The steps of a tick, in their order; every one is looked at in each tick.
    enum class Step { gameNumber, lostDialog, wonDialog, confirmBox, gameGone, done };
    // The windows of the game found at the start of the tick; they stand for
    // the whole tick (only the wait loops look again).
    struct Lookups {
        WindowId gameNumberDialog = 0;
        WindowId gameOverDialog = 0;
        WindowId sameGameBox = 0;
        WindowId gameOverYes = 0;
        WindowId selectGameBox = 0;
        WindowId confirmBox = 0;
        WindowId confirmText = 0;
        WindowId confirmYes = 0;
    };
    // The window that marks a dialog already counted (the yes button of a lost
    // dialog or end-this-game box, the select-game box of a won dialog): while
    // it exists the dialog is not counted again, whatever cut its answer short.
    enum class Counted { lostDialog, confirmBox };
    struct Wait {
        enum class Kind { none, gameTakesNumber, gameTakesYes, userAnswersWin } kind = Kind::none;
        WindowId dialog = 0;
        WindowId control = 0;  // the yes button, or the select-game box
        Counted counted = Counted::lostDialog;
        int32_t enteredNumber = 0;
        // The player's text on the clipboard before the number took its place.
        std::optional<std::string> clipboardBefore;
        uint64_t askedAtMs = 0;
    };

    static Wait yesWait(WindowId dialog, WindowId yesButton, Counted counted);
    TickOutcome runSteps(Clipboard& clipboard);
    // True when the step leaves a wait to carry out before the next one.
    bool runStep(Step step, Clipboard& clipboard, TickOutcome& outcome);
    bool enterGameNumber(Clipboard& clipboard);
    void countEndedGame(GameEnd end, TickOutcome& outcome);
    bool putOnClipboard(Clipboard& clipboard, const std::string& text);

    void carryOut(const Wait& wait, Clipboard& clipboard);
    void waitForNumberTaken(const Wait& wait, Clipboard& clipboard);
    void waitForYesTaken(const Wait& wait);
    void waitForUserAnswer(const Wait& wait);
    void noteEntry(int32_t number, uint64_t askedAtMs, uint64_t nowMs);
    WindowId& countedWindow(Counted counted);

    Desktop& desktop_;
    const OsProfile& profile_;

    // The tick under way.
    TickInput input_;
    Lookups found_;
    Step next_ = Step::done;
    Wait wait_;

    // A number that the game kept refusing: not entered again while the dialog
    // stays and the box still gives the same number.
    std::optional<int32_t> refusedNumber_;
    uint64_t gameNumberDialogLastSeenMs_ = 0;
    // The last number entered, when the game closed that dialog, and how many
    // times in a row the game asked again at once.
    int32_t lastEnteredNumber_ = 0;
    uint64_t lastEnteredAtMs_ = 0;
    int quickEntries_ = 0;
    WindowId countedLossButton_ = 0;
    WindowId countedConfirmButton_ = 0;
    WindowId countedWinBox_ = 0;
    // The error of the tick before; the same error is shown only once in a row.
    std::optional<std::string> lastError_;
    bool lastTickFoundNoDialog_ = true;
    std::optional<uint64_t> gameOverLastSeenMs_;
    // The number an entry left on the clipboard, where the player had no
    // text of their own to put back.
    std::string numberLeftOnClipboard_;
    bool answeredWithSelectUnticked_ = false;
    // The game closed its dialog after this number went in.
    std::optional<int32_t> numberTaken_;
    // The number reported dealt last, and when, until a tick finds the game
    // asking again (refused) or kRefusalMemoryMs passed.
    std::optional<int32_t> dealtLast_;
    uint64_t dealtLastAtMs_ = 0;
};
