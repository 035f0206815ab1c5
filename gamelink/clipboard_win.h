#pragma once

#include <string>

#include <windows.h>

#include "gamelink/desktop.h"

// The clipboard in CF_TEXT, opened for each operation and closed again at once.
// The owner window becomes the clipboard owner when text is set, and must go on
// answering sent messages while another program pastes. A clipboard that
// another program holds is tried again for a quarter of a second before
// AppError is raised.
class Win32Clipboard final : public Clipboard {
public:
    explicit Win32Clipboard(HWND owner) : owner_(owner) {}

    // A text that the clipboard does not take (SetClipboardData failing) is
    // not raised here: the caller reads the clipboard back and notices.
    void setText(const std::string& text) override;
    std::string text() override;

private:
    HWND owner_;
};
