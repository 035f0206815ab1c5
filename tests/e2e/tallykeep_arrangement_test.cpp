// The group that AppActivate makes, seen from outside: the control bar
// directly above the game's window and as wide, the results window directly to
// its right and as high, the group centred in the space up to the work area's
// right and bottom edges, read here at run time.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "harness/harness.h"
#include "layout_probe.h"
#include "tallykeep_session.h"

namespace {

using namespace e2e;
using namespace std::chrono_literals;

struct Group {
    Place bar, game, results;
    Place barClient, resultsClient;
};

class TallykeepArrangement : public TallykeepTest {
protected:
    void startAndFindTheBar(SessionOptions options = {}) {
        start(options);
        bar = waitForTopLevel(kResultsClass, kControlBarCaption);
        ASSERT_NE(bar, nullptr) << "no control bar";
    }

    Group measure() const {
        const HWND results = session->results.window();
        return {outerPlace(bar), outerPlace(session->game), outerPlace(results), clientPlace(bar),
                clientPlace(results)};
    }

    static bool glued(const Group& g) {
        return g.bar.left == g.game.left && g.bar.width == g.game.width && g.bar.bottom() == g.game.top &&
               g.results.left == g.game.right() && g.results.top == g.game.top &&
               g.results.height == g.game.height;
    }

    // Waits until the group stands around a game of that size.
    Group waitForGroup(int gameWidth, int gameHeight) const {
        Group g;
        waitUntil([&] {
            g = measure();
            return glued(g) && g.game.width == gameWidth && g.game.height == gameHeight;
        });
        return g;
    }

    static void print(const char* when, const Group& g) {
        const Place work = workArea();
        std::printf("%s: screen %d x %d, work area %s\n  control bar %s (client %d x %d)\n  game %s\n"
                    "  results window %s (client %d x %d)\n",
                    when, screenWidth(), screenHeight(), describe(work).c_str(), describe(g.bar).c_str(),
                    g.barClient.width, g.barClient.height, describe(g.game).c_str(), describe(g.results).c_str(),
                    g.resultsClient.width, g.resultsClient.height);
    }

    // Every rule of the arrangement, checked on the group as it stands.
    void expectArranged(const Group& g) const {
        EXPECT_EQ(g.bar.left, g.game.left);
        EXPECT_EQ(g.bar.width, g.game.width);
        EXPECT_EQ(g.bar.bottom(), g.game.top);
        EXPECT_EQ(g.results.left, g.game.right());
        EXPECT_EQ(g.results.top, g.game.top);
        EXPECT_EQ(g.results.height, g.game.height);
        // Sizes the arrangement never changes.
        EXPECT_EQ(g.barClient.height, 39);
        EXPECT_EQ(g.resultsClient.width, 151);

        // Centred between the screen's corner and the work area's right and
        // bottom edges, halves taken toward zero.
        const Place work = workArea();
        const int spareHeight = work.bottom() - g.game.height - g.bar.height;
        EXPECT_EQ(g.bar.top, spareHeight / 2);
        if (screenWidth() - g.results.width - g.game.width > 0) {
            EXPECT_EQ(g.game.left, (work.right() - g.results.width - g.game.width) / 2);
        } else {
            EXPECT_EQ(g.game.left, 0);
        }

        // The buttons: equal widths, a quarter of the client width less five
        // margins of 5, rounded half to even; 5 pixels apart.
        const std::vector<ChildWindow> buttons = children(bar);
        ASSERT_EQ(buttons.size(), 4u);
        const int w = static_cast<int>(std::nearbyint((g.barClient.width - 25) / 4.0));
        for (int i = 0; i < 4; ++i) {
            const Place b = placeIn(buttons[static_cast<size_t>(i)].handle, bar);
            EXPECT_EQ(b.left, 5 + i * (w + 5)) << buttons[static_cast<size_t>(i)].text;
            EXPECT_EQ(b.width, w) << buttons[static_cast<size_t>(i)].text;
            EXPECT_EQ(b.top, 8) << buttons[static_cast<size_t>(i)].text;
            EXPECT_EQ(b.height, 25) << buttons[static_cast<size_t>(i)].text;
        }

        // The history box ends 5 pixels above the client area's bottom, its
        // memo 20 pixels lower than the box.
        const HWND history = findChild(session->results.window(), "Button", "対戦履歴");
        ASSERT_NE(history, nullptr);
        const Place box = placeIn(history, session->results.window());
        EXPECT_EQ(box.top, 260);
        EXPECT_EQ(box.bottom(), g.resultsClient.height - 5);
        const std::vector<ChildWindow> memo = children(history);
        ASSERT_EQ(memo.size(), 1u);
        EXPECT_EQ(placeIn(memo[0].handle, history).height, box.height - 20);

        // The bevels, lowered frames, follow their windows' new sizes: shadow
        // at the top-left corner, highlight at the bottom-right.
        const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
        EXPECT_EQ(screenPixel(g.barClient.left, g.barClient.top), shadow);
        EXPECT_EQ(screenPixel(g.barClient.right() - 1, g.barClient.bottom() - 1), highlight);
        EXPECT_EQ(screenPixel(g.resultsClient.left, g.resultsClient.top), shadow);
        EXPECT_EQ(screenPixel(g.resultsClient.right() - 1, g.resultsClient.bottom() - 1), highlight);
    }

