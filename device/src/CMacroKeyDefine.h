// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A key that plays a sequence of codes, with or without stored delays.
#pragma once

#include <vector>

#include "CKeyDefine.h"

class VELKORONDRIX_HWI_INTERNAL CMacroKeyDefine : public CKeyDefine {
public:
    static constexpr int kHeaderSize = 8;
    static constexpr int kMaxPayload = 255;  // its length travels in one byte
    static constexpr unsigned char kDelayMark = 0xC8;

    CMacroKeyDefine(int key, int layer) : CKeyDefine(key, layer, Macro) {}

    bool encode(unsigned char* buffer, int packetSize, int* totalSize, int* headerSize) override;
    bool decode(const unsigned char* bytes, int packetSize, int totalSize) override;
    void fromWords(const int* words, int count) override;
    int toWords(int* words, int capacity) const override;
    int codeCount() const override { return static_cast<int>(codes.size()); }

    // The payload as it travels: codes, each but the last followed by the
    // delay mark and its delay when delays are stored. Codes that would push
    // it past 255 bytes are left off the end.
    std::vector<unsigned char> payload() const;

    int withDelays = 0;  // 1 when a delay follows every code but the last
    int cycles = 0;
    std::vector<int> delays;  // count entries; the last carries no delay
    std::vector<int> codes;
    int count = 0;
};
