// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A window message posted to a MessageWindow: queued on the receiver's event
// loop and handled on the GUI thread, whatever thread posted it.
#pragma once

#include <cstdint>

#include <QEvent>

class PostedMessageEvent : public QEvent {
public:
    PostedMessageEvent(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
        : QEvent(eventType()), message(message), wParam(wParam), lParam(lParam) {}

    static QEvent::Type eventType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    const unsigned message;
    const std::uintptr_t wParam;
    const std::intptr_t lParam;
};
