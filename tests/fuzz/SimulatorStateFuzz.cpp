// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The simulated keyboard's state file: a file it takes is served whole (every
// read through the facade completes) and what it then saves it takes again
// unchanged; a file it refuses is not listed, not opened and not rewritten.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzKeyboard.h"
#include "SimulatedHidPlatform.h"
#include "SimulatedKeyboard.h"

namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// One folder per process, so that parallel fuzzing jobs keep apart; removed
// at the end.
struct Scratch {
    fs::path dir;
    Scratch() {
        std::random_device random;
        dir = fs::temp_directory_path() / ("velkor-fuzz-sim-" + std::to_string(random()));
        fs::create_directories(dir);
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

struct SimulatedScope {
    explicit SimulatedScope(const fs::path& path) : keyboard(std::make_shared<hwi::SimulatedKeyboard>(path)) {
        hwi::setHidPlatform(std::make_unique<hwi::SimulatedHidPlatform>(keyboard));
    }
    ~SimulatedScope() { hwi::setHidPlatform(nullptr); }
    std::shared_ptr<hwi::SimulatedKeyboard> keyboard;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Scratch scratch;
    const fs::path path = scratch.dir / "keyboard.state";
    const std::string text(reinterpret_cast<const char*>(data), size);
    { std::ofstream(path, std::ios::binary | std::ios::trunc) << text; }

    std::vector<std::vector<int>> words;
    {
        SimulatedScope scope(path);
        CTarnHWI device;
        if (!scope.keyboard->problem().empty()) {
            FUZZ_CHECK(!device.DetectDevice() && !device.__createDev());
            scope.keyboard->setVersionText("changed");
            FUZZ_CHECK(contents(path) == text);
            return 0;
        }
        FUZZ_CHECK(device.__createDev());
        RecordingWindow window;
        FUZZ_CHECK(device.readKeyDefinationFromDev(&window));
        FUZZ_CHECK(static_cast<int>(window.progressValues().size()) == scope.keyboard->storedKeyRecords());
        FUZZ_CHECK(device.readKeyLightFromDev());
        wchar_t version[64];
        FUZZ_CHECK(device.ReadKeyboardVersion(version));
        // Written back, the keyboard keeps its state in its own words.
        FUZZ_CHECK(device.writeKeyConfigurationToDev(nullptr));
        words = fuzz::allWords(device);
    }
    SimulatedScope again(path);
    FUZZ_CHECK(again.keyboard->problem().empty());
    CTarnHWI device;
    FUZZ_CHECK(device.__createDev() && device.readKeyDefinationFromDev(nullptr));
    FUZZ_CHECK(fuzz::allWords(device) == words);
    return 0;
}
