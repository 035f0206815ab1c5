#include "toolkit/form.h"

#include <exception>

#include "common/app_error.h"
#include "toolkit/application.h"
#include "toolkit/entry_guard.h"
#include "toolkit/event_gate.h"
#include "toolkit/gdi_object.h"
#include "toolkit/main_menu.h"
#include "toolkit/screen_scale.h"
#include "toolkit/timer.h"
#include "toolkit/toolkit_messages.h"

namespace {

constexpr char kFormClass[] = "TallykeepForm";
constexpr char kFormProperty[] = "Tallykeep.Form";

BOOL CALLBACK loadFirstIcon(HMODULE module, LPCSTR, LPSTR name, LONG_PTR icon) {
    return guardCallback(FALSE, [&] {
        // A string name is valid only during the enumeration: load it here.
        *reinterpret_cast<HICON*>(icon) = LoadIconA(module, name);
        return FALSE;
    });
}

// The application's icon: the first icon group of the executable.
HICON applicationIcon() {
    HICON icon = nullptr;
    EnumResourceNamesA(GetModuleHandleA(nullptr), RT_GROUP_ICON, &loadFirstIcon, reinterpret_cast<LONG_PTR>(&icon));
    return icon;
}

void registerFormClass(WNDPROC procedure) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    // A new size repaints the whole form: bevels that fill it move their edges.
    windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = applicationIcon();
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kFormClass;
    if (!RegisterClassExA(&windowClass)) throw AppError("RegisterClassExA failed");
    registered = true;
}

// The position of the item with this command id in the menu bar; -1 when the
// bar does not show it.
int menuBarPosition(HMENU bar, UINT commandId) {
    const int count = GetMenuItemCount(bar);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID;
        if (GetMenuItemInfoA(bar, static_cast<UINT>(position), TRUE, &info) && info.wID == commandId) return position;
    }
    return -1;
}

}  // namespace

Form::~Form() {
    Application::instance().removeForm(*this);
    if (window_) {
        RemovePropA(window_, kFormProperty);
        DestroyWindow(window_);
    }
}

void Form::create(const FormArgs& args, const std::function<void()>& buildComponents) {
    args_ = args;
    // Large fonts: the client area grows with the controls. The place on the
    // screen stays; the arrangement moves the windows anyway.
    args_.clientWidth = scaledToScreen(args.clientWidth);
    args_.clientHeight = scaledToScreen(args.clientHeight);
    registerFormClass(&Form::windowProc);
    Application& application = Application::instance();

    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    if (args.border == BorderStyle::bsSingle || args.minimizeBox) style |= WS_MINIMIZEBOX;
    if (args.border == BorderStyle::bsToolWindow) exStyle |= WS_EX_TOOLWINDOW;
    if (args.stayOnTop) exStyle |= WS_EX_TOPMOST;
    RECT outer{0, 0, args_.clientWidth, args_.clientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);

    Form* mainForm = application.mainForm();
    HWND owner = mainForm ? mainForm->handle() : nullptr;
    application.addForm(*this);
    window_ =
        CreateWindowExA(exStyle, kFormClass, args.caption.c_str(), style, args.left, args.top, outer.right - outer.left,
                        outer.bottom - outer.top, owner, nullptr, GetModuleHandleA(nullptr), this);
    if (!window_) throw AppError("CreateWindowExA failed: form");
    if (args.icon) {
        if (HICON icon = LoadIconA(GetModuleHandleA(nullptr), args.icon)) {
            SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        }
    }
    buildComponents();
    fitClientSize();
    if (OnCreate) runEvent(OnCreate);
    if (args.visible) {
        ShowWindow(window_, mainForm ? SW_SHOWNA : SW_SHOW);
        UpdateWindow(window_);
    }
}

