#pragma once

#include <windows.h>

#include "common/unique_handle.h"

// The kinds of Win32 handle the program owns, each with its close function.
// A close that fails has nothing left to tell: the handle is gone either way.
namespace handle_kind {

template <class H>
struct GdiObject {
    using Handle = H;
    static Handle invalid() { return nullptr; }
    void close(Handle object) const { DeleteObject(object); }
};

struct WindowDc {
    using Handle = HDC;
    HWND window = nullptr;
    static Handle invalid() { return nullptr; }
    void close(Handle dc) const { ReleaseDC(window, dc); }
};

struct MemoryDc {
    using Handle = HDC;
    static Handle invalid() { return nullptr; }
    void close(Handle dc) const { DeleteDC(dc); }
};

struct Window {
    using Handle = HWND;
    static Handle invalid() { return nullptr; }
    void close(Handle window) const { DestroyWindow(window); }
};

struct Menu {
    using Handle = HMENU;
    static Handle invalid() { return nullptr; }
    void close(Handle menu) const { DestroyMenu(menu); }
};

struct AcceleratorTable {
    using Handle = HACCEL;
    static Handle invalid() { return nullptr; }
    void close(Handle table) const { DestroyAcceleratorTable(table); }
};

struct Hook {
    using Handle = HHOOK;
    static Handle invalid() { return nullptr; }
    void close(Handle hook) const { UnhookWindowsHookEx(hook); }
};

// A window-event hook (SetWinEventHook), removed with the UnhookWinEvent that
// was looked up at run time together with it: Windows 95 and NT 4.0 have neither.
struct WinEventHook {
    using Handle = HWINEVENTHOOK;
    using Unhook = BOOL(WINAPI*)(HWINEVENTHOOK);
    Unhook unhook = nullptr;
    static Handle invalid() { return nullptr; }
    void close(Handle hook) const {
        if (unhook) unhook(hook);
    }
};

// Processes, threads and mutexes: null when there is none.
struct KernelObject {
    using Handle = HANDLE;
    static Handle invalid() { return nullptr; }
    void close(Handle object) const { CloseHandle(object); }
};

// CreateFileA reports failure with INVALID_HANDLE_VALUE, not null.
struct File {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    void close(Handle file) const { CloseHandle(file); }
};

struct RegistryKey {
    using Handle = HKEY;
    static Handle invalid() { return nullptr; }
    void close(Handle key) const { RegCloseKey(key); }
};

struct GlobalMemory {
    using Handle = HGLOBAL;
    static Handle invalid() { return nullptr; }
    void close(Handle memory) const { GlobalFree(memory); }
};

// The bytes of a global memory block, locked until they go.
struct GlobalBytes {
    using Handle = void*;
    HGLOBAL memory = nullptr;
    static Handle invalid() { return nullptr; }
    void close(Handle) const { GlobalUnlock(memory); }
};

// The clipboard, open for this thread: the "handle" is whether it is open.
struct ClipboardOpen {
    using Handle = bool;
    static Handle invalid() { return false; }
    void close(Handle) const { CloseClipboard(); }
};

}  // namespace handle_kind

template <class H>
using GdiObject = UniqueHandle<handle_kind::GdiObject<H>>;
using WindowDc = UniqueHandle<handle_kind::WindowDc>;
using MemoryDc = UniqueHandle<handle_kind::MemoryDc>;
using WindowHandle = UniqueHandle<handle_kind::Window>;
using MenuHandle = UniqueHandle<handle_kind::Menu>;
using AcceleratorTableHandle = UniqueHandle<handle_kind::AcceleratorTable>;
using HookHandle = UniqueHandle<handle_kind::Hook>;
using WinEventHookHandle = UniqueHandle<handle_kind::WinEventHook>;
using KernelHandle = UniqueHandle<handle_kind::KernelObject>;
using FileHandle = UniqueHandle<handle_kind::File>;
using RegistryKeyHandle = UniqueHandle<handle_kind::RegistryKey>;
using GlobalMemoryHandle = UniqueHandle<handle_kind::GlobalMemory>;
using GlobalLockHandle = UniqueHandle<handle_kind::GlobalBytes>;
using ClipboardOpening = UniqueHandle<handle_kind::ClipboardOpen>;

// A window's device context from GetDC, released to that window.
inline WindowDc windowDc(HWND window) { return WindowDc(GetDC(window), {window}); }

// The bytes of a global memory block, unlocked when they go; holds nothing
// when the lock failed.
inline GlobalLockHandle lockGlobal(HGLOBAL memory) { return GlobalLockHandle(::GlobalLock(memory), {memory}); }

// The clipboard opened for the owner window, closed when this goes; holds
// nothing when another program has it open.
inline ClipboardOpening openClipboard(HWND owner) { return ClipboardOpening(::OpenClipboard(owner) != FALSE); }
