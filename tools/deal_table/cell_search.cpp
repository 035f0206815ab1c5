#include "tools/deal_table/cell_search.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>

namespace deal_table {

using freecell::Board;
using freecell::Card;
using freecell::Location;
using freecell::Move;
using freecell::Place;

namespace {

// Places of the search: columns 0..7, free cells 8..11, home 12.
constexpr int kFirstCell = freecell::kColumnCount;
constexpr int kHome = kFirstCell + freecell::kCellCount;
constexpr uint8_t kNoCard = 0xFF;
// 7 dealt cards and a run down from a king on top of them fit with room.
constexpr int kColumnRoom = 32;

inline uint64_t mix(uint64_t x) {
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBull;
    x ^= x >> 31;
    return x;
}

struct Key {
    uint64_t a = 0, b = 0;
    bool empty() const { return a == 0 && b == 0; }
    bool operator==(const Key& other) const { return a == other.a && b == other.b; }
};

// Open addressing, doubled when three quarters full: a search that ends
// early takes little memory, and one that goes on holds at most twice what
// its positions need.
class PositionSet {
public:
    PositionSet() { allocate(1u << 16); }
    ~PositionSet() { std::free(slots_); }
    PositionSet(const PositionSet&) = delete;
    PositionSet& operator=(const PositionSet&) = delete;

    // True when the key was not there yet.
    bool insert(Key key) {
        if (key.empty()) key.a = 1;
        if (!place(slots_, capacity_, key)) return false;
        if (++size_ > capacity_ / 4 * 3) grow();
        return true;
    }
    uint64_t size() const { return size_; }

private:
    static bool place(Key* slots, uint64_t capacity, const Key& key) {
        for (uint64_t slot = key.a & (capacity - 1);; slot = (slot + 1) & (capacity - 1)) {
            if (slots[slot] == key) return false;
            if (slots[slot].empty()) {
                slots[slot] = key;
                return true;
            }
        }
    }
    // In pages of 2 MB where the system has them: each look-up lands on a
    // page of its own, and small pages spent the time in address lookups.
    void allocate(uint64_t capacity) {
        const size_t bytes = capacity * sizeof(Key);
        constexpr size_t kHugePage = 2u << 20;
        if (bytes >= kHugePage) {
            slots_ = static_cast<Key*>(std::aligned_alloc(kHugePage, bytes));
            if (!slots_) throw std::bad_alloc();
            madvise(slots_, bytes, MADV_HUGEPAGE);
            std::memset(static_cast<void*>(slots_), 0, bytes);
        } else {
            slots_ = static_cast<Key*>(std::calloc(capacity, sizeof(Key)));
            if (!slots_) throw std::bad_alloc();
        }
        capacity_ = capacity;
    }
    void grow() {
        Key* old = slots_;
        const uint64_t oldCapacity = capacity_;
        allocate(capacity_ * 2);
        for (uint64_t slot = 0; slot < oldCapacity; ++slot)
            if (!old[slot].empty()) place(slots_, capacity_, old[slot]);
        std::free(old);
    }

    Key* slots_ = nullptr;
    uint64_t capacity_ = 0;
    uint64_t size_ = 0;
};

struct Step {
    uint8_t from, to, card;
};

class Search {
public:
    Search(const Board& deal, int freeCells) : cells_(freeCells) {
        for (int column = 0; column < freecell::kColumnCount; ++column) {
            length_[column] = 0;
            hash_[column][0] = Key{0x6A09E667F3BCC908ull, 0xBB67AE8584CAA73Bull};
            for (Card card : deal.columns[column]) put(column, static_cast<uint8_t>(card));
        }
        for (int cell = 0; cell < freecell::kCellCount; ++cell) cell_[cell] = kNoCard;
        for (int suit = 0; suit < freecell::kSuitCount; ++suit) home_[suit] = static_cast<uint8_t>(deal.home[suit]);
        left_ = freecell::cardsLeft(deal);
        for (int card = 0; card < freecell::kCardCount; ++card) {
            cellKey_[card] = Key{mix(0x3C6EF372FE94F82Bull + card), mix(0xA54FF53A5F1D36F1ull ^ (card * 0x9E3779B97F4A7C15ull))};
        }
    }

