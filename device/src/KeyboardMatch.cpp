// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include <velkorondrix/KeyboardMatch.h>

#include "CBrant.h"

namespace hwi {

namespace {

bool followedBy(const std::wstring& path, const wchar_t* marker, const wchar_t* expected) {
    const size_t at = path.find(marker);
    if (at == std::wstring::npos)
        return false;
    return path.compare(at + 4, 4, expected) == 0 && path.size() >= at + 8;
}

}  // namespace

bool isKeyboardInterface(const std::wstring& path) {
    const size_t interface = path.find(L"mi_01");
    return interface != std::wstring::npos && interface != 0 &&
           followedBy(path, L"vid_", CBrant::kVendorId) &&
           followedBy(path, L"pid_", CBrant::kProductId);
}

std::optional<std::wstring> findKeyboardInterface(HidPlatform& platform) {
    for (const std::wstring& path : platform.interfacePaths())
        if (isKeyboardInterface(path))
            return path;
    return std::nullopt;
}

}  // namespace hwi
