#include "records/tally.h"

#include "common/number_text.h"

std::string historyLine(const GameResult& result) {
    if (!result.won) return {};
    if (result.counted()) return intToText(result.gameNumber) + " 勝ち";
    return intToText(result.gameNumber) + " 負け（" + intToText(result.attempt) + "回）";
}

History History::fromSaved(const std::array<std::string, kSavedLines>& newestFirst) {
    History history;
    for (auto line = newestFirst.rbegin(); line != newestFirst.rend(); ++line) history.addNewest(*line);
    return history;
}

void History::addNewest(const std::string& line) {
    lines_.push_front(line);
    bytes_ += line.size() + 2;  // each line ends with CR LF in the memo
    dropOldest();
}

void History::dropOldest() {
    while (lines_.size() > kSavedLines && (lines_.size() > kMaxLines || bytes_ > kMaxBytes)) {
        bytes_ -= lines_.back().size() + 2;
        lines_.pop_back();
    }
}

std::array<std::string, History::kSavedLines> History::saved() const {
    std::array<std::string, kSavedLines> newest;
    for (std::size_t i = 0; i < kSavedLines && i < lines_.size(); ++i) newest[i] = lines_[i];
    return newest;
}

void Tally::record(const GameResult& result) {
    if (result.counted()) {
        if (result.won)
            ledger.recordWin();
        else
            ledger.recordLoss();
    }
    if (result.won) history.addNewest(historyLine(result));
}

void Tally::clearTotals() {
    ledger.clearTotals();
    for (int line = 0; line < 13; ++line) history.addNewest("");
}
