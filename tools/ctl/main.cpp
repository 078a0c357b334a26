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
    ctl::CtlTool tool(std::cout, std::cerr, isatty(fileno(stdout)) != 0);
    return tool.run(argc, argv);
}
