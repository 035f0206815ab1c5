#include "freecell/cards.h"

namespace freecell {

namespace {

constexpr const char* kRankNames[kRankCount] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
constexpr char kSuitLetters[kSuitCount] = {'C', 'D', 'H', 'S'};

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

}  // namespace

std::string cardName(Card card) { return std::string(kRankNames[rankOf(card)]) + kSuitLetters[suitOf(card)]; }

Board dealBoard(int32_t gameNumber) {
    const std::vector<Card> deck =
        gameNumber < 0 ? fixedDeck(gameNumber) : shuffledDeck(static_cast<uint32_t>(gameNumber));
    Board board;
    for (int i = 0; i < kCardCount; ++i) board.columns[i % kColumnCount].push_back(deck[i]);
    return board;
}

int cardsLeft(const Board& board) {
    int home = 0;
    for (int count : board.home) home += count;
    return kCardCount - home;
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

std::string boardText(const Board& board) {
    std::string text = "left=" + std::to_string(cardsLeft(board)) + " cells=";
    for (int i = 0; i < kCellCount; ++i) {
        if (i > 0) text += ' ';
        text += board.cells[i] ? cardName(*board.cells[i]) : "-";
    }
    text += " home=";
    for (int suit = 0; suit < kSuitCount; ++suit) {
        if (suit > 0) text += ' ';
        text += std::to_string(board.home[suit]);
    }
    text += " columns=";
    for (int column = 0; column < kColumnCount; ++column) {
        if (column > 0) text += '/';
        for (std::size_t row = 0; row < board.columns[column].size(); ++row) {
            if (row > 0) text += ' ';
            text += cardName(board.columns[column][row]);
        }
    }
    return text;
}

}  // namespace freecell
