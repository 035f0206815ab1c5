#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/handles_win.h"

class Form;
class MainMenu;

// One item of a form's menu bar or of its submenus, owned by its menu: it
// exists from the menu's creation to the menu's end, and the form reaches it
// through MainMenu::item. Captions are shown and read back exactly as set: no
// access-key mark is ever added. Win32 menus know no hidden items, so a hidden
// item is removed from its menu and put back at its place when shown again; a
// greyed item stays greyed across that.
class MenuItem {
public:
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    bool checked() const { return checked_; }
    void setChecked(bool checked);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    int tag() const { return tag_; }
    UINT commandId() const { return id_; }
    bool separator() const { return separator_; }
    bool hasSubmenu() const { return static_cast<bool>(submenu_); }

    // Runs the click handler, as choosing the item does.
    void click();

private:
    friend class MainMenu;
    explicit MenuItem(MainMenu& menu) : menu_(menu) {}
    MENUITEMINFOA info();
    HMENU parentMenu() const;
    UINT position() const;  // among the visible items of its menu
    void insert();
    void apply();

    MainMenu& menu_;
    MenuItem* parent_ = nullptr;
    std::vector<MenuItem*> children_;
    // Owned here, inside its parent's menu or not: the menu takes every
    // submenu out of its parent before any is destroyed.
    MenuHandle submenu_;
    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    int tag_ = 0;
    UINT id_ = 0;
    bool separator_ = false;
    std::function<void(MenuItem&)> onClick_;
};

// A shortcut as the form data writes it: a virtual-key code plus 8192 for
// Shift, 16384 for Ctrl and 32768 for Alt; 0 for none.
using Shortcut = uint16_t;
inline constexpr Shortcut kShortcutShift = 0x2000;  // 8192
inline constexpr Shortcut kShortcutCtrl = 0x4000;   // 16384
inline constexpr Shortcut kShortcutAlt = 0x8000;    // 32768

class MainMenu {
public:
    struct ItemArgs {
        UINT parentId = 0;  // the command id of an item listed earlier; 0: the menu bar
        std::string caption;
        Shortcut shortcut = 0;
        bool checked = false;
        int tag = 0;
        UINT commandId = 0;  // unique within the menu
        std::function<void(MenuItem& sender)> onClick;
        bool separator = false;  // a dividing line: no caption, never chosen
    };

    MainMenu() = default;
    ~MainMenu();
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    // Builds the menu and its items from rows listed parents first and
    // attaches it to the form.
    void create(Form& form, const std::vector<ItemArgs>& items);

    HMENU handle() const { return bar_.get(); }
    HACCEL accelerators() const { return accelerators_.get(); }
    // The item of a command id; throws std::out_of_range when there is none.
    MenuItem& item(UINT commandId) const;
    // The item of a command id; nullptr when there is none.
    MenuItem* itemById(UINT id) const;

private:
    friend class MenuItem;
    void redraw();

    // Destroyed in reverse order: the items (and their submenus) before the
    // accelerators, and both before the bar.
    Form* form_ = nullptr;
    MenuHandle bar_;
    AcceleratorTableHandle accelerators_;
    std::vector<MenuItem*> topLevel_;
    std::vector<std::unique_ptr<MenuItem>> items_;  // in creation order: parents first
};
