#pragma once

#include <optional>
#include <string>

#include "toolkit/control.h"

// A single-line EDIT.
class Edit : public Control {
public:
    struct CreateArgs {
        Rect bounds;
        std::string text;
        std::optional<FontSpec> font;  // none: the parent's font
        Color background = clWindow;
        Alignment alignment = Alignment::taLeftJustify;
        bool upperCase = false;
        int maxLength = 0;  // 0: no limit on typing
        bool tabStop = true;
    };

    void create(Container& parent, const CreateArgs& args);
    std::string text() const { return windowText(); }
    void setText(const std::string& text) { setWindowText(text); }
};
