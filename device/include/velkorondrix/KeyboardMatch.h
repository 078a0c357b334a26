// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Which HID interface is the keyboard: vendor 0483, product 5022, and only
// its interface 1, which carries the protocol.
#pragma once

#include <optional>
#include <string>

#include <velkorondrix/HidPlatform.h>
#include <velkorondrix/VelkorOndrix_HWI.h>

namespace hwi {

// The matching rule on a device path as the system reports it, compared
// case-sensitively: "mi_01" somewhere after the first character, and the
// four characters after the first "vid_" and "pid_" are the keyboard's IDs.
VELKORONDRIX_HWI_API bool isKeyboardInterface(const std::wstring& path);

// The first matching path in enumeration order.
VELKORONDRIX_HWI_API std::optional<std::wstring> findKeyboardInterface(HidPlatform& platform);

}  // namespace hwi
