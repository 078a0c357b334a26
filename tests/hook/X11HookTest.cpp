// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The X11 keyboard hook against a real X server (Xvfb), with keys injected
// through XTest exactly as a keyboard would deliver them.
// GoogleTest first: Xlib defines macros (None, True, ...) that clash with it.
#include <gtest/gtest.h>

#include <X11/XF86keysym.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <poll.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "MessageQueue.h"
#include <velkorondrix/VelkorOndrix_HWI.h>
#include "XvfbServer.h"

namespace {

using namespace std::chrono_literals;

constexpr std::uintptr_t kUp = 0x80000000u;
constexpr std::uintptr_t kSystem = 0x40000000u;
constexpr std::intptr_t kExtended = 0x01000000;

std::unique_ptr<XvfbServer> server;
std::string whyNoServer;

// One X client of the test's own.
class TestClient {
public:
    explicit TestClient(const std::string& name) : display(XOpenDisplay(name.c_str())) {}
    ~TestClient() {
        if (display)
            XCloseDisplay(display);
    }
    TestClient(const TestClient&) = delete;
    TestClient& operator=(const TestClient&) = delete;

    Display* display;
};

class X11Hook : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = XvfbServer::start(&whyNoServer);
        if (server)
            setenv("DISPLAY", server->displayName().c_str(), 1);
    }
    static void TearDownTestSuite() {
        UninstallHook();
        server.reset();
    }

    void SetUp() override {
        if (!server)
            GTEST_SKIP() << "X11 hook tests SKIPPED: " << whyNoServer;
        injector = std::make_unique<TestClient>(server->displayName());
        observer = std::make_unique<TestClient>(server->displayName());
        ASSERT_NE(injector->display, nullptr);
        ASSERT_NE(observer->display, nullptr);
        int event, error, major, minor;
        ASSERT_TRUE(XTestQueryExtension(injector->display, &event, &error, &major, &minor))
            << "the X server lacks XTest";
        openFocusedWindow();
        setNumLock(true);
    }

    void TearDown() override {
        UninstallHook();
        if (injector && injector->display) {
            // Leave no modifier down for the next test.
            for (KeySym s : {XK_Alt_L, XK_Alt_R, XK_Control_L, XK_Control_R, XK_Shift_L, XK_Shift_R})
                key(code(s), false);
        }
    }

    // The other client: a window holding the input focus, watching for keys.
    void openFocusedWindow() {
        Display* d = observer->display;
        window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 100, 100, 0, 0, 0);
        XSelectInput(d, window, KeyPressMask | KeyReleaseMask | StructureNotifyMask);
        XMapWindow(d, window);
        XEvent e;
        do
            XWindowEvent(d, window, StructureNotifyMask, &e);
        while (e.type != MapNotify);
        XSetInputFocus(d, window, RevertToPointerRoot, CurrentTime);
        XSync(d, False);
    }

    // Key events the other client received within `wait` (returns early
    // once `enough` arrived).
    std::vector<XKeyEvent> observedKeys(std::chrono::milliseconds wait, std::size_t enough = 1000) {
        Display* d = observer->display;
        XSync(d, False);
        std::vector<XKeyEvent> seen;
        const auto deadline = std::chrono::steady_clock::now() + wait;
        for (;;) {
            while (XPending(d) > 0) {
                XEvent e;
                XNextEvent(d, &e);
                if (e.type == KeyPress || e.type == KeyRelease)
                    seen.push_back(e.xkey);
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (seen.size() >= enough || left.count() <= 0)
                return seen;
            pollfd fd{ConnectionNumber(d), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(left.count()));
        }
    }

    KeyCode code(KeySym sym) { return XKeysymToKeycode(injector->display, sym); }

    void key(KeyCode keycode, bool down) {
        XTestFakeKeyEvent(injector->display, keycode, down ? True : False, CurrentTime);
        XSync(injector->display, False);
    }
    void tap(KeyCode keycode) {
        key(keycode, true);
        key(keycode, false);
    }

    void setNumLock(bool on) {
        const unsigned mask = XkbKeysymToModifiers(injector->display, XK_Num_Lock);
        XkbLockModifiers(injector->display, XkbUseCoreKbd, mask, on ? mask : 0);
        XSync(injector->display, False);
    }

    // The posted wParams, after checking every message number.
    static std::vector<std::uintptr_t> wParams(const std::vector<PostedMessage>& posted) {
        std::vector<std::uintptr_t> words;
        for (const auto& p : posted) {
            EXPECT_EQ(p.message, 1126u);
            words.push_back(p.wParam);
        }
        return words;
    }

    std::unique_ptr<TestClient> injector, observer;
    Window window = 0;
    MessageQueue posted;
};

