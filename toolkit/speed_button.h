#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>

#include "common/unique_handle.h"
#include "toolkit/control.h"

// A speed button: a real BUTTON child window (BS_OWNERDRAW) whose window text is
// its caption, so that a click, BM_CLICK and screen readers all reach it. It
// draws a glyph to the left of the caption on a raised face that sinks while
// pressed. The glyph bitmap holds NumGlyphs images side by side: the first for
// the normal state, the second (if any) for the disabled state; pixels of the
// colour of its bottom-left pixel are transparent.
//
// A BUTTON tells its parent, not itself, when to draw and when it was clicked;
// the form forwards both here (onDrawItem, onCommand) inside its event boundary.
class SpeedButton : public Control {
public:
    struct CreateArgs {
        Rect bounds;
        std::string caption;              // code page 932
        std::optional<FontSpec> font;     // none: the parent's font
        LPCSTR cursor = nullptr;          // IDC_HAND for crHandPoint; none: the arrow
        HINSTANCE glyphModule = nullptr;  // nullptr: the executable
        int glyphResource = 0;            // a bitmap resource id; 0: no glyph
        int numGlyphs = 2;
        std::function<void()> onClick;
    };

    // Creates the window and its glyph images; throws AppError when either
    // cannot be made (a missing glyph is a fault of the build).
    void create(Container& parent, const CreateArgs& args);

    std::string caption() const { return windowText(); }

    // Runs the click handler, as a click on the enabled button does; a disabled
    // button does nothing.
    void Click();

    // Control
    void onCommand(int notifyCode) override;
    bool onDrawItem(const DRAWITEMSTRUCT& item) override;

private:
    struct ImageListKind {
        using Handle = HIMAGELIST;
        static Handle invalid() { return nullptr; }
        void close(Handle list) const { ImageList_Destroy(list); }
    };
    using ImageListHandle = UniqueHandle<ImageListKind>;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMouseUp(WPARAM wParam, LPARAM lParam);
    void loadGlyphs(HINSTANCE module, int resource, int numGlyphs);

    ImageListHandle glyphs_;
    int glyphWidth_ = 0;
    int glyphHeight_ = 0;
    int glyphCount_ = 0;
    bool pressedByMouse_ = false;
    std::function<void()> onClick_;
};
