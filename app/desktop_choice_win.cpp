#include "app/desktop_choice_win.h"

#include "gamelink/desktop_win.h"

std::unique_ptr<Desktop> makeDesktop(std::function<bool()> sessionEnding) {
    return std::make_unique<Win32Desktop>(std::move(sessionEnding));
}
