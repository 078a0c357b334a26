// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The keyboard hook on X11: a connection of its own to the display grabs the
// whole keyboard on the root window, so every key goes to us and none to any
// other client, and a reader thread feeds each key event to KeyBoardProc.
#pragma once

#include <atomic>
#include <thread>

#include "KeyEventTranslator.h"

struct _XDisplay;

class X11KeyboardGrab {
public:
    X11KeyboardGrab() = default;
    ~X11KeyboardGrab();  // stops
    X11KeyboardGrab(const X11KeyboardGrab&) = delete;
    X11KeyboardGrab& operator=(const X11KeyboardGrab&) = delete;

    // Connects to the default display and grabs the keyboard. False, with
    // nothing held, when there is no display or the grab is refused.
    bool start();
    // Ends the reader, releases the grab and the connection; afterwards no
    // more events are delivered. Safe to call when not started.
    void stop();
    // Started and the connection still alive.
    bool active() const;

    // Hands Xlib's process-wide I/O error handling back as it was before the
    // first start(), unless someone has replaced it since. For library unload.
    static void restoreIOErrorHandler();

private:
    bool grabKeyboard();
    void readEvents();  // the reader thread
    void release();     // ungrab and disconnect, after the reader has ended

    _XDisplay* display = nullptr;
    int wakeRead = -1, wakeWrite = -1;  // pipe that wakes the reader for stop()
    unsigned numLockMask = 0;
    std::thread reader;
    std::atomic<bool> connectionLost{false};
    KeyEventTranslator translator;  // used by the reader only
};
