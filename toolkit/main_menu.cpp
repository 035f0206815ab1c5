#include "toolkit/main_menu.h"

#include <stdexcept>

#include "common/app_error.h"
#include "toolkit/form.h"

MENUITEMINFOA MenuItem::info() {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    // MIIM_TYPE with MFT_STRING rather than MIIM_STRING: understood by every
    // Windows version the program runs on.
    info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    info.fType = MFT_STRING;
    info.fState = (checked_ ? MFS_CHECKED : MFS_UNCHECKED) | (enabled_ ? MFS_ENABLED : MFS_GRAYED);
    info.wID = id_;
    info.hSubMenu = submenu_.get();
    info.dwTypeData = const_cast<char*>(caption_.c_str());
    info.cch = static_cast<UINT>(caption_.size());
    if (separator_) {
        info.fType = MFT_SEPARATOR;
        info.dwTypeData = nullptr;
        info.cch = 0;
    }
    return info;
}

HMENU MenuItem::parentMenu() const { return parent_ ? parent_->submenu_.get() : menu_.bar_.get(); }

UINT MenuItem::position() const {
    const std::vector<MenuItem*>& siblings = parent_ ? parent_->children_ : menu_.topLevel_;
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
    if (!parent_) menu_.redraw();
}

void MenuItem::setCaption(const std::string& caption) {
    caption_ = caption;
    apply();
}

void MenuItem::setChecked(bool checked) {
    checked_ = checked;
    apply();
}

void MenuItem::setEnabled(bool enabled) {
    enabled_ = enabled;
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
    if (!parent_) menu_.redraw();
}

void MenuItem::click() {
    if (onClick_) onClick_(*this);
}

MainMenu::~MainMenu() {
    if (form_ && bar_ && IsWindow(form_->handle()) && GetMenu(form_->handle()) == bar_.get())
        SetMenu(form_->handle(), nullptr);
    // Every menu handle has one owner: the bar's and each submenu's. Taken out
    // of its parent first, no submenu is destroyed with another menu, whatever
    // order the owners then go in. The last item is taken out first, so that
    // the positions of the items before it still hold.
    for (auto item = items_.rbegin(); item != items_.rend(); ++item) {
        MenuItem& entry = **item;
        if (entry.submenu_ && entry.visible_) RemoveMenu(entry.parentMenu(), entry.position(), MF_BYPOSITION);
    }
}

void MainMenu::create(Form& form, const std::vector<ItemArgs>& items) {
    form_ = &form;
    bar_.reset(CreateMenu());
    if (!bar_) throw AppError("CreateMenu failed");
    std::vector<ACCEL> shortcuts;
    for (const ItemArgs& args : items) {
        MenuItem* parent = nullptr;
        if (args.parentId != 0) {
            parent = itemById(args.parentId);
            if (!parent) throw AppError("menu item " + std::to_string(args.commandId) + " lists no earlier parent");
        }
        if (itemById(args.commandId)) throw AppError("menu command id " + std::to_string(args.commandId) + " twice");
        items_.push_back(std::unique_ptr<MenuItem>(new MenuItem(*this)));
        MenuItem& item = *items_.back();
        item.parent_ = parent;
        item.caption_ = args.caption;
        item.checked_ = args.checked;
        item.tag_ = args.tag;
        item.id_ = args.commandId;
        item.separator_ = args.separator;
        item.onClick_ = args.onClick;
        if (parent) {
            if (!parent->submenu_) {
                parent->submenu_.reset(CreatePopupMenu());
                if (!parent->submenu_) throw AppError("CreatePopupMenu failed");
                parent->apply();
            }
            parent->children_.push_back(&item);
        } else {
            topLevel_.push_back(&item);
        }
        item.insert();
        if (args.shortcut) {
            ACCEL accel{};
            accel.fVirt = FVIRTKEY;
            if (args.shortcut & kShortcutShift) accel.fVirt |= FSHIFT;
            if (args.shortcut & kShortcutCtrl) accel.fVirt |= FCONTROL;
            if (args.shortcut & kShortcutAlt) accel.fVirt |= FALT;
            accel.key = static_cast<WORD>(args.shortcut & 0xFF);
            accel.cmd = static_cast<WORD>(args.commandId);
            shortcuts.push_back(accel);
        }
    }
    if (!shortcuts.empty()) {
        accelerators_.reset(CreateAcceleratorTableA(shortcuts.data(), static_cast<int>(shortcuts.size())));
        if (!accelerators_) throw AppError("CreateAcceleratorTableA failed");
    }
    form.attachMenu(*this);
}

MenuItem& MainMenu::item(UINT commandId) const {
    if (MenuItem* found = itemById(commandId)) return *found;
    throw std::out_of_range("no menu item with command id " + std::to_string(commandId));
}

MenuItem* MainMenu::itemById(UINT id) const {
    for (const std::unique_ptr<MenuItem>& item : items_)
        if (item->id_ == id) return item.get();
    return nullptr;
}

void MainMenu::redraw() {
    if (form_ && form_->handle() && GetMenu(form_->handle()) == bar_.get()) DrawMenuBar(form_->handle());
}
