// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The device jobs against the simulated keyboard, without any window: what
// they send and read, the messages they post, the pauses, and what a cancel
// in the middle of a read leaves behind.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "SimulatedKeyboardSetup.h"
#include "jobs/DeviceJob.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Posted {
    unsigned message;
    std::uintptr_t wParam;
    Clock::time_point at;
};

class RecordingWindow : public MessageWindow {
public:
    void postMessage(unsigned message, std::uintptr_t wParam, std::intptr_t) override {
        std::lock_guard lock(mutex_);
        posted_.push_back({message, wParam, Clock::now()});
    }
    std::vector<Posted> posted() {
        std::lock_guard lock(mutex_);
        return posted_;
    }
    std::size_t progressCount() {
        std::size_t count = 0;
        for (const Posted& p : posted())
            count += p.message == hwi_msg::kProgress ? 1 : 0;
        return count;
    }

private:
    std::mutex mutex_;
    std::vector<Posted> posted_;
};

class DeviceJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        profile = emptyProfile();
        ASSERT_TRUE(profile->device.__createDev());
        profile->notifyWindow = &window;
    }

    DeviceJob::Outcome run(int job, DeviceJob::Waits waits = {0ms, 0ms}) {
        return DeviceJob(job, *profile, waits).run();
    }

    void expectDoneLast(DeviceJob::Outcome outcome) {
        const auto posted = window.posted();
        ASSERT_FALSE(posted.empty());
        EXPECT_EQ(posted.back().message, hwi_msg::kDone);
        EXPECT_EQ(posted.back().wParam, outcome);
    }

    SimulatedKeyboardSetup simulator{"jobs"};
    RecordingWindow window;
    std::unique_ptr<KeyboardProfile> profile;
};

TEST_F(DeviceJobTest, WrittenKeysAndLightsReadBackIntoAnotherProfile) {
    assignSample(*profile);
    EXPECT_EQ(run(DeviceJob::WriteKeys), DeviceJob::Succeeded);
    // One progress message per key slot, in order, and done as the last.
    const auto posted = window.posted();
    ASSERT_EQ(posted.size(), 217u);
    for (std::size_t i = 0; i < 216; ++i) {
        EXPECT_EQ(posted[i].message, hwi_msg::kProgress);
        EXPECT_EQ(posted[i].wParam, i);
    }
    expectDoneLast(DeviceJob::Succeeded);
    EXPECT_EQ(run(DeviceJob::WriteLights), DeviceJob::Succeeded);

    auto reader = emptyProfile();
    ASSERT_TRUE(reader->device.__createDev());
    RecordingWindow readerWindow;
    reader->notifyWindow = &readerWindow;
    EXPECT_EQ(DeviceJob(DeviceJob::ReadAll, *reader, {0ms, 0ms}).run(), DeviceJob::Succeeded);
    EXPECT_EQ(reader->modes, profile->modes);
    EXPECT_EQ(reader->hwCodes[KeyboardProfile::slot(20, 1)], 4);
    EXPECT_EQ(reader->sequences[KeyboardProfile::slot(30, 0)].items,
              profile->sequences[KeyboardProfile::slot(30, 0)].items);
    EXPECT_EQ(reader->lightAreas, profile->lightAreas);
    EXPECT_GT(readerWindow.progressCount(), 0u);
}

TEST_F(DeviceJobTest, LightJobShowsTheFullBarForItsPauseBeforeDone) {
    assignSample(*profile);
    EXPECT_EQ(run(DeviceJob::WriteLights, {0ms, 300ms}), DeviceJob::Succeeded);
    const auto posted = window.posted();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, hwi_msg::kProgress);
    EXPECT_EQ(posted[0].wParam, DeviceJob::kFullScale);
    expectDoneLast(DeviceJob::Succeeded);
    EXPECT_GE(posted[1].at - posted[0].at, 300ms);
    EXPECT_EQ(simulator.keyboard->lightImage()[3 * 53 + 1], 128);
}

TEST_F(DeviceJobTest, KeyWriteLetsTheKeyboardSettleForTwoSeconds) {
    const auto start = Clock::now();
    EXPECT_EQ(run(DeviceJob::WriteKeys, {}), DeviceJob::Succeeded);
    EXPECT_GE(window.posted().back().at - start, 2000ms);
}

TEST_F(DeviceJobTest, UnknownJobFailsWithoutTouchingTheKeyboard) {
    assignSample(*profile);
    EXPECT_EQ(run(2), DeviceJob::Failed);
    EXPECT_EQ(window.posted().size(), 1u);
    expectDoneLast(DeviceJob::Failed);
    EXPECT_EQ(simulator.keyboard->storedKeyRecords(), 0);
}

// The key read commits on its own; a cancel in the pause before the light
// read must still leave the whole profile as it was.
TEST_F(DeviceJobTest, CancelAfterTheKeyReadRestoresTheKeys) {
    {
        auto writer = emptyProfile();
        ASSERT_TRUE(writer->device.__createDev());
        assignSample(*writer);
        ASSERT_TRUE(writer->writeKeysToDevice(nullptr));
    }
    profile->modes[KeyboardProfile::slot(60, 0)] = ModeSingle;
    const auto before = profile->modes;

    const auto start = Clock::now();
    std::thread worker([&] { run(DeviceJob::ReadAll, {3000ms, 0ms}); });
    for (int i = 0; i < 200 && window.progressCount() < 216; ++i)
        std::this_thread::sleep_for(10ms);
    ASSERT_EQ(window.progressCount(), 216u);
    std::this_thread::sleep_for(200ms);
    profile->device.requestCancel();
    worker.join();

    EXPECT_LT(Clock::now() - start, 2500ms);  // the pause ended at the cancel
    expectDoneLast(DeviceJob::Failed);
    EXPECT_EQ(profile->modes, before);
}

}  // namespace
