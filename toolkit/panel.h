#pragma once

#include "toolkit/control.h"

// A plain child window on its parent's colour with a one-pixel raised inner
// frame, holding children of its own.
class Panel : public Control, public Container {
public:
    struct CreateArgs {
        Rect bounds;
    };

    void create(Container& parent, const CreateArgs& args);

    HWND containerHandle() const override { return handle(); }
    const FontSpec& containerFont() const override { return font(); }
    Color containerColor() const override { return color(); }
    Form& containerForm() override { return form(); }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
