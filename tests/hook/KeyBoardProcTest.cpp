// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The hook procedure's event-to-message rule, fed with hand-made records.
#include <gtest/gtest.h>

#include <cstdlib>

#include "MessageQueue.h"
#include <velkorondrix/VelkorOndrix_HWI.h>

namespace {

constexpr std::uintptr_t kKeyDown = 256, kKeyUp = 257, kSysKeyDown = 260, kSysKeyUp = 261;

KeyboardHookRecord record(std::uint32_t vk, std::uint32_t flags = 0) {
    return KeyboardHookRecord{vk, 0x1E, flags, 1234, 0};
}

std::intptr_t call(std::uintptr_t message, const KeyboardHookRecord& r, int code = 0) {
    return KeyBoardProc(code, message, reinterpret_cast<std::intptr_t>(&r));
}

class KeyBoardProcRule : public ::testing::Test {
protected:
    void SetUp() override {
#if !defined(_WIN32)
        // Only the rule is under test here: no display, so InstallHook keeps
        // the window and grabs nothing (least of all the developer's keyboard).
        unsetenv("DISPLAY");
#endif
        InstallHook(&window);
    }
    void TearDown() override { UninstallHook(); }

    MessageQueue window;
};

TEST_F(KeyBoardProcRule, MessageKindSetsReleaseAndSystemBits) {
    struct Case {
        std::uintptr_t message;
        std::uintptr_t wParam;
    } cases[] = {
        {kKeyDown, 0x41},
        {kKeyUp, 0x80000041},
        {kSysKeyDown, 0x40000041},
        {kSysKeyUp, 0xC0000041},
        {0x0102, 0x41},  // any other message: the bare code
        {0, 0x41},
    };
    for (const Case& c : cases) {
        // Bits above the code's byte must not pose as the flags.
        const auto r = record(0xC0000141);
        EXPECT_EQ(call(c.message, r), 1) << "message " << c.message;
        const auto posted = window.take(1, std::chrono::milliseconds(0));
        ASSERT_EQ(posted.size(), 1u) << "message " << c.message;
        EXPECT_EQ(posted[0].message, 1126u);
        EXPECT_EQ(posted[0].wParam, c.wParam) << "message " << c.message;
        EXPECT_EQ(posted[0].lParam, 0);
    }
}

TEST_F(KeyBoardProcRule, OnlyTheExtendedFlagReachesLParam) {
    struct Case {
        std::uint32_t flags;
        std::intptr_t lParam;
    } cases[] = {
        {0x00, 0},
        {0x01, 0x01000000},
        {0xA1, 0x01000000},  // extended, Alt held, release
        {0xB0, 0},           // injected, Alt held, release: no extended bit
        {0xFFFFFFFE, 0},
    };
    for (const Case& c : cases) {
        call(kKeyDown, record(0xA3, c.flags));
        const auto posted = window.take(1, std::chrono::milliseconds(0));
        ASSERT_EQ(posted.size(), 1u);
        EXPECT_EQ(posted[0].wParam, 0xA3u) << std::hex << "flags " << c.flags;
        EXPECT_EQ(posted[0].lParam, c.lParam) << std::hex << "flags " << c.flags;
    }
}

TEST_F(KeyBoardProcRule, WhatIsNotAKeyEventIsPassedOnUnposted) {
    const auto r = record(0x41);
    EXPECT_NE(call(kKeyDown, r, -1), 1);
    EXPECT_NE(KeyBoardProc(0, kKeyDown, 0), 1);
    EXPECT_TRUE(window.drain().empty());
}

TEST_F(KeyBoardProcRule, PostsOnlyToTheLatestInstalledWindow) {
    MessageQueue later;
    InstallHook(&later);
    call(kKeyDown, record(0x42));
    EXPECT_TRUE(window.drain().empty());
    const auto posted = later.take(1, std::chrono::milliseconds(0));
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].wParam, 0x42u);

    // Back to the first, which must not leave `later` posted to after it is gone.
    InstallHook(&window);
    call(kKeyUp, record(0x42));
    EXPECT_TRUE(later.drain().empty());
    EXPECT_EQ(window.take(1, std::chrono::milliseconds(0)).size(), 1u);
}

TEST_F(KeyBoardProcRule, NothingIsPostedWithoutAnInstalledWindow) {
    UninstallHook();
    EXPECT_EQ(call(kKeyDown, record(0x41)), 1);  // still swallowed
    InstallHook(nullptr);
    EXPECT_EQ(call(kKeyUp, record(0x41)), 1);
    EXPECT_TRUE(window.drain().empty());
    UninstallHook();
    UninstallHook();  // twice is harmless
}

}  // namespace
