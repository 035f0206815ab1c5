#include "gamelink/clipboard_win.h"

#include <cstring>
#include <new>

#include "common/app_error.h"

namespace {

// Holds the clipboard open for one operation.
class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner)
    {
        if (!OpenClipboard(owner))
            throw AppError("クリップボードを開くことができません");
    }
    ~OpenedClipboard() { CloseClipboard(); }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
};

// Global memory until the clipboard takes it over.
class GlobalText {
public:
    explicit GlobalText(const std::string& text)
        : memory_(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1))
    {
        if (memory_ == nullptr)
            throw std::bad_alloc();
        void* bytes = GlobalLock(memory_);
        if (bytes == nullptr) {
            GlobalFree(memory_);
            throw std::bad_alloc();
        }
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(memory_);
    }
    ~GlobalText()
    {
        if (memory_ != nullptr)
            GlobalFree(memory_);
    }
    GlobalText(const GlobalText&) = delete;
    GlobalText& operator=(const GlobalText&) = delete;

    HGLOBAL get() const { return memory_; }
    void release() { memory_ = nullptr; }

private:
    HGLOBAL memory_;
};

// Locks a clipboard handle for reading.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL memory)
        : memory_(memory), bytes_(static_cast<const char*>(GlobalLock(memory))) {}
    ~LockedGlobal()
    {
        if (bytes_ != nullptr)
            GlobalUnlock(memory_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;

    const char* bytes() const { return bytes_; }

private:
    HGLOBAL memory_;
    const char* bytes_;
};

}  // namespace

void Win32Clipboard::setText(const std::string& text)
{
    GlobalText memory(text);
    OpenedClipboard opened(owner_);
    if (!EmptyClipboard())
        return;
    if (SetClipboardData(CF_TEXT, memory.get()) != nullptr)
        memory.release();  // the clipboard owns it now
}

std::string Win32Clipboard::text()
{
    OpenedClipboard opened(owner_);
    const HANDLE data = GetClipboardData(CF_TEXT);
    if (data == nullptr)
        return {};
    const LockedGlobal locked(data);
    if (locked.bytes() == nullptr)
        return {};
    // Another program's data need not end in NUL within its block.
    const size_t size = GlobalSize(data);
    return std::string(locked.bytes(), strnlen(locked.bytes(), size));
}
