// A HID platform that adds the simulated keyboard's two interfaces to those
// of another platform (the real one, or none).
#pragma once

#include <memory>

#include "HidPlatform.h"
#include "SimulatedKeyboard.h"

namespace hwi {

class VELKORONDRIX_HWI_API SimulatedHidPlatform : public HidPlatform {
public:
    // inner may be null: then the simulated keyboard is all there is.
    explicit SimulatedHidPlatform(std::shared_ptr<SimulatedKeyboard> keyboard,
                                  std::unique_ptr<HidPlatform> inner = nullptr);
    ~SimulatedHidPlatform() override;

    // The inner platform's interfaces, then the simulated keyboard's two
    // while its state file exists.
    std::vector<std::wstring> interfacePaths() override;
    std::unique_ptr<HidChannel> open(const std::wstring& path) override;

    SimulatedKeyboard& keyboard() { return *simulated; }

private:
    std::shared_ptr<SimulatedKeyboard> simulated;
    std::unique_ptr<HidPlatform> inner;
};

}  // namespace hwi
