#pragma once

#include <windows.h>

#include "standin/cards.h"

namespace standin {

struct BoardView {
    const Board* board;  // null before the first deal
    int32_t gameNumber;
    int moves;
    bool inProgress;
};

// Draws the free cells, the home cells, the eight columns and the status line.
void paintBoard(HDC dc, const RECT& client, const BoardView& view);

}  // namespace standin
