#include "harness/paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

namespace e2e {

namespace fs = std::filesystem;

namespace {

std::string currentTestName() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    if (!info) return "no-test";
    std::string name = std::string(info->test_suite_name()) + '.' + info->name();
    for (char& c : name) {
        if (c == '/' || c == '\\' || c == ':') c = '_';
    }
    return name;
}

}  // namespace

std::string binDir() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) throw std::runtime_error("GetModuleFileNameA failed");
    return fs::path(path).parent_path().string();
}

Sandbox::Sandbox() : Sandbox(currentTestName()) {}

Sandbox::Sandbox(const std::string& name) {
    const fs::path dir = fs::path(binDir()).parent_path() / "e2e-sandbox" / name;
    std::error_code error;
    fs::remove_all(dir, error);
    fs::create_directories(dir);
    dir_ = dir.string();
}

Sandbox Sandbox::existing(const std::string& dir) { return Sandbox(Existing{}, dir); }

// std::filesystem would read the bytes as another code page and take a
// second byte 0x5C for a separator; the ANSI file functions read code page 932.
std::string Sandbox::path(const std::string& fileName) const { return dir_ + '\\' + fileName; }

std::string Sandbox::copyProgram(const std::string& exeName) const {
    const std::string target = path(exeName);
    const std::string source = binDir() + '\\' + exeName;
    if (!CopyFileA(source.c_str(), target.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + source + " to " + target + ", error " +
                                 std::to_string(GetLastError()));
    return target;
}

}  // namespace e2e
