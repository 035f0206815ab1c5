#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "common/tick_clock_win.h"
#include "gamelink/desktop.h"
#include "gamelink/window_events_win.h"

// The game's windows as Win32 shows them. pause() answers only messages that
// other threads and programs send (PM_QS_SENDMESSAGE): no timer tick, input or
// paint of Tallykeep's own is taken from the queue during a wait loop. Whether
// the session is ending is the program's to tell (its window gets the query).
class Win32Desktop : public Desktop {
public:
    explicit Win32Desktop(std::function<bool()> sessionEnding = [] { return false; })
        : sessionEnding_(std::move(sessionEnding)) {}

    WindowId findTopLevel(const char* className, const char* title) override;
    WindowId findChild(WindowId parent, const char* className, const char* caption) override;
    bool exists(WindowId window) override;
    std::string titleOf(WindowId window) override;
    bool shown(WindowId window) override;
    std::optional<bool> ticked(WindowId checkBox) override;
    std::optional<int32_t> toldGameNumber(WindowId gameWindow) override;
    void bringToForeground(WindowId window) override;
    void bringToTop(WindowId window) override;
    void post(WindowId window, uint32_t message, uintptr_t wParam) override;
    bool minimized(WindowId window) override;
    std::optional<Rect> windowBox(WindowId window) override;
    void moveWindow(WindowId window, const Rect& box) override;
    void pause(uint32_t milliseconds) override { pauseFor(milliseconds, false); }
    void pauseUntilGameChanges(uint32_t milliseconds) override { pauseFor(milliseconds, true); }
    // Once the game's window events are seen to come and none came for
    // kQuietAfterMs, a pass lasts kQuietPassMs: the wait for the player then
    // looks at the dialog twice a second instead of every 25 ms (8 ms of
    // processor time a second under Wine, most of it the wineserver's),
    // and the dialog's closing still ends the pass at once. The pass stays
    // short for a while after each event: a click that moves the focus to the
    // select box ticks it only when the button is let go, which Windows tells
    // (EVENT_OBJECT_STATECHANGE) and Wine does not.
    void pauseForPlayer(uint32_t milliseconds) override;
    static constexpr uint64_t kQuietAfterMs = 1000;
    static constexpr uint32_t kQuietPassMs = 500;
    uint64_t nowMs() override { return clock_.nowMs(); }
    bool sessionEnding() override { return sessionEnding_(); }
    bool watchWindows(WindowId gameWindow, WindowsChanged changed) override;
    void stopWatchingWindows() override {
        windowEvents_.stop();
        eventSeen_ = false;
    }

private:
    void pauseFor(uint32_t milliseconds, bool untilGameChanges, bool endsWithSession = false);

    std::function<bool()> sessionEnding_;
    // The game's windows changed since the pause began.
    bool gameChanged_ = false;
    // A window event of the game came while watched, the last one at this time.
    bool eventSeen_ = false;
    uint64_t lastEventMs_ = 0;
    // A pause took the message loop's WM_QUIT and gave it back.
    bool endRequested_ = false;
    TickClock clock_;
    GameWindowEvents windowEvents_;
};
