// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The keyboard hook on X11: a keyboard grab with its reader thread.
#include <memory>
#include <mutex>

#include "HookBackend.h"
#include "HookTarget.h"
#include <velkorondrix/VelkorOndrix_HWI.h>
#include "X11KeyboardGrab.h"

namespace {

class HookSession {
public:
    HookSession() {
        // Built first, so destroyed after us: the reader may still post
        // while our destructor stops it.
        HookTarget::instance();
    }
    // Library unload or process exit: no grab, and no handler of ours
    // inside Xlib, outlives the library.
    ~HookSession() {
        uninstall();
        std::lock_guard lock(mutex);
        X11KeyboardGrab::restoreIOErrorHandler();
    }

    void install(MessageWindow* window) {
        std::lock_guard lock(mutex);
        HookTarget::instance().set(window);
        if (grab && grab->active())
            return;  // already hooked: only the window changes
        grab.reset();  // a grab whose display went away
        auto fresh = std::make_unique<X11KeyboardGrab>();
        if (fresh->start())
            grab = std::move(fresh);
    }

    void uninstall() {
        std::lock_guard lock(mutex);
        grab.reset();  // joins the reader, releases the grab
        HookTarget::instance().set(nullptr);
    }

private:
    std::mutex mutex;  // serialises install and uninstall
    std::unique_ptr<X11KeyboardGrab> grab;
};

HookSession session;

}  // namespace

void hook_backend::install(MessageWindow* window) {
    session.install(window);
}

void hook_backend::uninstall() {
    session.uninstall();
}
