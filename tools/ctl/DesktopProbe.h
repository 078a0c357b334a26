// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// What the desktop around the tool offers the windowed program: the session
// type and its displays, a system tray, fonts with Chinese characters.
#pragma once

#include <string>

namespace ctl {

enum class SessionType { None, X11, Wayland };

struct Session {
    SessionType type = SessionType::None;
    bool x11Display = false;      // DISPLAY set (on Wayland: XWayland)
    bool waylandDisplay = false;  // WAYLAND_DISPLAY set
};

// From XDG_SESSION_TYPE, WAYLAND_DISPLAY and DISPLAY.
Session currentSession();

// A status-notifier host on the session bus, or an X11 tray (the
// _NET_SYSTEM_TRAY selection): where the program's tray icon can live.
bool systemTrayAvailable(const Session& session);

// The name of an installed font that covers Simplified Chinese; empty when
// there is none.
std::string chineseFont();

}  // namespace ctl
