// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// Which way the key editor takes the keys it records. The keyboard hook (the
// X11 grab, WH_KEYBOARD_LL) sees every key of the desktop, but an X11 grab
// sees nothing where the program is not a client of a real X server: on
// native Wayland XWayland grants it and delivers no keys, on XWayland only
// while an X11 window has the focus, and without a display there is nothing
// to grab. There the editor takes the keys from its own window. The choice
// follows from the platform and the session, never from InstallHook, which
// succeeds silently in all of these cases.
#pragma once

#include <string>

enum class RecordingPath {
    Hook,    // the keyboard hook: keys typed anywhere on the desktop
    Window,  // the editor's own key events: keys typed in its window
};

struct RecordingSession {
    std::string platform;        // the GUI platform: "xcb", "wayland", "windows", "offscreen"...
    std::string sessionType;     // XDG_SESSION_TYPE
    std::string waylandDisplay;  // WAYLAND_DISPLAY
    std::string x11Display;      // DISPLAY
    std::string forced;          // VELKORONDRIX_RECORDING_PATH: "window" or "grab", else empty

    static constexpr const char* kForceVariable = "VELKORONDRIX_RECORDING_PATH";

    // The session this process runs in, for the given GUI platform.
    static RecordingSession current(std::string platform);
};

// The hook on Windows; on X11 (and the offscreen platform, whose windows get
// no keys at all) only outside a Wayland session and with a display; the
// window everywhere else. VELKORONDRIX_RECORDING_PATH=window|grab overrides
// the choice except on Windows, whose hook always sees the keys.
RecordingPath recordingPathFor(const RecordingSession& session);
