#pragma once

#include <windows.h>

#include <atomic>
#include <optional>
#include <utility>
#include <vector>

#include "freecell/cards.h"
#include "freecell/position_analysis.h"

namespace freecell {

// Searches positions for a way to win in a thread of its own, so that play
// never waits for it: one search at a time, for the latest position asked
// for; a search for an earlier one stops at its next look at whether it is
// still wanted. Each answer is posted to the window as `answerMessage`.
class AnalysisWorker {
public:
    AnalysisWorker(const AnalysisBound& bound, UINT answerMessage);
    // Stops the search under way and waits for the thread to end.
    ~AnalysisWorker();
    AnalysisWorker(const AnalysisWorker&) = delete;
    AnalysisWorker& operator=(const AnalysisWorker&) = delete;

    // Starts the thread; false when Windows refused.
    bool start(HWND window);
    // From now on `board` is the position to search; an earlier one's search
    // stops and is not answered.
    void search(const Board& board);
    // The answers that arrived since the last call, each with its position.
    std::vector<std::pair<Board, Analysis>> takeAnswers();

private:
    static DWORD WINAPI threadMain(void* self);
    void run();

    class Lock {
    public:
        explicit Lock(CRITICAL_SECTION& section) : section_(section) { EnterCriticalSection(&section_); }
        ~Lock() { LeaveCriticalSection(&section_); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        CRITICAL_SECTION& section_;
    };

    const AnalysisBound bound_;
    const UINT answerMessage_;
    HWND window_ = nullptr;
    CRITICAL_SECTION section_;
    HANDLE wake_ = nullptr;  // auto-reset: a new position, or the end
    HANDLE thread_ = nullptr;
    // Under section_: the position waiting for the thread, and the answers
    // waiting for the window.
    std::optional<Board> waiting_;
    std::vector<std::pair<Board, Analysis>> answers_;
    // Counts the positions asked for; a search is wanted while it is the latest.
    std::atomic<unsigned> asked_{0};
    std::atomic<bool> ending_{false};
};

}  // namespace freecell
