// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The keyboard hook where there is no window system to hook: the window is
// kept (KeyBoardProc still posts to it), nothing else happens.
#include "HookBackend.h"
#include "HookTarget.h"

void hook_backend::install(MessageWindow* window) {
    HookTarget::instance().set(window);
}

void hook_backend::uninstall() {
    HookTarget::instance().set(nullptr);
}
