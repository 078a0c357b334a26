// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The HID link over hidapi (Linux, macOS). hidapi's native paths carry no USB
// identity, so each interface is reported as
//   \\?\hid#vid_XXXX&pid_XXXX&mi_NN#<native path>
// (lower-case hex, NN = ff when the interface number is unknown) and opened
// by the native path after the last '#'. The keyboard's matching rule then
// runs unchanged on every platform.
#pragma once

#include <velkorondrix/HidPlatform.h>

namespace hwi {

class VELKORONDRIX_HWI_INTERNAL HidapiPlatform : public HidPlatform {
public:
    HidapiPlatform();
    ~HidapiPlatform() override;

    std::vector<std::wstring> interfacePaths() override;
    std::unique_ptr<HidChannel> open(const std::wstring& path) override;

    // The reported form of one interface.
    static std::wstring reportedPath(unsigned short vendor, unsigned short product, int interfaceNumber,
                                     const char* nativePath);
    // The native path inside a reported one.
    static std::string nativePath(const std::wstring& reported);

private:
    bool initialised = false;
};

}  // namespace hwi
