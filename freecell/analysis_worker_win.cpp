#include "freecell/analysis_worker_win.h"

#include <exception>

namespace freecell {

AnalysisWorker::AnalysisWorker(const AnalysisBound& bound, UINT answerMessage)
    : bound_(bound), answerMessage_(answerMessage) {
    InitializeCriticalSection(&section_);
}

AnalysisWorker::~AnalysisWorker() {
    ending_ = true;
    if (thread_) {
        // The search looks at ending_ every bound_.step positions, a few
        // milliseconds apart.
        if (!SetEvent(wake_) || WaitForSingleObject(thread_, INFINITE) != WAIT_OBJECT_0) {
            // The thread cannot be told or waited for: it must not outlive
            // what it uses, so the process ends with it here.
            ExitProcess(1);
        }
        CloseHandle(thread_);
    }
    if (wake_) CloseHandle(wake_);
    DeleteCriticalSection(&section_);
}

bool AnalysisWorker::start(HWND window) {
    window_ = window;
    wake_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!wake_) return false;
    DWORD id = 0;
    thread_ = CreateThread(nullptr, 0, threadMain, this, 0, &id);
    return thread_ != nullptr;
}

void AnalysisWorker::search(const Board& board) {
    if (!thread_) return;
    {
        Lock lock(section_);
        waiting_ = board;
        ++asked_;
    }
    SetEvent(wake_);
}

std::vector<std::pair<Board, Analysis>> AnalysisWorker::takeAnswers() {
    Lock lock(section_);
    std::vector<std::pair<Board, Analysis>> taken;
    taken.swap(answers_);
    return taken;
}

DWORD WINAPI AnalysisWorker::threadMain(void* self) {
    static_cast<AnalysisWorker*>(self)->run();
    return 0;
}

void AnalysisWorker::run() {
    while (WaitForSingleObject(wake_, INFINITE) == WAIT_OBJECT_0 && !ending_) {
        std::optional<Board> board;
        unsigned asked = 0;
        {
            Lock lock(section_);
            board.swap(waiting_);
            asked = asked_;
        }
        if (!board) continue;
        std::optional<Analysis> analysis;
        try {
            analysis = analysePosition(*board, bound_, [&] { return !ending_ && asked_ == asked; });
        } catch (const std::exception&) {
            // Out of memory, most likely: the position stays undecided.
        }
        if (!analysis) continue;
        {
            Lock lock(section_);
            answers_.emplace_back(std::move(*board), std::move(*analysis));
        }
        PostMessageA(window_, answerMessage_, 0, 0);
    }
}

}  // namespace freecell
