#include "toolkit/main_menu.h"

#include "common/app_error.h"
#include "toolkit/form.h"

MENUITEMINFOA MenuItem::info() {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    // MIIM_TYPE with MFT_STRING rather than MIIM_STRING: understood by every
    // Windows version the program runs on.
    info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    info.fType = MFT_STRING;
    info.fState = checked_ ? MFS_CHECKED : MFS_UNCHECKED;
    info.wID = id_;
    info.hSubMenu = submenu_;
    info.dwTypeData = const_cast<char*>(caption_.c_str());
    info.cch = static_cast<UINT>(caption_.size());
    return info;
}

HMENU MenuItem::parentMenu() const { return parent_ ? parent_->submenu_ : menu_->bar_; }

UINT MenuItem::position() const {
    const std::vector<MenuItem*>& siblings = parent_ ? parent_->children_ : menu_->topLevel_;
    UINT position = 0;
    for (const MenuItem* sibling : siblings) {
        if (sibling == this) break;
        if (sibling->visible_) ++position;
    }
    return position;
}

void MenuItem::insert() {
    MENUITEMINFOA item = info();
    if (!InsertMenuItemA(parentMenu(), position(), TRUE, &item)) throw AppError("InsertMenuItemA failed");
}

void MenuItem::apply() {
    if (!visible_) return;
    MENUITEMINFOA item = info();
    if (!SetMenuItemInfoA(parentMenu(), position(), TRUE, &item)) throw AppError("SetMenuItemInfoA failed");
    if (!parent_) menu_->redraw();
}

void MenuItem::setCaption(const std::string& caption) {
    caption_ = caption;
    apply();
}

void MenuItem::setChecked(bool checked) {
    checked_ = checked;
    apply();
}

void MenuItem::setVisible(bool visible) {
    if (visible == visible_) return;
    if (visible) {
        visible_ = true;
        insert();
    } else {
        // RemoveMenu, not DeleteMenu: a submenu stays ours for the return.
        if (!RemoveMenu(parentMenu(), position(), MF_BYPOSITION)) throw AppError("RemoveMenu failed");
        visible_ = false;
    }
    if (!parent_) menu_->redraw();
}

void MenuItem::click() {
    if (onClick_) onClick_(*this);
}

MainMenu::~MainMenu() {
    // Removed items and their submenus are not reached from the menu bar.
    for (MenuItem* item : items_)
        if (!item->visible_ && item->submenu_) DestroyMenu(item->submenu_);
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    if (!bar_) return;
    if (form_ && IsWindow(form_->handle()) && GetMenu(form_->handle()) == bar_) SetMenu(form_->handle(), nullptr);
    DestroyMenu(bar_);
}

void MainMenu::create(Form& form, const std::vector<ItemArgs>& items) {
    form_ = &form;
    bar_ = CreateMenu();
    if (!bar_) throw AppError("CreateMenu failed");
    std::vector<ACCEL> shortcuts;
    for (const ItemArgs& args : items) {
        MenuItem& item = *args.item;
        item.menu_ = this;
        item.parent_ = args.parent;
        item.caption_ = args.caption;
        item.checked_ = args.checked;
        item.tag_ = args.tag;
        item.id_ = args.commandId;
        item.onClick_ = args.onClick;
        items_.push_back(&item);
        if (args.parent) {
            if (!args.parent->submenu_) {
                args.parent->submenu_ = CreatePopupMenu();
                if (!args.parent->submenu_) throw AppError("CreatePopupMenu failed");
                args.parent->apply();
            }
            args.parent->children_.push_back(&item);
        } else {
            topLevel_.push_back(&item);
        }
        item.insert();
        if (args.shortcut) {
            ACCEL accel{};
            accel.fVirt = FVIRTKEY;
            if (args.shortcut & 8192) accel.fVirt |= FSHIFT;
            if (args.shortcut & 16384) accel.fVirt |= FCONTROL;
            if (args.shortcut & 32768) accel.fVirt |= FALT;
            accel.key = static_cast<WORD>(args.shortcut & 0xFF);
            accel.cmd = static_cast<WORD>(args.commandId);
            shortcuts.push_back(accel);
        }
    }
    if (!shortcuts.empty()) {
        accelerators_ = CreateAcceleratorTableA(shortcuts.data(), static_cast<int>(shortcuts.size()));
        if (!accelerators_) throw AppError("CreateAcceleratorTableA failed");
    }
    form.attachMenu(*this);
}

MenuItem* MainMenu::itemById(UINT id) const {
    for (MenuItem* item : items_)
        if (item->id_ == id) return item;
    return nullptr;
}

void MainMenu::redraw() {
    if (form_ && form_->handle() && GetMenu(form_->handle()) == bar_) DrawMenuBar(form_->handle());
}
