#include "toolkit/documents.h"

#include <windows.h>

#include "common/handles_win.h"
#include "common/version_resource.h"

namespace {

using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

bool openWithItsProgram(const std::string& path) {
    const HMODULE shell = LoadLibraryA("shell32.dll");
    if (!shell) return false;
    const auto shellExecute =
        reinterpret_cast<ShellExecuteFunction>(reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
    // Above 32: started (the value is no handle, only a code).
    const bool started = shellExecute && reinterpret_cast<INT_PTR>(shellExecute(nullptr, "open", path.c_str(), nullptr,
                                                                                  nullptr, SW_SHOWNORMAL)) > 32;
    FreeLibrary(shell);
    return started;
}

bool openWithNotepad(const std::string& path) {
    std::string commandLine = "notepad.exe \"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

bool openDocument(const std::string& path) { return openWithItsProgram(path) || openWithNotepad(path); }

std::optional<std::string> programVersion() {
    const HMODULE self = GetModuleHandleA(nullptr);
    const HRSRC found = FindResourceA(self, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));  // VS_VERSION_INFO, RT_VERSION
    if (!found) return std::nullopt;
    const HGLOBAL loaded = LoadResource(self, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return std::nullopt;
    return fileVersionText(static_cast<const unsigned char*>(bytes), SizeofResource(self, found));
}
