// The keeper of the record against a small model of the counting rules, over
// random sequences of everything a player can do: play the game to a win or a
// loss, end it through the control bar, F2, F3 or the game's own menu, answer
// the won dialog either way, pass, take back, type a number in range or out of
// it, clear, close and start again, be killed after any one write, and have
// the log, its waiting lines or the settings file held. After every move the
// keeper must show what the model says: the totals, the history, the pass
// list, the box and its attempt, and the lines on disk. RapidCheck shrinks a
// failure to its shortest sequence; RC_PARAMS="seed=..." repeats one.
#include <gtest/gtest.h>
#include <rapidcheck.h>
#include <rapidcheck/gtest.h>
#include <rapidcheck/state.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "../unit/record_doubles.h"
#include "common/app_error.h"
#include "common/number_text.h"
#include "records/record_keeper.h"
#include "records/results_log_reader.h"

namespace {

using record_test::KeeperWorld;
using record_test::Killed;

constexpr int32_t kHighest = 32000;
// Few numbers, so that they come back: a number played again, passed twice,
// 11982 that cannot be won, and the highest, after which 1 follows.
const std::vector<int32_t> kNumbers = {1, 2, 3, 11981, 11982, 31999, 32000};

// ---------------------------------------------------------------------------
// The model: the counting rules as the manual tells them, and the game as it
// behaves, kept apart from the keeper's code.

struct Line {
    int32_t number;
    int32_t attempt;
    std::string word;
    bool counted;
    std::string text() const { return intToText(number) + "," + intToText(attempt) + "," + word + "," + (counted ? "1" : "0"); }
};

// What the game's board holds, and what Tallykeep can know of it.
struct Board {
    bool dealt = false;       // a deal is on the board
    bool inProgress = false;  // it can still be won or lost
    int32_t number = 0;       // the true number (a random deal's too)
    // Tallykeep took the number into the game's dialog, or the game told it,
    // or it is the same game dealt again after a known one: its results count.
    bool known = false;
    // Tallykeep has seen an end it could not vouch for: it shows 番号不明.
    bool unknownShown = false;
    int32_t attempt = 0;      // of a known deal
    bool passed = false;      // passed while on the board: "not now"
    // Tallykeep takes a game to be in progress on the board (a won game's
    // board stands still; the game that ships may deal the same number again
    // by itself, and Tallykeep learns of it only when that game ends).
    bool inPlayForTallykeep = false;
    // Known from what the game told alone: its attempt is the one the number
    // is at when it is used.
    bool attemptAtEnd = false;
};

struct Model {
    bool gameTells = false;  // the game that ships with Tallykeep tells its number
    Board board;
    // The record, folded from the lines.
    std::vector<Line> lines;
    int32_t won = 0, lost = 0, wins = 0, losses = 0, streak = 0, stype = 0, runWins = 0, runLosses = 0;
    std::vector<std::string> history;  // newest first, as far as it is kept
    std::vector<int32_t> passes;       // highest first
    std::map<int32_t, int32_t> highest;
    // The number box: its text, its number, and where it goes back to.
    std::string boxText = "1";
    int32_t box = 1;
    int32_t goBack = 0;
    bool skipImpossible = false;
    // Files held by another program.
    bool logHeld = false, waitingHeld = false, settingsHeld = false;
    bool killed = false;  // lines may be missing: the keeper's box is taken as it is

    int32_t nextAttempt(int32_t number) const {
        const auto found = highest.find(number);
        return found == highest.end() ? 1 : found->second + 1;
    }
    bool onBoardNow(int32_t number) const {
        return board.dealt && board.known && board.inPlayForTallykeep && board.number == number;
    }
    int32_t boardAttempt() const { return board.attemptAtEnd ? nextAttempt(board.number) : board.attempt; }
    static int32_t after(int32_t number) { return number >= kHighest ? 1 : number + 1; }
    int32_t attemptForLine(int32_t number) const {
        return onBoardNow(number) ? boardAttempt() : nextAttempt(number);
    }

