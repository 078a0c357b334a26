// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "HookTarget.h"

HookTarget& HookTarget::instance() {
    static HookTarget target;
    return target;
}

void HookTarget::set(MessageWindow* newWindow) {
    std::lock_guard lock(mutex);
    window = newWindow;
}

bool HookTarget::post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    // Posting under the lock is what lets set() promise that a replaced
    // window is left alone; postMessage only queues, so the hold is short.
    std::lock_guard lock(mutex);
    if (!window)
        return false;
    window->postMessage(message, wParam, lParam);
    return true;
}

bool HookTarget::postKey(std::uintptr_t wParam, std::intptr_t lParam, std::uint32_t time) {
    std::lock_guard lock(mutex);
    if (!window)
        return false;
    window->postKeyMessage(wParam, lParam, time);
    return true;
}
