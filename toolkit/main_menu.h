#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Form;
class MainMenu;

// One item of a form's menu bar or of its submenus. Captions are shown and read
// back exactly as set: no access-key mark is ever added. Win32 menus know no
// hidden items, so a hidden item is removed from its menu and put back at its
// place when shown again.
class MenuItem {
public:
    MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    bool checked() const { return checked_; }
    void setChecked(bool checked);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    int tag() const { return tag_; }
    UINT commandId() const { return id_; }
    bool hasSubmenu() const { return submenu_ != nullptr; }

    // Runs the click handler, as choosing the item does.
    void click();

private:
    friend class MainMenu;
    MENUITEMINFOA info();
    HMENU parentMenu() const;
    UINT position() const;  // among the visible items of its menu
    void insert();
    void apply();

    MainMenu* menu_ = nullptr;
    MenuItem* parent_ = nullptr;
    std::vector<MenuItem*> children_;
    HMENU submenu_ = nullptr;
    std::string caption_;
    bool checked_ = false;
    bool visible_ = true;
    int tag_ = 0;
    UINT id_ = 0;
    std::function<void(MenuItem&)> onClick_;
};

// A shortcut as the form data writes it: a virtual-key code plus 8192 for
// Shift, 16384 for Ctrl and 32768 for Alt; 0 for none.
using Shortcut = uint16_t;

class MainMenu {
public:
    struct ItemArgs {
        MenuItem* item = nullptr;
        MenuItem* parent = nullptr;  // none: the menu bar
        std::string caption;
        Shortcut shortcut = 0;
        bool checked = false;
        int tag = 0;
        UINT commandId = 0;  // unique within the menu
        std::function<void(MenuItem& sender)> onClick;
    };

    MainMenu() = default;
    ~MainMenu();
    MainMenu(const MainMenu&) = delete;
    MainMenu& operator=(const MainMenu&) = delete;

    // Builds the menu from items listed parents first and attaches it to the form.
    void create(Form& form, const std::vector<ItemArgs>& items);

    HMENU handle() const { return bar_; }
    HACCEL accelerators() const { return accelerators_; }
    MenuItem* itemById(UINT id) const;

private:
    friend class MenuItem;
    void redraw();

    Form* form_ = nullptr;
    HMENU bar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    std::vector<MenuItem*> items_;
    std::vector<MenuItem*> topLevel_;
};
