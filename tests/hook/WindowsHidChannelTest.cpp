// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The Windows HID channel's overlapped reads and writes, over a named pipe
// standing in for the keyboard's interface (a message pipe keeps reports
// whole, as the HID driver does).
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "WindowsHidChannel.h"
#include "WindowsHidPlatform.h"

namespace {

using hwi::WindowsHidChannel;
using Clock = std::chrono::steady_clock;

class WindowsHidChannelOverPipe : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring name =
            L"\\\\.\\pipe\\velkorondrix-hid-test-" + std::to_wstring(GetCurrentProcessId());
        keyboard = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE, 1,
                                    4096, 4096, 0, nullptr);
        ASSERT_NE(keyboard, INVALID_HANDLE_VALUE);
        HANDLE host = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OVERLAPPED, nullptr);
        ASSERT_NE(host, INVALID_HANDLE_VALUE);
        channel = WindowsHidChannel::adopt(host, 65, 65);
        ASSERT_NE(channel, nullptr);
    }
    void TearDown() override {
        channel.reset();
        if (keyboard != INVALID_HANDLE_VALUE)
            CloseHandle(keyboard);
    }

    void keyboardSends(unsigned char first) {
        std::vector<unsigned char> report(65, 0);
        report[1] = first;
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(keyboard, report.data(), 65, &written, nullptr));
    }

    HANDLE keyboard = INVALID_HANDLE_VALUE;
    std::unique_ptr<WindowsHidChannel> channel;
};

TEST_F(WindowsHidChannelOverPipe, ASilentKeyboardCostsTheTimeoutAndNoMore) {
    unsigned char report[65];
    int received = 99;
    const auto start = Clock::now();
    EXPECT_FALSE(channel->readReport(report, 65, &received, 100));
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_EQ(received, 0) << "a timeout is not a broken link";
    EXPECT_GE(took, 90);
    EXPECT_LT(took, 1000);
}

TEST_F(WindowsHidChannelOverPipe, AReportArrivingAfterATimeoutIsNotLost) {
    unsigned char report[65];
    int received = 0;
    EXPECT_FALSE(channel->readReport(report, 65, &received, 20));
    keyboardSends(0xF2);
    ASSERT_TRUE(channel->readReport(report, 65, &received, 1000));
    EXPECT_EQ(received, 65);
    EXPECT_EQ(report[0], 0);
    EXPECT_EQ(report[1], 0xF2);

    keyboardSends(0xF9);  // and the next read starts afresh
    ASSERT_TRUE(channel->readReport(report, 65, &received, 1000));
    EXPECT_EQ(report[1], 0xF9);
}

TEST_F(WindowsHidChannelOverPipe, ShortWritesArePaddedToAWholeReport) {
    const unsigned char command[3] = {0, 0, 0xF1};
    ASSERT_TRUE(channel->writeReport(command, 3));
    std::vector<unsigned char> got(128, 0xAA);
    DWORD read = 0;
    ASSERT_TRUE(ReadFile(keyboard, got.data(), static_cast<DWORD>(got.size()), &read, nullptr));
    ASSERT_EQ(read, 65u);
    EXPECT_EQ(got[2], 0xF1);
    EXPECT_EQ(got[64], 0);
}

TEST_F(WindowsHidChannelOverPipe, AGoneKeyboardIsABrokenLink) {
    CloseHandle(keyboard);
    keyboard = INVALID_HANDLE_VALUE;
    unsigned char report[65];
    int received = 0;
    EXPECT_FALSE(channel->readReport(report, 65, &received, 1000));
    EXPECT_EQ(received, -1);
    const unsigned char packet[65] = {};
    EXPECT_FALSE(channel->writeReport(packet, 65));
}

// No keyboard here: the walk must end cleanly and a path that is not there
// must not open.
TEST(WindowsHidPlatform, WalksThePresentInterfacesAndRefusesAnAbsentPath) {
    hwi::WindowsHidPlatform platform;
    for (const std::wstring& path : platform.interfacePaths())
        EXPECT_FALSE(path.empty());
    EXPECT_EQ(platform.open(L"\\\\?\\hid#vid_0483&pid_5022&mi_01#absent"), nullptr);
}

}  // namespace
