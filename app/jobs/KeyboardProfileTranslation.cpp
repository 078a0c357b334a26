// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Translation between the profile's key assignments and light areas and the
// device facade's key-definition words and light image.
//
// Writes rebuild the facade's whole image from the profile and send it. Reads
// fetch into the facade, rebuild the assignments in a scratch copy and commit
// that copy only when the keyboard answered completely, so a dropped link or a
// cancelled job never leaves the profile half old, half new.
#include "profile/KeyboardProfile.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLevels = 2;
constexpr int kDoubleClick = 199;   // has no device code of its own ...
constexpr int kLeftClick = 130;     // ... and travels as two left clicks
constexpr int kAppendRow = 20000;   // beyond any list's end: setOrAppendItem appends
constexpr int kWordCapacity = 65536;
constexpr int kLightValues = 324;

enum WordType { NormalWords = 0, ContinuousWords = 1, MacroWords = 2 };

// The key-definition words of one slot; empty when nothing is to be stored,
// so the slot travels as the empty record.
std::vector<int> slotWords(const KeyboardProfile& profile, int idx) {
    const int mode = profile.modes[idx];
    if (mode <= ModeNotSet)
        return {};

    const ActionList& seq = profile.sequences[idx];
    const int t = static_cast<int>(seq.items.size());
    std::vector<int> words;
    auto appendItems = [&] {
        for (const std::wstring& item : seq.items)
            words.push_back(profile.actionItemToHwCode(item));
    };

    switch (mode) {
    case ModeCombo:
        words = {NormalWords, t};
        appendItems();
        break;
    case ModeMacro: {
        // A macro without an interval of its own alternates key, delay, key:
        // its t items hold (t + 1) / 2 keys.
        if (t == 0)
            return {};
        const int autoInterval = seq.isAutoInterval ? 1 : 0;
        words = {MacroWords, seq.cycles, autoInterval, autoInterval ? t : (t + 1) / 2};
        appendItems();
        break;
    }
    case ModeEmulation:
        if (t == 0)
            return {};
        words = {ContinuousWords, seq.delay, t};
        appendItems();
        break;
    default:
        if (profile.hwCodes[idx] == kDoubleClick)
            words = {NormalWords, 2, kLeftClick, kLeftClick};
        else
            words = {NormalWords, 1, profile.hwCodes[idx]};
        break;
    }
    return words;
}

int modeOfSingleCode(int code) {
    if (code >= 108 && code <= 125)
        return ModeMultimedia;
    if (code >= 126 && code <= 134)
        return ModeMouse;
    if (code >= 135 && code <= 159)
        return ModeFunction;
    if (code >= 75 && code <= 77)
        return ModePower;
    return ModeSingle;
}

std::wstring delayText(int milliseconds) {
    wchar_t text[32];
    std::swprintf(text, 32, L"<%d ms>", milliseconds);
    return text;
}

ActionList newList(int sizeOfView) {
    ActionList list;
    list.sizeOfView = sizeOfView;
    return list;
}

// The modes, codes and sequences that a read rebuilds. Each kind of word
// list sets only the fields it carries: a key read as not set keeps its
// former code and sequence, a single code keeps the former sequence.
struct Assignments {
    std::array<int, KeyboardProfile::kSlotCount> modes;
    std::array<int, KeyboardProfile::kSlotCount> hwCodes;
    std::array<ActionList, KeyboardProfile::kSlotCount> sequences;
};

