#include "forms/progress_painter_win.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "common/handles_win.h"
#include "common/number_text.h"
#include "controls/thousands.h"
#include "toolkit/gdi_object.h"
#include "toolkit/screen_scale.h"

namespace {

// Two more with the deals' table: the first attempts by difficulty.
constexpr int kSummaryLines = 4;
constexpr int kLevelLines = 2;

// The lengths of the window's parts at the screen's pixels per inch: laid
// out for 96, grown with the text at 120 or 144.
struct Metrics {
    explicit Metrics(int dpi)
        : margin(scaledToDpi(8, dpi)),
          lineHeight(scaledToDpi(16, dpi)),
          statusHeight(scaledToDpi(20, dpi)),
          axisLeft(scaledToDpi(44, dpi)),
          axisRight(scaledToDpi(40, dpi)),
          swatch(scaledToDpi(10, dpi)),
          dpi(dpi) {}
    int margin;
    int lineHeight;
    int statusHeight;
    int axisLeft;   // room for the count axis's labels
    int axisRight;  // room for the percentages
    int swatch;     // a legend's colour square
    int dpi;
    int scaled(int designed) const { return scaledToDpi(designed, dpi); }
};

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr COLORREF kAxis = RGB(96, 96, 96);
constexpr COLORREF kGrid = RGB(225, 225, 225);
constexpr COLORREF kWonBar = RGB(60, 170, 60);
constexpr COLORREF kLostBar = RGB(220, 60, 50);
constexpr COLORREF kPercentLine = RGB(30, 80, 220);

struct FateLook {
    NumberFate fate;
    COLORREF color;
    const char* name;
};
// In the legend's order.
const FateLook kFateLooks[] = {
    {NumberFate::firstAttemptWin, RGB(40, 160, 40), "1回目で勝ち"},
    {NumberFate::laterWin, RGB(150, 210, 90), "2回目以降で勝ち"},
    {NumberFate::lost, RGB(225, 40, 40), "負けたまま"},
    {NumberFate::passed, RGB(255, 165, 0), "パス中"},
    {NumberFate::notPlayed, RGB(230, 230, 230), "まだ"},
    {NumberFate::impossible, RGB(90, 0, 120), "解けない番号"},
    {NumberFate::noRecord, RGB(150, 150, 150), "記録なし"},
};

struct LevelLook {
    DifficultyLevel level;
    COLORREF color;
    const char* name;  // after the legend's heading "必要なフリーセル"
};
// In the legend's order: from no free cell to four, green to red.
const LevelLook kLevelLooks[] = {
    {DifficultyLevel::freeCells0, RGB(40, 160, 40), "0枚"},
    {DifficultyLevel::freeCells1, RGB(150, 210, 90), "1枚"},
    {DifficultyLevel::freeCells2, RGB(245, 215, 70), "2枚"},
    {DifficultyLevel::freeCells3, RGB(245, 140, 40), "3枚"},
    {DifficultyLevel::freeCells4, RGB(215, 30, 30), "4枚"},
    {DifficultyLevel::fourCellsAtMost, RGB(200, 185, 160), "4枚以内"},
    {DifficultyLevel::cannotBeWon, RGB(90, 0, 120), "解けない"},
    {DifficultyLevel::unknown, RGB(230, 230, 230), "不明"},
};
static_assert(sizeof kLevelLooks / sizeof kLevelLooks[0] == kDifficultyLevels, "a look for every level");

const FateLook& lookOf(NumberFate fate) {
    for (const FateLook& look : kFateLooks)
        if (look.fate == fate) return look;
    return kFateLooks[4];
}

std::string grouped(int64_t value) { return groupThousands(std::to_string(value)); }

std::string dateText(int32_t day) {
    const LocalTime date = dateOfDay(day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", date.year, date.month, date.day);
    return text;
}

std::string shortDateText(int32_t day) {
    const LocalTime date = dateOfDay(day);
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d", date.month, date.day);
    return text;
}

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void fill(HDC dc, const RECT& area, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

void text(HDC dc, int x, int y, const std::string& line, COLORREF color = kText) {
    SetTextColor(dc, color);
    TextOutA(dc, x, y, line.c_str(), static_cast<int>(line.size()));
}

int textWidth(HDC dc, const std::string& line) {
    SIZE size{};
    GetTextExtentPoint32A(dc, line.c_str(), static_cast<int>(line.size()), &size);
    return size.cx;
}

void textRight(HDC dc, int right, int y, const std::string& line, COLORREF color = kText) {
    text(dc, right - textWidth(dc, line), y, line, color);
}

void line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// A round top for the count axis whose half, the middle label, is a whole
// number too: 2, 4 or 10 times a power of ten.
uint32_t roundTop(uint32_t value) {
    uint32_t step = 1;
    for (;;) {
        for (uint32_t factor : {2u, 4u, 10u})
            if (value <= step * factor) return step * factor;
        if (step > 100000000u) return value;
        step *= 10;
    }
}

// The picture's pixels, written straight: a chart of years of weeks or a
// million numbers costs no GDI call per bar or cell.
struct Pixels {
    uint32_t* first;
    int stride;
    void fill(const RECT& area, COLORREF color) const {
        const uint32_t value = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
        for (int y = area.top; y < area.bottom; ++y)
            std::fill(first + static_cast<std::ptrdiff_t>(y) * stride + area.left,
                      first + static_cast<std::ptrdiff_t>(y) * stride + area.right, value);
    }
};

void paintChart(HDC dc, const Pixels& pixels, const RECT& area, const Chart& chart, const Metrics& m) {
    const std::string heading = std::string("ゲーム数（") + (chart.daysPerBin == 1 ? "1日" : "1週") + "ごと）";
    text(dc, area.left, area.top, heading);
    int x = area.left + textWidth(dc, heading) + m.scaled(12);
    const auto key = [&](COLORREF color, const std::string& name, bool isLine) {
        const int middle = area.top + m.lineHeight / 2;
        RECT swatch{x, middle - m.swatch / 2, x + m.swatch, middle + m.swatch / 2};
        if (isLine) swatch = RECT{x, middle - 1, x + m.scaled(14), middle + 1};
        fill(dc, swatch, color);
        x = swatch.right + m.scaled(4);
        text(dc, x, area.top, name);
        x += textWidth(dc, name) + m.scaled(12);
    };
    key(kWonBar, "勝ち", false);
    key(kLostBar, "負け", false);
    key(kPercentLine, "通算勝率", true);

    const RECT plot{area.left + m.axisLeft, area.top + m.lineHeight + m.scaled(6), area.right - m.axisRight,
                    area.bottom - m.lineHeight - 2};
    if (plot.right - plot.left < 20 || plot.bottom - plot.top < 20) return;
    uint32_t most = 1;
    for (const ChartBin& bin : chart.bins) most = std::max(most, bin.won + bin.lost);
    const uint32_t top = roundTop(most);
    const int height = plot.bottom - plot.top;

    // Grid and axes, their labels outside the plot.
    GdiObject<HPEN> gridPen(CreatePen(PS_SOLID, 1, kGrid));
    GdiObject<HPEN> axisPen(CreatePen(PS_SOLID, 1, kAxis));
    GdiObject<HPEN> percentPen(CreatePen(PS_SOLID, 2, kPercentLine));
    if (!gridPen || !axisPen || !percentPen) return;
    {
        SelectedObject pen(dc, gridPen.get());
        for (int quarter = 1; quarter <= 4; ++quarter) {
            const int y = plot.bottom - height * quarter / 4;
            line(dc, plot.left, y, plot.right, y);
        }
    }
    textRight(dc, plot.left - 4, plot.bottom - m.lineHeight / 2, "0", kAxis);
    textRight(dc, plot.left - 4, plot.top - m.lineHeight / 2, grouped(top), kAxis);
    textRight(dc, plot.left - 4, plot.top + height / 2 - m.lineHeight / 2, grouped(top / 2), kAxis);
    text(dc, plot.right + 4, plot.bottom - m.lineHeight / 2, "0%", kPercentLine);
    text(dc, plot.right + 4, plot.top + height / 2 - m.lineHeight / 2, "50%", kPercentLine);
    text(dc, plot.right + 4, plot.top - m.lineHeight / 2, "100%", kPercentLine);

    const int bins = static_cast<int>(chart.bins.size());
    if (bins > 0) {
        const double width = static_cast<double>(plot.right - plot.left) / bins;
        std::vector<POINT> percent;
        GdiFlush();
        for (int i = 0; i < bins; ++i) {
            const ChartBin& bin = chart.bins[static_cast<std::size_t>(i)];
            const int left = plot.left + static_cast<int>(i * width);
            int right = plot.left + static_cast<int>((i + 1) * width);
            if (right - left >= 3) --right;
            if (right <= left) right = left + 1;
            const int wonTop = plot.bottom - static_cast<int>(static_cast<double>(bin.won) * height / top);
            const int lostTop = wonTop - static_cast<int>(static_cast<double>(bin.lost) * height / top);
            if (bin.won > 0) pixels.fill(RECT{left, wonTop, right, plot.bottom}, kWonBar);
            if (bin.lost > 0) pixels.fill(RECT{left, lostTop, right, wonTop}, kLostBar);
            if (bin.winPercentSoFar)
                percent.push_back(POINT{plot.left + static_cast<int>((i + 0.5) * width),
                                        plot.bottom - static_cast<int>(*bin.winPercentSoFar * height / 100.0)});
        }
        if (!percent.empty()) {
            SelectedObject pen(dc, percentPen.get());
            if (percent.size() == 1) percent.push_back(POINT{percent[0].x + 1, percent[0].y});
            Polyline(dc, percent.data(), static_cast<int>(percent.size()));
        }
        const int32_t lastDay = chart.bins.back().firstDay;
        text(dc, plot.left, plot.bottom + 2, shortDateText(chart.bins.front().firstDay), kAxis);
        if (bins > 1) textRight(dc, plot.right, plot.bottom + 2, shortDateText(lastDay), kAxis);
        const std::string span = dateText(chart.bins.front().firstDay).substr(0, 4);
        const int middle = (plot.left + plot.right) / 2;
        text(dc, middle - textWidth(dc, span) / 2, plot.bottom + 2, span, kAxis);
    } else {
        text(dc, plot.left + 8, plot.top + 8, "記録はまだありません", kAxis);
    }
    SelectedObject pen(dc, axisPen.get());
    line(dc, plot.left, plot.top, plot.left, plot.bottom);
    line(dc, plot.left, plot.bottom, plot.right, plot.bottom);
    line(dc, plot.right, plot.top, plot.right, plot.bottom);
}

// With the deals' table, the legend's first row begins after the colouring
// toggle, a control of the window.
void paintLegend(HDC dc, const ProgressAreas& areas, const MapLayout& layout, MapColouring colouring, bool toggleShown,
                 const Metrics& m) {
    const RECT& area = areas.legend;
    int x = toggleShown ? static_cast<int>(areas.colouringToggle.right) + m.scaled(8) : area.left;
    int y = area.top;
    const auto key = [&](COLORREF color, const char* name) {
        const int width = m.swatch + m.scaled(4) + textWidth(dc, name) + m.scaled(12);
        if (x + width > area.right && x > area.left) {
            x = area.left;
            y += m.lineHeight;
        }
        const int middle = y + m.lineHeight / 2;
        fill(dc, RECT{x, middle - m.swatch / 2, x + m.swatch, middle + m.swatch / 2}, color);
        text(dc, x + m.swatch + m.scaled(4), y, name);
        x += width;
    };
    if (colouring == MapColouring::byDifficulty) {
        const std::string heading = "必要なフリーセル";
        text(dc, x, y, heading);
        x += textWidth(dc, heading) + m.scaled(8);
        for (const LevelLook& look : kLevelLooks) key(look.color, look.name);
    } else {
        for (const FateLook& look : kFateLooks) key(look.color, look.name);
    }
    if (layout.numbersPerCell > 1) {
        const std::string note = "1マスに " + grouped(layout.numbersPerCell) + " 番号";
        if (x + textWidth(dc, note) > area.right) {
            x = area.left;
            y += m.lineHeight;
        }
        text(dc, x, y, note, kAxis);
    }
}

uint32_t pixelOf(COLORREF color) { return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color); }

// Each cell as a block of pixels straight into the bitmap: a million numbers
// take no GDI call each.
void paintMap(uint32_t* pixels, int stride, const ProgressRecord& record, const PlacedMap& placed,
              MapColouring colouring) {
    const MapLayout& layout = placed.layout;
    if (layout.cellSize <= 0) return;
    const int32_t numbers = record.maxGameNumber();
    // A gap of one pixel between cells that are large enough to spare it.
    const int blockWidth = layout.cellSize >= 4 ? layout.cellSize - 1 : layout.cellSize;
    const int blockHeight = layout.cellHeight >= 4 ? layout.cellHeight - 1 : layout.cellHeight;
    uint32_t colors[kNumberFates];
    for (const FateLook& look : kFateLooks) colors[static_cast<int>(look.fate)] = pixelOf(look.color);
    uint32_t levelColors[kDifficultyLevels];
    for (const LevelLook& look : kLevelLooks) levelColors[static_cast<int>(look.level)] = pixelOf(look.color);
    const bool byDifficulty = colouring == MapColouring::byDifficulty;
    for (int row = 0; row < layout.rows; ++row) {
        for (int column = 0; column < layout.columns; ++column) {
            const int64_t first = (static_cast<int64_t>(row) * layout.columns + column) * layout.numbersPerCell + 1;
            if (first > numbers) return;
            const int32_t number = static_cast<int32_t>(first);
            uint32_t color;
            if (byDifficulty) {
                const DifficultyLevel level = layout.numbersPerCell == 1
                                                  ? record.level(number)
                                                  : levelOfCell(record, number, layout.numbersPerCell).level;
                color = levelColors[static_cast<int>(level)];
            } else {
                const NumberFate fate = layout.numbersPerCell == 1
                                            ? record.fate(number)
                                            : viewCell(record, number, layout.numbersPerCell).fate;
                color = colors[static_cast<int>(fate)];
            }
            const int x = placed.origin.x + column * layout.cellSize;
            const int y = placed.origin.y + row * layout.cellHeight;
            for (int dy = 0; dy < blockHeight; ++dy) {
                uint32_t* pixel = pixels + static_cast<std::ptrdiff_t>(y + dy) * stride + x;
                for (int dx = 0; dx < blockWidth; ++dx) pixel[dx] = color;
            }
        }
    }
}

}  // namespace

std::string summaryText(const ProgressSummary& s) {
    std::vector<std::string> lines;
    std::string played = "遊んだ番号 " + grouped(s.numbersPlayed) + " / " + grouped(s.maxGameNumber) + "　最高 " +
                         (s.highestReached > 0 ? grouped(s.highestReached) + " 番" : std::string("-"));
    if (s.numbersNoRecord > 0) played += "　記録なし " + grouped(s.numbersNoRecord);
    lines.push_back(played);
    lines.push_back("1回目で勝った割合 " +
                    (s.firstAttemptShare ? fixed(*s.firstAttemptShare, 1) + "%" : std::string("-")) + "　負けたまま " +
                    grouped(s.stillLost) + "　パス中 " + grouped(s.passed));
    std::string pace = "ペース（最近30日） ";
    if (s.gamesPerDay) {
        pace += "1日 " + fixed(*s.gamesPerDay, 1) + " ゲーム";
        if (s.finishDay) pace += "　最後の番号まで: " + dateText(*s.finishDay) + " ごろ";
    } else {
        pace += "-";
    }
    lines.push_back(pace);
    std::string unread = "　読めなかった行 " + grouped(static_cast<int64_t>(s.skipped.count));
    if (s.skipped.count > 0) unread += "（最初は " + grouped(static_cast<int64_t>(s.skipped.firstLine)) + " 行目）";
    lines.push_back((s.firstDay ? "記録は " + dateText(*s.firstDay) + " から" : std::string("記録はまだありません")) +
                    unread);
    if (s.byLevel) {
        // Two lines: none to two free cells, then the harder ones and the rest.
        std::string levels[2] = {"難易度別 1回目で勝ち", "　"};
        bool any[2] = {false, false};
        for (const LevelLook& look : kLevelLooks) {
            const LevelResults& results = (*s.byLevel)[static_cast<std::size_t>(look.level)];
            if (results.played == 0) continue;
            const int line = look.level <= DifficultyLevel::freeCells2 ? 0 : 1;
            levels[line] += std::string(any[line] ? "　" : " ") + look.name + " " + grouped(results.firstAttemptWins) +
                            "/" + grouped(results.played) + " " + fixed(results.firstAttemptShare.value_or(0), 0) + "%";
            any[line] = true;
        }
        if (!any[0] && !any[1]) levels[0] += " -";
        lines.push_back(levels[0]);
        lines.push_back(any[1] ? levels[1] : std::string());
    }
    std::string text;
    for (const std::string& entry : lines) text += (text.empty() ? "" : "\r\n") + entry;
    return text;
}

ProgressAreas progressAreas(int width, int height, int dpi, bool withLevels) {
    const Metrics m(dpi);
    const int margin = m.margin;
    ProgressAreas areas;
    const int right = std::max(width - margin, margin + 1);
    const int summaryLines = kSummaryLines + (withLevels ? kLevelLines : 0);
    areas.summary = RECT{margin, margin, right, margin + summaryLines * m.lineHeight};
    areas.status = RECT{0, std::max(height - m.statusHeight, 0), width, height};
    const int below = areas.summary.bottom + 6;
    const int rest = std::max(static_cast<int>(areas.status.top) - below - 4, 0);
    const int chartHeight = std::max(rest * 45 / 100, std::min(rest, m.scaled(120)));
    areas.chart = RECT{margin, below, right, below + chartHeight};
    areas.legend = RECT{margin, areas.chart.bottom + 6, right, areas.chart.bottom + 6 + 2 * m.lineHeight};
    areas.colouringToggle =
        RECT{areas.legend.left, areas.legend.top, areas.legend.left + m.scaled(112), areas.legend.top + m.lineHeight};
    areas.map = RECT{margin, areas.legend.bottom + 4, right, std::max(areas.status.top - 4, areas.legend.bottom + 4)};
    return areas;
}

PlacedMap placeMap(const ProgressRecord& record, const RECT& mapArea) {
    PlacedMap placed;
    placed.layout = layoutMap(record.maxGameNumber(), mapArea.right - mapArea.left, mapArea.bottom - mapArea.top);
    placed.origin = POINT{mapArea.left, mapArea.top};
    return placed;
}

void paintProgress(HDC dc, HFONT font, uint32_t* pixels, int width, int height, const ProgressRecord& record,
                   const std::string& status, int dpi, MapColouring colouring) {
    const Metrics m(dpi);
    SelectedObject selectedFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    fill(dc, RECT{0, 0, width, height}, kBackground);
    const ProgressAreas areas = progressAreas(width, height, dpi, record.knowsDifficulty());
    paintChart(dc, Pixels{pixels, width}, areas.chart, record.chart(), m);
    const PlacedMap placed = placeMap(record, areas.map);
    paintLegend(dc, areas, placed.layout, colouring, record.knowsDifficulty(), m);
    GdiFlush();
    paintMap(pixels, width, record, placed, colouring);
    paintStatusLine(dc, font, areas.status, status, dpi);
}

void paintStatusLine(HDC dc, HFONT font, const RECT& area, const std::string& status, int dpi) {
    SelectedObject selectedFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    fill(dc, area, GetSysColor(COLOR_BTNFACE));
    const std::string shown =
        status.empty() ? std::string("番号を指すと結果が出ます。負け・パス・まだの番号はダブルクリックで番号欄へ")
                       : status;
    const Metrics m(dpi);
    text(dc, area.left + m.margin, area.top + m.scaled(3), shown, GetSysColor(COLOR_BTNTEXT));
}

std::string describeCell(const ProgressRecord& record, const MapLayout& layout, const CellView& view) {
    const int32_t firstNumber = (view.number - 1) / layout.numbersPerCell * layout.numbersPerCell + 1;
    std::string description = grouped(view.number) + " 番: " + lookOf(view.fate).name;
    if (const std::optional<int32_t> day = record.lastDayOf(view.number)) description += "（" + dateText(*day) + "）";
    if (layout.numbersPerCell > 1) {
        const int64_t last =
            std::min<int64_t>(int64_t{firstNumber} + layout.numbersPerCell - 1, record.maxGameNumber());
        description += "　このマス " + grouped(firstNumber) + "〜" + grouped(last);
    }
    const std::string level = difficultyWord(record.level(view.number));
    if (!level.empty()) description += "　" + level;
    return description;
}
