// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The window that receives the hook's key messages, shared between the
// thread that installs the hook and the thread the events arrive on.
#pragma once

#include <cstdint>
#include <mutex>

#include <velkorondrix/VelkorOndrix_HWI.h>

class HookTarget {
public:
    static HookTarget& instance();

    // Null clears it. Once this returns, the former window receives nothing
    // more, so its owner may destroy it.
    void set(MessageWindow* window);
    // False when no window is stored.
    bool post(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // Message 1126 with the key event's time beside it.
    bool postKey(std::uintptr_t wParam, std::intptr_t lParam, std::uint32_t time);

private:
    HookTarget() = default;

    std::mutex mutex;
    MessageWindow* window = nullptr;
};