    // What each line does: the fold that the record is.
    void apply(const Line& line) {
        lines.push_back(line);
        const int32_t n = line.number;
        if (line.word == "勝ち" || line.word == "負け") {
            highest[n] = std::max(highest[n], line.attempt);
            const bool win = line.word == "勝ち";
            if (line.counted) {
                if (win) {
                    ++won, ++runWins;
                    streak = stype == 1 ? streak + 1 : 1;
                    stype = 1;
                    wins = std::max(wins, streak);
                } else {
                    ++lost, ++runLosses;
                    streak = stype == 0 ? streak + 1 : 1;
                    stype = 0;
                    losses = std::max(losses, streak);
                }
            }
            if (win) {
                history.insert(history.begin(), line.counted ? intToText(n) + " 勝ち"
                                                             : intToText(n) + " 負け（" + intToText(line.attempt) + "回）");
                if (n == goBack) goBack = after(n);
                if (n == box) moveBoxOn(n);
            }
        } else if (line.word == "パス") {
            passes.push_back(n);
            std::sort(passes.begin(), passes.end(), std::greater<>());
            passes.erase(std::unique(passes.begin(), passes.end()), passes.end());
            if (n == box) moveBoxOn(n);
        } else if (line.word == "再挑戦") {
            passes.erase(std::find(passes.begin(), passes.end(), n));
            if (goBack == 0 && box != n) goBack = box;
            setBox(n);
        } else if (line.word == "スキップ") {
            if (n == goBack) goBack = after(n);
            if (n == box) setBox(after(n));
        } else if (line.word == "クリア") {
            won = lost = wins = losses = streak = stype = 0;
            highest.clear();
            history.insert(history.begin(), 13, "");
        }
    }
    void setBox(int32_t number) {
        box = number;
        boxText = intToText(number);
    }
    void moveBoxOn(int32_t from) {
        setBox(goBack != 0 && goBack != from ? goBack : after(from));
        goBack = 0;
    }
    void write(int32_t number, const std::string& word, bool counted) {
        const int32_t box0 = box, goBack0 = goBack;
        apply({number, word == "スキップ" ? 1 : attemptForLine(number), word, counted});
        if (skipImpossible && (word == "勝ち" || word == "パス")) {
            if (goBack != goBack0 && goBack == 11982) write(11982, "スキップ", false);
            if (box != box0 && box == 11982) write(11982, "スキップ", false);
        }
    }

