// Runs tk_os_probe under each Windows version that Wine can emulate for one
// program (its AppDefaults key) and checks the version it saw and the profile
// it chose.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "records/settings_file_win.h"

namespace {

constexpr char kProbeDefaultsKey[] = "Software\\Wine\\AppDefaults\\tk_os_probe.exe";

struct HandleCloser {
    void operator()(HANDLE h) const {
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

bool setProbeVersion(const std::string& version) {
    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kProbeDefaultsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const Key key(raw);
    return RegSetValueExA(key.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                          static_cast<DWORD>(version.size() + 1)) == ERROR_SUCCESS;
}

std::string probePath() {
    const std::string self = executablePath();
    return self.substr(0, self.find_last_of('\\') + 1) + "tk_os_probe.exe";
}

// Runs the probe with its output on a pipe; empty when it cannot be run or
// does not finish within 60 s.
std::string runProbe() {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readRaw = nullptr;
    HANDLE writeRaw = nullptr;
    if (!CreatePipe(&readRaw, &writeRaw, &inherit, 0)) return {};
    const Handle readEnd(readRaw);
    Handle writeEnd(writeRaw);
    if (!SetHandleInformation(readRaw, HANDLE_FLAG_INHERIT, 0)) return {};

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeRaw;
    startup.hStdError = writeRaw;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    std::string commandLine = "\"" + probePath() + "\"";
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info))
        return {};
    const Handle process(info.hProcess);
    const Handle thread(info.hThread);
    writeEnd.reset();  // the pipe ends when the probe's copy of this end closes

    if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        return {};
    }
    std::string output;
    char buffer[256];
    DWORD got = 0;
    while (ReadFile(readEnd.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) output.append(buffer, got);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    return output;
}

struct EmulatedVersion {
    const char* wineVersion;
    const char* expected;
};

void PrintTo(const EmulatedVersion& v, std::ostream* os) { *os << v.wineVersion; }

class OsProbeUnderWine : public ::testing::TestWithParam<EmulatedVersion> {
protected:
    void TearDown() override { RegDeleteKeyA(HKEY_CURRENT_USER, kProbeDefaultsKey); }
};

TEST_P(OsProbeUnderWine, ReportsVersionAndChosenProfile) {
    ASSERT_TRUE(setProbeVersion(GetParam().wineVersion));
    EXPECT_EQ(runProbe(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, OsProbeUnderWine,
    ::testing::Values(EmulatedVersion{"win95", "platform=1 major=4 minor=0 set=win95 maxGameNumber=32000"},
                      EmulatedVersion{"win98", "platform=1 major=4 minor=10 set=win98me maxGameNumber=32000"},
                      EmulatedVersion{"winme", "platform=1 major=4 minor=90 set=win98me maxGameNumber=32000"},
                      EmulatedVersion{"nt40", "platform=2 major=4 minor=0 set=nt4 maxGameNumber=32000"},
                      EmulatedVersion{"win2k", "platform=2 major=5 minor=0 set=default maxGameNumber=32000"},
                      EmulatedVersion{"winxp", "platform=2 major=5 minor=1 set=default maxGameNumber=1000000"},
                      EmulatedVersion{"win7", "platform=2 major=6 minor=1 set=default maxGameNumber=32000"}));

}  // namespace
