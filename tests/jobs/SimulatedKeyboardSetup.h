// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A simulated keyboard with its state file in a private folder, installed as
// the device library's HID platform for the lifetime of the object. Declare
// it before any profile, so every facade is closed before the keyboard goes.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include <velkorondrix/HidPlatform.h>
#include "SimulatedHidPlatform.h"
#include "SimulatedKeyboard.h"
#include "profile/KeyboardProfile.h"

class SimulatedKeyboardSetup {
public:
    explicit SimulatedKeyboardSetup(const std::string& name) {
        // Unique across test processes running side by side.
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder = std::filesystem::temp_directory_path()
                 / ("vo-" + name + "-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        keyboard = std::make_shared<hwi::SimulatedKeyboard>(folder / "keyboard.state");
        keyboard->plugIn();
        hwi::setHidPlatform(std::make_unique<hwi::SimulatedHidPlatform>(keyboard));
    }
    ~SimulatedKeyboardSetup() {
        hwi::setHidPlatform(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    SimulatedKeyboardSetup(const SimulatedKeyboardSetup&) = delete;
    SimulatedKeyboardSetup& operator=(const SimulatedKeyboardSetup&) = delete;

    std::filesystem::path folder;
    std::shared_ptr<hwi::SimulatedKeyboard> keyboard;
};

// A profile with English name tables and nothing assigned.
inline std::unique_ptr<KeyboardProfile> emptyProfile() {
    auto profile = std::make_unique<KeyboardProfile>();
    profile->buildNameTables();
    profile->resetToDefaults();
    return profile;
}

// A few keys in different modes on both layers, and some colours.
inline void assignSample(KeyboardProfile& profile) {
    auto single = [&](int keyId, int level, int mode, int hwCode) {
        profile.modes[KeyboardProfile::slot(keyId, level)] = mode;
        profile.hwCodes[KeyboardProfile::slot(keyId, level)] = hwCode;
    };
    single(20, 1, ModeSingle, 4);
    single(5, 0, ModeMultimedia, 111);
    single(88, 1, ModeMouse, 130);
    const int combo = KeyboardProfile::slot(30, 0);
    profile.modes[combo] = ModeCombo;
    profile.sequences[combo].clearList();
    profile.sequences[combo].setOrAppendItem(20000, profile.hwCodeName(44));
    profile.sequences[combo].setOrAppendItem(20000, profile.hwCodeName(4));
    profile.lightAreas[1] = {255, 0, 0};
    profile.lightAreas[54] = {0, 128, 255};
    profile.lightAreas[108] = {1, 2, 3};
}