// Rebuilds slot idx of `out` from the words of one key definition. `words`
// holds kWordCapacity entries; counts come from 8-bit record fields, so the
// guard against the end of the buffer only matters for a broken facade.
void rebuildSlot(const KeyboardProfile& profile, const std::vector<int>& words, int idx, Assignments& out) {
    auto word = [&](std::size_t i) { return i < words.size() ? words[i] : 0; };
    auto appendCodes = [&](ActionList& list, std::size_t first, int count) {
        for (int i = 0; i < count; ++i)
            list.setOrAppendItem(kAppendRow, profile.hwCodeName(word(first + i)));
    };

    switch (word(0)) {
    case NormalWords: {
        const int count = word(1);
        if (count <= 0) {
            out.modes[idx] = ModeNotSet;
        } else if (count == 1) {
            out.hwCodes[idx] = word(2);
            out.modes[idx] = modeOfSingleCode(word(2));
        } else if (count == 2 && word(2) == kLeftClick && word(3) == kLeftClick) {
            out.modes[idx] = ModeMouse;
            out.hwCodes[idx] = kDoubleClick;
        } else {
            ActionList list = newList(6);
            appendCodes(list, 2, count);
            out.sequences[idx] = list;
            out.modes[idx] = ModeCombo;
        }
        break;
    }
    case ContinuousWords: {
        const int count = word(2);
        if (count <= 0) {
            out.modes[idx] = ModeNotSet;
            break;
        }
        ActionList list = newList(9);
        list.delay = word(1);
        appendCodes(list, 3, count);
        out.sequences[idx] = list;
        out.modes[idx] = ModeEmulation;
        break;
    }
    case MacroWords: {
        const int count = word(3);
        if (count <= 0) {
            out.modes[idx] = ModeNotSet;
            break;
        }
        ActionList list = newList(9);
        list.delay = 30;
        list.cycles = word(1);
        list.isAutoInterval = word(2) != 0;
        if (list.isAutoInterval) {
            appendCodes(list, 4, count);
        } else {
            // code 1, delay 1, code 2, ..., delay n - 1, code n
            list.setOrAppendItem(kAppendRow, profile.hwCodeName(word(4)));
            for (int i = 1; i < count; ++i) {
                list.setOrAppendItem(kAppendRow, delayText(word(4 + 2 * i - 1)));
                list.setOrAppendItem(kAppendRow, profile.hwCodeName(word(4 + 2 * i)));
            }
        }
        out.sequences[idx] = list;
        out.modes[idx] = ModeMacro;
        break;
    }
    default:
        out.modes[idx] = ModeNotSet;
        break;
    }
}

}  // namespace

bool KeyboardProfile::writeKeysToDevice(MessageWindow* window) {
    device.prepare();
    for (int level = 0; level < kLevels; ++level) {
        for (int keyId = 1; keyId <= kKeyCount; ++keyId) {
            std::vector<int> words = slotWords(*this, slot(keyId, level));
            // Sequences too long for one record are passed on whole; the
            // device layer clips them to what its record can carry.
            if (!words.empty())
                device.setKeyConfiguration(level, keyId, words.data(), static_cast<int>(words.size()));
        }
    }
    return device.writeKeyConfigurationToDev(window) && !device.cancelRequested();
}

bool KeyboardProfile::writeLightsToDevice() {
    std::vector<int> values(kLightValues);
    for (int k = 1; k <= kKeyCount; ++k) {
        values[3 * (k - 1)] = lightAreas[k].red;
        values[3 * (k - 1) + 1] = lightAreas[k].green;
        values[3 * (k - 1) + 2] = lightAreas[k].blue;
    }
    return device.setKeyboardLightArea(values.data());
}

std::vector<int> KeyboardProfile::keyDefinitionWords(int slot) const {
    return slot >= 0 && slot < kSlotCount ? slotWords(*this, slot) : std::vector<int>();
}

bool KeyboardProfile::readKeysFromDevice(MessageWindow* window) {
    return readKeysFromDevice(window, *this);
}

bool KeyboardProfile::readLightsFromDevice() {
    return readLightsFromDevice(*this);
}

bool KeyboardProfile::readKeysFromDevice(MessageWindow* window, KeyboardProfile& into) {
    // The facade's read only replaces the slots the keyboard sends. Emptying
    // the image first makes a slot the keyboard does not report read as not
    // set, instead of showing whatever was last written from this program.
    device.prepare();
    if (!device.readKeyDefinationFromDev(window) || device.cancelRequested())
        return false;

    Assignments rebuilt{into.modes, into.hwCodes, into.sequences};
    std::vector<int> words(kWordCapacity);
    for (int level = 0; level < kLevels; ++level) {
        for (int keyId = 1; keyId <= kKeyCount; ++keyId) {
            std::fill(words.begin(), words.end(), 0);
            device.getKeyConfiguration(level, keyId, words.data(), kWordCapacity);
            rebuildSlot(*this, words, slot(keyId, level), rebuilt);
        }
    }
    into.modes = rebuilt.modes;
    into.hwCodes = rebuilt.hwCodes;
    into.sequences = std::move(rebuilt.sequences);
    return true;
}

bool KeyboardProfile::readLightsFromDevice(KeyboardProfile& into) {
    // As with keys: bytes the keyboard does not send read as black rather
    // than as the colours this program last wrote.
    device.prepare();
    if (!device.readKeyLightFromDev() || device.cancelRequested())
        return false;

    std::vector<int> values(kLightValues);
    device.getKeyboardLightArea(values.data());
    for (int k = 1; k <= kKeyCount; ++k) {
        into.lightAreas[k].red = values[3 * (k - 1)];
        into.lightAreas[k].green = values[3 * (k - 1) + 1];
        into.lightAreas[k].blue = values[3 * (k - 1) + 2];
    }
    return true;
}
