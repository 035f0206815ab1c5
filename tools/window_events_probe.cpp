// window_events_probe: which window events of the game's process reach
// another program under this Windows (or Wine), and how soon. Starts the
// stand-in game alone, listens to every event of its process out of context
// (SetWinEventHook over the whole event range, as Tallykeep does for a few),
// then opens and answers the game-number dialog, the won dialog and the lost
// dialog, and clicks on the board; prints each event that came with its phase,
// the milliseconds since the phase began, the delay from the event's own time
// to its delivery, the object and the window's class and title, and when the
// dialog could first be found by its title.
//   window_events_probe [--skip-own-process]   the hook with that flag too
// Not a test: scripts/window-events-probe.sh runs it both ways.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <vector>

#include "gamelink/game_contract.h"
#include "harness/harness.h"
#include "tool_support.h"

namespace {

using tools::Failure;
using tools::say;

struct Event {
    std::string phase;
    DWORD phaseStartMs;
    DWORD deliveredAtMs;
    DWORD eventTimeMs;
    DWORD event;
    LONG objectId;
    LONG childId;
    std::string window;
};

std::vector<Event> events;
std::string phase = "start";
DWORD phaseStartMs = 0;

std::string eventName(DWORD event) {
    static const std::map<DWORD, const char*> names = {
        {EVENT_SYSTEM_FOREGROUND, "SYSTEM_FOREGROUND"},
        {EVENT_SYSTEM_MENUSTART, "SYSTEM_MENUSTART"},
        {EVENT_SYSTEM_MENUEND, "SYSTEM_MENUEND"},
        {EVENT_SYSTEM_CAPTURESTART, "SYSTEM_CAPTURESTART"},
        {EVENT_SYSTEM_CAPTUREEND, "SYSTEM_CAPTUREEND"},
        {EVENT_SYSTEM_DIALOGSTART, "SYSTEM_DIALOGSTART"},
        {EVENT_SYSTEM_DIALOGEND, "SYSTEM_DIALOGEND"},
        {EVENT_SYSTEM_MINIMIZESTART, "SYSTEM_MINIMIZESTART"},
        {EVENT_SYSTEM_MINIMIZEEND, "SYSTEM_MINIMIZEEND"},
        {EVENT_OBJECT_CREATE, "OBJECT_CREATE"},
        {EVENT_OBJECT_DESTROY, "OBJECT_DESTROY"},
        {EVENT_OBJECT_SHOW, "OBJECT_SHOW"},
        {EVENT_OBJECT_HIDE, "OBJECT_HIDE"},
        {EVENT_OBJECT_REORDER, "OBJECT_REORDER"},
        {EVENT_OBJECT_FOCUS, "OBJECT_FOCUS"},
        {EVENT_OBJECT_SELECTION, "OBJECT_SELECTION"},
        {EVENT_OBJECT_STATECHANGE, "OBJECT_STATECHANGE"},
        {EVENT_OBJECT_LOCATIONCHANGE, "OBJECT_LOCATIONCHANGE"},
        {EVENT_OBJECT_NAMECHANGE, "OBJECT_NAMECHANGE"},
        {EVENT_OBJECT_VALUECHANGE, "OBJECT_VALUECHANGE"},
    };
    if (event == 0) return "-";
    const auto found = names.find(event);
    if (found != names.end()) return found->second;
    char text[16];
    std::snprintf(text, sizeof text, "0x%04lX", static_cast<unsigned long>(event));
    return text;
}

std::string objectName(LONG objectId) {
    switch (objectId) {
        case OBJID_WINDOW:
            return "WINDOW";
        case OBJID_CLIENT:
            return "CLIENT";
        case OBJID_CARET:
            return "CARET";
        case OBJID_CURSOR:
            return "CURSOR";
        case OBJID_MENU:
            return "MENU";
        case OBJID_SYSMENU:
            return "SYSMENU";
        case OBJID_VSCROLL:
            return "VSCROLL";
        case OBJID_HSCROLL:
            return "HSCROLL";
        default:
            return std::to_string(objectId);
    }
}

void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId, LONG childId, DWORD, DWORD timeMs) {
    std::string described = "-";
    if (window) {
        char className[64] = "", title[128] = "";
        GetClassNameA(window, className, sizeof className);
        GetWindowTextA(window, title, sizeof title);
        described = std::string(className) + " \"" + title + "\"";
    }
    events.push_back({phase, phaseStartMs, GetTickCount(), timeMs, event, objectId, childId, described});
}

