#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "freecell/cards.h"
#include "freecell/event_log.h"
#include "freecell/mouse_play.h"
#include "freecell/rules.h"
#include "freecell/statistics.h"

namespace freecell {

struct LostAnswer {
    bool yes = false;
    bool sameGame = true;
};

struct WonAnswer {
    bool yes = false;
    bool selectGame = false;
};

// The game's modal dialogs. Each call returns when the user (or Tallykeep)
// has answered.
class GameUi {
public:
    virtual ~GameUi() = default;
    // The end-this-game box; true for yes.
    virtual bool confirmEndGame() = 0;
    // The game-number dialog with `initial` in its field: the field's text on
    // OK, none on Cancel.
    virtual std::optional<std::string> askGameNumber(const std::string& initial) = 0;
    virtual LostAnswer askAfterLoss() = 0;
    virtual WonAnswer askAfterWin(bool selectGame) = 0;
    virtual void boardChanged() = 0;
    // A click asked for a move the rules forbid.
    virtual void moveRefused() = 0;
};

// The game's commands and the rules behind them, free of any window. Every
// state change goes to the log.
class FreeCellGame {
public:
    FreeCellGame(GameUi& ui, StatisticsStore& store, EventLog& log, int32_t maxGameNumber,
                 std::function<int32_t()> randomGameNumber);

    void newGame();     // F2
    void selectGame();  // F3
    void restart();     // Game menu, Restart
    // WM_CLOSE and the Exit item; true when the window may go.
    bool close();
    // F10: takes back the last move not yet taken back, with the cards that
    // went home by themselves after it, one move a time back to the deal.
    void undo();
    // The player's mouse; `hit` is what the pointer was on, if anything.
    void click(const std::optional<Hit>& hit);
    void doubleClick(const std::optional<Hit>& hit);
    // The selected cards, dragged, dropped on `target` (none: beside every
    // place): the move is played when the rules allow it. False when it was
    // not, and the cards go back where they were.
    bool drop(const std::optional<Location>& target);
    // A drag that ends without a drop (the window lost the mouse): the
    // selected cards go back.
    void cancelSelection();
    // Test commands: one legal move (into a free cell when one is free), and
    // the game won or lost at once.
    void makeMove();
    void win();
    void lose();

    bool hasGame() const { return number_.has_value(); }
    int32_t number() const { return number_.value_or(0); }
    int moves() const { return moves_; }
    bool inProgress() const { return inProgress_; }
    bool selectFlag() const { return selectFlag_; }
    bool busy() const { return busy_; }
    const Board& board() const { return board_; }
    const std::optional<Selection>& selection() const { return selection_; }

    // "game=5 moves=2 inprogress=1 select=0"
    std::string stateText() const;

    // Runs a command unless another one is still waiting in a dialog: posted
    // messages still reach the main window while one of its dialogs is open.
    void run(const char* command, const std::function<void()>& body);

private:
    // A move the rules refuse: logged for the tests, and the game beeps.
    void refuse(const std::optional<Hit>& hit);
    bool resignIfInProgress();
    // Plays a legal move and the automatic moves after it; a game that is
    // then won or stuck ends with its dialog.
    void play(const Move& move);
    void endWon();
    void endLost();
    void askNumberAndDeal();
    void deal(int32_t number);
    void nextGameAfterResult();
    void recordWin(int32_t number);
    void recordLoss(int32_t number);
    void changed();

    GameUi& ui_;
    StatisticsStore& store_;
    EventLog& log_;
    int32_t maxGameNumber_;
    std::function<int32_t()> randomGameNumber_;
    ResultRules rules_;

    std::optional<int32_t> number_;
    Board board_;
    // The board before each move of this deal, the latest last.
    std::vector<Board> history_;
    std::optional<Selection> selection_;
    int moves_ = 0;
    bool inProgress_ = false;
    bool selectFlag_ = false;
    bool busy_ = false;
};

}  // namespace freecell
