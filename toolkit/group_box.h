#pragma once

#include <optional>
#include <string>

#include "toolkit/control.h"

// A framed box with a caption (a real BUTTON of style BS_GROUPBOX) that holds
// children. It hands its children's notifications on to the form, so that
// labels inside it get their colours.
class GroupBox : public Control, public Container {
public:
    struct CreateArgs {
        Rect bounds;
        std::string caption;
        std::optional<FontSpec> font;  // none: the parent's font
    };

    void create(Container& parent, const CreateArgs& args);

    HWND containerHandle() const override { return handle(); }
    const FontSpec& containerFont() const override { return font(); }
    Color containerColor() const override { return color(); }
    Form& containerForm() override { return form(); }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