    HWND takeBackButton() const { return findChild(bar, nullptr, "１つ戻す"); }

    // Another program active, then Tallykeep again: one more activation.
    void comeBack(HWND tallykeepWindow) const {
        ASSERT_TRUE(activate(session->game));
        ASSERT_TRUE(activate(tallykeepWindow));
    }

    HWND bar = nullptr;
};

TEST_F(TallykeepArrangement, AtStartTheGroupIsGluedToTheGameAndCentred) {
    startAndFindTheBar();
    const Place game = outerPlace(session->game);
    const Group g = waitForGroup(game.width, game.height);
    print("after start", g);
    ASSERT_TRUE(glued(g));
    expectArranged(g);
    EXPECT_NE(IsWindowEnabled(takeBackButton()), FALSE);
}

TEST_F(TallykeepArrangement, ResizedGameIsRegluedAtTheNextActivation) {
    startAndFindTheBar();
    const Place first = outerPlace(session->game);
    ASSERT_TRUE(glued(waitForGroup(first.width, first.height)));

    // The user moves the game away and makes it smaller, then comes back.
    ASSERT_TRUE(activate(session->game));
    SetWindowPos(session->game, nullptr, 20, 30, 560, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] { return outerPlace(session->game).width == 560; }));
    ASSERT_TRUE(activate(session->results.window()));
    Group g = waitForGroup(560, 400);
    print("after the game was made 560 x 400", g);
    ASSERT_TRUE(glued(g));
    expectArranged(g);

    // Larger again, and back through the control bar.
    ASSERT_TRUE(activate(session->game));
    SetWindowPos(session->game, nullptr, 0, 0, 700, 520, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] { return outerPlace(session->game).width == 700; }));
    ASSERT_TRUE(activate(bar));
    g = waitForGroup(700, 520);
    print("after the game was made 700 x 520", g);
    ASSERT_TRUE(glued(g));
    expectArranged(g);
}

TEST_F(TallykeepArrangement, GameWiderThanTheScreenPutsTheGroupAtTheLeftEdge) {
    startAndFindTheBar();
    const Place first = outerPlace(session->game);
    ASSERT_TRUE(glued(waitForGroup(first.width, first.height)));
    ASSERT_TRUE(activate(session->game));
    const int wide = screenWidth() - 100;  // with the results window, wider than the screen
    SetWindowPos(session->game, nullptr, 50, 50, wide, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] { return outerPlace(session->game).width == wide; }));
    ASSERT_TRUE(activate(session->results.window()));
    const Group g = waitForGroup(wide, 400);
    print("after the game was made wider than the screen", g);
    ASSERT_TRUE(glued(g));
    EXPECT_EQ(g.game.left, 0);
    EXPECT_EQ(g.bar.left, 0);
    EXPECT_EQ(g.results.left, wide);
}

TEST_F(TallykeepArrangement, OnWindowsNt4TheTakeBackButtonIsDisabledAndStaysSo) {
    SessionOptions options;
    options.windowsVersion = "nt40";
    startAndFindTheBar(options);
    const Place first = outerPlace(session->game);
    ASSERT_TRUE(glued(waitForGroup(first.width, first.height)));
    const HWND takeBack = takeBackButton();
    ASSERT_NE(takeBack, nullptr);
    EXPECT_EQ(IsWindowEnabled(takeBack), FALSE);
    EXPECT_NE(IsWindowEnabled(findChild(bar, nullptr, "開始")), FALSE);

    // Arranged again around a moved game: still disabled.
    ASSERT_TRUE(activate(session->game));
    SetWindowPos(session->game, nullptr, 10, 10, 600, 440, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] { return outerPlace(session->game).width == 600; }));
    ASSERT_TRUE(activate(bar));
    ASSERT_TRUE(glued(waitForGroup(600, 440)));
    EXPECT_EQ(IsWindowEnabled(takeBack), FALSE);

    // A click on it posts nothing to the game.
    const std::size_t mark = log().size();
    clickButton(takeBack);
    ASSERT_TRUE(standinSync(session->game, log()));
    const std::vector<LogLine> lines = log().lines();
    for (std::size_t i = mark; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].details.find("WM_KEYDOWN 121"), std::string::npos) << lines[i].details;
}

TEST_F(TallykeepArrangement, ClosedBarComesBackAtTheNextActivation) {
    startAndFindTheBar();
    post(bar, WM_CLOSE);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(bar) == FALSE; }));
    comeBack(session->results.window());
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(bar) != FALSE; }));
}

}  // namespace
