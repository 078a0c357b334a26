// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The HID link on Windows: the system's device-installation walk over the
// HID interface class, and CreateFileW on the interface path.
#pragma once

#include <velkorondrix/HidPlatform.h>

namespace hwi {

class WindowsHidPlatform : public HidPlatform {
public:
    // Paths as the system reports them, walking devices and interfaces with
    // the same index and stopping at the first index where either ends.
    std::vector<std::wstring> interfacePaths() override;
    // Read and write access, shared for reading only; nullptr when the path
    // cannot be opened.
    std::unique_ptr<HidChannel> open(const std::wstring& path) override;
};

}  // namespace hwi