        // The game on the board ended; a known deal's end is logged, unless it
    // was passed and ended through the end-this-game box. After an end it
    // cannot vouch for, or the game's own command, Tallykeep knows nothing of
    // what follows until a number is dealt or told.
    void ended(const std::string& how, bool byBar) {
        if (board.known && !board.inPlayForTallykeep) {
            // Dealt again by the game itself after a win: the game's end
            // tells Tallykeep, which takes it as the number's next attempt.
            board.attempt = nextAttempt(board.number);
            board.passed = false;
        }
        board.attempt = boardAttempt();
        board.attemptAtEnd = false;
        if (board.known && !(how == "resigned" && board.passed))
            write(board.number, how == "won" ? "勝ち" : "負け", board.attempt == 1);
        board.inPlayForTallykeep = false;
        board.inProgress = false;
        if (!board.known || (how == "resigned" && !byBar)) {
            board.known = false;
            board.unknownShown = true;
        }
    }
    // A deal, at its number's next attempt. One Tallykeep cannot vouch for is
    // shown as such only where it saw an end or an answer that brought it.
    void deal(int32_t number, bool known, bool seen) {
        const bool shownBefore = board.unknownShown;
        const bool wasInPlay = board.known && board.inPlayForTallykeep;
        board = Board{};
        board.dealt = board.inProgress = true;
        board.number = number;
        // A number outside the range (a random deal of the game's own above
        // the highest) is no number Tallykeep takes, told or not.
        const bool told = gameTells && number >= 1 && number <= kHighest;
        // The game that ships tells a number outside the range where the one
        // Tallykeep took for in play stood: a deal it cannot vouch for.
        if (gameTells && !told && wasInPlay) seen = true;
        board.known = known || told;
        board.inPlayForTallykeep = board.known;
        board.attemptAtEnd = !known && told;
        board.unknownShown = !board.known && (seen || shownBefore);
        board.attempt = nextAttempt(number);
    }
    // The same number dealt again with no end before it that Tallykeep
    // sees: what it knows of the board stays.
    void dealtAgainUnseen() { board.inProgress = true; }
    // The game-number dialog: Tallykeep enters the box's number, or refuses.
    bool dealFromBox() {
        if (!validBoxText()) return false;
        deal(box, true, false);
        return true;
    }
    bool validBoxText() const {
        const std::optional<int32_t> number = tryTextToInt(boxText);
        return number && *number >= 1 && *number <= kHighest;
    }
    std::optional<int32_t> attemptShown() const {
        if (board.unknownShown) return std::nullopt;
        return onBoardNow(box) ? boardAttempt() : nextAttempt(box);
    }
};

// ---------------------------------------------------------------------------
// The system: the keeper over its files in memory, driven as the results
// window and the watcher drive it.

struct System {
    KeeperWorld world;
    record_test::KillSwitch kill;
    std::unique_ptr<RecordKeeper> keeper;
    std::string box = "1";
    uint64_t nowMs = 100000;

