// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The rule that turns one low-level key event into the words of the posted
// key message (1126), shared by every platform's hook.
#pragma once

#include <cstdint>

#include <velkorondrix/VelkorOndrix_HWI.h>

struct KeyEventMessage {
    // Messages a low-level keyboard hook receives.
    static constexpr std::uintptr_t kKeyDown = 256;     // WM_KEYDOWN
    static constexpr std::uintptr_t kKeyUp = 257;       // WM_KEYUP
    static constexpr std::uintptr_t kSysKeyDown = 260;  // WM_SYSKEYDOWN
    static constexpr std::uintptr_t kSysKeyUp = 261;    // WM_SYSKEYUP

    static constexpr std::uintptr_t kReleaseBit = 0x80000000u;
    static constexpr std::uintptr_t kSystemKeyBit = 0x40000000u;
    static constexpr std::uint32_t kExtendedFlag = 0x01;  // LLKHF_EXTENDED

    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;

    static KeyEventMessage from(std::uintptr_t message, const KeyboardHookRecord& record);
};
