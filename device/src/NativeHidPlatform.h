// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The seam for the platform's own HID backend: hidapi on Linux and macOS,
// the SetupDi/CreateFile walk on Windows. Each backend defines this once.
#pragma once

#include <memory>

#include <velkorondrix/HidPlatform.h>

std::unique_ptr<hwi::HidPlatform> makeNativeHidPlatform();
