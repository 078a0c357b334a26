// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "X11KeyboardGrab.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <system_error>

#include <velkorondrix/VelkorOndrix_HWI.h>

namespace {

// X servers with the evdev driver number keys as evdev code + 8.
constexpr int kEvdevOffset = 8;

// A refused grab is usually someone else's short-lived one (a window
// manager's pointer drag, a key held over a menu); it is worth a few tries.
constexpr int kGrabAttempts = 20;
constexpr auto kGrabRetryDelay = std::chrono::milliseconds(25);

// Losing the X server must not end the host program, which is what Xlib
// does by default: for our connection the hook just stops. Both handlers
// are needed; Xlib's I/O error handler is process-wide, so ours hands every
// other connection to the handler that was there before.
std::atomic<Display*> ourDisplay{nullptr};
XIOErrorHandler previousIOErrorHandler = nullptr;

int onIOError(Display* display) {
    if (display == ourDisplay.load())
        return 0;  // then onConnectionLost, instead of exit()
    return previousIOErrorHandler ? previousIOErrorHandler(display) : 0;
}

void onConnectionLost(Display*, void* userData) {
    static_cast<std::atomic<bool>*>(userData)->store(true);
}

bool ioErrorHandlerInstalled = false;  // touched under the hook's install lock only

void takeOverIOErrors(Display* display, std::atomic<bool>* lostFlag) {
    if (!ioErrorHandlerInstalled) {
        previousIOErrorHandler = XSetIOErrorHandler(onIOError);
        ioErrorHandlerInstalled = true;
    }
    ourDisplay = display;
    XSetIOErrorExitHandler(display, onConnectionLost, lostFlag);
}

}  // namespace

void X11KeyboardGrab::restoreIOErrorHandler() {
    if (!ioErrorHandlerInstalled)
        return;
    // Xlib only tells the current handler by replacing it.
    const XIOErrorHandler current = XSetIOErrorHandler(previousIOErrorHandler);
    if (current != onIOError) {
        XSetIOErrorHandler(current);  // someone chained after us: leave theirs
        return;
    }
    ioErrorHandlerInstalled = false;
}

X11KeyboardGrab::~X11KeyboardGrab() {
    stop();
}

bool X11KeyboardGrab::active() const {
    return display != nullptr && !connectionLost.load();
}

bool X11KeyboardGrab::start() {
    if (display)
        return active();
    display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    connectionLost = false;
    takeOverIOErrors(display, &connectionLost);

    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        release();
        return false;
    }
    wakeRead = pipeEnds[0];
    wakeWrite = pipeEnds[1];

    // Key repeat as repeated presses, the way the system hook reports it,
    // instead of release/press pairs.
    XkbSetDetectableAutoRepeat(display, True, nullptr);
    numLockMask = XkbKeysymToModifiers(display, XK_Num_Lock);
    if (numLockMask == 0)
        numLockMask = Mod2Mask;

    if (!grabKeyboard()) {
        release();
        return false;
    }
    translator.reset();
    try {
        reader = std::thread(&X11KeyboardGrab::readEvents, this);
    } catch (const std::system_error&) {
        release();
        return false;
    }
    return true;
}

bool X11KeyboardGrab::grabKeyboard() {
    const Window root = DefaultRootWindow(display);
    for (int attempt = 0; attempt < kGrabAttempts; ++attempt) {
        const int status = XGrabKeyboard(display, root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
        if (status == GrabSuccess)
            return true;
        if (connectionLost)
            return false;
        std::this_thread::sleep_for(kGrabRetryDelay);
    }
    return false;
}

void X11KeyboardGrab::stop() {
    if (reader.joinable()) {
        if (reader.get_id() == std::this_thread::get_id()) {
            // Process exit started on the reader itself (from inside a
            // window's postMessage): it cannot wait for itself.
            reader.detach();
            return;
        }
        const char wake = 1;
        // The pipe only has to become readable; a full pipe already is.
        [[maybe_unused]] const auto written = write(wakeWrite, &wake, 1);
        reader.join();
    }
    release();
}

void X11KeyboardGrab::release() {
    if (display) {
        if (!connectionLost) {
            XUngrabKeyboard(display, CurrentTime);
            // The ungrab must have reached the server before the caller
            // counts on normal typing.
            XSync(display, False);
            XCloseDisplay(display);
        }
        // A connection that died under Xlib cannot be closed safely (Xlib
        // may still hold its locks); the server, and with it the grab, is
        // gone anyway, so it is left as it is.
        ourDisplay = nullptr;
        display = nullptr;
    }
    if (wakeRead >= 0)
        close(wakeRead);
    if (wakeWrite >= 0)
        close(wakeWrite);
    wakeRead = wakeWrite = -1;
}

void X11KeyboardGrab::readEvents() {
    const int xfd = ConnectionNumber(display);
    for (;;) {
        // Events already read into Xlib's queue would not wake poll().
        while (!connectionLost && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != KeyPress && event.type != KeyRelease)
                continue;
            const XKeyEvent& key = event.xkey;
            const bool numLock = (key.state & numLockMask) != 0;
            const auto translated = translator.translate(static_cast<int>(key.keycode) - kEvdevOffset,
                                                         event.type == KeyPress, numLock,
                                                         static_cast<std::uint32_t>(key.time));
            if (translated) {
                KeyboardHookRecord record = translated->record;
                KeyBoardProc(0, translated->message, reinterpret_cast<std::intptr_t>(&record));
            }
        }
        if (connectionLost)
            return;

        pollfd fds[2] = {{xfd, POLLIN, 0}, {wakeRead, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents != 0)
            return;  // stop() asked
        if (fds[0].revents & (POLLERR | POLLNVAL)) {
            connectionLost = true;
            return;
        }
        // POLLIN or POLLHUP: XPending reads what is there and notices a
        // closed connection through the exit handler.
    }
}
