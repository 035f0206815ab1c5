#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "toolkit/basics.h"
#include "toolkit/control.h"
#include "toolkit/paint_cache.h"
#include "toolkit/toolkit_messages.h"

class MainMenu;
class MenuItem;
class Timer;

enum class BorderStyle {
    bsSingle,      // fixed frame, system menu with close box, minimise box
    bsToolWindow,  // small caption bar with only a close box, fixed size
};

struct FormArgs {
    std::string caption;
    int clientWidth = 0;
    int clientHeight = 0;
    int left = 0;  // outer position on the screen
    int top = 0;
    BorderStyle border = BorderStyle::bsSingle;
    bool stayOnTop = false;
    // A tool window with "最小化" in its system menu (its caption shows no button).
    bool minimizeBox = false;
    Color color = clBtnFace;
    FontSpec font;
    LPCSTR icon = nullptr;  // the form's own icon resource; none: the application's icon
    bool visible = true;
};

// A top-level window declared as form data. The object reaches its window
// procedure through lpCreateParams and a window property of the toolkit's own.
// Every event handler runs through runEvent, the one event boundary: handlers
// never nest (EventGate), and exceptions become the error box. The first form
// created is the application's main form: closing it ends the program. Other
// forms are owned by the main form and only hide when closed.
//
// The end of the Windows session wins over everything: the main form answers
// the query with yes at once, asks the running handler's wait loops to end
// (Application::sessionEnding) and runs OnCloseQuery right after it. Should
// the session end before that close query has run to its end, OnEndSession
// runs where the end finds the program, and the process ends: whatever ran
// below it never resumes.
class Form : public Container {
public:
    Form() = default;
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the window (hidden), lets buildComponents create the children and
    // the menu, runs OnCreate to its end, then shows the form when it is visible.
    void create(const FormArgs& args, const std::function<void()>& buildComponents);

    HWND handle() const { return window_; }
    PaintCache& paintCache() { return paint_; }
    const FontSpec& font() const { return args_.font; }
    Color color() const { return args_.color; }

    std::function<void()> OnCreate;
    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void()> OnHide;        // whenever the form becomes hidden, its close box included
    std::function<void()> OnEndSession;  // main form: the session ends before the close query ran to its end

    // Asks the form to close as its close box does: OnCloseQuery decides; an
    // accepted close hides the form and, for the main form, ends the program
    // once the message loop runs (a close accepted before that ends nothing).
    void close();
    // OnCloseQuery alone; true when it lets the form close.
    bool queryClose();

    void show();  // visible, without taking the activation
    // Minimised or restored, without taking the activation.
    void minimize();
    void restore();
    void hide();
    void bringToFront();  // top of the z-order, without taking the activation
    bool visible() const;

    Rect bounds() const;  // outer rectangle on the screen
    void setBounds(const Rect& bounds);
    bool minimized() const;
    int clientWidth() const;
    int clientHeight() const;

    // The control that takes the keyboard focus when the form is activated
    // with the focus nowhere in it (after another program, a menu or an owned
    // window), so that the player types where typing counts.
    void setActiveControl(Control* control) { activeControl_ = control; }

    // The event boundary (see the class comment).
    void runEvent(const std::function<void()>& handler);

    // Used by the components while the form is built.
    void attachMenu(MainMenu& menu);
    // A lowered box frame drawn on the form, at bounds or over the whole client area.
    void addBevel(const Rect& bounds, bool fillsClient);
    void addTimer(Timer& timer, UINT id);
    void removeTimer(UINT id);
    bool translateAccelerator(MSG& message);
    // The form's keyboard navigation, offered a key before the control with
    // the focus gets it; true when the key ends here.
    bool navigateByKey(const MSG& message) const;

    // Container
    HWND containerHandle() const override { return window_; }
    const FontSpec& containerFont() const override { return args_.font; }
    Color containerColor() const override { return args_.color; }
    Form& containerForm() override { return *this; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void fitClientSize();
    void paintBevels();
    void onMenuCommand(UINT id);
    const MenuItem* submenuShortcutOf(const MSG& message) const;
    void openMenuBarItem(UINT commandId);
    void onShowWindow(bool shown, LPARAM reason);
    void onSize(WPARAM kind);
    void onTimer(UINT id);
    void onTickRequest(UINT id, bool postedAgain);
    void onApplicationEvent(ApplicationEvent event);
    LRESULT onQueryEndSession();
    void onEndSession(bool ending);
    void acceptClose();

    HWND window_ = nullptr;
    FormArgs args_;
    PaintCache paint_;
    MainMenu* menu_ = nullptr;
    struct BevelFrame {
        Rect bounds;
        bool fillsClient;
    };
    std::vector<BevelFrame> bevels_;
    std::map<UINT, Timer*> timers_;
    bool minimized_ = false;
    bool closedForSessionEnd_ = false;
    Control* activeControl_ = nullptr;
};
