#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "toolkit/label.h"
#include "toolkit/panel.h"
#include "toolkit/speed_button.h"
#include "toolkit_test_support.h"

using toolkit_test::TestForm;

namespace {

const FontSpec kFont{-12, false, clBlack};

Label::CreateArgs labelAt(int left, const char* caption) {
    return {{left, 10, 40, 13}, caption, kFont, Alignment::taLeftJustify, false};
}

TEST(ControlOwnership, ControlThatGoesTakesItsWindowAlong) {
    TestForm form;
    auto label = std::make_unique<Label>();
    label->create(form, labelAt(10, "gone"));
    auto button = std::make_unique<SpeedButton>();
    SpeedButton::CreateArgs buttonArgs;
    buttonArgs.bounds = {60, 10, 80, 20};
    buttonArgs.caption = "button";
    button->create(form, buttonArgs);
    const HWND labelWindow = label->handle();
    const HWND buttonWindow = button->handle();
    ASSERT_TRUE(IsWindow(labelWindow) && IsWindow(buttonWindow));

    label.reset();
    button.reset();
    EXPECT_FALSE(IsWindow(labelWindow));
    EXPECT_FALSE(IsWindow(buttonWindow)) << "a subclassed control's window as well";
    EXPECT_EQ(GetWindow(form.handle(), GW_CHILD), nullptr) << "the form has no child left";
}

// A window that went with its parent is not the control's to destroy again:
// whatever window lives meanwhile stays.
TEST(ControlOwnership, ControlWhoseWindowWentWithItsParentLeavesOtherWindowsAlone) {
    TestForm form;
    auto panel = std::make_unique<Panel>();
    panel->create(form, {{0, 0, 200, 100}});
    auto inner = std::make_unique<Label>();
    inner->create(*panel, labelAt(10, "inner"));
    const HWND innerWindow = inner->handle();

    panel.reset();
    ASSERT_FALSE(IsWindow(innerWindow)) << "the panel took its child along";
    Label later;
    later.create(form, labelAt(100, "later"));
    inner.reset();
    EXPECT_TRUE(IsWindow(later.handle()));
    EXPECT_EQ(later.caption(), "later");
}

}  // namespace
