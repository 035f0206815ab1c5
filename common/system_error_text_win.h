#pragma once

#include <windows.h>

#include <string>

// The system's own words for an error code (in the system's language and code
// page), without the line break it ends with; the code when there are none.
inline std::string systemErrorText(DWORD error) {
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    if (message.empty()) message = "error " + std::to_string(error);
    return message;
}
