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
#include "records/deal_table_file_win.h"
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
    // The window again, with the deals' table the build puts beside the tests.
    void reopenWithTheShippedTable(bool colouredByDifficulty = false) {
        window_.reset();
        char path[MAX_PATH];
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        const std::string program(path, length);
        table_ = loadDealTableFile(program.substr(0, program.find_last_of('\\') + 1) + "deals.tkd");
        ASSERT_TRUE(table_.table) << dealTableRefusalText(table_.refusal);
        ProgressWindowPorts ports;
        ports.logPath = logPath_;
        ports.dealTable = &*table_.table;
        ports.colouredByDifficulty = colouredByDifficulty;
        ports.colouringChanged = [this](bool byDifficulty) { colouringChosen_.push_back(byDifficulty); };
        withLevels_ = true;
        window_.emplace(owner_, ports);
        open(Options::Place{10, 10, 640, 520});
    }
    // The colour on the screen at the middle of the number's cell.
    COLORREF shownAt(int32_t number) const {
        UpdateWindow(window_->handle());
        const POINT at = cellOf(number);
        HDC dc = GetDC(window_->handle());
        const COLORREF colour = GetPixel(dc, at.x, at.y);
        ReleaseDC(window_->handle(), dc);
        return colour;
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
        const PlacedMap placed =
            placeMap(ProgressRecord(32000), progressAreas(client.right, client.bottom, 96, withLevels_).map);
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
    DealTableLoad table_;
    bool withLevels_ = false;  // the summary's two lines by difficulty
    std::vector<bool> colouringChosen_;
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

    // Hidden, as with 成績 minimised, it follows the record all the same.
    ShowWindow(window_->handle(), SW_HIDE);
    lost.gameNumber = 7;
    window_->add(lost);
    ShowWindow(window_->handle(), SW_SHOWNOACTIVATE);
    EXPECT_NE(summary().find("遊んだ番号 7 / 32,000"), std::string::npos) << summary();
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

// With the deals' table (in it 1 needs three free cells, 2 and 5 one, 3 and 4
// two; 164 none, 169 four; 11982 cannot be won): the first attempts by level,
// and a check box that colours the map by difficulty instead of by result.
TEST_F(ProgressWindowTest, WithTheDealsTableTheSummaryCountsByLevelAndTheMapCanBeColouredByDifficulty) {
    EXPECT_EQ(FindWindowExA(window_->handle(), nullptr, "Button", "難易度で色分け"), nullptr) << "not without a table";
    EXPECT_EQ(summary().find("難易度別"), std::string::npos) << summary();

    ASSERT_NO_FATAL_FAILURE(reopenWithTheShippedTable());
    EXPECT_NE(summary().find("難易度別 1回目で勝ち 1枚 1/2 50%　2枚 1/2 50%\r\n　 3枚 1/1 100%"), std::string::npos)
        << summary();
    const HWND toggle = FindWindowExA(window_->handle(), nullptr, "Button", "難易度で色分け");
    ASSERT_NE(toggle, nullptr);
    RECT client{};
    GetClientRect(window_->handle(), &client);
    ASSERT_EQ(
        placeMap(ProgressRecord(32000), progressAreas(client.right, client.bottom, 96, true).map).layout.numbersPerCell,
        1)
        << "each number a cell of its own";

    // By result, two numbers not yet played look alike.
    const COLORREF none = shownAt(164), four = shownAt(169), impossible = shownAt(11982);
    EXPECT_EQ(none, four);
    SendMessageA(toggle, BM_CLICK, 0, 0);
    ASSERT_TRUE(waitUntil([&] { return shownAt(164) != none; }, 2000)) << "the map is not coloured by difficulty";
    EXPECT_NE(shownAt(169), shownAt(164)) << "no free cell and four look alike";
    EXPECT_NE(shownAt(11982), shownAt(169));
    EXPECT_EQ(shownAt(11982), impossible) << "cannot be won, either way";
    SendMessageA(toggle, BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return shownAt(164) == none; }, 2000)) << "back to the results";
    EXPECT_EQ(colouringChosen_, (std::vector<bool>{true, false})) << "each choice is told, to be kept";

    // A window made with the choice kept opens coloured by difficulty.
    const COLORREF byDifficulty = [&] {
        SendMessageA(toggle, BM_CLICK, 0, 0);
        waitUntil([&] { return shownAt(164) != none; }, 2000);
        return shownAt(164);
    }();
    ASSERT_NO_FATAL_FAILURE(reopenWithTheShippedTable(true));
    EXPECT_EQ(SendMessageA(FindWindowExA(window_->handle(), nullptr, "Button", "難易度で色分け"), BM_GETCHECK, 0, 0),
              BST_CHECKED);
    EXPECT_EQ(shownAt(164), byDifficulty);

    const ProgressRecord record(32000, &*table_.table);
    const MapLayout single{1, 1, 1, 100, 320};
    EXPECT_NE(describeCell(record, single, CellView{NumberFate::notPlayed, 164}).find("フリーセル0枚"),
              std::string::npos);
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
