// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// What a keyboard holds, in the form the keyboard stores it: the words of
// each key definition and the key colours. Comparing at this level ignores
// what is no loss (a one-key combo reads back as a single key, macro items
// without " Down" and " UP") and catches every loss.
#pragma once

#include <array>
#include <vector>

#include "profile/KeyboardProfile.h"

struct KeyboardContents {
    static constexpr int kSlots = 2 * KeyboardProfile::kKeyCount;

    // Index level * 108 + key ID - 1, as the keyboard numbers its records;
    // empty: not set.
    std::array<std::vector<int>, kSlots> keys;
    std::array<LightArea, KeyboardProfile::kLightAreaCount> lights{};

    // What writing `profile` would leave on the keyboard (or what a profile
    // read from it holds).
    static KeyboardContents of(const KeyboardProfile& profile);

    static constexpr int keyIdOf(int index) { return index % KeyboardProfile::kKeyCount + 1; }
    static constexpr int levelOf(int index) { return index / KeyboardProfile::kKeyCount; }
};
