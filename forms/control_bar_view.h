#pragma once

#include <array>

#include "gamelink/desktop.h"

// The control bar as the results window sees it: shown or hidden, placed by
// the arrangement, its take-back button switched off where the game takes no
// take-back. Nothing else of the bar is reachable from there.
class ControlBarView {
public:
    virtual void showBar() = 0;  // visible and on top, without taking the activation
    virtual void hideBar() = 0;
    virtual Rect barBox() const = 0;        // outer rectangle on the screen
    virtual int barFrameWidth() const = 0;  // how much wider the bar is than its client area
    // The bar at its new place, its four buttons at these left edges and this width.
    virtual void placeBar(const Rect& box, const std::array<int, 4>& buttonLefts, int buttonWidth) = 0;
    virtual void disableTakeBack() = 0;

protected:
    ~ControlBarView() = default;
};
