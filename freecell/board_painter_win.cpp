#include "freecell/board_painter_win.h"

#include <algorithm>
#include <string>

#include "freecell/board_layout.h"
#include "freecell/card_painter_win.h"
#include "freecell/gdi_objects_win.h"

namespace freecell {

namespace {

constexpr COLORREF kTable = RGB(0, 128, 0);
constexpr COLORREF kStatusBar = RGB(212, 208, 200);
constexpr COLORREF kHint = RGB(255, 215, 0);

RECT toRect(const Rect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

void invert(HDC dc, const Rect& rect) {
    const RECT area = toRect(rect);
    InvertRect(dc, &area);
}

// The selected cards turn inverted: each card's visible strip, and the bottom
// card whole.
void showSelection(HDC dc, const BoardLayout& layout, const Board& board, const Selection& selection) {
    const Location& place = selection.location;
    if (place.place == Place::Cell) {
        invert(dc, layout.cell(place.index));
        return;
    }
    const int cards = static_cast<int>(board.columns[place.index].size());
    for (int row = selection.row; row < cards; ++row) {
        Rect rect = layout.card(board, place.index, row);
        if (row < cards - 1) rect.bottom = rect.top + layout.step(board, place.index);
        invert(dc, rect);
    }
}

void paintStatus(HDC dc, const Rect& line, const BoardView& view) {
    GdiObject brush(CreateSolidBrush(kStatusBar));
    const RECT area = toRect(line);
    FillRect(dc, &area, static_cast<HBRUSH>(brush.get()));
    // 12 of the line's classic 20 pixels.
    const int textHeight = (line.bottom - line.top) * 12 / 20;
    GdiObject font(CreateFontA(-textHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                               "ＭＳ Ｐゴシック"));
    Selected selected(dc, font.get());
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    const int y = line.top + (line.bottom - line.top - textHeight) / 2 - 1;
    if (view.board) {
        const std::string number = "ゲーム番号 " + std::to_string(view.gameNumber);
        TextOutA(dc, line.left + 6, y, number.c_str(), static_cast<int>(number.size()));
    }
    if (!view.message.empty()) {
        SetTextAlign(dc, TA_CENTER | TA_TOP);
        TextOutA(dc, (line.left + line.right) / 2, y, view.message.c_str(), static_cast<int>(view.message.size()));
    }
    const std::string left = "残りのカード: " + std::to_string(view.board ? cardsLeft(*view.board) : kCardCount);
    SetTextAlign(dc, TA_RIGHT | TA_TOP);
    TextOutA(dc, line.right - 8, y, left.c_str(), static_cast<int>(left.size()));
    SetTextAlign(dc, TA_LEFT | TA_TOP);
}

// A frame in the hint's colour, drawn inside `rect`.
void frame(HDC dc, const Rect& rect, int width) {
    GdiObject pen(CreatePen(PS_INSIDEFRAME, width, kHint));
    Selected selectedPen(dc, pen.get());
    Selected hollow(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

// The hint's cards framed where they lie, and the place they go to.
void showHint(HDC dc, const BoardLayout& layout, const Board& board, const Move& move) {
    const int width = std::max(2, layout.cardWidth() / 24);
    if (move.from.place == Place::Cell) {
        frame(dc, layout.cell(move.from.index), width);
    } else {
        const int column = move.from.index;
        const int cards = static_cast<int>(board.columns[column].size());
        if (cards < move.count) return;
        Rect run = layout.card(board, column, cards - move.count);
        run.bottom = layout.card(board, column, cards - 1).bottom;
        frame(dc, run, width);
    }
    switch (move.to.place) {
        case Place::Cell:
            frame(dc, layout.cell(move.to.index), width);
            break;
        case Place::Home:
            frame(dc, layout.home(move.to.index), width);
            break;
        case Place::Column: {
            const int cards = static_cast<int>(board.columns[move.to.index].size());
            frame(dc, cards ? layout.card(board, move.to.index, cards - 1) : layout.columnSlot(move.to.index), width);
            break;
        }
    }
}

}  // namespace

void paintBoard(HDC dc, const RECT& client, const BoardView& view) {
    GdiObject table(CreateSolidBrush(kTable));
    FillRect(dc, &client, static_cast<HBRUSH>(table.get()));
    const BoardLayout layout(client.right - client.left, client.bottom - client.top);
    const CardPainter painter(layout.scale());
    static const Board kEmptyBoard;
    const Board& board = view.board ? *view.board : kEmptyBoard;

    const std::optional<LiftedCards>& lifted = view.lifted;
    const auto isLifted = [&](Place place, int index, int row) {
        return lifted && lifted->cards.location == Location{place, index} && row >= lifted->cards.row;
    };
    for (int i = 0; i < kCellCount; ++i) {
        const Rect rect = layout.cell(i);
        if (board.cells[i] && !isLifted(Place::Cell, i, 0)) {
            painter.card(dc, rect.left, rect.top, *board.cells[i]);
        } else {
            painter.emptySlot(dc, toRect(rect), -1);
        }
    }
    for (int suit = 0; suit < kSuitCount; ++suit) {
        const Rect rect = layout.home(suit);
        if (const int count = board.home[suit]) {
            painter.card(dc, rect.left, rect.top, cardOf(count - 1, suit));
        } else {
            painter.emptySlot(dc, toRect(rect), suit);
        }
    }
    for (int column = 0; column < kColumnCount; ++column) {
        const auto& cards = board.columns[column];
        if (cards.empty()) {
            if (view.board) painter.emptySlot(dc, toRect(layout.columnSlot(column)), -1);
            continue;
        }
        for (std::size_t row = 0; row < cards.size(); ++row) {
            if (isLifted(Place::Column, column, static_cast<int>(row))) break;
            const Rect rect = layout.card(board, column, static_cast<int>(row));
            painter.card(dc, rect.left, rect.top, cards[row]);
        }
    }
    if (view.board && lifted) {
        const Location& from = lifted->cards.location;
        if (from.place == Place::Cell && board.cells[from.index]) {
            painter.card(dc, lifted->lead.left, lifted->lead.top, *board.cells[from.index]);
        } else if (from.place == Place::Column) {
            const auto& cards = board.columns[from.index];
            const int step = layout.step(board, from.index);
            for (int row = lifted->cards.row; row < static_cast<int>(cards.size()); ++row) {
                painter.card(dc, lifted->lead.left, lifted->lead.top + (row - lifted->cards.row) * step, cards[row]);
            }
        }
    } else if (view.board && view.selection && *view.selection) {
        showSelection(dc, layout, board, **view.selection);
    }
    if (view.board && view.revealed && view.revealed->location.place == Place::Column) {
        const int column = view.revealed->location.index;
        const int row = view.revealed->row;
        if (row >= 0 && row < static_cast<int>(board.columns[column].size())) {
            const Rect rect = layout.card(board, column, row);
            painter.card(dc, rect.left, rect.top, board.columns[column][row]);
        }
    }
    if (view.board && view.hint && !lifted) showHint(dc, layout, board, *view.hint);
    paintStatus(dc, layout.statusLine(), view);
}

}  // namespace freecell
