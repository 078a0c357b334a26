// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The host's image of a keyboard's programmable memory: 216 key-definition
// slots (two layers of 108 keys) and the 324-byte light image.
#pragma once

#include <array>
#include <memory>

#include "CKeyDefine.h"
#include <velkorondrix/VelkorOndrix_HWI.h>

class CKeyboardUtil;

class VELKORONDRIX_HWI_INTERNAL CKeyboardDefine {
public:
    static constexpr int kKeys = 108;
    static constexpr int kLayers = 2;
    static constexpr int kSlots = kKeys * kLayers;
    static constexpr int kLightBytes = kKeys * 3;

    explicit CKeyboardDefine(CKeyboardUtil* transport) : transport(transport) {}
    virtual ~CKeyboardDefine();
    CKeyboardDefine(const CKeyboardDefine&) = delete;
    CKeyboardDefine& operator=(const CKeyboardDefine&) = delete;

    virtual const wchar_t* productId() const = 0;  // 4 hex digits
    virtual const wchar_t* vendorId() const = 0;   // 4 hex digits

    // Slot of wire layer 1..2 and key 1..108; -1 when either is out of range.
    static int slotOf(int wireLayer, int key);

    // Empties every slot and zeroes the light image.
    void clear();
    CKeyDefine* definition(int slot) const;
    void setDefinition(int slot, std::unique_ptr<CKeyDefine> definition);

    std::array<unsigned char, kLightBytes>& lightImage() { return lights; }
    const std::array<unsigned char, kLightBytes>& lightImage() const { return lights; }

protected:
    CKeyboardUtil* transport;  // not owned: the facade's
    std::array<std::unique_ptr<CKeyDefine>, kSlots> keys;
    std::array<unsigned char, kLightBytes> lights{};
};
