// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "jobs/DeviceJob.h"

#include <algorithm>
#include <thread>

#include "profile/KeyboardProfile.h"

namespace {

// How often a wait looks for a cancel request.
constexpr std::chrono::milliseconds kWaitSlice{20};

}  // namespace

bool DeviceJob::isKnown(int job) {
    return job == WriteKeys || job == ReadAll || job == WriteLights;
}

DeviceJob::DeviceJob(int job, KeyboardProfile& profile, Waits waits)
    : job_(job), profile_(profile), waits_(waits) {}

DeviceJob::Outcome DeviceJob::run() {
    bool ok = false;
    switch (job_) {
    case WriteKeys:
        ok = writeKeys();
        break;
    case ReadAll:
        ok = readAll();
        break;
    case WriteLights:
        ok = writeLights();
        break;
    default:
        break;
    }
    const Outcome outcome = ok && !cancelled() ? Succeeded : Failed;
    // Nothing of the job may follow this message: the window joins the
    // worker when it arrives.
    if (MessageWindow* window = profile_.notifyWindow)
        window->postMessage(hwi_msg::kDone, outcome, 0);
    return outcome;
}

bool DeviceJob::writeKeys() {
    const bool ok = profile_.writeKeysToDevice(profile_.notifyWindow);
    return wait(waits_.afterKeys) && ok;
}

bool DeviceJob::readAll() {
    // The key read commits on its own; keep what it replaces so that a light
    // read failing afterwards can still leave the whole profile untouched.
    const auto modes = profile_.modes;
    const auto hwCodes = profile_.hwCodes;
    auto sequences = profile_.sequences;

    if (!profile_.readKeysFromDevice(profile_.notifyWindow))
        return false;
    if (wait(waits_.afterKeys) && profile_.readLightsFromDevice())
        return true;
    profile_.modes = modes;
    profile_.hwCodes = hwCodes;
    profile_.sequences = std::move(sequences);
    return false;
}

bool DeviceJob::writeLights() {
    if (!profile_.writeLightsToDevice())
        return false;
    if (MessageWindow* window = profile_.notifyWindow) {
        window->postMessage(hwi_msg::kProgress, kFullScale, 0);
        return wait(waits_.afterLights);
    }
    return true;
}

bool DeviceJob::wait(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (!cancelled()) {
        const auto left = end - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero())
            return true;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, kWaitSlice));
    }
    return false;
}

bool DeviceJob::cancelled() const {
    return profile_.device.cancelRequested();
}
