#include "records/settings_file_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "common/app_error.h"
#include "common/code_page_932.h"

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
    const DWORD length =
        GetPrivateProfileStringA(section, key, "", buffer.data(), kValueBufferSize, path_.c_str());
    // The length is not trusted beyond the first NUL: for a cut double-byte value
    // Wine reports 2047 but fills only 2046 bytes, leaving the last one as it was
    // (zero here).
    const size_t limit = length < kValueBufferSize ? length : kValueBufferSize - 1;
    std::string value(buffer.data(), std::find(buffer.data(), buffer.data() + limit, '\0'));
    if (length >= kValueBufferSize - 1) dropBrokenLastCharacter(value);
    return value;
}

bool IniFile::write(const char* section, const char* key, const std::string& value) {
    return WritePrivateProfileStringA(section, key, value.c_str(), path_.c_str()) != FALSE;
}

void IniFile::flush() {
    // Every write has already reported its own failure; a flush that fails
    // leaves nothing more to tell the user than those writes did.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
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