void Form::fitClientSize() {
    // The menu bar (which may wrap) is known only now: correct the outer size
    // so that the client area is exactly as declared.
    RECT client{};
    GetClientRect(window_, &client);
    const int dw = args_.clientWidth - client.right;
    const int dh = args_.clientHeight - client.bottom;
    if (dw == 0 && dh == 0) return;
    const Rect outer = bounds();
    SetWindowPos(window_, nullptr, 0, 0, outer.width + dw, outer.height + dh,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::attachMenu(MainMenu& menu) {
    menu_ = &menu;
    if (!SetMenu(window_, menu.handle())) throw AppError("SetMenu failed");
}

void Form::addBevel(const Rect& bounds, bool fillsClient) { bevels_.push_back({scaledToScreen(bounds), fillsClient}); }

void Form::addTimer(Timer& timer, UINT id) { timers_[id] = &timer; }

void Form::removeTimer(UINT id) { timers_.erase(id); }

bool Form::translateAccelerator(MSG& message) {
    if (!menu_ || !menu_->accelerators()) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    if (const MenuItem* item = submenuShortcutOf(message)) {
        // The shortcut of an item with a submenu opens that submenu, from the
        // message loop. It never reaches TranslateAccelerator: Wine, finding
        // a command id that names a menu-bar item with a submenu, fails an
        // assertion there and spins for good.
        PostMessageA(window_, kOpenMenuBarItemMessage, item->commandId(), 0);
        // The window's default handling still sees the key (no character is
        // made of it): it notes that a key came with Alt, so that releasing
        // Alt afterwards does not select the menu bar.
        if (message.message == WM_SYSKEYDOWN) DispatchMessageA(&message);
        return true;
    }
    return TranslateAcceleratorA(window_, menu_->accelerators(), &message) != 0;
}

// The item with a submenu whose shortcut this key press is; nullptr for any
// other message.
const MenuItem* Form::submenuShortcutOf(const MSG& message) const {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return nullptr;
    std::vector<ACCEL> shortcuts(static_cast<size_t>(CopyAcceleratorTableA(menu_->accelerators(), nullptr, 0)));
    if (shortcuts.empty()) return nullptr;
    const int count =
        CopyAcceleratorTableA(menu_->accelerators(), shortcuts.data(), static_cast<int>(shortcuts.size()));
    const auto matches = [](BYTE flags, BYTE flag, int key) { return ((flags & flag) != 0) == (GetKeyState(key) < 0); };
    for (int i = 0; i < count; ++i) {
        const ACCEL& shortcut = shortcuts[static_cast<size_t>(i)];
        if (!(shortcut.fVirt & FVIRTKEY) || shortcut.key != message.wParam) continue;
        if (!matches(shortcut.fVirt, FSHIFT, VK_SHIFT) || !matches(shortcut.fVirt, FCONTROL, VK_CONTROL) ||
            !matches(shortcut.fVirt, FALT, VK_MENU))
            continue;
        const MenuItem* item = menu_->itemById(shortcut.cmd);
        if (item && item->hasSubmenu()) return item;
    }
    return nullptr;
}

// Tab belongs to the navigation unless the control with the focus asks for it
// (WM_GETDLGCODE), as a plain multi-line edit does. No control of the
// program's windows is a tab stop, so the navigation has nowhere to move the
// focus: the key ends here, and no tab character reaches the control. Enter
// and Escape find no default or cancel button to press and go on to the
// control. The control is asked without a message, so that no edit takes
// itself to be inside a dialog box.
bool Form::navigateByKey(const MSG& message) const {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    const LRESULT wanted = SendMessageA(message.hwnd, WM_GETDLGCODE, VK_TAB, 0);
    return (wanted & (DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) == 0;
}

void Form::runEvent(const std::function<void()>& handler) { EventGate::run(handler); }

bool Form::queryClose() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    return canClose;
}

void Form::close() {
    runEvent([this] {
        if (queryClose()) acceptClose();
    });
}

void Form::acceptClose() {
    Application& application = Application::instance();
    if (application.mainForm() != this) {
        hide();
        return;
    }
    // Before the message loop runs, start-up is still going on: the close
    // request has run the whole shutdown, and the program ends later.
    if (!application.running()) return;
    hide();
    application.terminate();
}

void Form::show() { ShowWindow(window_, SW_SHOWNA); }

void Form::hide() { ShowWindow(window_, SW_HIDE); }

void Form::minimize() { ShowWindow(window_, SW_SHOWMINNOACTIVE); }

void Form::restore() {
    if (minimized()) ShowWindow(window_, SW_SHOWNOACTIVATE);
}

// A form that stays on top is put in the top band again: whatever took it
// out, it is in front of every other program's window once more.
void Form::bringToFront() {
    SetWindowPos(window_, args_.stayOnTop ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Form::visible() const { return IsWindowVisible(window_) != FALSE; }

bool Form::minimized() const { return IsIconic(window_) != FALSE; }

Rect Form::bounds() const {
    RECT r{};
    GetWindowRect(window_, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Form::setBounds(const Rect& b) {
    if (!SetWindowPos(window_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE))
        throw AppError("SetWindowPos failed: form");
}

int Form::clientWidth() const {
    RECT r{};
    GetClientRect(window_, &r);
    return r.right;
}

int Form::clientHeight() const {
    RECT r{};
    GetClientRect(window_, &r);
    return r.bottom;
}

void Form::paintBevels() {
    const PaintScope paint(window_);
    for (const BevelFrame& bevel : bevels_) {
        RECT r{bevel.bounds.left, bevel.bounds.top, bevel.bounds.right(), bevel.bounds.bottom()};
        if (bevel.fillsClient) GetClientRect(window_, &r);
        DrawEdge(paint.dc(), &r, BDR_SUNKENOUTER, BF_RECT);
    }
}

void Form::onMenuCommand(UINT id) {
    MenuItem* item = menu_ ? menu_->itemById(id) : nullptr;
    if (!item) return;
    // An item with a submenu runs no command (its shortcut opens the submenu,
    // see translateAccelerator).
    if (item->hasSubmenu()) return;
    runEvent([item] { item->click(); });
}

// The submenu of a menu-bar item, opened below the item. A chosen item posts
// its WM_COMMAND, handled as a click from the menu bar.
void Form::openMenuBarItem(UINT commandId) {
    HMENU bar = GetMenu(window_);
    const int position = bar ? menuBarPosition(bar, commandId) : -1;
    if (position < 0) return;
    HMENU submenu = GetSubMenu(bar, position);
    RECT item{};
    if (!submenu || !GetMenuItemRect(window_, bar, static_cast<UINT>(position), &item)) return;
    // The menu runs its own loop, as one opened from the bar does: ticks and
    // other events go on meanwhile. A menu that cannot open leaves nothing run.
    HiliteMenuItem(window_, bar, static_cast<UINT>(position), MF_BYPOSITION | MF_HILITE);
    TrackPopupMenu(submenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, item.left, item.bottom, 0, window_, nullptr);
    HiliteMenuItem(window_, bar, static_cast<UINT>(position), MF_BYPOSITION | MF_UNHILITE);
}

void Form::onShowWindow(bool shown, LPARAM reason) {
    // Hidden with its owner (the main form minimised) is no hide of the form.
    if (shown || reason != 0) return;
    if (OnHide) runEvent(OnHide);
}

void Form::onSize(WPARAM kind) {
    if (Application::instance().mainForm() != this) return;
    if (kind == SIZE_MINIMIZED && !minimized_) {
        minimized_ = true;
        Application::instance().postEvent(ApplicationEvent::minimize);
    } else if (kind != SIZE_MINIMIZED && minimized_) {
        minimized_ = false;
        Application::instance().postEvent(ApplicationEvent::restore);
    }
}

void Form::onTimer(UINT id) {
    if (id == kActivationAfterReleaseTimer) {
        if (GetCapture() != nullptr) return;
        KillTimer(window_, kActivationAfterReleaseTimer);
        onApplicationEvent(ApplicationEvent::activate);
        return;
    }
    auto found = timers_.find(id);
    if (found == timers_.end()) return;
    // While the user holds the mouse on the program (a button pressed, a menu
    // open, a window dragged) the thread has the capture. A tick then would
    // bring the game to the front and cut the user's action short (a pressed
    // button loses its click): such a tick is skipped.
    if (GetCapture() != nullptr) return;
    Timer* timer = found->second;
    runEvent([timer] { timer->tick(); });
}

// A tick that a timer asked for out of turn runs as its regular ones do.
void Form::onTickRequest(UINT id, bool postedAgain) {
    auto found = timers_.find(id);
    if (found == timers_.end()) return;
    // A requested tick comes after what was posted before it ran, as the
    // timer's own ticks do: a menu command given while the tick before
    // waited for the player is carried out before the game is answered. A
    // request may be posted at any moment (another thread asks for it), so it
    // goes behind the waiting messages once.
    if (!postedAgain && (HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE) &&
        PostMessageA(window_, kTimerTickRequestMessage, id, 1))
        return;
    found->second->requestTaken();
    onTimer(id);
}

void Form::onApplicationEvent(ApplicationEvent event) {
    // The activation arranges the windows. The click that brought the program
    // back is still held when it comes: moved away from under the mouse, the
    // button would lose that click. The activation waits for the release.
    if (event == ApplicationEvent::activate && GetCapture() != nullptr) {
        if (!SetTimer(window_, kActivationAfterReleaseTimer, 30, nullptr)) throw AppError("SetTimer failed");
        return;
    }
    runEvent([event] { Application::instance().fireEvent(event); });
}

LRESULT Form::onQueryEndSession() {
    Application& application = Application::instance();
    application.setSessionEnding(true);
    closedForSessionEnd_ = false;
    // Now, or right after the running handler, whose wait loops end at once.
    runEvent([this] { closedForSessionEnd_ = queryClose(); });
    return TRUE;
}

void Form::onEndSession(bool ending) {
    Application& application = Application::instance();
    if (!ending) {
        // Another program refused: the session goes on, and so do we.
        application.setSessionEnding(false);
        return;
    }
    // The session ends when this returns, wherever it finds the program.
    // Whatever the handler meets, the process ends: a box here would wait
    // for a user who is leaving, and Windows would find the program hung.
    if (!closedForSessionEnd_ && OnEndSession) {
        try {
            OnEndSession();
        } catch (...) {}
    }
    ExitProcess(0);
}

LRESULT CALLBACK Form::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardWindowProcedure(window, message, wParam, lParam, [&]() -> LRESULT {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            auto* form = static_cast<Form*>(create->lpCreateParams);
            form->window_ = window;
            if (!SetPropA(window, kFormProperty, form)) return FALSE;
        }
        auto* form = static_cast<Form*>(GetPropA(window, kFormProperty));
        if (!form) return DefWindowProcA(window, message, wParam, lParam);
        if (message == WM_NCDESTROY) RemovePropA(window, kFormProperty);
        return form->handleMessage(message, wParam, lParam);
    });
}

LRESULT Form::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT r{};
            GetClientRect(window_, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, paint_.brush(args_.color));
            return 1;
        }
        case WM_PAINT:
            paintBevels();
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            if (Control* control = Control::fromHandle(reinterpret_cast<HWND>(lParam)))
                return reinterpret_cast<LRESULT>(control->onControlColor(reinterpret_cast<HDC>(wParam)));
            break;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (Control* control = item ? Control::fromHandle(item->hwndItem) : nullptr)
                if (control->onDrawItem(*item)) return TRUE;
            break;
        }
        case WM_SETCURSOR:
            if (Control* control = Control::fromHandle(reinterpret_cast<HWND>(wParam)))
                if (control->onSetCursor()) return TRUE;
            break;
        case WM_COMMAND:
            if (lParam == 0) {
                onMenuCommand(LOWORD(wParam));
            } else {
                runEvent([wParam, lParam] {
                    if (Control* control = Control::fromHandle(reinterpret_cast<HWND>(lParam)))
                        control->onCommand(HIWORD(wParam));
                });
            }
            return 0;
        case WM_TIMER:
            onTimer(static_cast<UINT>(wParam));
            return 0;
        case WM_CLOSE:
            close();
            return 0;
        case WM_SYSCOMMAND: {
            // Another form (the control bar) minimised takes the main form
            // along, and with it the program: it is hidden with its owner.
            Form* mainForm = Application::instance().mainForm();
            if ((wParam & 0xFFF0) == SC_MINIMIZE && mainForm && mainForm != this) {
                mainForm->minimize();
                return 0;
            }
            break;
        }
        case WM_SHOWWINDOW:
            onShowWindow(wParam != FALSE, lParam);
            break;
        case WM_SIZE:
            onSize(wParam);
            break;
        case WM_ACTIVATE: {
            // The default activation gives the focus to the form itself,
            // where no key does anything. An activation by a click is left
            // to the click, which puts the focus where it lands.
            const LRESULT result = DefWindowProcA(window_, message, wParam, lParam);
            const HWND focus = GetFocus();
            if (LOWORD(wParam) == WA_ACTIVE && !HIWORD(wParam) && activeControl_ && activeControl_->handle() &&
                (focus == nullptr || focus == window_))
                SetFocus(activeControl_->handle());
            return result;
        }
        case WM_ACTIVATEAPP:
            if (wParam) Application::instance().postEvent(ApplicationEvent::activate);
            break;
        case WM_QUERYENDSESSION:
            if (Application::instance().mainForm() == this) return onQueryEndSession();
            break;
        case WM_ENDSESSION:
            if (Application::instance().mainForm() == this) onEndSession(wParam != FALSE);
            return 0;
        case kTimerTickRequestMessage:
            onTickRequest(static_cast<UINT>(wParam), lParam != 0);
            return 0;
        case kOpenMenuBarItemMessage:
            openMenuBarItem(static_cast<UINT>(wParam));
            return 0;
        case kApplicationEventMessage:
            onApplicationEvent(static_cast<ApplicationEvent>(wParam));
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}
