// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The facade's frame: discovery, opening and closing, the version read.
#include <gtest/gtest.h>

#include "FakeHidPlatform.h"
#include <velkorondrix/KeyboardMatch.h>

namespace {

const std::wstring kOtherVendorMi01 = L"\\\\?\\hid#vid_046d&pid_5022&mi_01#8&aa&0&0000#{4d1e55b2}";
const std::wstring kOtherProductMi01 = L"\\\\?\\hid#vid_0483&pid_5023&mi_01#8&ab&0&0000#{4d1e55b2}";
const std::wstring kSecondKeyboardMi01 = L"\\\\?\\hid#vid_0483&pid_5022&mi_01#9&ff&0&0000#{4d1e55b2}";

}  // namespace

TEST(KeyboardMatch, AcceptsOnlyInterfaceOneOfTheKeyboard) {
    EXPECT_TRUE(hwi::isKeyboardInterface(kKeyboardMi01));
    EXPECT_FALSE(hwi::isKeyboardInterface(kKeyboardMi00));
    EXPECT_FALSE(hwi::isKeyboardInterface(kOtherVendorMi01));
    EXPECT_FALSE(hwi::isKeyboardInterface(kOtherProductMi01));
    // Case-sensitive, as the system reports paths in lower case.
    EXPECT_FALSE(hwi::isKeyboardInterface(L"\\\\?\\HID#VID_0483&PID_5022&MI_01#x"));
    // "mi_01" at the very first character does not count.
    EXPECT_FALSE(hwi::isKeyboardInterface(L"mi_01#vid_0483&pid_5022"));
    // Paths cut short after the markers are no match, and no fault.
    EXPECT_FALSE(hwi::isKeyboardInterface(L"x&mi_01&pid_5022&vid_04"));
    EXPECT_FALSE(hwi::isKeyboardInterface(L"x&mi_01&vid_0483&pid_"));
}

TEST(FacadeDiscovery, SkipsInterfaceZeroAndForeignDevices) {
    FakePlatformScope scope;
    scope.fake->paths = {kOtherVendorMi01, kKeyboardMi00, kOtherProductMi01, kKeyboardMi01};
    CTarnHWI device;
    EXPECT_TRUE(device.__createDev());
    EXPECT_EQ(scope.fake->opened, std::vector<std::wstring>{kKeyboardMi01});
}

TEST(FacadeDiscovery, OpensTheFirstOfTwoKeyboards) {
    FakePlatformScope scope;
    scope.fake->paths = {kKeyboardMi00, kSecondKeyboardMi01, kKeyboardMi01};
    CTarnHWI device;
    EXPECT_TRUE(device.__createDev());
    EXPECT_EQ(scope.fake->opened, std::vector<std::wstring>{kSecondKeyboardMi01});
}

TEST(FacadeDiscovery, NoKeyboardLeavesTheFacadeClosed) {
    FakePlatformScope scope;
    scope.fake->paths = {kKeyboardMi00, kOtherVendorMi01};
    CTarnHWI device;
    EXPECT_FALSE(device.DetectDevice());
    EXPECT_FALSE(device.__createDev());
    EXPECT_TRUE(scope.fake->opened.empty());
    EXPECT_FALSE(device.prepare());  // operations of a closed facade fail
}

TEST(FacadeDiscovery, DetectDeviceOpensNothing) {
    FakePlatformScope scope;
    scope.fake->paths = {kKeyboardMi00, kKeyboardMi01};
    CTarnHWI device;
    EXPECT_TRUE(device.DetectDevice());
    EXPECT_TRUE(scope.fake->opened.empty());
    ASSERT_TRUE(device.__createDev());
    EXPECT_TRUE(device.DetectDevice());
    scope.fake->paths.clear();  // cable pulled
    EXPECT_FALSE(device.DetectDevice());
}

TEST(FacadeLifecycle, ReopenKeepsTheHandleAndCloseReleasesIt) {
    FakePlatformScope scope;
    scope.fake->paths = {kKeyboardMi01};
    CTarnHWI device;
    ASSERT_TRUE(device.__createDev());
    EXPECT_TRUE(device.__createDev());
    EXPECT_EQ(scope.fake->opened.size(), 1u);

    EXPECT_TRUE(device.__closeDev());
    EXPECT_FALSE(device.prepare());
    EXPECT_TRUE(device.__closeDev());  // closing twice is harmless

    ASSERT_TRUE(device.__createDev());
    EXPECT_EQ(scope.fake->opened.size(), 2u);
    EXPECT_TRUE(device.prepare());
}

TEST(FacadeLifecycle, UnopenableKeyboardIsReportedAndStaysClosed) {
    FakePlatformScope scope;
    scope.fake->paths = {kKeyboardMi00, kKeyboardMi01};
    scope.fake->unopenable = {kKeyboardMi01};
    CTarnHWI device;
    EXPECT_TRUE(device.DetectDevice());
    EXPECT_FALSE(device.__createDev());
    EXPECT_FALSE(device.prepare());
    // Once the other program lets go, opening succeeds.
    scope.fake->unopenable.clear();
    EXPECT_TRUE(device.__createDev());
}

using FacadeVersion = OpenFakeKeyboard;

TEST_F(FacadeVersion, SendsTheRequestAndStopsTheTextAtItsZero) {
    Bytes answer = packetOf({0x00, 0xF9});
    const std::string text = "VO108 2.3.4";
    std::copy(text.begin(), text.end(), answer.begin() + 2);
    link->answers.push_back(answer);

    wchar_t buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    ASSERT_TRUE(device.ReadKeyboardVersion(buffer));
    EXPECT_EQ(std::wstring(buffer), L"VO108 2.3.4");

    ASSERT_EQ(link->written.size(), 1u);
    Bytes request(65, 0);
    request[2] = 0xF9;
    EXPECT_EQ(link->written[0], request);
}

TEST_F(FacadeVersion, FullTextIsTerminatedInsideTheBuffer) {
    Bytes answer(64, 'A');
    link->answers.push_back(answer);
    wchar_t buffer[65];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    ASSERT_TRUE(device.ReadKeyboardVersion(buffer));
    EXPECT_EQ(std::wstring(buffer), std::wstring(62, L'A'));
    EXPECT_EQ(buffer[64], L'#');  // nothing past the caller's 64 characters
}

TEST_F(FacadeVersion, FailedReadKeepsTheFormerText) {
    wchar_t buffer[64] = L"previous";
    EXPECT_FALSE(device.ReadKeyboardVersion(buffer));
    EXPECT_EQ(std::wstring(buffer), L"previous");

    link->failWriteAt = 0;
    EXPECT_FALSE(device.ReadKeyboardVersion(buffer));
    EXPECT_EQ(std::wstring(buffer), L"previous");
}

TEST_F(FacadeVersion, HardwareVersionIsTheFacadesOwnBuffer) {
    Bytes answer = packetOf({0x00, 0xF9, 'v', '1'});
    link->answers.push_back(answer);
    wchar_t* first = device.getHardwareVersion();
    EXPECT_EQ(std::wstring(first), L"v1");
    // A failed read still returns the same buffer, with the text it had.
    EXPECT_EQ(device.getHardwareVersion(), first);
    EXPECT_EQ(std::wstring(first), L"v1");
}
