#pragma once

#include <optional>
#include <string>

#include "toolkit/control.h"

// A caption on its parent's colour: a real STATIC window whose text is the
// caption. An auto-size label takes the size of its text in its font; a
// right-justified one keeps its right edge meanwhile.
class Label : public Control {
public:
    struct CreateArgs {
        Rect bounds;
        std::string caption;
        std::optional<FontSpec> font;  // none: the parent's font
        Alignment alignment = Alignment::taLeftJustify;
        bool autoSize = true;
    };

    void create(Container& parent, const CreateArgs& args);
    std::string caption() const { return windowText(); }
    void setCaption(const std::string& caption);

private:
    void adjustBounds();

    Alignment alignment_ = Alignment::taLeftJustify;
    bool autoSize_ = true;
};
