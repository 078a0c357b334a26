// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The keyboard model of the 108-key keyboard: its USB identity and the four
// transfers between the host image and the keyboard's memory, plus the
// firmware download.
#pragma once

#include "CBrantUtil.h"
#include "CKeyboardDefine.h"

class IntelHexImage;

class VELKORONDRIX_HWI_INTERNAL CBrant : public CKeyboardDefine {
public:
    static constexpr const wchar_t* kVendorId = L"0483";
    static constexpr const wchar_t* kProductId = L"5022";

    static constexpr unsigned char kKeyWriteStart = 0xF1;
    static constexpr unsigned char kKeyReadRequest = 0xF2;
    static constexpr unsigned char kKeyEnd = 0xF6;
    static constexpr unsigned char kLightWriteStart = 0xE1;
    static constexpr unsigned char kLightData = 0xE0;
    static constexpr unsigned char kLightEnd = 0xE6;
    static constexpr unsigned char kLightReadRequest = 0xE2;
    static constexpr unsigned char kFirmwareRecord = 0x3A;
    static constexpr int kLightChunk = 61;
    static constexpr int kFirmwareScale = 150;
    // Packets a read skips (neither an answer nor its end) before it gives
    // up on the keyboard: several times one junk packet before each of the
    // 217 answers of a key read.
    static constexpr int kMaxStrayPackets = 1024;

    using CKeyboardDefine::CKeyboardDefine;

    const wchar_t* productId() const override { return kProductId; }
    const wchar_t* vendorId() const override { return kVendorId; }

    // Start packet, one record per slot (an empty slot as the empty record),
    // end packet; progress with the slot index after each slot.
    bool writeKeys(MessageWindow* window);
    // Asks for the whole key configuration and stores every record until the
    // keyboard's end packet; progress with the slot index after each record.
    bool readKeys(MessageWindow* window);
    // Start packet, the image in 61-byte pieces, end packet; stops at the
    // first packet that cannot be sent and returns false.
    bool writeLights();
    // Asks for the light image and lays the pieces in until the end packet.
    bool readLights();
    // One packet per record, progress on the scale 0..150.
    bool writeFirmware(const IntelHexImage& image, MessageWindow* window);
};
