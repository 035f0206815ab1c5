#pragma once

#include "toolkit/control.h"

// A control that holds children of its own (a panel, a group box): its
// children take its font and colour, it paints its background in its colour,
// and it hands its children's notifications on to the form, so that labels
// inside it get their colours and buttons inside it their commands.
class ContainerControl : public Control, public Container {
public:
    HWND containerHandle() const override { return handle(); }
    const FontSpec& containerFont() const override { return font(); }
    Color containerColor() const override { return color(); }
    Form& containerForm() override { return form(); }

protected:
    // The answer of a container to the message, if it has one of its own;
    // the rest is the window's to handle.
    static bool answerAsContainer(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& answer);
};
