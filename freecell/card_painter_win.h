#pragma once

#include <windows.h>

#include "freecell/cards.h"
#include "freecell/gdi_objects_win.h"

namespace freecell {

// Draws the cards face up: the rank and a small suit symbol in two corners,
// the suit symbols in their pattern on an ace or a number card, a framed
// letter on a jack, queen or king. Every length is the classic 71 × 96 card's
// times `scale`, drawn as shapes and text at that size, so that the cards are
// sharp at any size. Holds its fonts for one painting of the board.
class CardPainter {
public:
    explicit CardPainter(double scale = 1.0);
    CardPainter(const CardPainter&) = delete;
    CardPainter& operator=(const CardPainter&) = delete;

    void card(HDC dc, int x, int y, Card card) const;
    // An empty free cell, home cell or column: a sunken outline, with the
    // suit's symbol dimmed in a home cell (suit -1: none).
    void emptySlot(HDC dc, const RECT& rect, int suit) const;
    // A suit symbol centred at (x, y), `halfSize` pixels from centre to edge.
    void suit(HDC dc, int suit, double x, double y, double halfSize, bool upsideDown, COLORREF colour) const;

private:
    int at(double length) const;

    double scale_;
    GdiObject rankFont_;
    GdiObject turnedRankFont_;
    GdiObject faceFont_;
};

COLORREF suitColour(Card card);

}  // namespace freecell
