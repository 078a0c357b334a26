// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A facade slot in its word form, as the tests store and compare it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include <velkorondrix/VelkorOndrix_HWI.h>

// The words of one slot (facade layer 0/1, key 1..108) up to the last word
// its type and counts put in use, so a comparison also catches extra words.
inline std::vector<int> keyWords(CTarnHWI& device, int layer, int key) {
    std::vector<int> w(65536);
    EXPECT_TRUE(device.getKeyConfiguration(layer, key, w.data(), 65536));
    const int used = w[0] == 0 ? 2 + w[1]
                     : w[0] == 1 ? 3 + w[2]
                     : w[2] ? 4 + w[3]
                            : 4 + std::max(2 * w[3] - 1, 0);
    w.resize(static_cast<size_t>(std::clamp(used, 0, 65536)));
    return w;
}

inline void setKeyWords(CTarnHWI& device, int layer, int key, std::vector<int> words) {
    ASSERT_TRUE(device.setKeyConfiguration(layer, key, words.data(), static_cast<int>(words.size())));
}
