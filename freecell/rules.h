#pragma once

#include <optional>
#include <string>
#include <vector>

#include "freecell/cards.h"

namespace freecell {

// A place on the board: a column (0 to 7, left to right), a free cell (0 to 3)
// or the home cell of a suit (index = suit).
enum class Place { Column, Cell, Home };

struct Location {
    Place place = Place::Column;
    int index = 0;
    bool operator==(const Location& other) const { return place == other.place && index == other.index; }
    bool operator!=(const Location& other) const { return !(*this == other); }
};

// `count` cards from the bottom of `from` to `to`; more than one only between
// columns.
struct Move {
    Location from;
    Location to;
    int count = 1;
    bool operator==(const Move& other) const { return from == other.from && to == other.to && count == other.count; }
};

// "column2>cell0", "cell1>home3", "column0>column5 x3"
std::string describe(const Location& location);
std::string describe(const Move& move);

// The tableau builds down in alternating colours: a red 7 onto a black 8.
bool fitsOnto(Card card, Card target);

// How many cards at the bottom of the column form one ordered run.
int orderedRunLength(const std::vector<Card>& column);

int freeCellCount(const Board& board);
int emptyColumnCount(const Board& board);

// The most cards one move can take between columns: (free cells + 1) ×
// 2^(empty columns), not counting the target when it is an empty column.
int supermoveLimit(const Board& board, bool toEmptyColumn);

bool canGoHome(const Board& board, Card card);

// The card a move would take first: the bottom card of a cell, or the top
// card of the run that leaves a column. None when the source has too few.
std::optional<Card> leadingCard(const Board& board, const Move& move);

bool isLegal(const Board& board, const Move& move);
// Carries out a move that isLegal allows.
void applyMove(Board& board, const Move& move);

// Every move that changes the game: to a home cell, into the first free cell,
// onto a fitting card, or into the first empty column (never a whole column
// into an empty one, nor from one free cell into another).
std::vector<Move> legalMoves(const Board& board);
bool hasLegalMove(const Board& board);

// A card goes home by itself when nothing can still need it on the tableau:
// aces and twos, and any card whose opposite-coloured cards one rank lower
// are home already.
std::optional<Move> nextAutomaticMove(const Board& board);
// Plays the automatic moves one after another; returns them in order.
std::vector<Move> playAutomaticMoves(Board& board);

bool isFinished(const Board& board);
// Every card home: what a won game looks like at its end.
void sendAllHome(Board& board);

}  // namespace freecell
