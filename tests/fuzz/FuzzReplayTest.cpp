// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Replays every committed input of one fuzz target through it, without
// libFuzzer: the corpus keeps the target's checks running in every build,
// and each regression input is a fault that once was.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

void fuzz::checkFailed(const char* condition, const char* file, int line) {
    ADD_FAILURE_AT(file, line) << "fuzz check failed: " << condition;
}

TEST(FuzzReplay, EveryCommittedInputHoldsUp) {
    std::vector<std::filesystem::path> inputs;
    for (const char* folder : {VELKORONDRIX_FUZZ_CORPUS, VELKORONDRIX_FUZZ_REGRESSIONS}) {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
            inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    ASSERT_FALSE(inputs.empty()) << "no corpus in " << VELKORONDRIX_FUZZ_CORPUS;
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.string());
        std::ifstream in(input, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
}
