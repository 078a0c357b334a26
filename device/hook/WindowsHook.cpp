// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The keyboard hook on Windows: a low-level keyboard hook
// (WH_KEYBOARD_LL) whose procedure is KeyBoardProc itself.
//
// The hook handle and the window live in this process's own memory. The
// window is a MessageWindow object of the installing process, and a
// low-level hook always runs in that process, so sharing either value
// between processes would only let one program's InstallHook redirect or
// remove another program's hook through a pointer that means nothing there.
#include <windows.h>

#include <cstddef>
#include <mutex>

#include "HookBackend.h"
#include "HookTarget.h"
#include <velkorondrix/VelkorOndrix_HWI.h>

// The hook hands its record over unchanged.
static_assert(sizeof(KeyboardHookRecord) == sizeof(KBDLLHOOKSTRUCT));
static_assert(offsetof(KeyboardHookRecord, vkCode) == offsetof(KBDLLHOOKSTRUCT, vkCode));
static_assert(offsetof(KeyboardHookRecord, scanCode) == offsetof(KBDLLHOOKSTRUCT, scanCode));
static_assert(offsetof(KeyboardHookRecord, flags) == offsetof(KBDLLHOOKSTRUCT, flags));
static_assert(offsetof(KeyboardHookRecord, time) == offsetof(KBDLLHOOKSTRUCT, time));
static_assert(offsetof(KeyboardHookRecord, dwExtraInfo) == offsetof(KBDLLHOOKSTRUCT, dwExtraInfo));
static_assert(WM_KEYDOWN == 256 && WM_KEYUP == 257 && WM_SYSKEYDOWN == 260 && WM_SYSKEYUP == 261);
static_assert(LLKHF_EXTENDED == 1);

namespace {

// A global hook needs the module that holds its procedure: this library.
HMODULE libraryModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&KeyBoardProc), &module);
    return module;
}

class HookSession {
public:
    HookSession() {
        // Built first, so destroyed after us.
        HookTarget::instance();
    }
    // Library unload: no hook outlives its procedure.
    ~HookSession() { uninstall(); }

    void install(MessageWindow* window) {
        std::lock_guard lock(mutex);
        // A second install replaces the first instead of leaking it.
        unhook();
        HookTarget::instance().set(window);
        // HOOKPROC and KeyBoardProc must agree exactly: no cast here.
        HOOKPROC procedure = &KeyBoardProc;
        hookHandle = SetWindowsHookExW(WH_KEYBOARD_LL, procedure, libraryModule(), 0);
    }

    void uninstall() {
        std::lock_guard lock(mutex);
        unhook();
        HookTarget::instance().set(nullptr);
    }

private:
    void unhook() {
        if (hookHandle)
            UnhookWindowsHookEx(hookHandle);
        hookHandle = nullptr;
    }

    std::mutex mutex;
    HHOOK hookHandle = nullptr;
};

HookSession session;

}  // namespace

void hook_backend::install(MessageWindow* window) {
    session.install(window);
}

void hook_backend::uninstall() {
    session.uninstall();
}
