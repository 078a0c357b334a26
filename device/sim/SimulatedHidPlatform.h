// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A HID platform of the simulated keyboard alone, so that trying a profile on
// it can never reach a real keyboard that happens to be plugged in.
#pragma once

#include <memory>

#include <velkorondrix/HidPlatform.h>
#include "SimulatedKeyboard.h"

namespace hwi {

class VELKORONDRIX_HWI_INTERNAL SimulatedHidPlatform : public HidPlatform {
public:
    explicit SimulatedHidPlatform(std::shared_ptr<SimulatedKeyboard> keyboard);
    ~SimulatedHidPlatform() override;

    // The simulated keyboard's two interfaces while its state file exists
    // and it has no problem to report.
    std::vector<std::wstring> interfacePaths() override;
    std::unique_ptr<HidChannel> open(const std::wstring& path) override;
    std::string problem() override;

    SimulatedKeyboard& keyboard() { return *simulated; }

private:
    std::shared_ptr<SimulatedKeyboard> simulated;
};

}  // namespace hwi
