#pragma once

#include "toolkit/basics.h"

class Form;

// A lowered box frame, drawn by its form; not a window. One that fills the
// client area (alClient) follows the form's size.
class Bevel {
public:
    struct CreateArgs {
        Rect bounds;
        bool fillsClient = false;
    };

    void create(Form& form, const CreateArgs& args);
    const Rect& bounds() const { return bounds_; }

private:
    Rect bounds_;
};
