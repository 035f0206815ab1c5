#include "freecell_solver.h"

#include <algorithm>
#include <queue>
#include <string>
#include <unordered_set>

namespace solver {

namespace {

using freecell::Board;
using freecell::Card;
using freecell::Move;

constexpr char kEnd = static_cast<char>(0x7F);

// A board in a few bytes: the columns each closed by kEnd, then the cells
// (kEnd for a free one), then the home counts.
std::string pack(const Board& board) {
    std::string bytes;
    for (const auto& column : board.columns) {
        for (Card card : column) bytes += static_cast<char>(card);
        bytes += kEnd;
    }
    for (const auto& cell : board.cells) bytes += cell ? static_cast<char>(*cell) : kEnd;
    for (int count : board.home) bytes += static_cast<char>(count);
    return bytes;
}

Board unpack(const std::string& bytes) {
    Board board;
    std::size_t i = 0;
    for (auto& column : board.columns) {
        while (bytes[i] != kEnd) column.push_back(bytes[i++]);
        ++i;
    }
    for (auto& cell : board.cells) {
        if (bytes[i] != kEnd) cell = static_cast<Card>(bytes[i]);
        ++i;
    }
    for (int& count : board.home) count = bytes[i++];
    return board;
}

// Positions that differ only in the order of columns or of free cells are
// the same position.
std::string key(const Board& board) {
    std::vector<std::string> columns;
    for (const auto& column : board.columns) columns.emplace_back(column.begin(), column.end());
    std::sort(columns.begin(), columns.end());
    std::string cells;
    for (const auto& cell : board.cells) cells += cell ? static_cast<char>(*cell) : kEnd;
    std::sort(cells.begin(), cells.end());
    std::string result = cells;
    for (int count : board.home) result += static_cast<char>(count);
    for (const std::string& column : columns) result += column + kEnd;
    return result;
}

// How far the position looks from won: the cards still out, the cards that
// lie on a lower card in their column, the cards above each suit's next card,
// and the free cells in use.
int distance(const Board& board) {
    int score = 3 * freecell::cardsLeft(board);
    for (const auto& column : board.columns) {
        int lowest = freecell::kRankCount;
        for (Card card : column) {
            if (freecell::rankOf(card) > lowest) score += 2;
            lowest = std::min(lowest, freecell::rankOf(card));
        }
        for (std::size_t row = 0; row < column.size(); ++row) {
            const Card card = column[row];
            if (board.home[freecell::suitOf(card)] == freecell::rankOf(card))
                score += static_cast<int>(column.size() - 1 - row);
        }
    }
    for (const auto& cell : board.cells) score += cell ? 1 : 0;
    return score;
}

struct Node {
    std::string board;
    int parent;
    Move move;
    int depth;
};

}  // namespace

std::optional<Solution> solve(const Board& start, int budget) {
    Board first = start;
    freecell::playAutomaticMoves(first);
    std::vector<Node> nodes{{pack(first), -1, {}, 0}};
    std::unordered_set<std::string> seen{key(first)};
    using Entry = std::pair<int, int>;  // score, node; the lowest score first
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    open.push({distance(first), 0});

    int positions = 0;
    while (!open.empty() && positions < budget) {
        const int index = open.top().second;
        open.pop();
        ++positions;
        const Board board = unpack(nodes[index].board);
        if (freecell::isFinished(board)) {
            Solution solution;
            solution.positions = positions;
            for (int at = index; nodes[at].parent >= 0; at = nodes[at].parent) solution.moves.push_back(nodes[at].move);
            std::reverse(solution.moves.begin(), solution.moves.end());
            return solution;
        }
        for (const Move& move : freecell::legalMoves(board)) {
            Board next = board;
            freecell::applyMove(next, move);
            freecell::playAutomaticMoves(next);
            if (!seen.insert(key(next)).second) continue;
            const int depth = nodes[index].depth + 1;
            nodes.push_back({pack(next), index, move, depth});
            open.push({distance(next) + depth / 2, static_cast<int>(nodes.size()) - 1});
        }
    }
    return std::nullopt;
}

}  // namespace solver
