// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "jobs/DeviceJob.h"

#include <algorithm>
#include <thread>

#include "jobs/KeyboardBackup.h"
#include "jobs/KeyboardComparison.h"
#include "profile/KeyboardProfile.h"

namespace {

// How often a wait looks for a cancel request.
constexpr std::chrono::milliseconds kWaitSlice{20};

}  // namespace

bool DeviceJob::isKnown(int job) {
    return job == WriteKeys || job == ReadAll || job == WriteLights || job == ReadBackup;
}

DeviceJob::DeviceJob(int job, KeyboardProfile& profile, Waits waits, KeyboardBackup* backup)
    : job_(job), profile_(profile), waits_(waits), backup_(backup) {}

DeviceJob::Outcome DeviceJob::run() {
    Outcome outcome = Failed;
    switch (job_) {
    case WriteKeys:
        outcome = writeKeys() ? Succeeded : Failed;
        break;
    case ReadAll:
        outcome = readAll() ? Succeeded : Failed;
        break;
    case WriteLights:
        outcome = writeLights() ? Succeeded : Failed;
        break;
    case ReadBackup:
        outcome = readBackup();
        break;
    default:
        break;
    }
    if (outcome == Succeeded && differences_ > 0)
        outcome = Differs;
    if (cancelled())
        outcome = Failed;
    // Nothing of the job may follow this message: the window joins the
    // worker when it arrives.
    if (MessageWindow* window = profile_.notifyWindow)
        window->postMessage(hwi_msg::kDone, outcome, outcome == Differs ? differences_ : 0);
    return outcome;
}

bool DeviceJob::writeKeys() {
    const bool ok = profile_.writeKeysToDevice(profile_.notifyWindow);
    if (!wait(waits_.afterKeys) || !ok)
        return false;
    differences_ = differencesAfterWrite(true);
    return differences_ >= 0;
}

DeviceJob::Outcome DeviceJob::readBackup() {
    if (!backup_ || !backup_->readKeys(profile_, profile_.notifyWindow) || !wait(waits_.afterKeys) ||
        !backup_->readLights(profile_))
        return Failed;
    return backup_->save() ? Succeeded : BackupNotSaved;
}

int DeviceJob::differencesAfterWrite(bool keys) {
    // Read into a profile of its own: the one written stays as the user made it.
    KeyboardBackup readBack;
    if (keys ? !readBack.readKeys(profile_, nullptr) : !readBack.readLights(profile_))
        return -1;
    const KeyboardComparison comparison =
        KeyboardComparison::compare(KeyboardContents::of(profile_), readBack.contents());
    return static_cast<int>(keys ? comparison.keys.size() : comparison.colours.size());
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
        if (!wait(waits_.afterLights))
            return false;
    }
    differences_ = differencesAfterWrite(false);
    return differences_ >= 0;
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
