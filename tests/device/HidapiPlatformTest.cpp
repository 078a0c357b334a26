// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The hidapi backend's path form, which lets the matching rule run unchanged.
#include <gtest/gtest.h>

#include "HidapiPlatform.h"
#include <velkorondrix/KeyboardMatch.h>

TEST(HidapiPlatformPaths, CarryTheUsbIdentityAndTheNativePath) {
    using hwi::HidapiPlatform;
    const std::wstring keyboard = HidapiPlatform::reportedPath(0x0483, 0x5022, 1, "/dev/hidraw3");
    EXPECT_EQ(keyboard, L"\\\\?\\hid#vid_0483&pid_5022&mi_01#/dev/hidraw3");
    EXPECT_TRUE(hwi::isKeyboardInterface(keyboard));
    EXPECT_EQ(HidapiPlatform::nativePath(keyboard), "/dev/hidraw3");

    EXPECT_FALSE(hwi::isKeyboardInterface(HidapiPlatform::reportedPath(0x0483, 0x5022, 0, "/dev/hidraw2")));
    EXPECT_EQ(HidapiPlatform::reportedPath(0xABCD, 0x00EF, -1, "/dev/hidraw9"),
              L"\\\\?\\hid#vid_abcd&pid_00ef&mi_ff#/dev/hidraw9");
}
