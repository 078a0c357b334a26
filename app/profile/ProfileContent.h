// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// What a profile file keeps of the profile: every key slot, the key colours
// and the three libraries. Not the view (language, shown layer, edited key)
// nor the tables built at start. A value: the undo steps, the autosave's
// question and "unsaved changes" all compare and copy it.
#pragma once

#include <array>

#include "profile/ActionList.h"
#include "profile/LightArea.h"

struct ProfileContent {
    static constexpr int kSlotCount = 218;
    static constexpr int kLightAreaCount = 109;

    std::array<int, kSlotCount> modes{};
    std::array<int, kSlotCount> hwCodes{};
    std::array<ActionList, kSlotCount> sequences;
    std::array<LightArea, kLightAreaCount> lightAreas{};
    ActionList predefinedMacro;
    ActionList predefinedCombo;
    ActionList predefinedEmu;

    // Equal when a saved file would hold the same: where a list view
    // stands does not count, nor the code of a slot that is not set.
    friend bool operator==(const ProfileContent& a, const ProfileContent& b);
};
