#pragma once

#include <windows.h>

#include <string>

#include "common/handles_win.h"
#include "toolkit/basics.h"

class Form;

// Something that holds child controls: a form, a panel or a group box. Children
// without a font or colour of their own take the container's.
class Container {
public:
    virtual HWND containerHandle() const = 0;
    virtual const FontSpec& containerFont() const = 0;
    virtual Color containerColor() const = 0;
    virtual Form& containerForm() = 0;

protected:
    ~Container() = default;
};

// A child window of a form, owned by its control: the control's destructor
// destroys it, unless it went already with its parent (a control declared
// after its parent goes first, so that order is the rule). The window names
// its control object through a window property of the toolkit's own; a window
// without it (a form, another program's window, a system box) has no control.
// The form forwards the child notifications to the control.
class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND handle() const { return window_.get(); }
    Form& form() const { return *form_; }
    const FontSpec& font() const { return font_; }
    Color color() const { return background_; }

    // Position and size in the parent's client area, read from the window.
    Rect bounds() const;
    void setBounds(const Rect& bounds);
    int left() const { return bounds().left; }
    int top() const { return bounds().top; }
    int width() const { return bounds().width; }
    int height() const { return bounds().height; }
    void setLeft(int left);
    void setWidth(int width);

    bool visible() const;
    void setVisible(bool visible);
    bool enabled() const;
    void setEnabled(bool enabled);

    std::string windowText() const;

    // The colour of the control's text (its font's colour), drawn at once.
    void setTextColor(Color color);
    // Another font, drawn at once.
    virtual void setFont(const FontSpec& font);

    // The mouse cursor over the control (IDC_HAND for example); none keeps the
    // window class's cursor, and one that the system lacks shows the arrow.
    void setCursor(LPCSTR systemCursor) { cursor_ = systemCursor; }

    // The control bound to the window; nullptr for any window that is no
    // control of this program.
    static Control* fromHandle(HWND window);

    // Notifications the form forwards from the child's parent.
    virtual void onCommand(int /*notifyCode*/) {}
    virtual bool onDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    // WM_CTLCOLOR*: the font's colour on the control's background.
    virtual HBRUSH onControlColor(HDC dc);
    // WM_SETCURSOR; false leaves the cursor to the system.
    bool onSetCursor();

protected:
    struct WindowSpec {
        const char* className = nullptr;
        DWORD style = 0;
        DWORD exStyle = 0;
        Rect bounds;                  // as the form data gives it, at 96 pixels per inch
        bool boundsOnScreen = false;  // bounds already in the screen's pixels
        std::string text;
        FontSpec font;
        Color background = clBtnFace;
    };
    // Creates the child window (WS_CHILD | WS_VISIBLE are added) inside the
    // container, scaled to the screen's pixels per inch, gives it its font and
    // binds it to this object.
    void createWindow(Container& parent, const WindowSpec& spec);
    void setWindowText(const std::string& text);
    // Puts the procedure in front of the window class's own; unbinding the
    // control puts the class's procedure back.
    void subclass(WNDPROC procedure);
    // The window class's own procedure of a subclassed control's window.
    static LRESULT callClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Unbinds the window from the control, which has none afterwards; the
    // window itself stays (to be destroyed by the caller).
    void releaseWindow();

private:
    // The window still bound to this control: not destroyed meanwhile with
    // its parent, nor its handle taken by another window since.
    bool ownsLiveWindow() const;
    void unbind();

    WindowHandle window_;
    WNDPROC classProcedure_ = nullptr;
    Form* form_ = nullptr;
    FontSpec font_;
    Color background_ = clBtnFace;
    LPCSTR cursor_ = nullptr;
};
