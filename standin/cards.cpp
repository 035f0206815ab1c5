#include "standin/cards.h"

namespace standin {

namespace {

constexpr const char* kRankNames[13] = {"A", "2", "3", "4", "5", "6", "7",
                                        "8", "9", "10", "J", "Q", "K"};
constexpr char kSuitLetters[4] = {'C', 'D', 'H', 'S'};

// The game's generator: the state wraps modulo 2^32, each draw gives 15 bits.
class DealGenerator {
public:
    explicit DealGenerator(uint32_t seed) : state_(seed) {}
    int draw() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }

private:
    uint32_t state_;
};

std::vector<Card> shuffledDeck(uint32_t seed) {
    std::vector<Card> deck(kCardCount);
    for (int i = 0; i < kCardCount; ++i) deck[i] = i;
    DealGenerator generator(seed);
    std::vector<Card> dealt;
    dealt.reserve(kCardCount);
    int left = kCardCount;
    while (left > 0) {
        const int j = generator.draw() % left;
        dealt.push_back(deck[j]);
        deck[j] = deck[left - 1];
        --left;
    }
    return dealt;
}

std::vector<Card> fixedDeck(int32_t gameNumber) {
    std::vector<Card> deck(kCardCount);
    for (int i = 0; i < kCardCount; ++i) {
        // -1 deals the deck in order, -2 deals it from the kings down.
        deck[i] = gameNumber == -1 ? i : kCardCount - 1 - i;
    }
    return deck;
}

bool canGoHome(const Board& board, Card card) { return board.home[suitOf(card)] == rankOf(card); }

}  // namespace

std::string cardName(Card card) { return std::string(kRankNames[rankOf(card)]) + kSuitLetters[suitOf(card)]; }

Board dealBoard(int32_t gameNumber) {
    const std::vector<Card> deck =
        gameNumber < 0 ? fixedDeck(gameNumber) : shuffledDeck(static_cast<uint32_t>(gameNumber));
    Board board;
    for (int i = 0; i < kCardCount; ++i) board.columns[i % kColumnCount].push_back(deck[i]);
    return board;
}

bool makeOneMove(Board& board) {
    for (auto& cell : board.cells) {
        if (cell && canGoHome(board, *cell)) {
            ++board.home[suitOf(*cell)];
            cell.reset();
            return true;
        }
    }
    for (auto& column : board.columns) {
        if (!column.empty() && canGoHome(board, column.back())) {
            ++board.home[suitOf(column.back())];
            column.pop_back();
            return true;
        }
    }
    for (auto& cell : board.cells) {
        if (cell) continue;
        for (auto& column : board.columns) {
            if (column.empty()) continue;
            cell = column.back();
            column.pop_back();
            return true;
        }
    }
    for (auto& target : board.columns) {
        if (!target.empty()) continue;
        for (auto& source : board.columns) {
            if (source.size() < 2) continue;
            target.push_back(source.back());
            source.pop_back();
            return true;
        }
    }
    return false;
}

void finishBoard(Board& board) {
    for (auto& column : board.columns) column.clear();
    for (auto& cell : board.cells) cell.reset();
    board.home = {13, 13, 13, 13};
}

bool isFinished(const Board& board) {
    for (int count : board.home) {
        if (count != 13) return false;
    }
    return true;
}

std::string firstRow(const Board& board) {
    std::string row;
    for (const auto& column : board.columns) {
        if (column.empty()) continue;
        if (!row.empty()) row += ' ';
        row += cardName(column.front());
    }
    return row;
}

}  // namespace standin
