// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "jobs/RecordingPath.h"

#include <cstdlib>

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

}  // namespace

RecordingSession RecordingSession::current(std::string platform) {
    RecordingSession session;
    session.platform = std::move(platform);
    session.sessionType = environment("XDG_SESSION_TYPE");
    session.waylandDisplay = environment("WAYLAND_DISPLAY");
    session.x11Display = environment("DISPLAY");
    session.forced = environment(kForceVariable);
    return session;
}

RecordingPath recordingPathFor(const RecordingSession& session) {
    if (session.platform == "windows")
        return RecordingPath::Hook;
    if (session.forced == "window")
        return RecordingPath::Window;
    if (session.forced == "grab")
        return RecordingPath::Hook;
    const bool x11Platform = session.platform == "xcb" || session.platform == "offscreen";
    const bool waylandSession = session.sessionType == "wayland" || !session.waylandDisplay.empty();
    return x11Platform && !waylandSession && !session.x11Display.empty() ? RecordingPath::Hook
                                                                          : RecordingPath::Window;
}
