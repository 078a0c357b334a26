// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The keyboard of the device fuzz targets: the device tests' recording fake
// with the facade opened on it, and the facade's key image as words.
#pragma once

#include <deque>
#include <vector>

#include "../device/FakeHidPlatform.h"
#include "FuzzCheck.h"

namespace fuzz {

// The facade opened on a keyboard that answers with these packets and then
// reports its link broken, so that no read waits.
struct FakeKeyboard {
    explicit FakeKeyboard(std::deque<Bytes> answers = {}) : scripted(answers.size()) {
        scope.fake->paths = {kKeyboardMi01};
        link = scope.fake->link(kKeyboardMi01);
        link->answers = std::move(answers);
        FUZZ_CHECK(device.__createDev());
    }
    size_t answered() const { return scripted - link->answers.size(); }

    FakePlatformScope scope;
    std::shared_ptr<FakeLink> link;
    CTarnHWI device;  // closed before the platform goes
    size_t scripted;
};

constexpr int kSlots = 216;

// The words of every slot of the facade's image, each up to its last word in
// use; a definition without codes travels as the empty record, so it reads
// as one.
inline std::vector<std::vector<int>> allWords(CTarnHWI& device) {
    constexpr int capacity = 65536;
    std::vector<int> buffer(capacity);
    std::vector<std::vector<int>> slots;
    for (int slot = 0; slot < kSlots; ++slot) {
        FUZZ_CHECK(device.getKeyConfiguration(slot / 108, slot % 108 + 1, buffer.data(), capacity));
        const int* w = buffer.data();
        const bool known = w[0] >= 0 && w[0] <= 2;
        FUZZ_CHECK(known);
        const int codes = known ? w[w[0] + 1] : 0;  // the count word follows the type's head
        const int used = w[0] == 0 ? 2 + codes : w[0] == 1 ? 3 + codes : 4 + (w[2] ? codes : 2 * codes - 1);
        FUZZ_CHECK(codes >= 0 && used <= capacity);
        if (codes <= 0 || used > capacity)
            slots.push_back({0, 0});
        else
            slots.emplace_back(buffer.begin(), buffer.begin() + used);
    }
    return slots;
}

inline void setAllWords(CTarnHWI& device, std::vector<std::vector<int>>& slots) {
    for (int slot = 0; slot < kSlots; ++slot) {
        std::vector<int>& words = slots[static_cast<size_t>(slot)];
        FUZZ_CHECK(device.setKeyConfiguration(slot / 108, slot % 108 + 1, words.data(), static_cast<int>(words.size())));
    }
}

}  // namespace fuzz