    CellSearchResult run(uint64_t positionLimit) {
        CellSearchResult result;
        PositionSet seen;
        playAutomatic();
        seen.insert(key());
        if (left_ == 0) {
            result.verdict = CellVerdict::won;
            result.positions = 1;
            return result;
        }
        frames_.push_back(Frame{0, 0, 0, 0});
        generate(frames_.back());
        while (!frames_.empty()) {
            Frame& frame = frames_.back();
            if (frame.next == frame.count) {
                undoTo(frame.undoFrom);
                moves_.resize(frame.movesFrom);
                frames_.pop_back();
                continue;
            }
            const Step move = moves_[frame.movesFrom + frame.next++];
            const uint32_t undoFrom = static_cast<uint32_t>(undo_.size());
            play(move.from, move.to);
            playAutomatic();
            if (left_ == 0) {
                result.verdict = CellVerdict::won;
                result.positions = seen.size();
                frames_.push_back(Frame{0, 0, 0, undoFrom});
                result.moves = winningMoves();
                return result;
            }
            if (!seen.insert(key())) {
                undoTo(undoFrom);
                continue;
            }
            if (seen.size() >= positionLimit) {
                result.positions = seen.size();
                return result;
            }
            frames_.push_back(Frame{static_cast<uint32_t>(moves_.size()), 0, 0, undoFrom});
            generate(frames_.back());
        }
        result.verdict = CellVerdict::cannotBeWon;
        result.positions = seen.size();
        return result;
    }

private:
    struct Frame {
        uint32_t movesFrom;
        uint16_t count;
        uint16_t next;
        uint32_t undoFrom;  // the move that led here is undo_[undoFrom]
    };

    static int suitOf(uint8_t card) { return card % 4; }
    static int rankOf(uint8_t card) { return card / 4; }
    static bool isRed(int suit) { return suit == 1 || suit == 2; }
    static bool fits(uint8_t card, uint8_t target) {
        return rankOf(target) == rankOf(card) + 1 && isRed(suitOf(card)) != isRed(suitOf(target));
    }

    uint8_t top(int place) const { return place < kFirstCell ? cards_[place][length_[place] - 1] : cell_[place - kFirstCell]; }
    bool occupied(int place) const { return place < kFirstCell ? length_[place] > 0 : cell_[place - kFirstCell] != kNoCard; }

    void put(int place, uint8_t card) {
        if (place == kHome) {
            ++home_[suitOf(card)];
            --left_;
        } else if (place >= kFirstCell) {
            cell_[place - kFirstCell] = card;
        } else {
            const int length = length_[place];
            if (length >= kColumnRoom) std::abort();  // cannot happen: 7 + 13 cards at most
            cards_[place][length] = card;
            const Key before = hash_[place][length];
            hash_[place][length + 1] = Key{mix(before.a * 0x9E3779B97F4A7C15ull + card + 1),
                                           mix(before.b ^ ((card + 1) * 0xC2B2AE3D27D4EB4Full)) + 0x165667B19E3779F9ull};
            length_[place] = static_cast<uint8_t>(length + 1);
        }
    }
    void take(int place, uint8_t card) {
        if (place == kHome) {
            --home_[suitOf(card)];
            ++left_;
        } else if (place >= kFirstCell) {
            cell_[place - kFirstCell] = kNoCard;
        } else {
            --length_[place];
        }
    }
    void play(int from, int to) {
        const uint8_t card = top(from);
        take(from, card);
        put(to, card);
        undo_.push_back(Step{static_cast<uint8_t>(from), static_cast<uint8_t>(to), card});
    }
    void undoTo(uint32_t size) {
        while (undo_.size() > size) {
            const Step step = undo_.back();
            undo_.pop_back();
            take(step.to, step.card);
            put(step.from, step.card);
        }
    }

    bool canGoHome(uint8_t card) const { return home_[suitOf(card)] == rankOf(card); }
    // As freecell::nextAutomaticMove decides.
    bool safeHome(uint8_t card) const {
        if (!canGoHome(card)) return false;
        const int rank = rankOf(card);
        if (rank <= 1) return true;
        for (int suit = 0; suit < freecell::kSuitCount; ++suit) {
            if (isRed(suit) != isRed(suitOf(card)) && home_[suit] < rank) return false;
        }
        return true;
    }
    void playAutomatic() {
        for (bool moved = true; moved;) {
            moved = false;
            for (int place = 0; place < kHome; ++place) {
                if (place >= kFirstCell + cells_) break;
                if (occupied(place) && safeHome(top(place))) {
                    play(place, kHome);
                    moved = true;
                }
            }
        }
    }

