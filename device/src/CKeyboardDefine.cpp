// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "CKeyboardDefine.h"

CKeyboardDefine::~CKeyboardDefine() = default;

int CKeyboardDefine::slotOf(int wireLayer, int key) {
    if (wireLayer < 1 || wireLayer > kLayers || key < 1 || key > kKeys)
        return -1;
    return (wireLayer - 1) * kKeys + (key - 1);
}

void CKeyboardDefine::clear() {
    for (auto& slot : keys)
        slot.reset();
    lights.fill(0);
}

CKeyDefine* CKeyboardDefine::definition(int slot) const {
    return slot >= 0 && slot < kSlots ? keys[static_cast<size_t>(slot)].get() : nullptr;
}

void CKeyboardDefine::setDefinition(int slot, std::unique_ptr<CKeyDefine> definition) {
    if (slot >= 0 && slot < kSlots)
        keys[static_cast<size_t>(slot)] = std::move(definition);
}
