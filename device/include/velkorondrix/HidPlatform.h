// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The HID link beneath the device facade: one interface per platform backend
// (hidapi on Linux/macOS, SetupDi/CreateFile on Windows) plus the simulated
// keyboard, and a fake for tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <velkorondrix/VelkorOndrix_HWI.h>

namespace hwi {

class VELKORONDRIX_HWI_API HidChannel {  // one opened HID interface
public:
    virtual ~HidChannel() = default;     // closes it
    // report[0] is the report ID (0), report[1..64] the packet; true when sent
    virtual bool writeReport(const unsigned char* report, int length) = 0;
    // fills report[0..64] (report ID first); false on error or when nothing
    // arrived within timeoutMs; *received = bytes delivered including the ID byte
    // (a channel whose link broke sets *received = -1 so callers stop waiting)
    virtual bool readReport(unsigned char* report, int length, int* received, int timeoutMs) = 0;
};

class VELKORONDRIX_HWI_API HidPlatform {
public:
    virtual ~HidPlatform() = default;
    // device paths of the present HID interfaces, in enumeration order
    virtual std::vector<std::wstring> interfacePaths() = 0;
    // nullptr when the path cannot be opened
    virtual std::unique_ptr<HidChannel> open(const std::wstring& path) = 0;
    // Why this platform lists no keyboard even though one is attached (a
    // simulated keyboard set up wrongly), as one sentence; empty when there
    // is nothing to say.
    virtual std::string problem() { return {}; }
};

VELKORONDRIX_HWI_API HidPlatform& hidPlatform();                         // the one in use
VELKORONDRIX_HWI_API void setHidPlatform(std::unique_ptr<HidPlatform>);  // tests, simulator

}  // namespace hwi
