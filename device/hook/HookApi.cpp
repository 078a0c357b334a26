// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The exported InstallHook / UninstallHook, the same on every platform.
#include "HookBackend.h"
#include <velkorondrix/VelkorOndrix_HWI.h>

void InstallHook(MessageWindow* window) {
    try {
        hook_backend::install(window);
    } catch (...) {
        // Nothing leaves the library; a failed install is a hook that never fires.
    }
}

void UninstallHook() {
    try {
        hook_backend::uninstall();
    } catch (...) {
    }
}
