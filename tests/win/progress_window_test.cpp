// The progress window in process: what a double click on the map chooses,
// the summary following new lines of the log, and a closed window that
// reads the log afresh when opened again.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "forms/progress_painter_win.h"
#include "forms/progress_window.h"
#include "toolkit/application.h"
#include "toolkit_test_support.h"

namespace {

using toolkit_test::FromInsideModalLoop;
using toolkit_test::openBoxes;
using toolkit_test::waitUntil;

std::string logLine(int32_t number, int32_t attempt, const char* result, bool counted) {
    char text[96];
    std::snprintf(text, sizeof text, "2026/12/01,10:00:00,%d,%d,%s,%d\r\n", number, attempt, result, counted ? 1 : 0);
    return text;
}

class ProgressWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH];
        ASSERT_GT(GetTempPathA(sizeof folder, folder), 0u);
        logPath_ = std::string(folder) + "tk_progress_window_test.csv";
        // 1 to 5 played: 3 lost and not won, 2 won at the second attempt.
        writeLog(logLine(1, 1, "勝ち", true) + logLine(2, 1, "負け", true) + logLine(2, 2, "勝ち", false) +
                 logLine(3, 1, "負け", true) + logLine(4, 1, "勝ち", true) + logLine(5, 1, "勝ち", true));
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
        ProgressWindowPorts ports;
        ports.logPath = logPath_;
        ports.chooseNumber = [this](int32_t number) { chosen_.push_back(number); };
        ports.placeChanged = [this](const Options::Place& place) { place_ = place; };
        window_.emplace(owner_, ports);
        open(Options::Place{10, 10, 640, 520});
    }
    void open(const Options::Place& place, const std::vector<LogEntry>& waiting = {}) {
        window_->open(32000, 6, place, waiting);
        ASSERT_TRUE(waitUntil([this] { return !window_->isReading(); }, 20000));
    }
    void TearDown() override {
        window_.reset();
        if (owner_) DestroyWindow(owner_);
        DeleteFileA(logPath_.c_str());
    }
    void writeLog(const std::string& lines, bool append = false) {
        std::ofstream file(logPath_, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
        if (!append) file << kResultsLogHeader << "\r\n";
        file << lines;
    }
    // The middle of the number's cell on the map, in client coordinates.
    POINT cellOf(int32_t number) const {
        RECT client{};
        GetClientRect(window_->handle(), &client);
        const PlacedMap placed = placeMap(ProgressRecord(32000), progressAreas(client.right, client.bottom).map);
        const MapLayout& layout = placed.layout;
        const int32_t cell = (number - 1) / layout.numbersPerCell;
        return POINT{placed.origin.x + (cell % layout.columns) * layout.cellSize + layout.cellSize / 2,
                     placed.origin.y + (cell / layout.columns) * layout.cellHeight + layout.cellHeight / 2};
    }
    void doubleClick(int32_t number) {
        const POINT at = cellOf(number);
        SendMessageA(window_->handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        waitUntil([] { return false; }, 50);
    }
    std::string summary() const {
        char text[1024] = "";
        GetWindowTextA(FindWindowExA(window_->handle(), nullptr, "Static", nullptr), text, sizeof text);
        return text;
    }

    std::string logPath_;
    HWND owner_ = nullptr;
    std::optional<ProgressWindow> window_;
    std::vector<int32_t> chosen_;
    std::optional<Options::Place> place_;
};

// A double click puts a number still to be won into the box; on this map of
// cells of a pixel or two, a lost number near the pointer is taken first.
TEST_F(ProgressWindowTest, DoubleClickChoosesOnlyANumberStillToBeWon) {
    ASSERT_TRUE(window_->isOpen());
    LogEntry won;
    won.when = LocalTime{2026, 12, 2, 9, 0, 0};
    won.gameNumber = 25000;
    won.counted = true;
    window_->add(won);
    doubleClick(3);
    doubleClick(1);
    doubleClick(20000);
    doubleClick(25000);
    doubleClick(11982);
    EXPECT_EQ(chosen_, (std::vector<int32_t>{3, 3, 20000}))
        << "lost, lost beside a won one, not yet played; not won, not impossible";
}

TEST_F(ProgressWindowTest, SummaryFollowsEachNewLine) {
    EXPECT_NE(summary().find("遊んだ番号 5 / 32,000"), std::string::npos) << summary();
    EXPECT_NE(summary().find("負けたまま 1"), std::string::npos) << summary();
    LogEntry lost;
    lost.when = LocalTime{2026, 12, 2, 9, 0, 0};
    lost.gameNumber = 6;
    lost.event = LogEvent::loss;
    lost.counted = true;
    window_->add(lost);
    EXPECT_NE(summary().find("遊んだ番号 6 / 32,000"), std::string::npos) << summary();
    EXPECT_NE(summary().find("負けたまま 2"), std::string::npos) << summary();
    doubleClick(6);
    EXPECT_EQ(chosen_, std::vector<int32_t>{6});
}

TEST_F(ProgressWindowTest, ClosedItKeepsItsPlaceAndReadsTheLogAfreshWhenOpenedAgain) {
    ASSERT_TRUE(place_.has_value()) << "the place is told when the window opens";
    SendMessageA(window_->handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitUntil([this] { return !window_->isOpen(); }));
    EXPECT_EQ(place_->width, 640);
    EXPECT_EQ(place_->left, 10);
    writeLog(logLine(3, 2, "勝ち", false) + "a line written by hand\r\n", true);
    open(*place_);
    EXPECT_NE(summary().find("負けたまま 0"), std::string::npos) << summary();
    EXPECT_NE(summary().find("読めなかった行 1（最初は 9 行目）"), std::string::npos) << summary();
}

// The log is read on a thread of its own: a result that comes while it is
// read, and the lines that still wait to be written to the log, are in the
// picture once the reading ends.
TEST_F(ProgressWindowTest, LinesThatComeWhileALongLogIsReadAreKept) {
    SendMessageA(window_->handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitUntil([this] { return !window_->isOpen(); }));
    std::string lines;
    for (int32_t number = 1; number <= 30000; ++number) lines += logLine(number, 1, "勝ち", true);
    writeLog(lines);
    LogEntry waiting;
    waiting.when = LocalTime{2026, 12, 2, 9, 0, 0};
    waiting.gameNumber = 31000;
    waiting.event = LogEvent::loss;
    waiting.counted = true;
    window_->open(32000, 31002, *place_, {waiting});
    EXPECT_TRUE(window_->isReading());
    LogEntry added = waiting;
    added.gameNumber = 31001;
    window_->add(added);
    ASSERT_TRUE(waitUntil([this] { return !window_->isReading(); }, 20000));
    EXPECT_NE(summary().find("遊んだ番号 30,002 / 32,000"), std::string::npos) << summary();
    EXPECT_NE(summary().find("負けたまま 2"), std::string::npos) << summary();
}

// A size whose summary cannot be written fails inside the window procedure:
// the error box tells it, and the window goes on.
TEST_F(ProgressWindowTest, AFailureWhileSizingIsToldAndTheWindowGoesOn) {
    DestroyWindow(FindWindowExA(window_->handle(), nullptr, "Static", nullptr));
    Application::instance().setTitle("Tallykeep");
    bool told = false;
    {
        const FromInsideModalLoop answer([&] {
            const std::vector<HWND> boxes = openBoxes("Tallykeep");
            if (boxes.empty()) return false;
            told = true;
            PostMessageA(boxes.front(), WM_COMMAND, IDOK, 0);
            return true;
        });
        SendMessageA(window_->handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 500));
    }
    EXPECT_TRUE(told);
    EXPECT_TRUE(IsWindow(window_->handle()));
}

}  // namespace
