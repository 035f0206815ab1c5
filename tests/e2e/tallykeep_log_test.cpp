// Nothing counted is lost: Tallykeep killed right after results were counted
// shows them again when started anew, and its log Tallykeep.csv holds a
// dated line for each, readable by a spreadsheet.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "gamelink/os_profile.h"
#include "harness/harness.h"
#include "boxes_and_files.h"
#include "records/results_log_reader.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

class TallykeepLog : public TallykeepTest {
protected:
    std::string logPath() const { return sandbox.path("Tallykeep.csv"); }
    LogReading logged() const {
        std::istringstream in(readFileBytes(logPath()).value_or(""));
        return readResultsLog(in);
    }
    // Ends Tallykeep as Windows or a power cut would: no close, no save.
    void kill() {
        const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, session->tallykeep->id());
        ASSERT_NE(process, nullptr);
        EXPECT_TRUE(TerminateProcess(process, 1));
        EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
        CloseHandle(process);
        // The game goes too; the next start launches it afresh.
        killStrayPrograms();
    }
};

TEST_F(TallykeepLog, KilledRightAfterAWinAndALossTheRestartShowsBothAndTheLogHoldsBoth) {
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "6")) << log().text();
    ASSERT_TRUE(session->loseAndRedeal("6")) << log().text();
    ASSERT_TRUE(results().waitForLabel("Label19", "1"));
    ASSERT_TRUE(results().waitForLabel("Label1", "2"));
    // Saved once the game has taken the answer to its lost dialog, without
    // a close.
    ASSERT_TRUE(waitUntil([&] { return iniValue(session->iniPath(), "Game", "TryCnt") == "2"; }))
        << readFileBytes(session->iniPath()).value_or("<no settings file>");
    kill();

    session->restart();
    ASSERT_TRUE(session->results.found()) << "the results window did not appear";
    EXPECT_TRUE(results().waitForNumberBox("6")) << results().numberBox();
    EXPECT_EQ(results().label("Label1"), "2");
    EXPECT_EQ(results().label("Label18"), "1");
    EXPECT_EQ(results().label("Label19"), "1");
    EXPECT_EQ(results().label("Label11"), "1連敗中");
    ASSERT_FALSE(results().history().empty());
    EXPECT_EQ(results().history().at(0), "5 勝ち");

    const LogReading reading = logged();
    EXPECT_EQ(reading.skippedLines, 0u);
    ASSERT_EQ(reading.entries.size(), 2u) << readFileBytes(logPath()).value_or("<no log>");
    EXPECT_EQ(reading.entries[0].event, LogEvent::win);
    EXPECT_EQ(reading.entries[0].gameNumber, 5);
    EXPECT_EQ(reading.entries[0].attempt, 1);
    EXPECT_TRUE(reading.entries[0].counted);
    EXPECT_EQ(reading.entries[1].event, LogEvent::loss);
    EXPECT_EQ(reading.entries[1].gameNumber, 6);
    EXPECT_EQ(reading.entries[1].attempt, 1);
    EXPECT_TRUE(reading.entries[1].counted);
    const std::string bytes = readFileBytes(logPath()).value_or("");
    EXPECT_EQ(bytes.rfind(std::string(kResultsLogHeader) + "\r\n", 0), 0u) << "the header comes first";
}

// The log held open by another program (a spreadsheet) when games end and
// when Tallykeep closes: one box, the history's caption counts the lines that
// wait, they are kept beside the log through the close, and the next start
// writes them once, in order.
TEST_F(TallykeepLog, LinesTheHeldLogRefusedSurviveTheCloseAndTheNextStartWritesThemOnce) {
    std::ofstream(logPath(), std::ios::binary) << kResultsLogHeader << "\r\n";
    start();
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    HeldFile held(logPath());
    ASSERT_TRUE(held.held()) << "open error " << held.openError();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "6")) << log().text();
    const HWND box = waitForTopLevel("#32770", "Tallykeep");
    ASSERT_NE(box, nullptr) << "the refusal is not told";
    EXPECT_EQ(messageBoxText(box).rfind(logPath() + " に書き込めません", 0), 0u) << messageBoxText(box);
    clickButton(GetDlgItem(box, IDOK));
    ASSERT_TRUE(waitUntilGone(box));
    ASSERT_TRUE(session->loseAndRedeal("6")) << log().text();
    EXPECT_TRUE(waitUntil([&] { return results().historyCaption() == "対戦履歴 記録待ち2行"; }))
        << results().historyCaption();
    EXPECT_EQ(countTopLevel("#32770", "Tallykeep"), 0) << "one box for one hold";

    results().close();
    ASSERT_TRUE(session->tallykeep->waitForExit(20s).has_value()) << "Tallykeep did not end after the close";
    EXPECT_EQ(held.bytes(), std::string(kResultsLogHeader) + "\r\n");
    std::istringstream kept(readFileBytes(logPath() + ".wait").value_or(""));
    EXPECT_EQ(readResultsLog(kept).entries.size(), 2u) << "the waiting lines are not kept beside the log";
    held.release();

    session->restart();
    ASSERT_TRUE(session->results.found()) << "the results window did not appear";
    ASSERT_TRUE(waitUntil([&] { return logged().entries.size() == 2; })) << readFileBytes(logPath()).value_or("");
    const LogReading reading = logged();
    EXPECT_EQ(reading.entries[0].gameNumber, 5);
    EXPECT_EQ(reading.entries[0].event, LogEvent::win);
    EXPECT_EQ(reading.entries[1].gameNumber, 6);
    EXPECT_EQ(reading.entries[1].event, LogEvent::loss);
    EXPECT_FALSE(readFileBytes(logPath() + ".wait").has_value());
    EXPECT_EQ(results().historyCaption(), "対戦履歴");
}

// A log cut off in the middle of a line (a power cut) and lines written by
// hand are left as they are: the next result goes on a line of its own, and
// only the lines that can be read are read.
TEST_F(TallykeepLog, TornOrHandEditedLogIsOnlyAppendedTo) {
    const std::string before =
        std::string(kResultsLogHeader) + "\r\nメモ: 手で書いた行\r\n2026/01/02,03:04:05,4,1,勝ち,1\r\n2026/01/02,03:0";
    {
        std::ofstream file(logPath(), std::ios::binary);
        file << before;
    }
    start();
    ASSERT_TRUE(session->selectGame("8", "8")) << log().text();
    ASSERT_TRUE(session->loseAndRedeal("8")) << log().text();
    ASSERT_TRUE(results().waitForLabel("Label19", "1"));

    const std::string bytes = readFileBytes(logPath()).value_or("");
    EXPECT_EQ(bytes.rfind(before + "\r\n", 0), 0u) << "never rewritten";
    const LogReading reading = logged();
    ASSERT_EQ(reading.entries.size(), 2u) << bytes;
    EXPECT_EQ(reading.entries[1].gameNumber, 8);
    EXPECT_EQ(reading.entries[1].event, LogEvent::loss);
    EXPECT_EQ(reading.skippedLines, 2u) << "the note and the torn line";
    ASSERT_TRUE(session->closeAndWait()) << log().text();
}

}  // namespace
