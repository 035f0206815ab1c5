#pragma once

#include "toolkit/container_control.h"

// A plain child window on its parent's colour with a one-pixel raised inner
// frame, holding children of its own.
class Panel : public ContainerControl {
public:
    struct CreateArgs {
        Rect bounds;
    };

    void create(Container& parent, const CreateArgs& args);

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
