// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "profile/ProfileContent.h"

#include <algorithm>

bool operator==(const ProfileContent& a, const ProfileContent& b) {
    for (int slot = 0; slot < ProfileContent::kSlotCount; ++slot) {
        const auto i = static_cast<std::size_t>(slot);
        if (a.modes[i] != b.modes[i])
            return false;
        // A slot that is not set keeps its old code and sequence unused.
        if (a.modes[i] != 0
            && (a.hwCodes[i] != b.hwCodes[i] || !ActionList::sameTree(a.sequences[i], b.sequences[i])))
            return false;
    }
    // Area 0 is no key: the file keeps areas 1.. only ("Set all" colours it too).
    return std::equal(a.lightAreas.begin() + 1, a.lightAreas.end(), b.lightAreas.begin() + 1)
           && ActionList::sameTree(a.predefinedMacro, b.predefinedMacro)
           && ActionList::sameTree(a.predefinedCombo, b.predefinedCombo)
           && ActionList::sameTree(a.predefinedEmu, b.predefinedEmu);
}
