// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include <velkorondrix/HidPlatform.h>

#include <cstdlib>
#include <mutex>

#include "NativeHidPlatform.h"
#include "SimulatedHidPlatform.h"
#include "SimulatedKeyboard.h"

namespace hwi {

namespace {

std::mutex platformMutex;
std::unique_ptr<HidPlatform> current;

std::unique_ptr<HidPlatform> makeDefaultPlatform() {
    const char* simulator = std::getenv("VELKORONDRIX_SIMULATOR");
    // The simulated keyboard alone: a real one plugged in meanwhile is
    // never written to by mistake.
    if (simulator && *simulator)
        return std::make_unique<SimulatedHidPlatform>(SimulatedKeyboard::fromEnvironment(simulator));
    return makeNativeHidPlatform();
}

}  // namespace

HidPlatform& hidPlatform() {
    std::lock_guard<std::mutex> lock(platformMutex);
    if (!current)
        current = makeDefaultPlatform();
    return *current;
}

void setHidPlatform(std::unique_ptr<HidPlatform> platform) {
    std::lock_guard<std::mutex> lock(platformMutex);
    current = std::move(platform);
}

}  // namespace hwi
