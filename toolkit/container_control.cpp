#include "toolkit/container_control.h"

#include "toolkit/form.h"

bool ContainerControl::answerAsContainer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer) {
    auto* container = dynamic_cast<ContainerControl*>(Control::fromHandle(window));
    if (!container) return false;
    switch (message) {
        case WM_ERASEBKGND: {
            // With WS_CLIPCHILDREN the parent no longer paints beneath the container.
            RECT r{};
            GetClientRect(window, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, container->form().paintCache().brush(container->color()));
            answer = 1;
            return true;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_COMMAND:
        case WM_DRAWITEM:
            // The children's notifications are the form's to handle.
            answer = SendMessageA(container->form().handle(), message, wParam, lParam);
            return true;
        default:
            return false;
    }
}
