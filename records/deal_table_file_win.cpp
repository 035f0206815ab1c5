#include "records/deal_table_file_win.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "common/handles_win.h"
#include "common/system_error_text_win.h"

namespace {

// Far beyond any table of the game's deals (a million deals take under 1 MB):
// a larger file is not read into memory at all.
constexpr DWORD kLargestTable = 64u << 20;

DealTableLoad unreadable(DWORD error) {
    DealTableLoad load;
    load.refusal = DealTableRefusal::unreadable;
    load.detail = systemErrorText(error);
    return load;
}

}  // namespace

DealTableLoad loadDealTableFile(const std::string& path) {
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        // A Tallykeep.exe copied on its own runs without the table, silently.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            DealTableLoad load;
            load.refusal = DealTableRefusal::absent;
            return load;
        }
        return unreadable(error);
    }

    DWORD sizeHigh = 0;
    const DWORD size = GetFileSize(file.get(), &sizeHigh);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return unreadable(GetLastError());
    if (sizeHigh != 0 || size > kLargestTable) {
        DealTableLoad load;
        load.refusal = DealTableRefusal::wrongSize;
        return load;
    }

    std::vector<uint8_t> bytes(size);
    DWORD read = 0;
    if (size > 0 && !ReadFile(file.get(), bytes.data(), size, &read, nullptr)) return unreadable(GetLastError());
    // A file that shrank while being read is parsed as what was read.
    bytes.resize(read);
    return parseDealTable(std::move(bytes));
}
