// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "UserStateFolder.h"

#include <cstdlib>

namespace {

// An unset or empty variable counts as absent, and a relative path is
// ignored as the base directory rules require.
std::filesystem::path absoluteVariable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return {};
    std::filesystem::path path(value);
    return path.is_absolute() ? path : std::filesystem::path();
}

}  // namespace

std::filesystem::path userStateFolder() {
#if defined(_WIN32)
    const auto local = absoluteVariable("LOCALAPPDATA");
    return local.empty() ? local : local / "VelkorOndrix";
#else
    if (auto state = absoluteVariable("XDG_STATE_HOME"); !state.empty()) return state / "velkorondrix";
    const auto home = absoluteVariable("HOME");
    return home.empty() ? home : home / ".local" / "state" / "velkorondrix";
#endif
}
