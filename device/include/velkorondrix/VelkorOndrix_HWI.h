// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// VelkorOndrix_HWI — the device library: one facade over the programmable
// 108-key keyboard's HID link (USB 0483:5022, interface 1), plus the
// system-wide keyboard hook.
//
//     #include <velkorondrix/VelkorOndrix_HWI.h>   (C++17 or later)
//
// Order of calls: a CTarnHWI talks to the keyboard only between __createDev()
// and __closeDev().
//   1. DetectDevice() says whether the keyboard is attached; it opens nothing.
//   2. __createDev() opens it (true when open). Every transfer, version reads
//      included, needs it first: without it they return false or nothing.
//   3. ReadKeyboardVersion(), the key and light transfers, the firmware
//      download: one at a time per CTarnHWI.
//   4. __closeDev() at the end (the destructor closes too).
// When __createDev() fails although DetectDevice() is true, the keyboard is
// there but cannot be opened: `velkorondrix-ctl doctor` says why.
//
// Only plain values cross this boundary: ints, int arrays, caller-owned
// wide-character buffers, the firmware text and MessageWindow pointers. No
// exception ever leaves the library.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include <velkorondrix/VelkorOndrix_HWIVersion.h>

#if defined(_WIN32)
#  if defined(VELKORONDRIX_HWI_BUILD)
#    define VELKORONDRIX_HWI_API __declspec(dllexport)
#  else
#    define VELKORONDRIX_HWI_API __declspec(dllimport)
#  endif
#else
#  define VELKORONDRIX_HWI_API __attribute__((visibility("default")))
#endif
// Classes inside the library that only its own tests reach: exported from
// builds with the tests alone, hidden from the library that is shipped.
#if defined(VELKORONDRIX_HWI_TESTING)
#  define VELKORONDRIX_HWI_INTERNAL VELKORONDRIX_HWI_API
#else
#  define VELKORONDRIX_HWI_INTERNAL
#endif

// Posted window messages shared by the library, the workers and the windows.
namespace hwi_msg {
constexpr unsigned kTrayCallback = 1125;  // WM_USER + 101
constexpr unsigned kKeyEvent = 1126;      // WM_USER + 102, from the keyboard hook
constexpr unsigned kProgress = 1127;      // WM_USER + 103
constexpr unsigned kDone = 1128;          // WM_USER + 104
}  // namespace hwi_msg

// Stands in for a window handle: whatever the library or a worker notifies.
class VELKORONDRIX_HWI_API MessageWindow {
public:
    virtual ~MessageWindow() = default;
    // Must be thread-safe and asynchronous (queued, never handled inline).
    virtual void postMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Message 1126 with the key event's own time beside it: milliseconds on
    // the window system's clock (X server time, Wayland event time, the
    // hook record's time), wrapping at 2^32. Windows that measure delays
    // keep it; by default it is dropped and the message posted as it is.
    virtual void postKeyMessage(std::uintptr_t wParam, std::intptr_t lParam, std::uint32_t time) {
        (void)time;
        postMessage(hwi_msg::kKeyEvent, wParam, lParam);
    }
};

class CBrantUtil;
class CBrant;

class VELKORONDRIX_HWI_API CTarnHWI {
public:
    CTarnHWI();
    ~CTarnHWI();
    CTarnHWI(const CTarnHWI&) = delete;
    CTarnHWI& operator=(const CTarnHWI&) = delete;

    // Frame: discovery, opening, closing, firmware version.
    bool DetectDevice();
    bool __createDev();
    bool __closeDev();
    wchar_t* getHardwareVersion();
    bool ReadKeyboardVersion(wchar_t* text);  // text holds at least 64 characters

    // Host-side memory image of the keyboard.
    bool prepare();
    bool setKeyConfiguration(int layer, int key, int* words, int count);
    bool getKeyConfiguration(int layer, int key, int* words, int capacity);
    // The light setters store the values and send the whole light image;
    // false when a packet of it was not sent (nothing more is sent then) or
    // the transfer was cancelled.
    bool setKeyboardLightArea(int* values);  // 324 values
    bool getKeyboardLightArea(int* values);  // 324 values
    bool setKeyLight(int ignored, int* values);  // 108 values
    bool getKeyLight(int ignored, int* values);  // 108 values

