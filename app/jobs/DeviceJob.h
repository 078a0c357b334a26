// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// One transfer between the profile and the keyboard, run on a worker thread
// behind the progress window: write the keys (1), read keys and lights (3),
// or write the lights (4).
//
// The job reports to the profile's notifyWindow: progress (1127) as the
// device library posts it (job 4 posts 150 itself when the lights are in) and,
// as its very last act, done (1128) with the outcome in wParam. A read that
// fails or is cancelled leaves the profile as it was.
//
// Plain C++: no Qt, so the jobs can be tested without a window.
#pragma once

#include <chrono>
#include <cstdint>

class KeyboardProfile;

// Pauses that give the keyboard time to settle after a transfer.
struct DeviceJobWaits {
    std::chrono::milliseconds afterKeys{2000};
    std::chrono::milliseconds afterLights{1000};
};

class DeviceJob {
public:
    enum Number : int { WriteKeys = 1, ReadAll = 3, WriteLights = 4 };
    // wParam of the done message.
    enum Outcome : std::uintptr_t { Succeeded = 0, Failed = 1 };

    using Waits = DeviceJobWaits;

    // The progress value job 4 posts: full scale.
    static constexpr std::uintptr_t kFullScale = 150;

    static bool isKnown(int job);

    DeviceJob(int job, KeyboardProfile& profile, Waits waits = {});

    // Runs the job on the calling thread. A cancel request on the profile's
    // device cuts the transfer and the waits short; the job then fails.
    Outcome run();

private:
    bool writeKeys();
    bool readAll();
    bool writeLights();
    // Sleeps, but returns early (false) when a cancel is requested.
    bool wait(std::chrono::milliseconds duration);
    bool cancelled() const;

    int job_;
    KeyboardProfile& profile_;
    Waits waits_;
};
