// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// One transfer between the profile and the keyboard, run on a worker thread
// behind the progress window: write the keys (1), read keys and lights (3),
// write the lights (4), or keep the keyboard's keys and lights in a backup
// before a write (5). Writes read the keyboard back afterwards and compare:
// a keyboard that does not hold what was sent is a failure (Differs, with
// the number of keys or colours that differ in lParam).
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

class KeyboardBackup;
class KeyboardProfile;

// Pauses that give the keyboard time to settle after a transfer.
struct DeviceJobWaits {
    std::chrono::milliseconds afterKeys{2000};
    std::chrono::milliseconds afterLights{1000};
};

class DeviceJob {
public:
    enum Number : int { WriteKeys = 1, ReadAll = 3, WriteLights = 4, ReadBackup = 5 };
    // wParam of the done message. BackupNotSaved: the keyboard was read but
    // its contents could not be saved.
    enum Outcome : std::uintptr_t { Succeeded = 0, Failed = 1, Differs = 2, BackupNotSaved = 3 };

    using Waits = DeviceJobWaits;

    // The progress value job 4 posts: full scale.
    static constexpr std::uintptr_t kFullScale = 150;

    static bool isKnown(int job);

    // ReadBackup reads into `backup` and saves it; the other jobs ignore it.
    DeviceJob(int job, KeyboardProfile& profile, Waits waits = {}, KeyboardBackup* backup = nullptr);

    // Runs the job on the calling thread. A cancel request on the profile's
    // device cuts the transfer and the waits short; the job then fails.
    Outcome run();

private:
    bool writeKeys();
    bool readAll();
    bool writeLights();
    Outcome readBackup();
    // How many keys (or colours) the keyboard holds otherwise than the
    // profile; -1 when it cannot be read back.
    int differencesAfterWrite(bool keys);
    // Sleeps, but returns early (false) when a cancel is requested.
    bool wait(std::chrono::milliseconds duration);
    bool cancelled() const;

    int job_;
    KeyboardProfile& profile_;
    Waits waits_;
    KeyboardBackup* backup_;
    int differences_ = 0;
};