TEST_F(X11Hook, PressAndReleaseOfAPostsDownThenUpAndNoOtherClientSeesIt) {
    InstallHook(&posted);
    tap(code(XK_a));
    const auto messages = posted.take(2);
    EXPECT_EQ(wParams(messages), (std::vector<std::uintptr_t>{0x41, kUp | 0x41}));
    for (const auto& m : messages)
        EXPECT_EQ(m.lParam, 0);
    EXPECT_TRUE(observedKeys(200ms).empty()) << "the grab let the key through to another client";
    EXPECT_TRUE(posted.drain().empty());
}

TEST_F(X11Hook, SidesOfModifiersAreToldAndRightCtrlIsExtended) {
    InstallHook(&posted);
    for (KeySym s : {XK_Shift_L, XK_Shift_R, XK_Control_L, XK_Control_R})
        tap(code(s));
    const auto m = posted.take(8);
    EXPECT_EQ(wParams(m), (std::vector<std::uintptr_t>{160, kUp | 160, 161, kUp | 161, 162, kUp | 162, 163,
                                                       kUp | 163}));
    ASSERT_EQ(m.size(), 8u);
    for (std::size_t i = 0; i < m.size(); ++i)
        EXPECT_EQ(m[i].lParam, i >= 6 ? kExtended : 0) << "message " << i;
}

TEST_F(X11Hook, AltChordsAndF10AreSystemKeys) {
    InstallHook(&posted);
    key(code(XK_Alt_L), true);
    tap(code(XK_a));
    key(code(XK_Alt_L), false);
    tap(code(XK_F10));
    tap(code(XK_b));  // Alt is up again: ordinary
    // Ctrl+Alt is an ordinary chord, as AltGr is.
    key(code(XK_Control_L), true);
    key(code(XK_Alt_R), true);
    tap(code(XK_c));
    key(code(XK_Alt_R), false);
    key(code(XK_Control_L), false);
    EXPECT_EQ(wParams(posted.take(14)),
              (std::vector<std::uintptr_t>{
                  kSystem | 0xA4, kSystem | 0x41, kUp | kSystem | 0x41, kUp | 0xA4,  // Alt+A
                  kSystem | 0x79, kUp | kSystem | 0x79,                              // F10
                  0x42, kUp | 0x42,                                                  // B
                  0xA2, 0xA5, 0x43, kUp | 0x43, kUp | 0xA5, kUp | 0xA2,              // Ctrl+Alt+C
              }));
}

// The keyboard's keys (its Fn key never reaches the host) and the usual
// multimedia keys, with the virtual-key code the Windows hook reports for
// each. Keys are found by keysym through the server's own keymap; F13..F24
// have no keysym in the default keymap and go by their Linux input code.
enum class Kind { Plain, Alt, F10, NoCode };
struct LayoutKey {
    const char* name;
    KeySym sym;
    int inputCode;  // used when sym is 0
    unsigned vk;    // NumLock on
    unsigned vkNumLockOff;
    bool extended;
    Kind kind = Kind::Plain;
};

