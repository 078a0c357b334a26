// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A key that repeats a set of codes at a fixed interval.
#pragma once

#include <vector>

#include "CKeyDefine.h"

class VELKORONDRIX_HWI_INTERNAL CContinousKeyDefine : public CKeyDefine {
public:
    static constexpr int kHeaderSize = 8;

    CContinousKeyDefine(int key, int layer) : CKeyDefine(key, layer, Continuous) {}

    bool encode(unsigned char* buffer, int packetSize, int* totalSize, int* headerSize) override;
    bool decode(const unsigned char* bytes, int packetSize, int totalSize) override;
    void fromWords(const int* words, int count) override;
    int toWords(int* words, int capacity) const override;
    int codeCount() const override { return static_cast<int>(codes.size()); }

    int interval = 0;
    std::vector<int> codes;
    int count = 0;
};
