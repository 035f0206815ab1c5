#include "records/results_log_win.h"

#include <windows.h>

#include <cstdint>
#include <optional>

#include "common/handles_win.h"
#include "common/system_error_text_win.h"
#include "records/results_log_reader.h"
#include "records/settings_file_win.h"

namespace {

AppendOnlyFile::Outcome refused(DWORD error) { return {false, systemErrorText(error)}; }

bool moveTo(HANDLE file, uint64_t offset) {
    LONG high = static_cast<LONG>(offset >> 32);
    const DWORD low = SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFFu), &high, FILE_BEGIN);
    return !(low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

}  // namespace

AppendOnlyFile::Outcome Win32LogFile::append(const std::function<std::string(const End&)>& compose) {
    // Others may read the file meanwhile, not write it.
    const FileHandle file(CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return refused(GetLastError());

    DWORD sizeHigh = 0;
    const DWORD sizeLow = GetFileSize(file.get(), &sizeHigh);
    if (sizeLow == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return refused(GetLastError());
    const uint64_t size = (uint64_t{sizeHigh} << 32) | sizeLow;

    End end;
    end.empty = size == 0;
    end.endsWithLineBreak = false;
    if (size >= 2) {
        char last[2] = {};
        DWORD read = 0;
        if (!moveTo(file.get(), size - 2) || !ReadFile(file.get(), last, 2, &read, nullptr))
            return refused(GetLastError());
        end.endsWithLineBreak = read == 2 && last[0] == '\r' && last[1] == '\n';
    }
    if (size >= 3) {
        char first[3] = {};
        DWORD read = 0;
        if (!moveTo(file.get(), 0) || !ReadFile(file.get(), first, 3, &read, nullptr)) return refused(GetLastError());
        end.utf8 = read == 3 && first[0] == '\xEF' && first[1] == '\xBB' && first[2] == '\xBF';
    }

    const std::string bytes = compose(end);
    if (!moveTo(file.get(), size)) return refused(GetLastError());
    DWORD written = 0;
    const BOOL wrote = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    DWORD error = wrote ? NO_ERROR : GetLastError();
    if (wrote && written != bytes.size()) error = ERROR_DISK_FULL;
    if (error == NO_ERROR && !FlushFileBuffers(file.get())) error = GetLastError();
    if (error != NO_ERROR) {
        // The part that went through would be written again with the next
        // attempt: it goes. Should the cut fail too, there is nothing more
        // to do: the part stays, ending in a line cut short that readers
        // skip, and the refusal is told all the same.
        if (moveTo(file.get(), size)) SetEndOfFile(file.get());
        return refused(error);
    }
    return {true, {}, size + bytes.size()};
}

namespace {

// The whole of a small file; nothing when it cannot be read.
std::optional<std::string> wholeFile(const std::string& path) {
    const FileHandle file(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

}  // namespace

// Between two times the lines were let go, every copy written is the one
// before with lines added. A copy left beside the file (a crash came before
// it took the file's place) is read only when it is whole, every line of it
// read and ending with its line break, and begins with the file's lines: a
// power cut can leave it cut short or filled with zeros.
std::string Win32WaitingLinesFile::read() {
    const std::string kept = wholeFile(path_).value_or(std::string());
    const std::string newer = wholeFile(newPath_).value_or(std::string());
    return newerCopyWins(kept, newer) ? newer : kept;
}

static bool replaceWholeFile(const std::string& path, const std::string& newPath, const std::string& bytes) {
    {
        FileHandle file(CreateFileA(newPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        if (!file) return false;
        DWORD written = 0;
        const bool whole = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                           written == bytes.size() && FlushFileBuffers(file.get());
        if (!CloseHandle(file.release()) || !whole) return false;
    }
    Win32SettingsFiles files;
    switch (files.replace(newPath, path)) {
        case SettingsFiles::Replace::done:
            return true;
        case SettingsFiles::Replace::failed:
            return false;
        case SettingsFiles::Replace::unsupported:
            return files.remove(path) && files.rename(newPath, path);
    }
    return false;
}

bool Win32WaitingLinesFile::keep(const std::string& bytes) { return replaceWholeFile(path_, newPath_, bytes); }

bool Win32WaitingLinesFile::forget() {
    Win32SettingsFiles files;
    return files.remove(path_) && files.remove(newPath_);
}

LocalTime Win32LocalClock::now() {
    SYSTEMTIME time{};
    GetLocalTime(&time);
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

std::string Win32PlayedNumbersFile::read() { return wholeFile(path_).value_or(std::string()); }

bool Win32PlayedNumbersFile::keep(const std::string& bytes) { return replaceWholeFile(path_, path_ + ".new", bytes); }

bool Win32PlayedNumbersFile::forget() {
    Win32SettingsFiles files;
    return files.remove(path_);
}

std::optional<uint64_t> Win32LogSource::read(uint64_t from,
                                             const std::function<void(const LogEntry&, uint64_t lineEnd)>& onEntry) {
    const FileHandle file(CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return 0;
        return std::nullopt;
    }
    DWORD sizeHigh = 0;
    const DWORD sizeLow = GetFileSize(file.get(), &sizeHigh);
    if (sizeLow == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return std::nullopt;
    const uint64_t size = (uint64_t{sizeHigh} << 32) | sizeLow;
    if (from > size) return size;
    if (!moveTo(file.get(), from)) return std::nullopt;
    bool failed = false;
    const auto read = [&file, &failed](char* buffer, std::size_t bytes) -> std::size_t {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, static_cast<DWORD>(bytes), &got, nullptr)) {
            failed = true;
            return 0;
        }
        return got;
    };
    readResultsLogLines(read, [&](const LogEntry& entry, uint64_t lineEnd) { onEntry(entry, from + lineEnd); });
    if (failed) return std::nullopt;
    return size;
}

SkippedLines readLogFile(const std::string& path, const std::function<void(const LogEntry&)>& onEntry) {
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return {};
    const auto read = [&file](char* buffer, std::size_t size) -> std::size_t {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
        return got;
    };
    return readResultsLogChunks(read, onEntry);
}
