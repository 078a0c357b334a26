// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Prints the keyboard's firmware version: open it first, close it at the end.
#include <velkorondrix/VelkorOndrix_HWI.h>

#include <cstdio>

int main() {
    CTarnHWI keyboard;
    wchar_t version[64] = {};
    if (!keyboard.__createDev() || !keyboard.ReadKeyboardVersion(version))
        return std::fputs("no keyboard, or it cannot be opened (velkorondrix-ctl doctor says why)\n", stderr), 1;
    std::printf("%ls\n", version);
    keyboard.__closeDev();
}
