#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/handles_win.h"
#include "common/rect.h"
#include "records/log_reading_thread_win.h"
#include "records/progress_record.h"
#include "records/tally.h"

// What the progress window reaches outside itself.
struct ProgressWindowPorts {
    std::string logPath;
    // A double click on a number still to be won: the number box takes it.
    std::function<void(int32_t number)> chooseNumber;
    // The window was moved or sized: its place is kept in the settings file.
    std::function<void(const Options::Place& place)> placeChanged;
    // The deals' table, when one was read (it outlives the window): the map
    // can then be coloured by difficulty, and the summary counts by level.
    const DealTable* dealTable = nullptr;
    // The map coloured by difficulty when the window is first made, and the
    // player's choice each time it changes (kept in the settings file).
    bool colouredByDifficulty = false;
    std::function<void(bool byDifficulty)> colouringChanged;
};

// The window "進捗": a summary, a chart of the results over time and a map of
// every number, drawn from the log. It is owned by the results window (no
// taskbar button of its own), sizeable, and painted through one bitmap, so
// that it never flickers. While open it keeps a ProgressRecord, fed with each
// new line of the log; closed, it lets the record go and reads the log afresh
// when opened again. The log is read on a thread of its own and drawn as it
// comes in, so that neither window stops answering while a long log is read.
class ProgressWindow {
public:
    ProgressWindow(HWND owner, ProgressWindowPorts ports);
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    // Shows the window at the kept place (a width of 0: a place of its own
    // beside the group of the game and Tallykeep's windows, or beside the
    // owner) and starts reading the log, followed by the lines that wait to
    // be written to it; or brings the window to the front when open.
    void open(int32_t maxGameNumber, int32_t numberInPlay, const Options::Place& place,
              const std::vector<LogEntry>& waitingLines = {}, const std::optional<Rect>& group = std::nullopt);
    bool isOpen() const;
    // The log is still being read.
    bool isReading() const { return reading_ != nullptr; }
    HWND handle() const { return window_.get(); }

    // A new line of the log, and the game now in play; drawn at once.
    void add(const LogEntry& entry);
    void setNumberInPlay(int32_t number);

    // The window's client area, painted into its bitmap (for the benchmark).
    void renderNow();

    static constexpr int kMinimumWidth = 480;
    static constexpr int kMinimumHeight = 400;

private:
    static void registerWindowClass();
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createWindow(const Options::Place& place, const std::optional<Rect>& group);
    void takeWhatWasRead();
    std::string statusLine() const;
    void closeWindow();
    void onMouseMove(int x, int y);
    void onDoubleClick(int x, int y);
    void reportPlace();
    void changed();
    void placeSummary();
    void toggleColouring();
    void paint();

    HWND owner_;
    ProgressWindowPorts ports_;
    // Made before the window, so that they outlive it.
    GdiObject<HFONT> font_;
    GdiObject<HBRUSH> background_;
    WindowHandle window_;
    // The summary, a static control, so that its text can be read as the
    // window's other texts are.
    HWND summary_ = nullptr;
    // The check box "難易度で色分け", with the deals' table only.
    HWND colouringToggle_ = nullptr;
    MapColouring colouring_ = MapColouring::byResult;
    std::unique_ptr<ProgressRecord> record_;
    std::unique_ptr<LogReadingThread> reading_;
    // New lines, and those that waited for the log, while it is read: added
    // after what the reading finds, in order.
    std::vector<LogEntry> laterLines_;
    uint64_t bytesRead_ = 0;
    // The picture of the client area, drawn again only when what it shows
    // changed; WM_PAINT copies it.
    struct Picture;
    std::unique_ptr<Picture> picture_;
    bool dirty_ = true;
    std::string status_;  // the number the mouse points at
};
