#pragma once

#include <string>
#include <vector>

#include "toolkit/control.h"

// A read-only multi-line EDIT with word wrap and a vertical scroll bar, on its
// parent's colour. Its lines are logical lines: the text is each line followed
// by CR LF, so one empty line is the text "\r\n". A line wider than the memo
// wraps on screen but stays one line here.
class Memo : public Control {
public:
    struct CreateArgs {
        Rect bounds;
        std::vector<std::string> lines;
    };

    void create(Container& parent, const CreateArgs& args);

    std::string text() const { return windowText(); }
    // The lines, each without its line break; the empty rest after the final
    // line break is none.
    std::vector<std::string> lines() const;
    // Replaces every line; the memo shows the first one at its top.
    void setLines(const std::vector<std::string>& lines);
};
