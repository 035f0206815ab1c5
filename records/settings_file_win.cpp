#include "records/settings_file_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "common/app_error.h"
#include "common/handles_win.h"
#include "common/code_page_932.h"
#include "common/system_error_text_win.h"

namespace {

constexpr DWORD kValueBufferSize = 2048;

// A value cut by the buffer may end in the first byte of a double-byte
// character; that lone byte would pair with whatever follows it later.
void dropBrokenLastCharacter(std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        const size_t width = isLeadByte(text[i]) ? 2 : 1;
        if (i + width > text.size()) {
            text.resize(i);
            return;
        }
        i += width;
    }
}

}  // namespace

std::string IniFile::read(const char* section, const char* key) {
    std::vector<char> buffer(kValueBufferSize, '\0');
    const DWORD length = GetPrivateProfileStringA(section, key, "", buffer.data(), kValueBufferSize, path_.c_str());
    // The length is not trusted beyond the first NUL: for a cut double-byte value
    // Wine reports 2047 but fills only 2046 bytes, leaving the last one as it was
    // (zero here).
    const size_t limit = length < kValueBufferSize ? length : kValueBufferSize - 1;
    std::string value(buffer.data(), std::find(buffer.data(), buffer.data() + limit, '\0'));
    if (length >= kValueBufferSize - 1) dropBrokenLastCharacter(value);
    return value;
}

bool IniFile::write(const char* section, const char* key, const std::string& value) {
    if (WritePrivateProfileStringA(section, key, value.c_str(), path_.c_str())) return true;
    if (failure_) *failure_ = systemErrorText(GetLastError());
    return false;
}

void IniFile::flush() {
    // Every write has already reported its own failure; a flush that fails
    // leaves nothing more to tell the user than those writes did.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
}

bool Win32SettingsFiles::exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Keeps the system's words for the error of the call that just failed.
bool Win32SettingsFiles::failed() {
    failure_ = systemErrorText(GetLastError());
    return false;
}

SettingsFiles::Copy Win32SettingsFiles::copy(const std::string& from, const std::string& to) {
    if (CopyFileA(from.c_str(), to.c_str(), FALSE)) return Copy::done;
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return Copy::noSource;
    failed();
    return Copy::failed;
}

std::unique_ptr<ProfileStore> Win32SettingsFiles::openProfile(const std::string& path) {
    return std::make_unique<IniFile>(path, &failure_);
}

bool Win32SettingsFiles::flushToDisk(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return failed();
    const bool flushed = FlushFileBuffers(file.get()) != FALSE || failed();
    // Closed here rather than by the owner: a close that fails may have lost
    // what the flush was to keep.
    return CloseHandle(file.release()) != FALSE && flushed;
}

SettingsFiles::Replace Win32SettingsFiles::replace(const std::string& from, const std::string& to) {
    using MoveFileExFunction = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const auto moveFileEx =
        kernel ? reinterpret_cast<MoveFileExFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, "MoveFileExA")))
               : nullptr;
    if (!moveFileEx) return Replace::unsupported;
    if (moveFileEx(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return Replace::done;
    if (GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) return Replace::unsupported;
    failed();
    return Replace::failed;
}

bool Win32SettingsFiles::rename(const std::string& from, const std::string& to) {
    return MoveFileA(from.c_str(), to.c_str()) != FALSE || failed();
}

bool Win32SettingsFiles::remove(const std::string& path) {
    if (DeleteFileA(path.c_str())) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || failed();
}

std::string executablePath() {
    // The buffer grows until the path fits: a full buffer means the path may
    // have been cut (XP reports that without an error code).
    for (DWORD size = MAX_PATH; size <= 65536; size *= 2) {
        std::vector<char> buffer(size, '\0');
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0) break;
        if (length < size) return std::string(buffer.data(), length);
    }
    throw AppError("GetModuleFileNameA failed");
}
