#include "gamelink/clipboard_win.h"

#include <cstring>
#include <new>

#include "common/app_error.h"
#include "common/handles_win.h"

namespace {

// Another program may hold the clipboard for a moment (a clipboard manager,
// the clipboard history of Windows 10 and 11, which read every new text):
// opening it is tried again for this long before the player is told.
constexpr DWORD kOpenTriesForMs = 250;
constexpr DWORD kOpenRetryStepMs = 15;

// Waits one step between tries, answering the messages that other threads
// and programs send meanwhile (as the owner of the clipboard must, while
// another program pastes), and nothing of the program's own queue.
void waitOneStep() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kOpenRetryStepMs, QS_SENDMESSAGE);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// The clipboard opened for one operation, closed again when it goes.
ClipboardOpening openedClipboard(HWND owner) {
    const DWORD start = GetTickCount();
    for (;;) {
        ClipboardOpening opened = openClipboard(owner);
        if (opened) return opened;
        if (GetTickCount() - start >= kOpenTriesForMs) throw AppError("クリップボードを開くことができません");
        waitOneStep();
    }
}

// Global memory holding the text and its NUL, owned until the clipboard
// takes it over.
GlobalMemoryHandle globalText(const std::string& text) {
    GlobalMemoryHandle memory(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!memory) throw std::bad_alloc();
    const GlobalLockHandle bytes = lockGlobal(memory.get());
    if (!bytes) throw std::bad_alloc();
    std::memcpy(bytes.get(), text.c_str(), text.size() + 1);
    return memory;
}

}  // namespace

void Win32Clipboard::setText(const std::string& text) {
    GlobalMemoryHandle memory = globalText(text);
    const ClipboardOpening opened = openedClipboard(owner_);
    if (!EmptyClipboard()) return;
    if (SetClipboardData(CF_TEXT, memory.get()) != nullptr) memory.release();  // the clipboard owns it now
}

std::string Win32Clipboard::text() {
    const ClipboardOpening opened = openedClipboard(owner_);
    const HANDLE data = GetClipboardData(CF_TEXT);
    if (data == nullptr) return {};
    const GlobalLockHandle locked = lockGlobal(data);
    if (!locked) return {};
    // Another program's data need not end in NUL within its block.
    const char* bytes = static_cast<const char*>(locked.get());
    const size_t size = GlobalSize(data);
    return std::string(bytes, strnlen(bytes, size));
}
