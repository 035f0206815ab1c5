// The window "進捗" of the running Tallykeep.exe, opened from its menu: its
// summary read as window text, its chart and map seen as the colours on the
// screen; the known impossible deal shown red in the number box and passed
// over when the option says so.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "harness/harness.h"
#include "records/results_log_reader.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

constexpr UINT kCmdSkipImpossible = 117;
constexpr UINT kCmdProgress = 119;
constexpr char kProgressClass[] = "TallykeepProgress";
constexpr char kProgressCaption[] = "進捗";

constexpr COLORREF kWonBar = RGB(60, 170, 60);
constexpr COLORREF kLostBar = RGB(220, 60, 50);
constexpr COLORREF kFirstAttemptWinCell = RGB(40, 160, 40);
constexpr COLORREF kLostCell = RGB(225, 40, 40);
constexpr COLORREF kNotPlayedCell = RGB(230, 230, 230);
constexpr COLORREF kNoRecordCell = RGB(150, 150, 150);

// The screen's pixels of a rectangle, as 0x00RRGGBB, row by row from the top.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    bool has(COLORREF colour) const {
        const uint32_t wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
        for (uint32_t pixel : pixels)
            if ((pixel & 0xFFFFFF) == wanted) return true;
        return false;
    }
    // A 32-bit BMP file.
    void save(const std::string& path) const {
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER info{};
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = -height;
        info.biPlanes = 1;
        info.biBitCount = 32;
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size() * 4);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&info), sizeof info);
        out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size() * 4));
    }
};

