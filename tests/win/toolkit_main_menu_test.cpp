#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <stdexcept>
#include <type_traits>

#include "tests/win/toolkit_test_support.h"
#include "toolkit/main_menu.h"

namespace {

using toolkit_test::TestForm;

// A form may declare its items in any order beside its menu and still go
// without one of them being read after its end: the items exist only inside
// the menu that builds them and go with it.
static_assert(!std::is_default_constructible_v<MenuItem>, "menu items are made by their menu only");

enum Command : UINT { cmOptions = 10, cmShowBar, cmPass, cmRetry, cmRetryFirst, cmRetrySecond };

// A menu bar with two menus; the second holds a submenu of its own.
class FormWithMenu : public Form {
public:
    FormWithMenu() {
        FormArgs args;
        args.caption = "menu test";
        args.clientWidth = 200;
        args.clientHeight = 100;
        create(args, [this] {
            menu.create(*this, {
                                   {0, "Options", 0, false, 0, cmOptions, nullptr},
                                   {cmOptions, "Show bar", 0, true, 0, cmShowBar, nullptr},
                                   {0, "Pass", 0, false, 0, cmPass, nullptr},
                                   {cmPass, "Retry", 0, false, 0, cmRetry, nullptr},
                                   {cmRetry, "1", 0, false, 0, cmRetryFirst, [this](MenuItem&) { ++clicks; }},
                                   {cmRetry, "2", 0, false, 1, cmRetrySecond, nullptr},
                               });
        });
    }

    HMENU bar() const { return GetMenu(handle()); }
    HMENU passMenu() const { return GetSubMenu(bar(), 1); }

    MainMenu menu;
    int clicks = 0;
};

UINT state(HMENU menu, UINT position) { return GetMenuState(menu, position, MF_BYPOSITION); }

TEST(MainMenu, ItemsAreReachedByTheirCommandIds) {
    FormWithMenu form;
    MenuItem& first = form.menu.item(cmRetryFirst);
    EXPECT_EQ(first.caption(), "1");
    EXPECT_EQ(form.menu.item(cmRetrySecond).tag(), 1);
    first.click();
    EXPECT_EQ(form.clicks, 1);
    EXPECT_THROW(form.menu.item(999), std::out_of_range);
    EXPECT_EQ(form.menu.itemById(999), nullptr);
}

TEST(MainMenu, AChildListedBeforeItsParentIsRefused) {
    TestForm form;
    MainMenu menu;
    EXPECT_ANY_THROW(menu.create(form, {{cmPass, "Retry", 0, false, 0, cmRetry, nullptr}}));
}

// Every menu handle goes with the form: the bar, each submenu, and a submenu
// whose item was hidden (and so is held by no menu of the bar) as well.
TEST(MainMenu, EveryMenuGoesWithItsForm) {
    auto form = std::make_unique<FormWithMenu>();
    const HMENU bar = form->bar();
    const HMENU options = GetSubMenu(bar, 0);
    const HMENU pass = form->passMenu();
    const HMENU retry = GetSubMenu(pass, 0);
    ASSERT_TRUE(IsMenu(bar) && IsMenu(options) && IsMenu(pass) && IsMenu(retry));
    form->menu.item(cmRetry).setVisible(false);
    ASSERT_EQ(GetMenuItemCount(pass), 0);

    form.reset();
    EXPECT_FALSE(IsMenu(bar));
    EXPECT_FALSE(IsMenu(options));
    EXPECT_FALSE(IsMenu(pass));
    EXPECT_FALSE(IsMenu(retry)) << "the hidden item's submenu";
}

TEST(MainMenu, HiddenSubmenuReturnsWithItsItems) {
    FormWithMenu form;
    MenuItem& retry = form.menu.item(cmRetry);
    retry.setVisible(false);
    retry.setVisible(true);
    const HMENU submenu = GetSubMenu(form.passMenu(), 0);
    ASSERT_NE(submenu, nullptr);
    EXPECT_EQ(GetMenuItemCount(submenu), 2);
    EXPECT_EQ(GetMenuItemID(submenu, 1), static_cast<UINT>(cmRetrySecond));
}

TEST(MainMenu, GreyedItemStaysGreyedWhileHiddenAndShownAgain) {
    FormWithMenu form;
    const HMENU retry = GetSubMenu(form.passMenu(), 0);
    MenuItem& second = form.menu.item(cmRetrySecond);
    second.setEnabled(false);
    EXPECT_FALSE(second.enabled());
    EXPECT_EQ(state(retry, 1) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(state(retry, 0) & MF_GRAYED, 0u) << "its neighbour is untouched";

    second.setVisible(false);
    second.setVisible(true);
    EXPECT_EQ(state(retry, 1) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));

    second.setEnabled(true);
    EXPECT_EQ(state(retry, 1) & MF_GRAYED, 0u);
}

}  // namespace
