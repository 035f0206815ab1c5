// Every input that the fuzzers (scripts/fuzz.sh) found failing, replayed
// against the same property checks, under the host tests' sanitizers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_checks.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsOf(const std::string& target) {
    std::vector<fs::path> inputs;
    const fs::path folder = fs::path(TK_FUZZ_REGRESSIONS) / target;
    if (fs::exists(folder))
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) inputs.push_back(entry.path());
    return inputs;
}

void replay(const std::string& target, std::string (*check)(const uint8_t*, size_t)) {
    for (const fs::path& input : inputsOf(target)) {
        std::ifstream file(input, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        EXPECT_EQ(check(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "") << input;
    }
}

TEST(FuzzRegressions, NumberTextInputsHold) { replay("number_text", fuzz::checkNumberText); }
TEST(FuzzRegressions, SettingsValuesInputsHold) { replay("settings_values", fuzz::checkSettingsValues); }
TEST(FuzzRegressions, IniPathInputsHold) { replay("ini_path", fuzz::checkIniPath); }
TEST(FuzzRegressions, PassListInputsHold) { replay("pass_list", fuzz::checkPassList); }

TEST(FuzzRegressions, RegressionFolderIsFound) { EXPECT_FALSE(inputsOf("number_text").empty()); }

}  // namespace