    System() {
        world.log.kill = &kill;
        world.waiting.kill = &kill;
        world.played.kill = &kill;
        world.settings.kill = &kill;
        start();
    }
    void show(const RecordChange& change) {
        if (change.boxText) box = *change.boxText;
    }
    // A start, again after a kill in the middle of it.
    void start() {
        for (;;) {
            keeper = std::make_unique<RecordKeeper>(world.files(), kHighest);
            try {
                box = *keeper->load().boxText;
                return;
            } catch (const Killed&) {
            }
        }
    }
    std::optional<int32_t> boxNumber() const { return keeper->numberToDeal(box).number; }
    // The entries of a file of the log's lines, header and all.
    static std::vector<LogEntry> entriesOf(const std::string& bytes, std::size_t from = 0,
                                           std::vector<LogEntry> entries = {}) {
        for (std::size_t at = from, end; (end = bytes.find("\r\n", at)) != std::string::npos; at = end + 2)
            if (const std::optional<LogEntry> entry = parseResultsLogLine(bytes.substr(at, end - at)))
                entries.push_back(*entry);
        return entries;
    }
    // The log's entries; it only grows, so only what was added is read.
    const std::vector<LogEntry>& logEntries() const {
        const std::string& bytes = world.log.bytes;
        if (bytes.size() < logRead_) logRead_ = 0, logEntries_.clear();
        const std::size_t end = bytes.rfind("\r\n");
        if (end == std::string::npos || end + 2 <= logRead_) return logEntries_;
        logEntries_ = entriesOf(bytes, logRead_, std::move(logEntries_));
        logRead_ = end + 2;
        return logEntries_;
    }
    mutable std::size_t logRead_ = 0;
    mutable std::vector<LogEntry> logEntries_;
    // The lines the record holds on disk: the log's, then the waiting ones
    // the log does not hold.
    std::vector<LogEntry> entriesOnDisk() const {
        std::vector<LogEntry> entries = logEntries();
        const uint32_t last = entries.empty() ? 0 : entries.back().serial;
        for (const LogEntry& entry : entriesOf(world.waiting.bytes))
            if (entry.serial > last) entries.push_back(entry);
        return entries;
    }
};

std::vector<std::string> textsOf(const std::vector<Line>& lines) {
    std::vector<std::string> texts;
    for (const Line& line : lines) texts.push_back(line.text());
    return texts;
}

std::vector<Line> linesOnDisk(const System& system) {
    std::vector<Line> lines;
    for (const LogEntry& entry : system.entriesOnDisk())
        lines.push_back({entry.gameNumber, entry.attempt, logEventWord(entry.event), entry.counted});
    return lines;
}

// The record's lines: the log's, then those waiting for it in memory. The
// waiting ones are on disk too, wherever their file can be written.
std::vector<Line> linesKept(const System& system) {
    std::vector<Line> lines;
    for (const LogEntry& entry : system.logEntries())
        lines.push_back({entry.gameNumber, entry.attempt, logEventWord(entry.event), entry.counted});
    for (const LogEntry& entry : system.keeper->waitingLines())
        lines.push_back({entry.gameNumber, entry.attempt, logEventWord(entry.event), entry.counted});
    return lines;
}

void check(const Model& model, const System& system) {
    const RecordKeeper& keeper = *system.keeper;
    const ScoreLedger& ledger = keeper.tally().ledger;
    RC_ASSERT(textsOf(linesKept(system)) == textsOf(model.lines));
    if (!model.waitingHeld) RC_ASSERT(textsOf(linesOnDisk(system)) == textsOf(model.lines));
    RC_ASSERT(ledger.won == model.won);
    RC_ASSERT(ledger.lost == model.lost);
    RC_ASSERT(ledger.wins == model.wins);
    RC_ASSERT(ledger.losses == model.losses);
    RC_ASSERT(ledger.streak == model.streak);
    RC_ASSERT(ledger.stype == model.stype);
    RC_ASSERT(ledger.runWins == model.runWins);
    RC_ASSERT(ledger.runLosses == model.runLosses);
    const std::vector<std::string>& history = keeper.tally().history.lines();
    const std::size_t newest = std::min<std::size_t>({history.size(), model.history.size(), History::kSavedLines});
    for (std::size_t i = 0; i < newest; ++i) RC_ASSERT(history[i] == model.history[i]);
    std::vector<int32_t> passes;
    for (const std::string& slot : keeper.tally().passes)
        if (!slot.empty()) passes.push_back(textToInt(slot));
    RC_ASSERT(passes == model.passes);
    RC_ASSERT(system.box == model.boxText);
    RC_ASSERT(keeper.numberToGoBackTo() == model.goBack);
    RC_ASSERT(keeper.attemptShown() == model.attemptShown());
}

// The player's moves.
enum class Kind {
    win, lose, barRestart, barStart, gameNewGame, gameSelectGame, gameRestart, pass, takeBack, type, clear, restart,
    kill, holdLog, holdWaiting, holdSettings, toggleSkip
};
const char* const kKindNames[] = {"win", "lose", "barRestart", "barStart", "gameNewGame", "gameSelectGame",
                                  "gameRestart", "pass", "takeBack", "type", "clear", "restart", "kill",
                                  "holdLog", "holdWaiting", "holdSettings", "toggleSkip"};

struct Move {
    Kind kind;
    int answer;  // the won dialog: 0 yes with the select box ticked, 1 yes unticked, 2 no
    int32_t random;
    std::string typed;
    int slot;
    int writesBeforeKill;
};

std::ostream& operator<<(std::ostream& out, const Move& move) {
    out << kKindNames[static_cast<int>(move.kind)];
    if (move.kind == Kind::win) out << "(answer " << move.answer << ", random " << move.random << ")";
    if (move.kind == Kind::gameNewGame) out << "(" << move.random << ")";
    if (move.kind == Kind::type) out << "(\"" << move.typed << "\")";
    if (move.kind == Kind::takeBack) out << "(slot " << move.slot << ")";
    if (move.kind == Kind::kill) out << "(after " << move.writesBeforeKill << " writes)";
    return out;
}

rc::Gen<Move> moves() {
    using namespace rc;
    return gen::build<Move>(
        gen::set(&Move::kind, gen::element(Kind::win, Kind::win, Kind::win, Kind::lose, Kind::barRestart, Kind::barStart,
                                           Kind::barStart, Kind::gameNewGame, Kind::gameSelectGame, Kind::gameRestart,
                                           Kind::pass, Kind::pass, Kind::takeBack, Kind::type, Kind::type, Kind::clear,
                                           Kind::restart, Kind::kill, Kind::holdLog, Kind::holdWaiting,
                                           Kind::holdSettings, Kind::toggleSkip)),
        gen::set(&Move::answer, gen::inRange(0, 3)),
        gen::set(&Move::random, gen::oneOf(gen::elementOf(kNumbers), gen::just<int32_t>(32767))),
        gen::set(&Move::typed, gen::oneOf(gen::map(gen::elementOf(kNumbers), [](int32_t n) { return intToText(n); }),
                                          gen::element<std::string>("0", "32001", "40000", "12ab", ""))),
        gen::set(&Move::slot, gen::inRange(0, 3)), gen::set(&Move::writesBeforeKill, gen::inRange(1, 5)));
}

// What the move does to the model, by the rules.
void applyToModel(const Move& move, Model& model) {
    Board& board = model.board;
    switch (move.kind) {
        case Kind::win:
            model.ended("won", false);
            if (move.answer == 0) model.dealFromBox();
            if (move.answer == 1) model.deal(move.random, false, true);
            break;
        case Kind::lose: {
            model.ended("lost", false);
            const Board before = board;
            model.deal(before.number, before.known, false);
            break;
        }
        case Kind::barRestart: {
            if (!model.validBoxText() || !board.dealt) break;
            const Board before = board;
            if (board.inProgress) {
                model.ended("resigned", true);
                model.deal(before.number, before.known, true);
            } else if (board.inPlayForTallykeep) {
                model.dealtAgainUnseen();
            } else {
                model.deal(before.number, before.known, false);
            }
            break;
        }
        case Kind::barStart:
            if (!model.validBoxText()) break;
            if (board.inProgress) model.ended("resigned", true);
            board.unknownShown = false;
            model.dealFromBox();
            break;
        case Kind::gameNewGame:
        case Kind::gameRestart: {
            if (move.kind == Kind::gameRestart && !board.dealt) break;
            const bool inProgress = board.inProgress;
            const int32_t number = move.kind == Kind::gameRestart ? board.number : move.random;
            if (!inProgress && board.dealt && number == board.number && (model.gameTells || board.inPlayForTallykeep)) {
                model.dealtAgainUnseen();
                break;
            }
            if (inProgress) model.ended("resigned", false);
            model.deal(number, false, inProgress);
            break;
        }
        case Kind::gameSelectGame: {
            const bool inProgress = board.inProgress;
            if (inProgress) model.ended("resigned", false);
            // The box refused, the dialog is left: the board keeps its deal,
            // which the game that ships goes on telling (its next attempt,
            // should it be played again).
            if (!model.dealFromBox() && inProgress && model.gameTells) model.deal(board.number, false, false);
            break;
        }
        case Kind::pass: {
            if (!model.validBoxText() || model.passes.size() == 10) break;
            const int32_t number = model.box;
            if (model.onBoardNow(number)) board.passed = true;
            model.write(number, "パス", false);
            break;
        }
        case Kind::takeBack: {
            if (static_cast<std::size_t>(move.slot) >= model.passes.size()) break;
            const int32_t taken = model.passes[static_cast<std::size_t>(move.slot)];
            const int32_t box = model.box;
            const bool boxWasTakenBack = model.goBack != 0 && box != taken;
            model.write(taken, "再挑戦", false);
            if (boxWasTakenBack) {
                if (model.onBoardNow(box)) board.passed = true;
                model.write(box, "パス", false);
            }
            break;
        }
        case Kind::type: {
            model.boxText = move.typed;
            const std::optional<int32_t> number = tryTextToInt(move.typed);
            if (number && *number >= 1 && *number <= kHighest && *number != model.box) {
                model.box = *number;
                model.goBack = 0;
            }
            break;
        }
        case Kind::clear:
            model.write(model.box, "クリア", true);
            break;
        case Kind::restart:
            // The close ends the game (its end-this-game box is the close's
            // to answer and counts nothing); the next start finds none.
            model.board = Board{};
            model.runWins = model.runLosses = 0;
            model.boxText = intToText(model.box);
            break;
        case Kind::holdLog:
            model.logHeld = !model.logHeld;
            break;
        case Kind::holdWaiting:
            model.waitingHeld = !model.waitingHeld;
            break;
        case Kind::holdSettings:
            model.settingsHeld = !model.settingsHeld;
            break;
        case Kind::toggleSkip:
            model.skipImpossible = !model.skipImpossible;
            break;
        case Kind::kill:
            break;
    }
}

// What the watcher and the window report to the keeper for the move.
void runOnSystem(const Move& move, const Model& before, const Model& after, System& system) {
    RecordKeeper& keeper = *system.keeper;
    const uint64_t now = system.nowMs;
    const std::optional<int32_t> boxNumber = system.boxNumber();
    const Board& board = before.board;
    // The tick that sees the move reads the number the game tells first.
    if (before.gameTells && board.dealt) keeper.boardTold(board.number);
    switch (move.kind) {
        case Kind::win:
            system.show(keeper.gameEnded(GameEnd::won, now));
            // The box has moved on: the dialog that follows gets its number.
            if (move.answer == 0 && system.boxNumber()) system.show(keeper.gameDealt(*system.boxNumber()));
            if (move.answer == 1) system.show(keeper.unknownGameDealt());
            break;
        case Kind::lose:
            system.show(keeper.gameEnded(GameEnd::lost, now));
            break;
        case Kind::barRestart:
            // A command the game ignores (no deal on the board) must leave
            // nothing behind.
            if (!boxNumber) break;
            keeper.restartSent(now);
            if (board.inProgress) system.show(keeper.gameEnded(GameEnd::resigned, now + 20));
            break;
        case Kind::barStart:
            if (!boxNumber) break;
            keeper.startSent(now);
            if (board.inProgress) system.show(keeper.gameEnded(GameEnd::resigned, now + 20));
            system.show(keeper.gameDealt(*boxNumber));
            break;
        case Kind::gameNewGame:
        case Kind::gameRestart:
            if (board.inProgress && (move.kind == Kind::gameNewGame || board.dealt))
                system.show(keeper.gameEnded(GameEnd::resigned, now));
            break;
        case Kind::gameSelectGame:
            if (board.inProgress) system.show(keeper.gameEnded(GameEnd::resigned, now));
            if (boxNumber) system.show(keeper.gameDealt(*boxNumber));
            break;
        case Kind::pass:
            system.show(keeper.pass(system.box));
            break;
        case Kind::takeBack:
            if (static_cast<std::size_t>(move.slot) < before.passes.size()) system.show(keeper.takeBackPass(move.slot, system.box));
            break;
        case Kind::type:
            system.box = move.typed;
            break;
        case Kind::clear:
            system.show(keeper.clearTotals(system.box));
            break;
        case Kind::restart:
            keeper.boxChanged(system.box);
            keeper.finish(true);
            system.start();
            break;
        case Kind::kill:
            system.kill.writesLeft = move.writesBeforeKill;
            break;
        case Kind::holdLog:
            system.world.log.refusing = after.logHeld;
            break;
        case Kind::holdWaiting:
            system.world.waiting.refusing = after.waitingHeld;
            break;
        case Kind::holdSettings:
            system.world.settings.refusing = after.settingsHeld;
            break;
        case Kind::toggleSkip:
            keeper.toggleSkipImpossible();
            break;
    }
    // The tick's end: the game tells its number, the waiting lines are
    // tried again, the box is read, the settings saved.
    if (after.gameTells && after.board.dealt) system.keeper->boardTold(after.board.number);
    system.keeper->boxChanged(system.box);
    system.keeper->retryLog();
    system.keeper->saveIfChanged();
    system.keeper->takeProblems();
    system.nowMs += 100 + RecordKeeper::kCommandAnswerMs;
}

// After a kill, what the model can know is what is on disk: the record is
// the fold of those lines, and the box is where the checkpoint and the
// lines left it. The deal on the board is one the new start cannot vouch
// for, unless the game tells it.
void takeWhatIsOnDisk(Model& model, const System& system) {
    Model fresh;
    fresh.gameTells = model.gameTells;
    // An option changed while the settings file was held is lost with the run.
    fresh.skipImpossible = system.keeper->options().skipImpossible;
    fresh.logHeld = model.logHeld, fresh.waitingHeld = model.waitingHeld, fresh.settingsHeld = model.settingsHeld;
    for (const Line& line : linesOnDisk(system)) fresh.apply(line);
    fresh.board = model.board;
    fresh.board.known = fresh.board.inPlayForTallykeep = fresh.board.attemptAtEnd =
        model.gameTells && model.board.dealt && model.board.number <= kHighest;
    fresh.board.unknownShown = false;
    fresh.board.passed = false;
    fresh.runWins = fresh.runLosses = 0;
    fresh.boxText = system.box;
    fresh.box = tryTextToInt(system.box).value_or(1);
    fresh.goBack = system.keeper->numberToGoBackTo();
    model = fresh;
}

}  // namespace

