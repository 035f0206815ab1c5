#include "freecell/card_painter_win.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "freecell/board_layout.h"
#include "freecell/card_faces.h"

namespace freecell {

namespace {

constexpr COLORREF kRed = RGB(204, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFacePanel = RGB(255, 246, 214);
constexpr COLORREF kSlotShadow = RGB(0, 72, 0);
constexpr COLORREF kSlotLight = RGB(64, 176, 64);
constexpr COLORREF kDimSymbol = RGB(0, 104, 0);

constexpr const char* kRankTexts[kRankCount] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};

HFONT makeFont(int height, int weight, int escapement) {
    return CreateFontA(-height, 0, escapement, escapement, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH | FF_SWISS, "Tahoma");
}

void drawText(HDC dc, HGDIOBJ font, COLORREF colour, int x, int y, const char* text, UINT align) {
    Selected selected(dc, font);
    SetTextColor(dc, colour);
    SetTextAlign(dc, align);
    TextOutA(dc, x, y, text, static_cast<int>(std::string(text).size()));
    SetTextAlign(dc, TA_LEFT | TA_TOP);
}

}  // namespace

COLORREF suitColour(Card card) { return isRed(card) ? kRed : kBlack; }

CardPainter::CardPainter(double scale)
    : scale_(scale),
      rankFont_(makeFont(at(14), FW_BOLD, 0)),
      turnedRankFont_(makeFont(at(14), FW_BOLD, 1800)),
      faceFont_(makeFont(at(34), FW_BOLD, 0)) {}

int CardPainter::at(double length) const { return static_cast<int>(std::lround(length * scale_)); }

void CardPainter::suit(HDC dc, int suitIndex, double x, double y, double halfSize, bool upsideDown,
                       COLORREF colour) const {
    GdiObject brush(CreateSolidBrush(colour));
    GdiObject pen(CreatePen(PS_SOLID, 1, colour));
    Selected selectedBrush(dc, brush.get());
    Selected selectedPen(dc, pen.get());
    for (const Outline& outline : suitShape(suitIndex)) {
        std::vector<POINT> points;
        for (const ShapePoint& point : outline) {
            const double dy = upsideDown ? -point.y : point.y;
            points.push_back(
                {static_cast<LONG>(x + point.x * halfSize + 0.5), static_cast<LONG>(y + dy * halfSize + 0.5)});
        }
        Polygon(dc, points.data(), static_cast<int>(points.size()));
    }
}

void CardPainter::card(HDC dc, int x, int y, Card card) const {
    const int width = at(kCardWidth);
    const int height = at(kCardHeight);
    {
        Selected brush(dc, GetStockObject(WHITE_BRUSH));
        Selected pen(dc, GetStockObject(BLACK_PEN));
        RoundRect(dc, x, y, x + width, y + height, at(9), at(9));
    }
    const COLORREF colour = suitColour(card);
    const int rank = rankOf(card);
    const int suitIndex = suitOf(card);
    const char* rankText = kRankTexts[rank];
    const double s = scale_;

    // The index: the rank with the suit beside it, in the strip a covered
    // card still shows, and turned in the opposite corner.
    SetBkMode(dc, TRANSPARENT);
    SIZE extent{};
    {
        Selected font(dc, rankFont_.get());
        GetTextExtentPoint32A(dc, rankText, static_cast<int>(std::string(rankText).size()), &extent);
    }
    const double suitX = 3 * s + extent.cx + 6 * s;
    drawText(dc, rankFont_.get(), colour, x + at(3), y + at(2), rankText, TA_LEFT | TA_TOP);
    suit(dc, suitIndex, x + suitX, y + 9.5 * s, 5 * s, false, colour);
    // Text turned by 180 degrees runs left and up from its origin.
    drawText(dc, turnedRankFont_.get(), colour, x + width - at(3), y + height - at(2), rankText, TA_LEFT | TA_TOP);
    suit(dc, suitIndex, x + width - suitX, y + height - 9.5 * s, 5 * s, true, colour);

    if (rank < 10) {
        for (const Pip& pip : pipLayout(rank))
            suit(dc, suitIndex, x + pip.x * s, y + pip.y * s, pip.halfSize * s, pip.upsideDown, colour);
        return;
    }
    // Jack, queen and king: a framed panel with the letter and the suit.
    GdiObject panel(CreateSolidBrush(kFacePanel));
    GdiObject frame(CreatePen(PS_SOLID, std::max(1, at(2)), colour));
    {
        Selected brush(dc, panel.get());
        Selected pen(dc, frame.get());
        Rectangle(dc, x + at(14), y + at(kIndexStripHeight + 2), x + width - at(14),
                  y + height - at(kIndexStripHeight + 2));
    }
    drawText(dc, faceFont_.get(), colour, x + width / 2, y + at(24), rankText, TA_CENTER | TA_TOP);
    suit(dc, suitIndex, x + width / 2.0, y + 64 * s, 8 * s, false, colour);
}

void CardPainter::emptySlot(HDC dc, const RECT& rect, int suitIndex) const {
    GdiObject shadow(CreatePen(PS_SOLID, 1, kSlotShadow));
    GdiObject light(CreatePen(PS_SOLID, 1, kSlotLight));
    {
        Selected pen(dc, shadow.get());
        MoveToEx(dc, rect.left, rect.bottom - 1, nullptr);
        LineTo(dc, rect.left, rect.top);
        LineTo(dc, rect.right - 1, rect.top);
    }
    {
        Selected pen(dc, light.get());
        LineTo(dc, rect.right - 1, rect.bottom - 1);
        LineTo(dc, rect.left, rect.bottom - 1);
    }
    if (suitIndex >= 0) {
        suit(dc, suitIndex, (rect.left + rect.right) / 2.0, (rect.top + rect.bottom) / 2.0, 16 * scale_, false,
             kDimSymbol);
    }
}

}  // namespace freecell
