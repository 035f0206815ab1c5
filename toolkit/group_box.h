#pragma once

#include <optional>
#include <string>

#include "toolkit/container_control.h"

// A framed box with a caption (a real BUTTON of style BS_GROUPBOX) that holds
// children.
class GroupBox : public ContainerControl {
public:
    struct CreateArgs {
        Rect bounds;
        std::string caption;
        std::optional<FontSpec> font;  // none: the parent's font
    };

    void create(Container& parent, const CreateArgs& args);
    std::string caption() const { return windowText(); }
    void setCaption(const std::string& caption) { setWindowText(caption); }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
