// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "SimulatedHidPlatform.h"

#include <chrono>
#include <thread>

namespace hwi {

namespace {

// Interface 1: the protocol, answered by the simulated keyboard.
class SimulatedChannel : public HidChannel {
public:
    SimulatedChannel(std::shared_ptr<SimulatedKeyboard> keyboard, int link)
        : keyboard(std::move(keyboard)), link(link) {}
    ~SimulatedChannel() override { keyboard->disconnect(link); }

    bool writeReport(const unsigned char* report, int length) override {
        return keyboard->hostWrite(link, report, length);
    }
    bool readReport(unsigned char* report, int length, int* received, int timeoutMs) override {
        return keyboard->hostRead(link, report, length, received, timeoutMs);
    }

private:
    std::shared_ptr<SimulatedKeyboard> keyboard;
    int link;
};

// Interface 0: the ordinary keyboard reports, which the protocol never uses.
class SilentChannel : public HidChannel {
public:
    bool writeReport(const unsigned char*, int) override { return true; }
    bool readReport(unsigned char*, int, int* received, int timeoutMs) override {
        if (received)
            *received = 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0));
        return false;
    }
};

}  // namespace

SimulatedHidPlatform::SimulatedHidPlatform(std::shared_ptr<SimulatedKeyboard> keyboard)
    : simulated(std::move(keyboard)) {}

SimulatedHidPlatform::~SimulatedHidPlatform() = default;

std::vector<std::wstring> SimulatedHidPlatform::interfacePaths() {
    if (!simulated || !simulated->present() || !simulated->problem().empty())
        return {};
    return {SimulatedKeyboard::kInterface0Path, SimulatedKeyboard::kInterface1Path};
}

std::unique_ptr<HidChannel> SimulatedHidPlatform::open(const std::wstring& path) {
    if (simulated && path == SimulatedKeyboard::kInterface1Path) {
        int link = 0;
        if (!simulated->connect(&link))
            return nullptr;
        return std::make_unique<SimulatedChannel>(simulated, link);
    }
    if (simulated && path == SimulatedKeyboard::kInterface0Path) {
        if (!simulated->present() || simulated->fault().kind == SimulatorFault::RefuseOpen)
            return nullptr;
        return std::make_unique<SilentChannel>();
    }
    return nullptr;
}

std::string SimulatedHidPlatform::problem() {
    return simulated ? simulated->problem() : std::string();
}

}  // namespace hwi
