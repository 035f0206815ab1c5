// A second Tallykeep started while one runs: it brings the first one's
// windows to the front and ends at once, without a game of its own, without
// answering the game and without touching any settings file.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "gamelink/os_profile.h"
#include "harness/harness.h"
#include "boxes_and_files.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

class TallykeepSecondInstance : public TallykeepTest {
protected:
    // Starts a second Tallykeep.exe in `folder` and waits for its end; its exit
    // code, or none when it is still running.
    std::optional<DWORD> startSecond(const Sandbox& folder) {
        const std::string exe = folder.path("Tallykeep.exe");
        if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES) folder.copyProgram("Tallykeep.exe");
        Process second = Process::start(exe, folder.dir(), {{freecell::kLogVariable, log().path()}});
        return second.waitForExit(20s);
    }
};

TEST_F(TallykeepSecondInstance, SecondCopyInTheSameFolderEndsAndLeavesTheSettingsFileAlone) {
    const std::string handWritten = "[Game]\r\nGameNo=5\r\nTryCnt=1\r\n";
    {
        std::ofstream file(sandbox.path("Tallykeep.Ini"), std::ios::binary);
        file << handWritten;
    }
    start();
    ASSERT_TRUE(results().waitForNumberBox("5"));
    SetForegroundWindow(session->game);
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == session->game; }));

    EXPECT_EQ(startSecond(sandbox), std::optional<DWORD>(0));
    EXPECT_TRUE(waitUntil([&] { return GetForegroundWindow() == results().window(); }))
        << "the first Tallykeep's results window did not come to the front";
    EXPECT_EQ(countTopLevel(kResultsClass, kResultsCaption), 1);
    EXPECT_EQ(countTopLevel("FreeWClass", nullptr), 1);
    EXPECT_EQ(readFileBytes(session->iniPath()), handWritten);
    EXPECT_EQ(log().count("start", std::nullopt), 1) << log().text();

    // The first one carries on alone: one answer to the game, one count.
    ASSERT_TRUE(session->selectGame("5", "5")) << log().text();
    ASSERT_TRUE(session->winAndAnswerYes(kDefaultTexts, "6")) << log().text();
    EXPECT_EQ(log().count("deal", std::string("6")), 1) << log().text();
    EXPECT_TRUE(results().waitForLabel("Label18", "1"));
    EXPECT_EQ(log().count("msg", std::string("selectbox BM_SETCHECK 1")), 1);
    ASSERT_TRUE(session->closeAndWait()) << log().text();
    EXPECT_EQ(iniValue(session->iniPath(), "Score", "won", "<missing>"), "1");
}

TEST_F(TallykeepSecondInstance, SecondCopyElsewhereRestoresTheMinimisedFirstAndCreatesNoSettingsFile) {
    start();
    post(results().window(), WM_SYSCOMMAND, SC_MINIMIZE);
    ASSERT_TRUE(waitUntil([&] { return isIconic(results().window()) && isIconic(session->game); })) << log().text();

    const Sandbox elsewhere("second_copy_elsewhere");
    EXPECT_EQ(startSecond(elsewhere), std::optional<DWORD>(0));
    EXPECT_TRUE(waitUntil([&] { return !isIconic(results().window()); })) << "the results window stayed minimised";
    EXPECT_TRUE(waitUntil([&] { return !isIconic(session->game); })) << "the game stayed minimised";
    EXPECT_FALSE(readFileBytes(elsewhere.path("Tallykeep.Ini")).has_value());
    EXPECT_FALSE(saved()) << "the first one saved while it runs";
    EXPECT_EQ(countTopLevel("FreeWClass", nullptr), 1);
}

}  // namespace
