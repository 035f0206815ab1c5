#include "harness/process.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <stdexcept>

namespace e2e {

namespace {

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The test's environment with `extra` set on top, as a sorted block.
std::string environmentBlock(const Environment& extra) {
    std::map<std::string, std::string> byUpperName;
    if (char* block = GetEnvironmentStringsA()) {
        for (const char* entry = block; *entry; entry += std::strlen(entry) + 1) {
            const std::string text = entry;
            const std::size_t equals = text.find('=', 1);  // "=C:" entries start with '='
            if (equals != std::string::npos) byUpperName[upper(text.substr(0, equals))] = text;
        }
        FreeEnvironmentStringsA(block);
    }
    for (const auto& [name, value] : extra) byUpperName[upper(name)] = name + '=' + value;
    std::string result;
    for (const auto& [name, entry] : byUpperName) {
        result += entry;
        result += '\0';
    }
    result += '\0';
    return result;
}

void terminate(DWORD processId) {
    if (processId == GetCurrentProcessId()) return;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId)) {
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

}  // namespace

Process Process::start(const std::string& exePath, const std::string& workDir, const Environment& extra) {
    std::string commandLine = '"' + exePath + '"';
    std::string environment = environmentBlock(extra);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, environment.data(),
                        workDir.empty() ? nullptr : workDir.c_str(), &startup, &info)) {
        throw std::runtime_error("cannot start " + exePath + ", error " + std::to_string(GetLastError()));
    }
    CloseHandle(info.hThread);
    return Process(info.hProcess, info.dwProcessId);
}

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        kill();
        if (handle_) CloseHandle(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

Process::~Process() {
    kill();
    if (handle_) CloseHandle(handle_);
}

bool Process::running() const { return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Process::waitForExit(std::chrono::milliseconds timeout) const {
    if (!handle_) return std::nullopt;
    if (WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(handle_, &code)) return std::nullopt;
    return code;
}

void Process::kill() {
    if (!running()) return;
    TerminateProcess(handle_, 1);
    WaitForSingleObject(handle_, 5000);
}

void killStrayPrograms() {
    for (int attempt = 0; attempt < 10; ++attempt) {
        HWND game = FindWindowA("FreeWClass", nullptr);
        if (!game) break;
        DWORD processId = 0;
        GetWindowThreadProcessId(game, &processId);
        if (processId == 0 || processId == GetCurrentProcessId()) break;
        terminate(processId);
    }
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        const std::string name = upper(entry.szExeFile);
        if (name == "FREECELL.EXE" || name == "TALLYKEEP.EXE") terminate(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
}

}  // namespace e2e