std::vector<LayoutKey> layoutKeys() {
    std::vector<LayoutKey> keys = {
        {"Esc", XK_Escape, 0, 0x1B, 0x1B, false},
        {"`", XK_grave, 0, 0xC0, 0xC0, false},
        {"-", XK_minus, 0, 0xBD, 0xBD, false},
        {"=", XK_equal, 0, 0xBB, 0xBB, false},
        {"Backspace", XK_BackSpace, 0, 0x08, 0x08, false},
        {"Tab", XK_Tab, 0, 0x09, 0x09, false},
        {"[", XK_bracketleft, 0, 0xDB, 0xDB, false},
        {"]", XK_bracketright, 0, 0xDD, 0xDD, false},
        {"\\", XK_backslash, 0, 0xDC, 0xDC, false},
        {"Caps Lock", XK_Caps_Lock, 0, 0x14, 0x14, false},
        {";", XK_semicolon, 0, 0xBA, 0xBA, false},
        {"'", XK_apostrophe, 0, 0xDE, 0xDE, false},
        {"Enter", XK_Return, 0, 0x0D, 0x0D, false},
        {"Left Shift", XK_Shift_L, 0, 0xA0, 0xA0, false},
        {",", XK_comma, 0, 0xBC, 0xBC, false},
        {".", XK_period, 0, 0xBE, 0xBE, false},
        {"/", XK_slash, 0, 0xBF, 0xBF, false},
        {"Right Shift", XK_Shift_R, 0, 0xA1, 0xA1, false},
        {"Left Ctrl", XK_Control_L, 0, 0xA2, 0xA2, false},
        {"Left Windows", XK_Super_L, 0, 0x5B, 0x5B, true},
        {"Left Alt", XK_Alt_L, 0, 0xA4, 0xA4, false, Kind::Alt},
        {"Space", XK_space, 0, 0x20, 0x20, false},
        {"Right Alt", XK_Alt_R, 0, 0xA5, 0xA5, true, Kind::Alt},
        {"Right Windows", XK_Super_R, 0, 0x5C, 0x5C, true},
        {"Applications", XK_Menu, 0, 0x5D, 0x5D, true},
        {"Right Ctrl", XK_Control_R, 0, 0xA3, 0xA3, true},
        {"Print Screen", XK_Print, 0, 0x2C, 0x2C, true},
        {"Scroll Lock", XK_Scroll_Lock, 0, 0x91, 0x91, false},
        {"Pause", XK_Pause, 0, 0x13, 0x13, false},
        {"Insert", XK_Insert, 0, 0x2D, 0x2D, true},
        {"Home", XK_Home, 0, 0x24, 0x24, true},
        {"Page Up", XK_Prior, 0, 0x21, 0x21, true},
        {"Delete", XK_Delete, 0, 0x2E, 0x2E, true},
        {"End", XK_End, 0, 0x23, 0x23, true},
        {"Page Down", XK_Next, 0, 0x22, 0x22, true},
        {"Up", XK_Up, 0, 0x26, 0x26, true},
        {"Left", XK_Left, 0, 0x25, 0x25, true},
        {"Down", XK_Down, 0, 0x28, 0x28, true},
        {"Right", XK_Right, 0, 0x27, 0x27, true},
        {"Num Lock", XK_Num_Lock, 0, 0x90, 0x90, true},
        {"Keypad /", XK_KP_Divide, 0, 0x6F, 0x6F, true},
        {"Keypad *", XK_KP_Multiply, 0, 0x6A, 0x6A, false},
        {"Keypad -", XK_KP_Subtract, 0, 0x6D, 0x6D, false},
        {"Keypad +", XK_KP_Add, 0, 0x6B, 0x6B, false},
        {"Keypad Enter", XK_KP_Enter, 0, 0x0D, 0x0D, true},
        // The keypad's NumLock-off keysyms name the keys (the digits are a
        // second level, and KP_Decimal also sits on another key).
        {"Keypad 7", XK_KP_Home, 0, 0x67, 0x24, false},
        {"Keypad 8", XK_KP_Up, 0, 0x68, 0x26, false},
        {"Keypad 9", XK_KP_Prior, 0, 0x69, 0x21, false},
        {"Keypad 4", XK_KP_Left, 0, 0x64, 0x25, false},
        {"Keypad 5", XK_KP_Begin, 0, 0x65, 0x0C, false},
        {"Keypad 6", XK_KP_Right, 0, 0x66, 0x27, false},
        {"Keypad 1", XK_KP_End, 0, 0x61, 0x23, false},
        {"Keypad 2", XK_KP_Down, 0, 0x62, 0x28, false},
        {"Keypad 3", XK_KP_Next, 0, 0x63, 0x22, false},
        {"Keypad 0", XK_KP_Insert, 0, 0x60, 0x2D, false},
        {"Keypad .", XK_KP_Delete, 0, 0x6E, 0x2E, false},
        {"Sleep", XF86XK_Sleep, 0, 0x5F, 0x5F, true},
        // Power and Wake Up have no virtual-key code: nothing to post.
        {"Power", XF86XK_PowerOff, 0, 0, 0, false, Kind::NoCode},
        {"Wake Up", XF86XK_WakeUp, 0, 0, 0, false, Kind::NoCode},
        // Multimedia and browser keys.
        {"Mute", XF86XK_AudioMute, 0, 0xAD, 0xAD, true},
        {"Volume Down", XF86XK_AudioLowerVolume, 0, 0xAE, 0xAE, true},
        {"Volume Up", XF86XK_AudioRaiseVolume, 0, 0xAF, 0xAF, true},
        {"Next Track", XF86XK_AudioNext, 0, 0xB0, 0xB0, true},
        {"Previous Track", XF86XK_AudioPrev, 0, 0xB1, 0xB1, true},
        {"Stop", XF86XK_AudioStop, 0, 0xB2, 0xB2, true},
        {"Play/Pause", XF86XK_AudioPlay, 0, 0xB3, 0xB3, true},
        {"Mail", XF86XK_Mail, 0, 0xB4, 0xB4, true},
        {"Media Select", XF86XK_AudioMedia, 0, 0xB5, 0xB5, true},
        {"My Computer", XF86XK_MyComputer, 0, 0xB6, 0xB6, true},
        {"Calculator", XF86XK_Calculator, 0, 0xB7, 0xB7, true},
        {"WWW Search", XF86XK_Search, 0, 0xAA, 0xAA, true},
        {"WWW Home", XF86XK_HomePage, 0, 0xAC, 0xAC, true},
        {"WWW Back", XF86XK_Back, 0, 0xA6, 0xA6, true},
        {"WWW Forward", XF86XK_Forward, 0, 0xA7, 0xA7, true},
        {"WWW Refresh", XF86XK_Reload, 0, 0xA8, 0xA8, true},
        {"WWW Favorites", XF86XK_Favorites, 0, 0xAB, 0xAB, true},
        {"WWW Stop", XK_Cancel, 0, 0xA9, 0xA9, true},
    };
    for (int i = 0; i < 12; ++i) {
        const unsigned vk = 0x70 + static_cast<unsigned>(i);
        keys.push_back({"F1..F12", XK_F1 + static_cast<KeySym>(i), 0, vk, vk, false, i == 9 ? Kind::F10 : Kind::Plain});
        keys.push_back({"F13..F24", 0, 183 + i, vk + 12, vk + 12, false});
    }
    for (char c = '0'; c <= '9'; ++c)
        keys.push_back({"digit", static_cast<KeySym>(XK_0 + (c - '0')), 0, unsigned(c), unsigned(c), false});
    for (char c = 'A'; c <= 'Z'; ++c)
        keys.push_back({"letter", static_cast<KeySym>(XK_a + (c - 'A')), 0, unsigned(c), unsigned(c), false});
    return keys;
}

