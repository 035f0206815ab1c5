#pragma once

#include <optional>

#include "freecell/cards.h"
#include "freecell/mouse_play.h"

namespace freecell {

// The classic card, and the client area that shows it at this size: the
// game's 632 × 480 window at 96 pixels per inch.
inline constexpr int kCardWidth = 71;
inline constexpr int kCardHeight = 96;
inline constexpr int kClassicClientWidth = 624;
inline constexpr int kClassicClientHeight = 434;

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool contains(const Point& point) const {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
};

struct Size {
    int width = 0;
    int height = 0;
};

// The smallest client area the window may have: the board at three quarters
// of its classic size, at the screen's pixels per inch, where the cards'
// ranks and symbols still read well.
Size smallestClientSize(int pixelsPerInch);

// Where everything lies in the main window's client area: the four free
// cells at the top left, the four home cells (clubs, diamonds, hearts, spades)
// at the top right, the eight columns below them, and a status line at the
// bottom. A long column draws its cards closer together to stay above the
// status line. Everything is scaled with the client area: the classic client
// size shows the classic 71 × 96 cards, a larger one larger cards, as large
// as both its width and its height allow.
class BoardLayout {
public:
    BoardLayout(int clientWidth, int clientHeight);

    // The cards' size against the classic one (1 at the classic client size).
    double scale() const { return scale_; }
    int cardWidth() const { return cardWidth_; }
    int cardHeight() const { return cardHeight_; }

    Rect cell(int index) const;
    Rect home(int suit) const;
    // The space between the free cells and the home cells.
    Rect middle() const;
    // Where a column's top card lies (and an empty column's outline).
    Rect columnSlot(int column) const;
    // The vertical step between a column's cards.
    int step(const Board& board, int column) const;
    Rect card(const Board& board, int column, int row) const;
    Rect statusLine() const;

    // What a click at `point` is on: a cell, a home cell, or anywhere in a
    // column's lane (the card under the pointer, or the bottom card below the
    // column); none between the places.
    std::optional<Hit> hitTest(const Board& board, const Point& point) const;

    // A point that hitTest takes for that place (and row of a column): the
    // middle of the visible part of the card.
    Point pointOn(const Board& board, const Location& location, int row = -1) const;

private:
    int scaled(double length) const;

    int width_;
    int height_;
    double scale_;
    int cardWidth_;
    int cardHeight_;
    int columnsTop_;
    int normalStep_;
    int statusHeight_;
    int columnGap_;
};

}  // namespace freecell
