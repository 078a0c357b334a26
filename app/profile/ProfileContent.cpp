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
    return a.lightAreas == b.lightAreas && ActionList::sameTree(a.predefinedMacro, b.predefinedMacro)
           && ActionList::sameTree(a.predefinedCombo, b.predefinedCombo)
           && ActionList::sameTree(a.predefinedEmu, b.predefinedEmu);
}
