#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "records/progress_record.h"

// The parts of the progress window's client area, at the screen's pixels per
// inch.
struct ProgressAreas {
    RECT summary{};
    RECT chart{};
    RECT legend{};
    // The toggle "難易度で色分け", at the legend's start (shown with the
    // deals' table only).
    RECT colouringToggle{};
    RECT map{};
    RECT status{};
};
// With the deals' table the summary has two more lines (withLevels).
ProgressAreas progressAreas(int width, int height, int dpi = 96, bool withLevels = false);

// The map's cells inside its area: the layout, and the area's top-left corner.
struct PlacedMap {
    MapLayout layout;
    POINT origin{};
};
PlacedMap placeMap(const ProgressRecord& record, const RECT& mapArea);

// The summary's four lines, and two by difficulty with the deals' table; CR LF
// between them.
std::string summaryText(const ProgressSummary& summary);

// Draws the whole client area (the summary's area is left to its own window) into dc, whose selected bitmap is the 32-bit
// top-down DIB at `pixels` (width x height), then the status line.
void paintProgress(HDC dc, HFONT font, uint32_t* pixels, int width, int height, const ProgressRecord& record,
                   const std::string& status, int dpi = 96, MapColouring colouring = MapColouring::byResult);
// Draws the status line alone.
void paintStatusLine(HDC dc, HFONT font, const RECT& area, const std::string& status, int dpi = 96);

// The status line's text for the number a map cell shows.
std::string describeCell(const ProgressRecord& record, const MapLayout& layout, const CellView& view);
