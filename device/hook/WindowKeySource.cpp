// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "KeyEventMessage.h"
#include "KeyEventTranslator.h"
#include <velkorondrix/VelkorOndrix_HWI.h>

WindowKeySource::WindowKeySource() : translator(std::make_unique<KeyEventTranslator>()) {}

WindowKeySource::~WindowKeySource() = default;

bool WindowKeySource::post(MessageWindow& window, int evdevCode, bool pressed, bool numLockOn, std::uint32_t time) {
    try {
        const auto translated = translator->translate(evdevCode, pressed, numLockOn, time);
        if (!translated)
            return false;
        const KeyEventMessage words = KeyEventMessage::from(translated->message, translated->record);
        window.postKeyMessage(words.wParam, words.lParam, translated->record.time);
        return true;
    } catch (...) {
        return false;  // nothing leaves the library
    }
}

void WindowKeySource::reset() {
    translator->reset();
}
