#pragma once

#include <windows.h>

#include <string>

#include "harness/harness.h"

// What a test sees of message boxes, and a file held as another program holds it.
namespace e2e {

// Top-level windows of that class and title, hidden ones included.
inline int countTopLevel(const char* className, const char* title) {
    int count = 0;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, title)) != nullptr;) ++count;
    return count;
}

// The message of a message box: its static child with a text.
inline std::string messageBoxText(HWND box) {
    for (const ChildWindow& child : children(box))
        if (child.className == "Static" && !child.text.empty()) return child.text;
    return "<no text>";
}


// Holds a file open with no sharing, as another program may, until released.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)),
          error_(handle_ == INVALID_HANDLE_VALUE ? GetLastError() : 0) {}
    ~HeldFile() { release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    bool held() const { return handle_ != INVALID_HANDLE_VALUE; }
    DWORD openError() const { return error_; }
    void release() {
        if (held()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    // The file's bytes, read through the holding handle (nobody else can).
    std::string bytes() const {
        std::string all;
        if (!held() || SetFilePointer(handle_, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return all;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(handle_, buffer, sizeof buffer, &got, nullptr) && got > 0) all.append(buffer, got);
        return all;
    }

private:
    HANDLE handle_;
    DWORD error_;
};

}  // namespace e2e
