#include "freecell/freecell_game.h"

#include <utility>

#include "freecell/drag_play.h"
#include "freecell/game_texts.h"

namespace freecell {

namespace {

// The game takes no other command while one runs (its dialogs included);
// however the command ends, exception included, the game takes them again.
class BusyWhile {
public:
    explicit BusyWhile(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyWhile() { busy_ = false; }
    BusyWhile(const BusyWhile&) = delete;
    BusyWhile& operator=(const BusyWhile&) = delete;

private:
    bool& busy_;
};

}  // namespace

FreeCellGame::FreeCellGame(GameUi& ui, StatisticsStore& store, EventLog& log, int32_t maxGameNumber,
                           std::function<int32_t()> randomGameNumber)
    : ui_(ui),
      store_(store),
      log_(log),
      maxGameNumber_(maxGameNumber),
      randomGameNumber_(std::move(randomGameNumber)) {}

void FreeCellGame::run(const char* command, const std::function<void()>& body) {
    // Posted messages still reach the main window while one of its dialogs is
    // open; a second command then would nest dialogs the game never shows.
    if (busy_) {
        log_.write("busy", command);
        return;
    }
    // A command that fails (a dialog that cannot be made) must not leave the
    // game refusing every command after it.
    const BusyWhile running(busy_);
    body();
    changed();  // the select flag, for one, changes without a deal
}

// A random deal is one the game could also be asked for: 1 to its highest.
int32_t FreeCellGame::randomDeal() {
    const uint32_t drawn = static_cast<uint32_t>(randomGameNumber_());
    return static_cast<int32_t>(1u + (drawn - 1u) % static_cast<uint32_t>(maxGameNumber_));
}

void FreeCellGame::newGame() {
    run("new", [this] {
        if (!resignIfInProgress()) return;
        selectFlag_ = false;
        deal(randomDeal());
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
        if (!inProgress_ || history_.empty()) {
            log_.write("ignored", "undo nothing-to-undo");
            return;
        }
        board_ = std::move(history_.back());
        history_.pop_back();
        selection_.reset();
        --moves_;
        log_.write("undo", "moves=" + std::to_string(moves_));
        changed();
    });
}

void FreeCellGame::click(const std::optional<Hit>& hit) {
    run("click", [&] {
        if (!inProgress_) return;
        const bool hadSelection = selection_.has_value();
        const ClickOutcome outcome = freecell::click(board_, selection_, hit);
        if (outcome.move) {
            play(*outcome.move);
            return;
        }
        if (outcome.refused) {
            refuse(hit);
        } else if (selection_) {
            log_.write("select", describe(selection_->location) + " row=" + std::to_string(selection_->row));
        }
        if (hadSelection || selection_) changed();
    });
}

void FreeCellGame::refuse(const std::optional<Hit>& hit) {
    log_.write("illegal", hit ? describe(hit->location) : "-");
    ui_.moveRefused();
}

void FreeCellGame::doubleClick(const std::optional<Hit>& hit) {
    run("doubleclick", [&] {
        if (!inProgress_) return;
        selection_.reset();
        const ClickOutcome outcome = freecell::doubleClick(board_, hit);
        if (outcome.move) {
            play(*outcome.move);
            return;
        }
        if (outcome.refused) {
            refuse(hit);
        }
        changed();
    });
}

bool FreeCellGame::drop(const std::optional<Location>& target) {
    bool played = false;
    run("drop", [&] {
        if (!inProgress_ || !selection_) return;
        const Selection dragged = *selection_;
        selection_.reset();
        if (target && *target != dragged.location) {
            if (const std::optional<Move> move = dropMove(board_, dragged, *target)) {
                play(*move);
                played = true;
                return;
            }
            refuse(Hit{*target});
        }
        changed();
    });
    return played;
}

void FreeCellGame::cancelSelection() {
    if (!selection_) return;
    selection_.reset();
    changed();
}

void FreeCellGame::makeMove() {
    run("move", [this] {
        if (!inProgress_) {
            log_.write("ignored", "move no-game");
            return;
        }
        const std::vector<Move> moves = legalMoves(board_);
        if (moves.empty()) {
            log_.write("ignored", "move none-possible");
            return;
        }
        for (const Move& move : moves) {
            if (move.to.place == Place::Cell) {
                play(move);
                return;
            }
        }
        play(moves.front());
    });
}

void FreeCellGame::play(const Move& move) {
    const Card card = *leadingCard(board_, move);
    Board before = board_;
    applyMove(board_, move);
    std::string details = describe(move) + ' ' + cardName(card);
    while (const std::optional<Move> automatic = nextAutomaticMove(board_)) {
        details += " home:" + cardName(*leadingCard(board_, *automatic));
        applyMove(board_, *automatic);
    }
    history_.push_back(std::move(before));
    selection_.reset();
    ++moves_;
    log_.write("play", details);
    log_.write("move", "moves=" + std::to_string(moves_));
    changed();
    if (isFinished(board_)) {
        endWon();
    } else if (!hasLegalMove(board_)) {
        endLost();
    }
}

void FreeCellGame::win() {
    run("win", [this] {
        if (!inProgress_) {
            log_.write("ignored", "win no-game");
            return;
        }
        sendAllHome(board_);
        endWon();
    });
}

void FreeCellGame::lose() {
    run("lose", [this] {
        if (!inProgress_) {
            log_.write("ignored", "lose no-game");
            return;
        }
        endLost();
    });
}

void FreeCellGame::endWon() {
    history_.clear();
    selection_.reset();
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
}

void FreeCellGame::endLost() {
    inProgress_ = false;
    history_.clear();
    selection_.reset();
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
    std::string field = std::to_string(number_ ? *number_ : randomDeal());
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
        deal(randomDeal());
    }
}

void FreeCellGame::deal(int32_t number) {
    number_ = number;
    board_ = dealBoard(number);
    history_.clear();
    selection_.reset();
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

}  // namespace freecell
