// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A window message posted to a MessageWindow: queued on the receiver's event
// loop and handled on the GUI thread, whatever thread posted it.
#pragma once

#include <cstdint>
#include <optional>

#include <QEvent>

class PostedMessageEvent : public QEvent {
public:
    PostedMessageEvent(unsigned message, std::uintptr_t wParam, std::intptr_t lParam,
                       std::optional<std::uint32_t> time = std::nullopt)
        : QEvent(eventType()), message(message), wParam(wParam), lParam(lParam), time(time) {}

    static QEvent::Type eventType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    const unsigned message;
    const std::uintptr_t wParam;
    const std::intptr_t lParam;
    // A key message's own time (MessageWindow::postKeyMessage).
    const std::optional<std::uint32_t> time;
};
