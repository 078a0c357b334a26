// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// What a fuzz target states about every input. In the libFuzzer program a
// failed check aborts, which libFuzzer reports as a finding and saves the
// input; in the replay test it is a test failure that names the input.
#pragma once

namespace fuzz {
void checkFailed(const char* condition, const char* file, int line);
}

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzz::checkFailed(#condition, __FILE__, __LINE__))
