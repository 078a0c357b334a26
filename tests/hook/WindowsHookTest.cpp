// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The Windows hook (WH_KEYBOARD_LL) with keys injected through SendInput.
// A low-level hook runs on the installing thread while it waits for
// messages, so the test pumps its own message queue.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <vector>

#include "MessageQueue.h"
#include <velkorondrix/VelkorOndrix_HWI.h>

namespace {

using namespace std::chrono_literals;

constexpr std::uintptr_t kUp = 0x80000000u;

void send(WORD vk, bool down, bool extended = false) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (down ? 0 : KEYEVENTF_KEYUP) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
    SendInput(1, &input, sizeof(input));
}

void tap(WORD vk, bool extended = false) {
    send(vk, true, extended);
    send(vk, false, extended);
}

// Lets the hook run until `count` messages were posted or `wait` passed.
std::vector<PostedMessage> pumpFor(MessageQueue& queue, std::size_t count, std::chrono::milliseconds wait) {
    std::vector<PostedMessage> taken;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (taken.size() < count && std::chrono::steady_clock::now() < deadline) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        for (const auto& m : queue.drain())
            taken.push_back(m);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return taken;
}

std::vector<std::uintptr_t> wParams(const std::vector<PostedMessage>& posted) {
    std::vector<std::uintptr_t> words;
    for (const auto& p : posted) {
        EXPECT_EQ(p.message, 1126u);
        words.push_back(p.wParam);
    }
    return words;
}

class WindowsHook : public ::testing::Test {
protected:
    void TearDown() override { UninstallHook(); }
    MessageQueue posted;
};

// Which messages count as system keys is the system's decision (and with
// Alt swallowed by the hook it never sees Alt held); the rule that turns
// them into bits is covered by the KeyBoardProc tests.
TEST_F(WindowsHook, InjectedKeysArePostedWithTheirFlags) {
    InstallHook(&posted);
    tap('A');
    tap(VK_RCONTROL, true);
    tap(VK_LCONTROL);
    const auto m = pumpFor(posted, 6, 5000ms);
    ASSERT_EQ(m.size(), 6u) << "the low-level hook did not deliver the injected keys";
    EXPECT_EQ(wParams(m), (std::vector<std::uintptr_t>{0x41, kUp | 0x41, 0xA3, kUp | 0xA3, 0xA2, kUp | 0xA2}));
    const std::intptr_t extended[] = {0, 0, 0x01000000, 0x01000000, 0, 0};
    for (std::size_t i = 0; i < m.size(); ++i)
        EXPECT_EQ(m[i].lParam, extended[i]) << "message " << i;
}

TEST_F(WindowsHook, SecondInstallReplacesTheFirstAndUninstallEndsPosting) {
    MessageQueue later;
    InstallHook(&posted);
    InstallHook(&later);
    tap('C');
    EXPECT_EQ(wParams(pumpFor(later, 2, 5000ms)), (std::vector<std::uintptr_t>{0x43, kUp | 0x43}));
    EXPECT_TRUE(posted.drain().empty());

    UninstallHook();
    tap(VK_F24);  // reaches whatever has the focus: pick a key nobody uses
    EXPECT_TRUE(pumpFor(later, 1, 300ms).empty());
}

}  // namespace