TEST_F(X11Hook, EveryKeyMapsToItsVirtualKeyWithNumLockOnAndOff) {
    const KeyCode marker = code(XK_a);
    InstallHook(&posted);
    for (bool numLock : {true, false}) {
        for (const LayoutKey& k : layoutKeys()) {
            SCOPED_TRACE(std::string(k.name) + (numLock ? ", NumLock on" : ", NumLock off") +
                         ", vk " + std::to_string(k.vk));
            setNumLock(numLock);
            const KeyCode keycode = k.sym != 0 ? code(k.sym) : static_cast<KeyCode>(k.inputCode + 8);
            ASSERT_NE(keycode, 0) << "keysym missing from the server's keymap";
            tap(keycode);
            if (k.kind == Kind::NoCode) {
                // Whatever comes first must be the marker's press.
                tap(marker);
                EXPECT_EQ(wParams(posted.take(2)), (std::vector<std::uintptr_t>{0x41, kUp | 0x41}));
                continue;
            }
            const std::uintptr_t vk = numLock ? k.vk : k.vkNumLockOff;
            std::vector<std::uintptr_t> expected{vk, kUp | vk};
            if (k.kind == Kind::Alt)  // pressing Alt is a system key, letting go is not
                expected = {kSystem | vk, kUp | vk};
            if (k.kind == Kind::F10)
                expected = {kSystem | vk, kUp | kSystem | vk};
            const auto m = posted.take(2);
            EXPECT_EQ(wParams(m), expected);
            for (const auto& p : m)
                EXPECT_EQ(p.lParam, k.extended ? kExtended : 0);
        }
    }
}

