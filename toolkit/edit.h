#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "toolkit/control.h"

// A single-line EDIT. Derived edits shape its window through createParams and
// handle its messages through handleMessage; the edit's own class procedure does
// the rest.
class Edit : public Control {
public:
    struct CreateArgs {
        Rect bounds;
        std::string text;
        std::optional<FontSpec> font;  // none: the parent's font
        Color background = clWindow;
        bool upperCase = false;
        int maxLength = 0;  // 0: no limit on typing
        bool tabStop = true;
        int margins = -1;  // pixels left and right of the text; -1: the system's for the font
    };

    // Creates the window from the form data, then runs the load completion.
    void create(Container& parent, const CreateArgs& args);

    virtual std::string text() const { return windowText(); }
    virtual void setText(const std::string& text) { setWindowText(text); }

    // Each kept by a window made anew.
    void setFont(const FontSpec& font) override;
    void setMaxLength(int maxLength);
    void setMargins(int pixels);
    // The width that the text has in the line (EM_GETRECT).
    int textAreaWidth() const;
    // The width of a text in the edit's font.
    int textWidth(const std::string& text) const;

    // When the user last edited the text (GetTickCount: a character typed,
    // Delete, a paste, cut, clear or undo); none before the first edit. Text
    // set by the program does not count.
    std::optional<uint32_t> lastUserEditMs() const { return lastUserEditMs_; }
    // After each such edit has been handled (the text is the new one).
    std::function<void()> OnUserEdit;

protected:
    // The window style of the EDIT (WS_CHILD and WS_VISIBLE are added).
    virtual DWORD createParams() const;
    // After the window has been created from the form data.
    virtual void loaded() {}
    // The key-press step of a character message; setting the key to 0 drops
    // the character.
    virtual void keyPress(char& /*key*/) {}
    // A message of the window; by default WM_CHAR goes through keyPress first
    // and the rest straight to the edit control's own procedure.
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam);
    // A new window with the current createParams in the place of the old one;
    // text, bounds, font and focus stay.
    void recreateWindow();

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void createEditWindow();
    void applyMargins();

    Container* parent_ = nullptr;
    CreateArgs args_;
    bool recreated_ = false;  // args_.bounds taken from the window, in the screen's pixels
    std::optional<uint32_t> lastUserEditMs_;
};
