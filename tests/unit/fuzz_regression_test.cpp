// Every input that the fuzzers (scripts/fuzz.sh) found failing, replayed
// against the same property checks, under the host tests' sanitizers. Each
// folder of kept inputs is listed here; a listed folder that is missing or
// empty fails, and so does a kept folder that is not listed, so that no
// replay can pass on zero inputs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_checks.h"

namespace {

namespace fs = std::filesystem;

using Check = std::string (*)(const uint8_t*, size_t);

const fs::path kRegressions = TK_FUZZ_REGRESSIONS;

// The fuzz targets that have kept failing inputs so far, each with its folder
// under tests/fuzz/regressions. A target joins this list when scripts/fuzz.sh
// first keeps an input of its own.
struct KeptInputs {
    const char* folder;
    Check check;
};
const KeptInputs kKept[] = {
    {"number_text", fuzz::checkNumberText},
};

std::vector<fs::path> inputsIn(const fs::path& folder) {
    std::vector<fs::path> inputs;
    if (fs::is_directory(folder))
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file()) inputs.push_back(entry.path());
    return inputs;
}

// The number of inputs replayed; every one must hold.
size_t replay(const fs::path& folder, Check check) {
    const std::vector<fs::path> inputs = inputsIn(folder);
    for (const fs::path& input : inputs) {
        std::ifstream file(input, std::ios::binary);
        EXPECT_TRUE(file.good()) << input;
        const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        EXPECT_EQ(check(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "") << input;
    }
    return inputs.size();
}

TEST(FuzzRegressions, EveryListedFolderHasInputsAndTheyHold) {
    for (const KeptInputs& kept : kKept) {
        const fs::path folder = kRegressions / kept.folder;
        EXPECT_GT(replay(folder, kept.check), 0u) << folder << " is missing or empty";
    }
}

TEST(FuzzRegressions, EveryFolderOfKeptInputsIsListed) {
    ASSERT_TRUE(fs::is_directory(kRegressions)) << kRegressions;
    std::set<std::string> listed;
    for (const KeptInputs& kept : kKept) listed.insert(kept.folder);
    for (const fs::directory_entry& entry : fs::directory_iterator(kRegressions))
        EXPECT_TRUE(listed.count(entry.path().filename().string()))
            << entry.path() << " holds inputs that no test replays";
}

}  // namespace
