#include "gamelink/window_events_win.h"

#include <utility>

namespace {

using SetWinEventHookFunction = HWINEVENTHOOK(WINAPI*)(DWORD, DWORD, HMODULE, WINEVENTPROC, DWORD, DWORD, DWORD);

// The events that can mean a dialog of the game came or went, as ranges of
// consecutive event numbers. Location changes, redraws, the mouse and the
// z-order lie outside them and never reach the callback.
struct EventRange {
    DWORD first;
    DWORD last;
};
constexpr EventRange kEventRanges[] = {
    {EVENT_SYSTEM_DIALOGSTART, EVENT_SYSTEM_DIALOGSTART},
    {EVENT_OBJECT_CREATE, EVENT_OBJECT_HIDE},  // create, destroy, show, hide
    {EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS},
    // A box ticked or cleared, a button pressed (Windows tells it, Wine 8 not).
    {EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE},
};
static_assert(EVENT_OBJECT_DESTROY == EVENT_OBJECT_CREATE + 1 && EVENT_OBJECT_SHOW == EVENT_OBJECT_CREATE + 2 &&
                  EVENT_OBJECT_HIDE == EVENT_OBJECT_CREATE + 3,
              "the window events of the second range are consecutive");

// The one listener: a window-event callback carries no pointer of its own.
GameWindowEvents* listener = nullptr;

// A window's own events, not those of its caret, cursor or scroll bars (a
// caret is hidden and shown again at every redraw of an edit field). The
// focus is told of a window's client area.
bool concernsWindow(DWORD event, LONG objectId) {
    if (event == EVENT_OBJECT_FOCUS) return objectId == OBJID_CLIENT || objectId == OBJID_WINDOW;
    // A control's own state; a window enabled or disabled (OBJID_WINDOW)
    // comes with the dialog's showing and closing, told of already.
    if (event == EVENT_OBJECT_STATECHANGE) return objectId == OBJID_CLIENT;
    return objectId == OBJID_WINDOW;
}

}  // namespace

GameWindowEvents::~GameWindowEvents() { stop(); }

bool GameWindowEvents::listen(HWND gameWindow, std::function<void(HWND newTopLevel)> changed) {
    stop();
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) return false;
    const auto setHook =
        reinterpret_cast<SetWinEventHookFunction>(reinterpret_cast<void*>(GetProcAddress(user32, "SetWinEventHook")));
    const auto unhook = reinterpret_cast<handle_kind::WinEventHook::Unhook>(
        reinterpret_cast<void*>(GetProcAddress(user32, "UnhookWinEvent")));
    if (!setHook || !unhook) return false;
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(gameWindow, &processId) || processId == 0) return false;

    changed_ = std::move(changed);
    listener = this;
    // Only the game's process: Tallykeep's own windows never call back. The
    // filter says all that WINEVENT_SKIPOWNPROCESS would say, and Wine 8
    // delivers no event at all to a hook set with that flag
    // (docs/window-events.md).
    for (const EventRange& range : kEventRanges) {
        const HWINEVENTHOOK hook =
            setHook(range.first, range.last, nullptr, &GameWindowEvents::onEvent, processId, 0, WINEVENT_OUTOFCONTEXT);
        // A range that cannot be hooked leaves its events to the timer.
        if (hook) hooks_.emplace_back(hook, handle_kind::WinEventHook{unhook});
    }
    if (hooks_.empty()) stop();
    return !hooks_.empty();
}

void GameWindowEvents::stop() {
    hooks_.clear();
    // Events queued before the hooks went may still be delivered: they find
    // no listener.
    if (listener == this) listener = nullptr;
    changed_ = nullptr;
}

void CALLBACK GameWindowEvents::onEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId, LONG, DWORD, DWORD) {
    if (!listener || !listener->changed_ || !concernsWindow(event, objectId)) return;
    const bool newTopLevel = event == EVENT_OBJECT_CREATE && window && IsWindow(window) &&
                             (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) == 0;
    // No exception may cross into Windows; a change missed is the timer's.
    try {
        listener->changed_(newTopLevel ? window : nullptr);
    } catch (...) {}
}
