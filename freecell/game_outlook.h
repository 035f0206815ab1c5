#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "freecell/cards.h"
#include "freecell/position_analysis.h"
#include "freecell/rules.h"

namespace freecell {

// What the game has learnt of the positions of the deal in play, and what the
// status line says of them: the hint, and the warning that the game can no
// longer be won. Positions are remembered for the whole deal, so that taking
// a move back finds its answer at once.
class GameOutlook {
public:
    // Another deal: its line of play starts afresh, and what was learnt of
    // the deal before is forgotten. (The same deal dealt again comes to
    // reached() with move 0, and keeps what was learnt of it.)
    void dealt();
    // The game is at `board` after its `moveNumber`th move (0: as dealt);
    // taking moves back comes here too. True when the position has no answer
    // yet, and a search should look at it.
    bool reached(const Board& board, int moveNumber);
    // A search's answer for `board`, whichever position is shown by then;
    // the positions along its way to win are known from it too.
    void analysed(const Board& board, const Analysis& analysis);

    const Board& current() const { return current_; }
    // The answer for the position shown, once there is one.
    std::optional<Analysis> currentAnalysis() const;

    // "この局面からはもう勝てません" when the search showed that no way to win
    // is left, with the move that lost it when the position before that move
    // was shown to be winnable; empty otherwise, and while nothing is known.
    std::string warning() const;

private:
    struct Step {
        int moveNumber;
        std::string position;  // a key of known_
    };
    std::optional<Outlook> outlookAt(std::size_t index) const;

    std::map<std::string, Analysis> known_;
    // The positions from the deal to the one shown.
    std::vector<Step> line_;
    Board current_;
};

// The status line's hint: "ヒント: ハートの7 (3列目) → 5列目".
std::string hintText(const Board& board, const Move& move);

}  // namespace freecell