TEST_F(X11Hook, AfterUninstallKeysReachOtherClientsAndNothingIsPosted) {
    InstallHook(&posted);
    tap(code(XK_a));
    EXPECT_EQ(posted.take(2).size(), 2u);
    EXPECT_TRUE(observedKeys(100ms).empty());

    UninstallHook();
    tap(code(XK_b));
    const auto seen = observedKeys(3000ms, 2);
    ASSERT_EQ(seen.size(), 2u) << "the keyboard stayed grabbed";
    EXPECT_EQ(seen[0].type, KeyPress);
    EXPECT_EQ(seen[0].keycode, code(XK_b));
    EXPECT_EQ(seen[1].type, KeyRelease);
    EXPECT_TRUE(posted.drain(100ms).empty());
}

TEST_F(X11Hook, SecondInstallMovesMessagesToTheNewWindowAndLeavesNoGrabBehind) {
    MessageQueue later;
    InstallHook(&posted);
    InstallHook(&later);
    tap(code(XK_a));
    EXPECT_EQ(wParams(later.take(2)), (std::vector<std::uintptr_t>{0x41, kUp | 0x41}));
    EXPECT_TRUE(posted.drain(100ms).empty());

    UninstallHook();
    tap(code(XK_b));
    EXPECT_EQ(observedKeys(3000ms, 2).size(), 2u) << "a grab outlived UninstallHook";
    EXPECT_TRUE(later.drain(100ms).empty());
}

TEST_F(X11Hook, WithoutADisplayInstallDoesNothing) {
    // A display nobody serves: the connection is refused.
    setenv("DISPLAY", ":4999", 1);
    InstallHook(&posted);
    setenv("DISPLAY", server->displayName().c_str(), 1);
    tap(code(XK_a));
    EXPECT_EQ(observedKeys(3000ms, 2).size(), 2u);
    EXPECT_TRUE(posted.drain(100ms).empty());

    // The stored window is replaced by a later install that can grab.
    InstallHook(&posted);
    tap(code(XK_a));
    EXPECT_EQ(posted.take(2).size(), 2u);
}

TEST_F(X11Hook, LosingTheServerEndsTheHookNotTheProgram) {
    std::string why;
    auto doomed = XvfbServer::start(&why);
    if (!doomed)
        GTEST_SKIP() << "second Xvfb SKIPPED: " << why;
    setenv("DISPLAY", doomed->displayName().c_str(), 1);
    InstallHook(&posted);
    setenv("DISPLAY", server->displayName().c_str(), 1);
    doomed->kill();
    std::this_thread::sleep_for(200ms);
    UninstallHook();  // must return, and the process must still be here

    InstallHook(&posted);
    tap(code(XK_a));
    EXPECT_EQ(wParams(posted.take(2)), (std::vector<std::uintptr_t>{0x41, kUp | 0x41}));
}

}  // namespace
