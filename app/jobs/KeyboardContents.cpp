// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "jobs/KeyboardContents.h"

KeyboardContents KeyboardContents::of(const KeyboardProfile& profile) {
    KeyboardContents contents;
    for (int index = 0; index < kSlots; ++index)
        contents.keys[index] = profile.keyDefinitionWords(KeyboardProfile::slot(keyIdOf(index), levelOf(index)));
    contents.lights = profile.lightAreas;
    return contents;
}