    // The columns and the cells as multisets: a sum of hashes.
    Key key() const {
        Key sum;
        for (int column = 0; column < freecell::kColumnCount; ++column) {
            const Key& h = hash_[column][length_[column]];
            sum.a += mix(h.a);
            sum.b += mix(h.b ^ 0x510E527FADE682D1ull);
        }
        for (int cell = 0; cell < cells_; ++cell) {
            if (cell_[cell] == kNoCard) continue;
            sum.a += cellKey_[cell_[cell]].a;
            sum.b += cellKey_[cell_[cell]].b;
        }
        return sum;
    }

    // Home first, then onto fitting cards (from the cells first), into the
    // first empty column, into the first free cell.
    void generate(Frame& frame) {
        const size_t before = moves_.size();
        const auto add = [&](int from, int to) { moves_.push_back(Step{static_cast<uint8_t>(from), static_cast<uint8_t>(to), 0}); };
        int emptyColumn = -1, freeCell = -1;
        for (int column = 0; column < freecell::kColumnCount; ++column)
            if (!length_[column] && emptyColumn < 0) emptyColumn = column;
        for (int cell = 0; cell < cells_; ++cell)
            if (cell_[cell] == kNoCard && freeCell < 0) freeCell = kFirstCell + cell;
        const int lastPlace = kFirstCell + cells_;
        for (int from = 0; from < lastPlace; ++from)
            if (occupied(from) && canGoHome(top(from))) add(from, kHome);
        for (int from = lastPlace - 1; from >= 0; --from) {
            if (!occupied(from)) continue;
            const uint8_t card = top(from);
            for (int to = 0; to < freecell::kColumnCount; ++to)
                if (to != from && length_[to] && fits(card, top(to))) add(from, to);
        }
        if (emptyColumn >= 0) {
            for (int from = lastPlace - 1; from >= 0; --from)
                if (occupied(from) && (from >= kFirstCell || length_[from] > 1)) add(from, emptyColumn);
        }
        if (freeCell >= 0) {
            for (int from = 0; from < freecell::kColumnCount; ++from)
                if (length_[from]) add(from, freeCell);
        }
        frame.count = static_cast<uint16_t>(moves_.size() - before);
    }

    std::vector<Move> winningMoves() const {
        std::vector<Move> moves;
        const auto location = [](int place, uint8_t card) {
            if (place == kHome) return Location{Place::Home, suitOf(card)};
            if (place >= kFirstCell) return Location{Place::Cell, place - kFirstCell};
            return Location{Place::Column, place};
        };
        for (size_t i = 1; i < frames_.size(); ++i) {
            const Step& step = undo_[frames_[i].undoFrom];
            moves.push_back(Move{location(step.from, step.card), location(step.to, step.card), 1});
        }
        return moves;
    }

    int cells_;
    uint8_t cards_[freecell::kColumnCount][kColumnRoom];
    uint8_t length_[freecell::kColumnCount];
    Key hash_[freecell::kColumnCount][kColumnRoom + 1];
    uint8_t cell_[freecell::kCellCount];
    uint8_t home_[freecell::kSuitCount];
    int left_ = 0;
    Key cellKey_[freecell::kCardCount];
    std::vector<Frame> frames_;
    std::vector<Step> moves_;
    std::vector<Step> undo_;
};

}  // namespace

CellSearchResult searchWithCells(const Board& deal, int freeCells, uint64_t positionLimit) {
    if (freeCells < 0 || freeCells > freecell::kCellCount) std::abort();
    auto search = std::make_unique<Search>(deal, freeCells);
    return search->run(positionLimit);
}

std::string replayWithCells(const Board& deal, int freeCells, const std::vector<Move>& moves) {
    Board board = deal;
    freecell::playAutomaticMoves(board);
    for (size_t i = 0; i < moves.size(); ++i) {
        const Move& move = moves[i];
        const std::string name = "move " + std::to_string(i + 1) + " " + freecell::describe(move);
        if (move.to.place == Place::Cell && move.to.index >= freeCells) return name + " uses a free cell beyond " + std::to_string(freeCells);
        if (!freecell::isLegal(board, move)) return name + " is not allowed";
        freecell::applyMove(board, move);
        freecell::playAutomaticMoves(board);
    }
    if (!freecell::isFinished(board)) return std::to_string(freecell::cardsLeft(board)) + " cards are left after the last move";
    return {};
}

}  // namespace deal_table
