// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "jobs/KeyboardComparison.h"

#include <algorithm>

KeyboardComparison KeyboardComparison::compare(const KeyboardContents& wanted, const KeyboardContents& held) {
    KeyboardComparison result;
    for (int index = 0; index < KeyboardContents::kSlots; ++index) {
        if (wanted.keys[index] == held.keys[index])
            continue;
        result.keys.push_back(index);
        if (!held.keys[index].empty())
            result.assigned.push_back(index);
    }
    for (int keyId = 1; keyId <= KeyboardProfile::kKeyCount; ++keyId)
        if (!(wanted.lights[keyId] == held.lights[keyId]))
            result.colours.push_back(keyId);
    return result;
}

int KeyboardComparison::assignedUnknown(const KeyboardComparison* sinceKnown) const {
    if (!sinceKnown)
        return static_cast<int>(assigned.size());
    return static_cast<int>(std::count_if(assigned.begin(), assigned.end(), [&](int index) {
        return std::binary_search(sinceKnown->keys.begin(), sinceKnown->keys.end(), index);
    }));
}