    // Transfers between the image and the keyboard.
    bool writeKeyConfigurationToDev(MessageWindow* window);
    bool readKeyDefinationFromDev(MessageWindow* window);
    bool readKeyLightFromDev();

    bool WriteFirmwareToKeyboard(char* image, int length, MessageWindow* window);

    // Cancellation of a running transfer, asked from another thread. The
    // transfer stops at the next packet boundary (or while waiting for a read)
    // and returns false. Cleared by clearCancelRequest() before the next job.
    void requestCancel();
    void clearCancelRequest();
    bool cancelRequested() const;

private:
    std::unique_ptr<CBrantUtil> transport;
    std::unique_ptr<CBrant> model;
    wchar_t versionText[64] = {};
    std::atomic<bool> cancelFlag{false};
};

// ---- Keyboard hook --------------------------------------------------------
// The hook procedure is handed to the system as a hook callback on Windows,
// so it carries the system's calling convention there (a no-op on x64).
#if defined(_WIN32)
#  define VELKORONDRIX_HWI_CALLBACK __stdcall
#else
#  define VELKORONDRIX_HWI_CALLBACK
#endif

// Laid out exactly like the system's low-level keyboard hook record
// (KBDLLHOOKSTRUCT), so the Windows hook hands its record over unchanged.
struct KeyboardHookRecord {
    std::uint32_t vkCode;
    std::uint32_t scanCode;
    std::uint32_t flags;      // bit 0: extended key; 0x20 Alt held; 0x80 release
    std::uint32_t time;
    std::uintptr_t dwExtraInfo;
};

// Every key press and release anywhere on the desktop becomes message 1126
// posted to `window`, and the key event itself is swallowed. A second call
// replaces the window; where no keyboard can be hooked (no X display) the
// window is stored and nothing else happens.
VELKORONDRIX_HWI_API void InstallHook(MessageWindow* window);
// Restores normal typing. After it returns nothing more is posted.
VELKORONDRIX_HWI_API void UninstallHook();
// The hook procedure: message is 256/257/260/261 (key down/up, system key
// down/up); hookData points to a KeyboardHookRecord. Posts message 1126 with
// wParam = virtual-key code | 0x80000000 on release | 0x40000000 for a system
// key and lParam = extended flag << 24, and returns 1 (event swallowed). A
// negative code or a null record is not a key event: it is passed on.
VELKORONDRIX_HWI_API std::intptr_t VELKORONDRIX_HWI_CALLBACK KeyBoardProc(int code, std::uintptr_t message,
                                                                         std::intptr_t hookData);

class KeyEventTranslator;

// Where no hook can see the keys (a Wayland session, no X display), a window
// takes them from its own key events instead and hands each one here. The
// key is named by its Linux input (evdev) code: X11 and Wayland both report
// it as the event's native scan code less 8. It becomes the record the hook
// would have filled (the same key table, Alt and F10 as system keys) and is
// posted as message 1126 through postKeyMessage, exactly as KeyBoardProc
// posts it, so the receiver cannot tell the two apart.
class VELKORONDRIX_HWI_API WindowKeySource {
public:
    WindowKeySource();
    ~WindowKeySource();
    WindowKeySource(const WindowKeySource&) = delete;
    WindowKeySource& operator=(const WindowKeySource&) = delete;

    // False, with nothing posted, for a key without a virtual-key code.
    // numLockOn decides what the keypad digits and point report.
    bool post(MessageWindow& window, int evdevCode, bool pressed, bool numLockOn, std::uint32_t time);
    // Forgets held modifiers: a new recording starts with a clean slate.
    void reset();

private:
    std::unique_ptr<KeyEventTranslator> translator;
};
