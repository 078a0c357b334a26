// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The platform side of the keyboard hook: the WH_KEYBOARD_LL hook on
// Windows, the keyboard grab on X11, or nothing where there is no display.
// The exported InstallHook / UninstallHook wrap these so that nothing thrown
// here leaves the library.
#pragma once

class MessageWindow;

namespace hook_backend {
void install(MessageWindow* window);
void uninstall();
}  // namespace hook_backend
