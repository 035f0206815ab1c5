#include "toolkit/group_box.h"

#include "toolkit/entry_guard.h"

void GroupBox::create(Container& parent, const CreateArgs& args) {
    WindowSpec spec;
    spec.className = "BUTTON";
    spec.style = BS_GROUPBOX | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    spec.bounds = args.bounds;
    spec.text = args.caption;
    spec.font = args.font.value_or(parent.containerFont());
    spec.background = parent.containerColor();
    createWindow(parent, spec);
    subclass(&GroupBox::windowProc);
}

LRESULT CALLBACK GroupBox::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardWindowProcedure(window, message, wParam, lParam, [&]() -> LRESULT {
        LRESULT answer = 0;
        if (answerAsContainer(window, message, wParam, lParam, answer)) return answer;
        return callClassProcedure(window, message, wParam, lParam);
    });
}
