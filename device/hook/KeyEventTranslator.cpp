// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "KeyEventTranslator.h"

#include "EvdevKeyMap.h"
#include "KeyEventMessage.h"

namespace {
constexpr std::uint8_t kVkF10 = 0x79;
constexpr std::uint8_t kVkLeftCtrl = 0xA2, kVkRightCtrl = 0xA3;
constexpr std::uint8_t kVkLeftAlt = 0xA4, kVkRightAlt = 0xA5;

constexpr std::uint32_t kFlagAltDown = 0x20;  // LLKHF_ALTDOWN
constexpr std::uint32_t kFlagUp = 0x80;       // LLKHF_UP
}  // namespace

std::optional<TranslatedKeyEvent> KeyEventTranslator::translate(int evdevCode, bool pressed, bool numLockOn,
                                                                std::uint32_t time) {
    const EvdevKey key = EvdevKeyMap::lookup(evdevCode, numLockOn);
    if (key.vk == 0)
        return std::nullopt;

    switch (key.vk) {
    case kVkLeftAlt: leftAlt = pressed; break;
    case kVkRightAlt: rightAlt = pressed; break;
    case kVkLeftCtrl: leftCtrl = pressed; break;
    case kVkRightCtrl: rightCtrl = pressed; break;
    default: break;
    }
    // The state after this event counts: pressing Alt is itself a system
    // key, releasing the last Alt is not. Ctrl+Alt is an ordinary
    // combination (the AltGr chords), and F10 alone is the menu key.
    const bool altHeld = leftAlt || rightAlt;
    const bool ctrlHeld = leftCtrl || rightCtrl;
    const bool system = (altHeld && !ctrlHeld) || key.vk == kVkF10;

    TranslatedKeyEvent event;
    if (pressed)
        event.message = system ? KeyEventMessage::kSysKeyDown : KeyEventMessage::kKeyDown;
    else
        event.message = system ? KeyEventMessage::kSysKeyUp : KeyEventMessage::kKeyUp;
    event.record.vkCode = key.vk;
    event.record.scanCode = key.scanCode;
    event.record.flags = (key.extended ? KeyEventMessage::kExtendedFlag : 0u) | (altHeld ? kFlagAltDown : 0u) |
                         (pressed ? 0u : kFlagUp);
    event.record.time = time;
    event.record.dwExtraInfo = 0;
    return event;
}

void KeyEventTranslator::reset() {
    leftAlt = rightAlt = leftCtrl = rightCtrl = false;
}