// Takes every message for the time, so that out-of-context events come in.
void pumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Polls every millisecond, taking the events meanwhile; notes in the trace
// when the window is there to be found.
HWND pumpUntilWindow(const char* className, const char* title) {
    for (int pass = 0; pass < 2000; ++pass) {
        if (HWND window = FindWindowA(className, title)) {
            events.push_back({phase, phaseStartMs, GetTickCount(), GetTickCount(), 0, 0, 0,
                              std::string("(found by its title \"") + title + "\")"});
            return window;
        }
        pumpFor(1);
    }
    throw Failure(std::string("no window ") + title);
}

void begin(const std::string& name) {
    pumpFor(300);  // the phase before settles
    phase = name;
    phaseStartMs = GetTickCount();
}

void waitUntilGone(HWND dialog) {
    for (int pass = 0; pass < 400 && IsWindow(dialog); ++pass) pumpFor(5);
}

void answer(HWND dialog, const char* caption) {
    HWND button = FindWindowExA(dialog, nullptr, nullptr, caption);
    if (!button) throw Failure(std::string("no button ") + caption);
    e2e::clickButton(button);
    waitUntilGone(dialog);
}

// Enter on the game-number dialog's first button, as Tallykeep presses it.
void enterNumber(HWND dialog) {
    HWND button = FindWindowExA(dialog, nullptr, game::kButtonClass, nullptr);
    if (!button) throw Failure("the game-number dialog has no button");
    e2e::postKey(button, VK_RETURN);
    waitUntilGone(dialog);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const bool skipOwnProcess = argc > 1 && std::string(argv[1]) == "--skip-own-process";
        const ProfileTexts texts = tools::currentTexts();
        const e2e::Sandbox sandbox("window-events-probe");
        const e2e::RunningStandin game(sandbox);
        if (!game.mainWindow) throw Failure("the game did not start");
        DWORD processId = 0;
        GetWindowThreadProcessId(game.mainWindow, &processId);
        DWORD flags = WINEVENT_OUTOFCONTEXT;
        if (skipOwnProcess) flags |= WINEVENT_SKIPOWNPROCESS;
        say(std::string("hook: out of context, the game's process only") +
            (skipOwnProcess ? ", WINEVENT_SKIPOWNPROCESS" : ""));
        const HWINEVENTHOOK hook = SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &onEvent, processId, 0, flags);
        if (!hook) throw Failure("SetWinEventHook failed: " + std::to_string(GetLastError()));

        begin("F3: game-number dialog opens");
        e2e::postKey(game.mainWindow, VK_F3);
        HWND dialog = pumpUntilWindow(nullptr, texts.TitleGameNumber);
        begin("game-number dialog answered (Enter)");
        enterNumber(dialog);

        begin("won dialog opens");
        e2e::standinWin(game.mainWindow);
        dialog = pumpUntilWindow(game::kDialogClass, texts.TitleGameOver);
        begin("won dialog answered (no)");
        answer(dialog, freecell::kCaptionNo);

        begin("F3: game-number dialog opens again");
        e2e::postKey(game.mainWindow, VK_F3);
        dialog = pumpUntilWindow(nullptr, texts.TitleGameNumber);
        enterNumber(dialog);
        begin("lost dialog opens");
        e2e::standinLose(game.mainWindow);
        dialog = pumpUntilWindow(game::kDialogClass, texts.TitleGameOver);
        begin("lost dialog answered (yes)");
        answer(dialog, texts.CaptionYes);

        begin("clicks on the board");
        for (int i = 0; i < 4; ++i) {
            e2e::clickBoard(game.mainWindow, freecell::Point{100 + 80 * i, 250});
            pumpFor(50);
        }
        begin("end");
        UnhookWinEvent(hook);

        std::map<std::string, int> counts;
        say("phase | +ms since the phase began | delivery delay ms | event | object | child | window");
        for (const Event& event : events) {
            say(event.phase + " | " + std::to_string(static_cast<long>(event.deliveredAtMs - event.phaseStartMs)) +
                " | " + std::to_string(static_cast<long>(event.deliveredAtMs - event.eventTimeMs)) + " | " +
                eventName(event.event) + " | " + objectName(event.objectId) + " | " + std::to_string(event.childId) +
                " | " + event.window);
            if (event.event != 0) ++counts[eventName(event.event)];
        }
        say("");
        say(counts.empty() ? "no event seen" : "events seen, by kind:");
        for (const auto& [name, count] : counts) say("  " + name + ": " + std::to_string(count));
        return 0;
    } catch (const std::exception& error) {
        say(std::string("window_events_probe: FAILED: ") + error.what());
        return 1;
    }
}
