#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string failure = fuzz::checkResultsLog(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "results_log: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
