#include "standin/freecell_game.h"

#include <utility>

#include "standin/game_texts.h"

namespace standin {

FreeCellGame::FreeCellGame(GameUi& ui, StatisticsStore& store, EventLog& log, int32_t maxGameNumber,
                           std::function<int32_t()> randomGameNumber)
    : ui_(ui), store_(store), log_(log), maxGameNumber_(maxGameNumber),
      randomGameNumber_(std::move(randomGameNumber)) {}

void FreeCellGame::run(const char* command, const std::function<void()>& body) {
    // Posted messages still reach the main window while one of its dialogs is
    // open; a second command then would nest dialogs the game never shows.
    if (busy_) {
        log_.write("busy", command);
        return;
    }
    busy_ = true;
    body();
    busy_ = false;
    changed();  // the select flag, for one, changes without a deal
}

void FreeCellGame::newGame() {
    run("new", [this] {
        if (!resignIfInProgress()) return;
        selectFlag_ = false;
        deal(randomGameNumber_());
    });
}

void FreeCellGame::selectGame() {
    run("select", [this] {
        if (!resignIfInProgress()) return;
        selectFlag_ = true;
        askNumberAndDeal();
    });
}

void FreeCellGame::restart() {
    run("restart", [this] {
        if (!number_) {
            log_.write("ignored", "restart no-game");
            return;
        }
        if (!resignIfInProgress()) return;
        log_.write("restart", std::to_string(*number_));
        deal(*number_);
    });
}

bool FreeCellGame::close() {
    bool mayClose = false;
    run("close", [&] {
        mayClose = resignIfInProgress();
        if (mayClose) log_.write("exit");
    });
    return mayClose;
}

void FreeCellGame::undo() {
    run("undo", [this] {
        if (!inProgress_ || !undoBoard_) {
            log_.write("ignored", "undo nothing-to-undo");
            return;
        }
        board_ = *undoBoard_;
        undoBoard_.reset();
        --moves_;
        log_.write("undo", "moves=" + std::to_string(moves_));
        changed();
    });
}

void FreeCellGame::makeMove() {
    run("move", [this] {
        if (!inProgress_) {
            log_.write("ignored", "move no-game");
            return;
        }
        Board before = board_;
        if (!makeOneMove(board_)) {
            log_.write("ignored", "move none-possible");
            return;
        }
        undoBoard_ = std::move(before);
        ++moves_;
        log_.write("move", "moves=" + std::to_string(moves_));
        changed();
    });
}

void FreeCellGame::win() {
    run("win", [this] {
        if (!inProgress_) {
            log_.write("ignored", "win no-game");
            return;
        }
        finishBoard(board_);
        undoBoard_.reset();
        inProgress_ = false;
        log_.write("won", std::to_string(*number_));
        recordWin(*number_);
        changed();
        log_.write("dialog-open", std::string("won select=") + (selectFlag_ ? "1" : "0"));
        const WonAnswer answer = ui_.askAfterWin(selectFlag_);
        if (!answer.yes) {
            log_.write("answer", "won no");
            log_.write("frozen", std::to_string(*number_));
            return;
        }
        log_.write("answer", std::string("won yes select=") + (answer.selectGame ? "1" : "0"));
        selectFlag_ = answer.selectGame;
        nextGameAfterResult();
    });
}

void FreeCellGame::lose() {
    run("lose", [this] {
        if (!inProgress_) {
            log_.write("ignored", "lose no-game");
            return;
        }
        inProgress_ = false;
        undoBoard_.reset();
        log_.write("lost", std::to_string(*number_));
        recordLoss(*number_);
        changed();
        log_.write("dialog-open", "lost");
        const LostAnswer answer = ui_.askAfterLoss();
        if (!answer.yes) {
            log_.write("answer", "lost no");
            log_.write("frozen", std::to_string(*number_));
            return;
        }
        log_.write("answer", std::string("lost yes same=") + (answer.sameGame ? "1" : "0"));
        if (answer.sameGame) {
            deal(*number_);
        } else {
            nextGameAfterResult();
        }
    });
}

std::string FreeCellGame::stateText() const {
    return "game=" + std::to_string(number()) + " moves=" + std::to_string(moves_) +
           " inprogress=" + (inProgress_ ? "1" : "0") + " select=" + (selectFlag_ ? "1" : "0");
}

bool FreeCellGame::resignIfInProgress() {
    if (!inProgress_) return true;
    log_.write("confirm-open");
    if (!ui_.confirmEndGame()) {
        log_.write("confirm-no");
        return false;
    }
    log_.write("confirm-yes");
    inProgress_ = false;
    recordLoss(*number_);
    changed();
    return true;
}

void FreeCellGame::askNumberAndDeal() {
    std::string field = std::to_string(number_ ? *number_ : randomGameNumber_());
    for (;;) {
        log_.write("dialog-open", "gamenumber " + field);
        const std::optional<std::string> answer = ui_.askGameNumber(field);
        if (!answer) {
            log_.write("cancel", "gamenumber");
            return;
        }
        const std::optional<int32_t> number = parseSignedDecimal(*answer);
        if (number && (*number == -1 || *number == -2 || (*number >= 1 && *number <= maxGameNumber_))) {
            deal(*number);
            return;
        }
        // The game closes the dialog and opens a new one with 0 in the field.
        log_.write("refused", answer->empty() ? "<empty>" : *answer);
        field = "0";
    }
}

void FreeCellGame::nextGameAfterResult() {
    if (selectFlag_) {
        askNumberAndDeal();
    } else {
        deal(randomGameNumber_());
    }
}

void FreeCellGame::deal(int32_t number) {
    number_ = number;
    board_ = dealBoard(number);
    undoBoard_.reset();
    moves_ = 0;
    inProgress_ = true;
    log_.write("deal", std::to_string(number));
    log_.write("layout", std::to_string(number) + ' ' + firstRow(board_));
    changed();
}

void FreeCellGame::recordWin(int32_t number) {
    if (!rules_.shouldRecordWin(number)) {
        log_.write("not-recorded", "win " + std::to_string(number));
        return;
    }
    Statistics statistics = store_.load();
    addWin(statistics);
    store_.save(statistics);
    rules_.recorded(number);
    log_.write("recorded", "win " + std::to_string(number) + ' ' + describe(statistics));
}

void FreeCellGame::recordLoss(int32_t number) {
    if (!rules_.shouldRecordLoss(number)) {
        log_.write("not-recorded", "loss " + std::to_string(number));
        return;
    }
    Statistics statistics = store_.load();
    addLoss(statistics);
    store_.save(statistics);
    rules_.recorded(number);
    log_.write("recorded", "loss " + std::to_string(number) + ' ' + describe(statistics));
}

void FreeCellGame::changed() { ui_.boardChanged(); }

}  // namespace standin
