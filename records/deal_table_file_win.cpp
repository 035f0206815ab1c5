#include "records/deal_table_file_win.h"

#include <windows.h>

#include <cstdint>
#include <memory>
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

// A read-only view of the whole file. Its pages are the file's own: the
// system shares them and drops them when short of memory, and they cost the
// process no private bytes. The file stays open, shared for reading only, so
// that nobody changes the bytes under the view.
struct MappedTable {
    FileHandle file;
    const void* view = nullptr;
    MappedTable() = default;
    MappedTable(const MappedTable&) = delete;
    MappedTable& operator=(const MappedTable&) = delete;
    ~MappedTable() {
        if (view) UnmapViewOfFile(view);
    }
};

// Null where the system maps nothing: an empty file, or a system without
// the memory for the view.
std::shared_ptr<MappedTable> mapTable(FileHandle& file) {
    const KernelHandle mapping(CreateFileMappingA(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return nullptr;
    auto mapped = std::make_shared<MappedTable>();
    // The view keeps the mapping object alive once its handle is closed.
    mapped->view = MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0);
    if (!mapped->view) return nullptr;
    mapped->file = std::move(file);
    return mapped;
}

}  // namespace

DealTableLoad loadDealTableFile(const std::string& path) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
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

    if (size > 0) {
        if (std::shared_ptr<MappedTable> mapped = mapTable(file)) {
            const auto* bytes = static_cast<const uint8_t*>(mapped->view);
            DealTableLoad load = parseDealTable(bytes, size, std::move(mapped));
            load.mapped = load.table.has_value();
            return load;
        }
    }

    // Where mapping fails, the bytes are read into memory instead.
    std::vector<uint8_t> bytes(size);
    DWORD read = 0;
    if (size > 0 && !ReadFile(file.get(), bytes.data(), size, &read, nullptr)) return unreadable(GetLastError());
    // A file that shrank while being read is parsed as what was read.
    bytes.resize(read);
    return parseDealTable(std::move(bytes));
}
