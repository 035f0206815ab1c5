#pragma once

#include <functional>
#include <string>

#include "toolkit/edit.h"

// The number box: an edit that shows a number with a thousands separator ","
// between groups of three digits while its text() deals in the plain text
// without them; a text with anything but digits in it is shown as it is.
// Full-width digits, which the IME types, become ASCII digits as they come
// in, and text() reads ASCII digits whatever the window holds. It aligns its
// text as Alignment says and leaves Tab, Enter and Escape to the window's
// keyboard navigation; Enter, which inserts nothing, then runs OnEnter.
// Ctrl+A selects the whole text (older Windows' edits do not), and a paste
// takes the first line of the clipboard's text without the spaces at its ends.
//
// A single-line EDIT, whose line scrolls. Windows 95 and NT 4.0 align only a
// multi-line EDIT, which wraps a number wider than the box; there the box is
// multi-line, and the key-press step and the WM_GETDLGCODE answer take back
// what multi-line adds.
class NumberBox : public Edit {
public:
    struct CreateArgs {
        Edit::CreateArgs edit;
        Alignment alignment = Alignment::taLeftJustify;
        bool thousands = false;
    };

    void create(Container& parent, const CreateArgs& args);

    // The plain text: the displayed text without separators while Thousands is on.
    std::string text() const override;
    // Groups the given text (expected to hold no separators) while Thousands is on.
    void setText(const std::string& text) override;

    Alignment alignment() const { return alignment_; }
    // A new alignment re-creates the window with its style; the text stays.
    void setAlignment(Alignment alignment);
    bool thousands() const { return thousands_; }
    // Switched on, the displayed text is regrouped at once; switched off, it
    // stays as it is.
    void setThousands(bool thousands);

    // Regroups the displayed text, keeping the caret and selection at the same
    // distance from its end.
    virtual void ReformatThousands();

    std::string GetRawText() const { return Edit::text(); }
    void SetRawText(const std::string& text);

    // Fits the box to the widest text it is to take: the limit on typing is
    // that text's length, and the font is the declared one or, where that
    // text would not fit the box's width, the largest smaller one that fits.
    void fitText(const std::string& widest);

    // Enter pressed in the box (not its auto-repeat), as an event of the form.
    std::function<void()> OnEnter;

protected:
    DWORD createParams() const override;
    void loaded() override;
    void keyPress(char& key) override;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // ASCII digits for full-width ones and, when grouped, the groups made
    // again, keeping the caret and selection at the same distance from the end.
    void tidyTypedText(bool grouped);
    LRESULT typeCharacter(WPARAM code, LPARAM lParam);
    LRESULT paste();

    Alignment alignment_ = Alignment::taLeftJustify;
    bool thousands_ = false;
    // The lead byte of a double-byte character typed, until its trail byte comes.
    char heldLeadByte_ = 0;
    LPARAM heldLeadParam_ = 0;
};
