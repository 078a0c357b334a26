// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "KeyEventMessage.h"

KeyEventMessage KeyEventMessage::from(std::uintptr_t message, const KeyboardHookRecord& record) {
    KeyEventMessage result;
    // Virtual-key codes are 0..255; masking keeps a stray high bit in the
    // record from posing as the release or system-key flag.
    result.wParam = record.vkCode & 0xFFu;
    switch (message) {
    case kKeyUp:
        result.wParam |= kReleaseBit;
        break;
    case kSysKeyDown:
        result.wParam |= kSystemKeyBit;
        break;
    case kSysKeyUp:
        result.wParam |= kReleaseBit | kSystemKeyBit;
        break;
    default:  // key down and anything unknown carry no flag
        break;
    }
    result.lParam = static_cast<std::intptr_t>(record.flags & kExtendedFlag) << 24;
    return result;
}
