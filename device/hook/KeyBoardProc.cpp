// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The hook procedure itself, the same on every platform: the platform hooks
// (WH_KEYBOARD_LL on Windows, the X keyboard grab elsewhere) only deliver
// records to it.
#include "HookTarget.h"
#include "KeyEventMessage.h"
#include <velkorondrix/VelkorOndrix_HWI.h>

#if defined(_WIN32)
#  include <windows.h>
#endif

std::intptr_t VELKORONDRIX_HWI_CALLBACK KeyBoardProc(int code, std::uintptr_t message, std::intptr_t hookData) {
    if (code < 0 || hookData == 0) {
        // Not a key event for us: the hook contract asks to hand it on.
#if defined(_WIN32)
        return CallNextHookEx(nullptr, code, message, hookData);
#else
        return 0;
#endif
    }
    const auto& record = *reinterpret_cast<const KeyboardHookRecord*>(hookData);
    const KeyEventMessage words = KeyEventMessage::from(message, record);
    HookTarget::instance().postKey(words.wParam, words.lParam, record.time);
    return 1;  // swallowed: no later hook and no window sees the key
}
