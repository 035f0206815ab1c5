#include "standin/board_painter_win.h"

#include <string>

namespace standin {

namespace {

constexpr int kCardWidth = 62;
constexpr int kCardHeight = 84;
constexpr int kColumnStep = 76;
constexpr int kOverlap = 20;
constexpr int kMargin = 12;
constexpr int kColumnsTop = 112;
constexpr COLORREF kTable = RGB(0, 128, 0);

class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject() {
        if (object_) DeleteObject(object_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ get() const { return object_; }

private:
    HGDIOBJ object_;
};

void drawSlot(HDC dc, int x, int y) {
    const RECT slot{x, y, x + kCardWidth, y + kCardHeight};
    FrameRect(dc, &slot, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void drawCard(HDC dc, int x, int y, Card card) {
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    RoundRect(dc, x, y, x + kCardWidth, y + kCardHeight, 8, 8);
    static const wchar_t kSuits[4] = {L'\u2663', L'\u2666', L'\u2665', L'\u2660'};
    static const wchar_t* const kRanks[13] = {L"A", L"2", L"3", L"4", L"5", L"6", L"7",
                                              L"8", L"9", L"10", L"J", L"Q", L"K"};
    std::wstring label = kRanks[rankOf(card)];
    label += kSuits[suitOf(card)];
    SetTextColor(dc, isRed(card) ? RGB(200, 0, 0) : RGB(0, 0, 0));
    TextOutW(dc, x + 5, y + 3, label.c_str(), static_cast<int>(label.size()));
}

}  // namespace

void paintBoard(HDC dc, const RECT& client, const BoardView& view) {
    GdiObject table(CreateSolidBrush(kTable));
    FillRect(dc, &client, static_cast<HBRUSH>(table.get()));
    GdiObject font(CreateFontA(-14, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "ＭＳ Ｐゴシック"));
    const HGDIOBJ oldFont = SelectObject(dc, font.get());
    SetBkMode(dc, TRANSPARENT);

    for (int i = 0; i < kCellCount; ++i) {
        const int cellX = kMargin + i * (kCardWidth + 6);
        const int homeX = client.right - kMargin - (kCellCount - i) * (kCardWidth + 6) + 6;
        drawSlot(dc, cellX, kMargin);
        drawSlot(dc, homeX, kMargin);
        if (!view.board) continue;
        if (const auto& cell = view.board->cells[i]) drawCard(dc, cellX, kMargin, *cell);
        if (const int count = view.board->home[i]) drawCard(dc, homeX, kMargin, (count - 1) * 4 + i);
    }
    if (view.board) {
        for (int column = 0; column < kColumnCount; ++column) {
            const auto& cards = view.board->columns[column];
            for (std::size_t row = 0; row < cards.size(); ++row) {
                drawCard(dc, kMargin + column * kColumnStep, kColumnsTop + static_cast<int>(row) * kOverlap,
                         cards[row]);
            }
        }
    }

    std::string status = "ゲーム番号 ";
    status += view.board ? std::to_string(view.gameNumber) : "-";
    status += "    手数 " + std::to_string(view.moves);
    if (view.board && !view.inProgress) status += "    (終了)";
    SetTextColor(dc, RGB(255, 255, 255));
    TextOutA(dc, kMargin, client.bottom - 28, status.c_str(), static_cast<int>(status.size()));
    SelectObject(dc, oldFont);
}

}  // namespace standin
