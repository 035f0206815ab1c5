#include <gtest/gtest.h>

#include <algorithm>

#include "toolkit/application.h"
#include "toolkit/message_box.h"
#include "toolkit_test_support.h"

using toolkit_test::FromInsideModalLoop;
using toolkit_test::openBoxes;
using toolkit_test::TestForm;

namespace {

TEST(ErrorBox, IsNeverOpenTwiceAtOnce) {
    TestForm owner;
    Application& application = Application::instance();
    application.setTitle("Tallykeep");
    size_t mostOpen = 0;
    bool secondRaised = false;
    FromInsideModalLoop step([&] {
        std::vector<HWND> boxes = openBoxes("Tallykeep");
        if (boxes.empty()) return false;
        if (!secondRaised) {
            secondRaised = true;
            // Raised while the first box is open, as a timer tick would.
            application.showError("second");
            boxes = openBoxes("Tallykeep");
        }
        mostOpen = std::max(mostOpen, boxes.size());
        for (HWND box : boxes) PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    application.showError("first");
    EXPECT_TRUE(secondRaised);
    EXPECT_EQ(mostOpen, 1u);
    EXPECT_FALSE(application.errorBoxOpen());
}

TEST(ErrorBox, OpensAgainOnceTheFirstIsClosed) {
    TestForm owner;
    Application& application = Application::instance();
    application.setTitle("Tallykeep");
    int shown = 0;
    for (int round = 0; round < 2; ++round) {
        FromInsideModalLoop step([&] {
            std::vector<HWND> boxes = openBoxes("Tallykeep");
            if (boxes.empty()) return false;
            ++shown;
            PostMessageA(boxes.front(), WM_COMMAND, IDOK, 0);
            return true;
        });
        application.showError("again");
    }
    EXPECT_EQ(shown, 2);
}

TEST(ErrorMessageBox, ReportsTheOkButton) {
    TestForm owner;
    FromInsideModalLoop step([] {
        std::vector<HWND> boxes = openBoxes("エラー");
        if (boxes.empty()) return false;
        HWND ok = GetDlgItem(boxes.front(), IDOK);
        if (ok)
            SendMessageA(ok, BM_CLICK, 0, 0);
        else
            PostMessageA(boxes.front(), WM_COMMAND, IDOK, 0);
        return true;
    });
    EXPECT_EQ(errorMessageBox("Freecell Not Found"), BoxResult::ok);
}

TEST(ErrorMessageBox, ReportsTheCloseBox) {
    TestForm owner;
    FromInsideModalLoop step([] {
        std::vector<HWND> boxes = openBoxes("エラー");
        if (boxes.empty()) return false;
        PostMessageA(boxes.front(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    });
    EXPECT_EQ(errorMessageBox("Freecell Not Found"), BoxResult::closedByCloseBox);
}

}  // namespace