RC_GTEST_PROP(RecordModel, EveryPathKeepsTheRecordTheRulesGive, ()) {
    const bool gameTells = *rc::gen::arbitrary<bool>();
    const std::vector<Move> sequence = *rc::gen::container<std::vector<Move>>(moves());
    Model model;
    model.gameTells = gameTells;
    System system;
    for (const Move& move : sequence) {
        if ((move.kind == Kind::win || move.kind == Kind::lose) && !model.board.inProgress) continue;
        Model expected = model;
        applyToModel(move, expected);
        const std::vector<std::string> diskBefore = textsOf(linesOnDisk(system));
        try {
            runOnSystem(move, model, expected, system);
            model = expected;
        } catch (const Killed&) {
            system.start();
            // Nothing on disk is lost and nothing is written twice: the lines
            // are those on disk before the move, then a part of what was to
            // follow (lines kept nowhere, both files held, die with the
            // program), each line once, in the order of its 通番.
            const std::vector<std::string> onDisk = textsOf(linesOnDisk(system));
            const std::vector<std::string> wanted = textsOf(expected.lines);
            RC_ASSERT(onDisk.size() >= diskBefore.size());
            RC_ASSERT(std::equal(diskBefore.begin(), diskBefore.end(), onDisk.begin()));
            std::size_t at = 0;
            for (const std::string& line : onDisk) {
                while (at < wanted.size() && wanted[at] != line) ++at;
                RC_ASSERT(at < wanted.size());
                ++at;
            }
            uint32_t serial = 0;
            for (const LogEntry& entry : system.entriesOnDisk()) {
                RC_ASSERT(entry.serial > serial);
                serial = entry.serial;
            }
            model = expected;
            takeWhatIsOnDisk(model, system);
        } catch (const AppError&) {
            // Only the close refuses, and only where it would lose what it
            // cannot write: the settings file, or lines kept nowhere.
            RC_ASSERT(move.kind == Kind::restart);
            RC_ASSERT(model.settingsHeld || (model.logHeld && model.waitingHeld));
            system.keeper->takeProblems();
        }
        if (std::getenv("TK_MODEL_TRACE"))
            std::cerr << move << ": box " << system.box << " lines " << textsOf(linesKept(system)).size()
                      << " expected " << model.lines.size() << " board " << model.board.number << (model.board.known ? " known" : "")
                      << (model.board.inProgress ? " inProgress" : "") << "\n";
        check(model, system);
    }
}
