#include "freecell/game_outlook.h"

#include "freecell/solver_position.h"

namespace freecell {

void GameOutlook::dealt() {
    line_.clear();
    known_.clear();
}

bool GameOutlook::reached(const Board& board, int moveNumber) {
    current_ = board;
    while (!line_.empty() && line_.back().moveNumber >= moveNumber) line_.pop_back();
    line_.push_back({moveNumber, solverPositionText(board)});
    return known_.find(line_.back().position) == known_.end();
}

void GameOutlook::analysed(const Board& board, const Analysis& analysis) {
    known_[solverPositionText(board)] = analysis;
    // Every position along the way is winnable, and the rest of the way is
    // its hint: following the hints keeps to one way, and asks nothing more.
    Board along = board;
    for (std::size_t step = 0; step < analysis.way.size(); ++step) {
        applyMove(along, analysis.way[step]);
        playAutomaticMoves(along);
        Analysis rest;
        rest.outlook = Outlook::Winnable;
        rest.way.assign(analysis.way.begin() + static_cast<std::ptrdiff_t>(step) + 1, analysis.way.end());
        known_[solverPositionText(along)] = std::move(rest);  // a later visit skips a detour
    }
}

std::optional<Analysis> GameOutlook::currentAnalysis() const {
    if (line_.empty()) return std::nullopt;
    const auto found = known_.find(line_.back().position);
    if (found == known_.end()) return std::nullopt;
    return found->second;
}

std::optional<Outlook> GameOutlook::outlookAt(std::size_t index) const {
    const auto found = known_.find(line_[index].position);
    if (found == known_.end()) return std::nullopt;
    return found->second.outlook;
}

std::string GameOutlook::warning() const {
    if (line_.empty() || outlookAt(line_.size() - 1) != Outlook::Lost) return {};
    std::string text = "この局面からはもう勝てません";
    // The latest position known to be winnable: when the one after it is
    // known lost, the move between them lost the game.
    for (std::size_t index = line_.size() - 1; index-- > 0;) {
        if (outlookAt(index) != Outlook::Winnable) continue;
        const Step& next = line_[index + 1];
        if (outlookAt(index + 1) == Outlook::Lost && next.moveNumber == line_[index].moveNumber + 1)
            text += "（" + std::to_string(next.moveNumber) + "手目で）";
        break;
    }
    return text;
}

namespace {

std::string cardText(Card card) {
    static const char* const kSuitNames[] = {"クラブ", "ダイヤ", "ハート", "スペード"};
    static const char* const kRankNames[] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    return std::string(kSuitNames[suitOf(card)]) + "の" + kRankNames[rankOf(card)];
}

std::string placeText(const Location& location) {
    switch (location.place) {
        case Place::Column:
            return std::to_string(location.index + 1) + "列目";
        case Place::Cell:
            return "フリーセル";
        case Place::Home:
            return "ホーム";
    }
    return {};
}

}  // namespace

std::string hintText(const Board& board, const Move& move) {
    const std::optional<Card> card = leadingCard(board, move);
    if (!card) return {};
    std::string text = "ヒント: " + cardText(*card);
    if (move.count > 1) text += "から" + std::to_string(move.count) + "枚";
    return text + " (" + placeText(move.from) + ") → " + placeText(move.to);
}

}  // namespace freecell