Capture capture(const RECT& r) {
    Capture shot;
    shot.width = r.right - r.left;
    shot.height = r.bottom - r.top;
    shot.pixels.assign(static_cast<size_t>(shot.width) * shot.height, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, shot.width, shot.height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(shot.height), shot.pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

std::string logLine(int day, int hour, int number, int attempt, const char* result, bool counted) {
    char text[128];
    std::snprintf(text, sizeof text, "2026/12/%02d,%02d:00:00,%d,%d,%s,%d\r\n", day, hour, number, attempt, result,
                  counted ? 1 : 0);
    return text;
}

BOOL CALLBACK findEdit(HWND child, LPARAM result) {
    if (className(child) != "Edit") return TRUE;
    *reinterpret_cast<HWND*>(result) = child;
    return FALSE;
}

class TallykeepProgress : public TallykeepTest {
protected:
    std::string logPath() const { return sandbox.path("Tallykeep.csv"); }
    void writeLog(const std::string& lines) {
        std::ofstream file(logPath(), std::ios::binary);
        file << kResultsLogHeader << "\r\n" << lines;
    }
    // Two weeks of play from number 201 on (1 to 200 were played before the
    // log was kept), 200 numbers a day: every ninth lost at first and won
    // at the second attempt, every 45th still lost, every 97th passed.
    struct Played {
        int numbers = 0;
        int stillLost = 0;
        int passed = 0;
    };
    Played writeTwoWeeks() {
        Played played;
        std::string lines;
        for (int i = 0; i < 2800; ++i) {
            const int number = 201 + i;
            const int day = 1 + i / 200;
            const int hour = 8 + (i % 200) / 20;
            ++played.numbers;
            if (number % 97 == 0) {
                lines += logLine(day, hour, number, 1, "パス", false);
                ++played.passed;
            } else if (number % 9 == 0) {
                lines += logLine(day, hour, number, 1, "負け", true);
                if (number % 45 == 0)
                    ++played.stillLost;
                else
                    lines += logLine(day, hour, number, 2, "勝ち", false);
            } else {
                lines += logLine(day, hour, number, 1, "勝ち", true);
            }
        }
        writeLog(lines);
        return played;
    }
    HWND openProgress() {
        results().menuCommand(kCmdProgress);
        return waitForTopLevel(kProgressClass, kProgressCaption);
    }
    static std::string summary(HWND progress) {
        return windowText(FindWindowExA(progress, nullptr, "Static", nullptr));
    }
    static bool summaryShows(HWND progress, const std::string& part) {
        return waitUntil([&] { return summary(progress).find(part) != std::string::npos; });
    }
    HWND numberBoxWindow() const {
        HWND found = nullptr;
        EnumChildWindows(results().window(), findEdit, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    bool numberBoxShowsRed(bool red) const {
        const HWND box = numberBoxWindow();
        return waitUntil([&] { return capture(windowRect(box)).has(RGB(255, 0, 0)) == red; }, 10s);
    }
};

// Under Windows 2000 the game deals 1 to 32,000.
TEST_F(TallykeepProgress, OpensFromTheMenuWithSummaryChartAndMapAndFollowsANewResult) {
    const Played played = writeTwoWeeks();
    SessionOptions options;
    options.windowsVersion = "win2k";
    start(options);
    ASSERT_TRUE(session->selectGame("3001", "3001")) << log().text();
    const HWND progress = openProgress();
    ASSERT_NE(progress, nullptr) << "no window 進捗";
    EXPECT_EQ(GetWindow(progress, GW_OWNER), results().window()) << "owned by the results window";
    EXPECT_EQ(GetWindowLongA(progress, GWL_EXSTYLE) & WS_EX_APPWINDOW, 0) << "no taskbar button";
    EXPECT_TRUE(summaryShows(progress, "遊んだ番号 2,800 / 32,000")) << summary(progress);
    const std::string text = summary(progress);
    EXPECT_NE(text.find("記録なし 200"), std::string::npos) << text;
    EXPECT_NE(text.find("負けたまま " + std::to_string(played.stillLost)), std::string::npos) << text;
    EXPECT_NE(text.find("パス中 " + std::to_string(played.passed)), std::string::npos) << text;
    EXPECT_NE(text.find("記録は 2026/12/01 から"), std::string::npos) << text;
    EXPECT_NE(text.find("読めなかった行 0"), std::string::npos) << text;

    Capture shot;
    ASSERT_TRUE(waitUntil([&] {
        shot = capture(windowRect(progress));
        return shot.has(kWonBar) && shot.has(kLostBar) && shot.has(kFirstAttemptWinCell) && shot.has(kLostCell) &&
               shot.has(kNotPlayedCell) && shot.has(kNoRecordCell);
    })) << "the chart's bars and the map's cells";
    shot.save(sandbox.path("progress.bmp"));
    char folder[MAX_PATH] = "";
    if (GetEnvironmentVariableA("TK_SCREENSHOT_DIR", folder, sizeof folder) > 0)
        shot.save(std::string(folder) + "\\progress.bmp");

    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "3002")) << log().text();
    EXPECT_TRUE(summaryShows(progress, "遊んだ番号 2,801 / 32,000")) << summary(progress);
    EXPECT_TRUE(summaryShows(progress, "最高 3,002 番")) << summary(progress);
    const RECT place = windowRect(progress);
    ASSERT_TRUE(session->closeAndWait()) << log().text();
    EXPECT_EQ(iniValue(session->iniPath(), "Extra", "ProgressWidth"), std::to_string(place.right - place.left))
        << "its place is kept";
    EXPECT_EQ(iniValue(session->iniPath(), "Extra", "ProgressLeft"), std::to_string(place.left));
}

TEST_F(TallykeepProgress, LogWithBrokenLinesOpensAndSaysHowManyItSkipped) {
    writeLog(logLine(1, 10, 1, 1, "勝ち", true) + "手で書いたメモ\r\n" + "2026/12/02,10:00:00,2,1,勝ち\r\n" +
             logLine(2, 11, 2, 1, "負け", true) + "2026/12/0");
    start();
    const HWND progress = openProgress();
    ASSERT_NE(progress, nullptr) << "no window 進捗";
    EXPECT_TRUE(summaryShows(progress, "読めなかった行 3")) << summary(progress);
    EXPECT_NE(summary(progress).find("遊んだ番号 2 / "), std::string::npos) << summary(progress);
}

TEST_F(TallykeepProgress, KnownImpossibleDealShowsRedInTheNumberBox) {
    start();
    results().selectInNumberBox(0, -1);
    results().typeIntoNumberBox("11982");
    ASSERT_TRUE(results().waitForNumberBox("11,982"));
    EXPECT_TRUE(numberBoxShowsRed(true)) << "11982 is red";
    results().selectInNumberBox(0, -1);
    results().typeIntoNumberBox("11983");
    ASSERT_TRUE(results().waitForNumberBox("11,983"));
    EXPECT_TRUE(numberBoxShowsRed(false)) << "11983 is not";
}

TEST_F(TallykeepProgress, WithTheOptionOnAWinBeforeTheImpossibleDealLeadsPastIt) {
    start();
    results().menuCommand(kCmdSkipImpossible);
    ASSERT_TRUE(session->selectGame("11981", "11981")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "11983")) << log().text();
    EXPECT_EQ(results().numberBox(), "11,983");
    // A pass moves on past it too, and takes one slot only: the passed number's.
    results().selectInNumberBox(0, -1);
    results().typeIntoNumberBox("11981");
    ASSERT_TRUE(results().waitForNumberBox("11,981"));
    results().menuCommand(kCmdPass);
    EXPECT_TRUE(results().waitForNumberBox("11,983")) << results().numberBox();
    ASSERT_TRUE(session->closeAndWait()) << log().text();
    EXPECT_EQ(iniValue(session->iniPath(), "Rtry", "Retry0"), "11981");
    EXPECT_EQ(iniValue(session->iniPath(), "Rtry", "Retry1"), "");

    std::istringstream in(readFileBytes(logPath()).value_or(""));
    const LogReading reading = readResultsLog(in);
    ASSERT_EQ(reading.entries.size(), 4u) << readFileBytes(logPath()).value_or("<no log>");
    EXPECT_EQ(reading.entries[2].event, LogEvent::pass);
    EXPECT_EQ(reading.entries[3].event, LogEvent::skip);
    EXPECT_EQ(reading.entries[3].gameNumber, 11982);
    EXPECT_EQ(reading.entries[0].event, LogEvent::win);
    EXPECT_EQ(reading.entries[0].gameNumber, 11981);
    EXPECT_EQ(reading.entries[1].event, LogEvent::skip);
    EXPECT_EQ(reading.entries[1].gameNumber, 11982);
    EXPECT_FALSE(reading.entries[1].counted);
    EXPECT_EQ(iniValue(session->iniPath(), "Extra", "SkipImpossible"), "1");
    EXPECT_EQ(iniValue(session->iniPath(), "Game", "GameNo"), "11983") << "the game in play moved past it";
    EXPECT_EQ(iniValue(session->iniPath(), "Score", "won"), "1") << "the skip counts nothing";
}

}  // namespace
