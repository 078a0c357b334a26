// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Turns a stream of physical key presses and releases into what the
// system's low-level keyboard hook would have seen: the hook message
// (key or system key, down or up) and its record. Keeps track of the
// modifiers itself, as the hook does, so it needs every event in order.
#pragma once

#include <cstdint>
#include <optional>

#include <velkorondrix/VelkorOndrix_HWI.h>

struct TranslatedKeyEvent {
    std::uintptr_t message = 0;  // 256, 257, 260 or 261
    KeyboardHookRecord record{};
};

class KeyEventTranslator {
public:
    // Nothing for keys without a virtual-key code.
    std::optional<TranslatedKeyEvent> translate(int evdevCode, bool pressed, bool numLockOn,
                                                std::uint32_t time);
    // Forgets held modifiers (a new grab starts with a clean slate).
    void reset();

private:
    bool leftAlt = false, rightAlt = false;
    bool leftCtrl = false, rightCtrl = false;
};
