// The simulated keyboard's state file: a file it takes is served whole (every
// read through the facade completes) and what it then saves it takes again
// unchanged; a file it refuses is not listed, not opened and not rewritten.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
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

// One folder per process, so that parallel fuzzing jobs keep apart.
const fs::path& stateFile() {
    static const fs::path path = [] {
        const fs::path dir = fs::temp_directory_path() / ("vo-fuzz-sim-" + std::to_string(getpid()));
        fs::create_directories(dir);
        return dir / "keyboard.state";
    }();
    return path;
}

struct SimulatedScope {
    explicit SimulatedScope(const fs::path& path) : keyboard(std::make_shared<hwi::SimulatedKeyboard>(path)) {
        hwi::setHidPlatform(std::make_unique<hwi::SimulatedHidPlatform>(keyboard));
    }
    ~SimulatedScope() { hwi::setHidPlatform(nullptr); }
    std::shared_ptr<hwi::SimulatedKeyboard> keyboard;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzz::require;
    const fs::path& path = stateFile();
    const std::string text(reinterpret_cast<const char*>(data), size);
    { std::ofstream(path, std::ios::binary | std::ios::trunc) << text; }

    std::vector<std::vector<int>> words;
    {
        SimulatedScope scope(path);
        CTarnHWI device;
        if (!scope.keyboard->problem().empty()) {
            require(!device.DetectDevice() && !device.__createDev());
            scope.keyboard->setVersionText("changed");
            require(contents(path) == text);
            return 0;
        }
        require(device.__createDev());
        fuzz::ProgressWindow window;
        require(device.readKeyDefinationFromDev(&window));
        require(static_cast<int>(window.values.size()) == scope.keyboard->storedKeyRecords());
        require(device.readKeyLightFromDev());
        wchar_t version[64];
        require(device.ReadKeyboardVersion(version));
        // Written back, the keyboard keeps its state in its own words.
        require(device.writeKeyConfigurationToDev(nullptr));
        words = fuzz::allWords(device);
    }
    SimulatedScope again(path);
    require(again.keyboard->problem().empty());
    CTarnHWI device;
    require(device.__createDev() && device.readKeyDefinationFromDev(nullptr));
    require(fuzz::allWords(device) == words);
    return 0;
}
