#include "HidPlatform.h"

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
    if (simulator && *simulator) {
        auto keyboard = SimulatedKeyboard::fromEnvironment(simulator);
        return std::make_unique<SimulatedHidPlatform>(std::move(keyboard), makeNativeHidPlatform());
    }
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
