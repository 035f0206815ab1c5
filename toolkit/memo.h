#pragma once

#include <string>
#include <vector>

#include "toolkit/control.h"

// A read-only multi-line EDIT with word wrap and a vertical scroll bar, on its
// parent's colour. Its lines are logical lines: the text is each line followed
// by CR LF, so one empty line is the text "\r\n". A line wider than the memo
// wraps on screen but stays one line here: the history is inserted, saved and
// loaded a whole line at a time, never split at the place where it wraps.
class Memo : public Control {
public:
    struct CreateArgs {
        Rect bounds;
        std::vector<std::string> lines;
    };

    void create(Container& parent, const CreateArgs& args);

    std::string text() const { return windowText(); }
    // The number of lines; the empty rest after the final line break is none.
    int lineCount() const;
    // Line index, without its line break; raises std::out_of_range past the end.
    std::string line(int index) const;
    // Inserts a line before line index (index == lineCount() appends); raises
    // std::out_of_range beyond that.
    void insertLine(int index, const std::string& line);

private:
    std::vector<std::string> lines() const;
    void setLines(const std::vector<std::string>& lines);
};
