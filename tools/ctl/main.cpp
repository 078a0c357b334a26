// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include <iostream>

#include "CtlTool.h"

#if defined(_WIN32)
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

int main(int argc, char** argv) {
    // Questions need a person: one who reads the error stream and types.
    const bool person = isatty(fileno(stdin)) != 0 && isatty(fileno(stderr)) != 0;
    ctl::CtlTool tool(std::cout, std::cerr, isatty(fileno(stdout)) != 0, person ? &std::cin : nullptr);
    return tool.run(argc, argv);
}
