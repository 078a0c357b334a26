// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A key that sends a fixed set of codes together.
#pragma once

#include <vector>

#include "CKeyDefine.h"

class VELKORONDRIX_HWI_INTERNAL CNormalKeyDefine : public CKeyDefine {
public:
    static constexpr int kHeaderSize = 6;

    CNormalKeyDefine(int key, int layer) : CKeyDefine(key, layer, Normal) {}

    bool encode(unsigned char* buffer, int packetSize, int* totalSize, int* headerSize) override;
    bool decode(const unsigned char* bytes, int packetSize, int totalSize) override;
    void fromWords(const int* words, int count) override;
    int toWords(int* words, int capacity) const override;
    int codeCount() const override { return static_cast<int>(codes.size()); }

    std::vector<int> codes;
    int count = 0;
};
