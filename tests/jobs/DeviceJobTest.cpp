// The device jobs against the simulated keyboard, without any window: what
// they send and read, the messages they post and what a failure or a cancel
// leaves behind.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "SimulatedKeyboardSetup.h"
#include "jobs/DeviceJob.h"

namespace {

using namespace std::chrono_literals;

struct Posted {
    unsigned message;
    std::uintptr_t wParam;
    std::chrono::steady_clock::time_point at;
};

class RecordingWindow : public MessageWindow {
public:
    void postMessage(unsigned message, std::uintptr_t wParam, std::intptr_t) override {
        std::lock_guard lock(mutex_);
        posted_.push_back({message, wParam, std::chrono::steady_clock::now()});
        changed_.notify_all();
    }
    std::vector<Posted> posted() {
        std::lock_guard lock(mutex_);
        return posted_;
    }
    std::vector<std::uintptr_t> progress() {
        std::vector<std::uintptr_t> values;
        for (const Posted& p : posted())
            if (p.message == hwi_msg::kProgress)
                values.push_back(p.wParam);
        return values;
    }
    // Waits until a progress message with this value has arrived.
    bool waitForProgress(std::uintptr_t value, std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [&] {
            for (const Posted& p : posted_)
                if (p.message == hwi_msg::kProgress && p.wParam == value)
                    return true;
            return false;
        });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Posted> posted_;
};

constexpr DeviceJob::Waits kShortWaits{0ms, 0ms};

class DeviceJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        profile = emptyProfile();
        ASSERT_TRUE(profile->device.__createDev());
        profile->notifyWindow = &window;
    }

    DeviceJob::Outcome run(int job, DeviceJob::Waits waits = kShortWaits) {
        return DeviceJob(job, *profile, waits).run();
    }

    // Writes the sample into the keyboard through a profile of its own.
    void keyboardHoldsSample() {
        auto writer = emptyProfile();
        ASSERT_TRUE(writer->device.__createDev());
        assignSample(*writer);
        ASSERT_EQ(DeviceJob(DeviceJob::WriteKeys, *writer, kShortWaits).run(), DeviceJob::Succeeded);
        ASSERT_EQ(DeviceJob(DeviceJob::WriteLights, *writer, kShortWaits).run(), DeviceJob::Succeeded);
    }

    void expectProfileEquals(const KeyboardProfile& expected) {
        EXPECT_EQ(profile->modes, expected.modes);
        for (int i = 0; i < KeyboardProfile::kSlotCount; ++i) {
            if (expected.modes[i] == ModeNotSet)
                continue;
            EXPECT_EQ(profile->hwCodes[i], expected.hwCodes[i]) << "slot " << i;
            EXPECT_EQ(profile->sequences[i].items, expected.sequences[i].items) << "slot " << i;
        }
        for (int k = 0; k < KeyboardProfile::kLightAreaCount; ++k)
            EXPECT_TRUE(profile->lightAreas[k] == expected.lightAreas[k]) << "light " << k;
    }

    SimulatedKeyboardSetup simulator{"jobs"};
    RecordingWindow window;
    std::unique_ptr<KeyboardProfile> profile;
};

TEST_F(DeviceJobTest, WriteKeysSendsEverySlotAndEndsWithSuccess) {
    assignSample(*profile);
    EXPECT_EQ(run(DeviceJob::WriteKeys), DeviceJob::Succeeded);

    // One progress message per key slot, in order, then done with success
    // as the very last message.
    const std::vector<std::uintptr_t> progress = window.progress();
    ASSERT_EQ(progress.size(), 216u);
    for (std::size_t i = 0; i < progress.size(); ++i)
        EXPECT_EQ(progress[i], i);
    const auto posted = window.posted();
    EXPECT_EQ(posted.back().message, hwi_msg::kDone);
    EXPECT_EQ(posted.back().wParam, DeviceJob::Succeeded);

    // What arrived reads back as what was written.
    auto reader = emptyProfile();
    ASSERT_TRUE(reader->device.__createDev());
    ASSERT_TRUE(reader->readKeysFromDevice(nullptr));
    EXPECT_EQ(reader->modes, profile->modes);
}

TEST_F(DeviceJobTest, ReadAllBringsKeysAndLightsBack) {
    keyboardHoldsSample();
    auto expected = emptyProfile();
    assignSample(*expected);

    EXPECT_EQ(run(DeviceJob::ReadAll), DeviceJob::Succeeded);
    expectProfileEquals(*expected);
    EXPECT_FALSE(window.progress().empty());
    EXPECT_EQ(window.posted().back().message, hwi_msg::kDone);
    EXPECT_EQ(window.posted().back().wParam, DeviceJob::Succeeded);
}

TEST_F(DeviceJobTest, WriteLightsFillsTheBarThenWaitsBeforeDone) {
    assignSample(*profile);
    EXPECT_EQ(run(DeviceJob::WriteLights, {0ms, 300ms}), DeviceJob::Succeeded);

    const auto posted = window.posted();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, hwi_msg::kProgress);
    EXPECT_EQ(posted[0].wParam, DeviceJob::kFullScale);
    EXPECT_EQ(posted[1].message, hwi_msg::kDone);
    EXPECT_EQ(posted[1].wParam, DeviceJob::Succeeded);
    EXPECT_GE(posted[1].at - posted[0].at, 300ms);

    const auto image = simulator.keyboard->lightImage();
    EXPECT_EQ(image[0], 255);
    EXPECT_EQ(image[3 * 53 + 1], 128);
    EXPECT_EQ(image[3 * 53 + 2], 255);
    EXPECT_EQ(image[3 * 107 + 2], 3);
}

TEST_F(DeviceJobTest, WriteKeysKeepsTheKeyboardSettledForTwoSeconds) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(run(DeviceJob::WriteKeys, {}), DeviceJob::Succeeded);
    const auto posted = window.posted();
    ASSERT_FALSE(posted.empty());
    EXPECT_GE(posted.back().at - start, 2000ms);
}

TEST_F(DeviceJobTest, UnknownJobFailsWithoutTouchingTheKeyboard) {
    assignSample(*profile);
    EXPECT_EQ(run(2), DeviceJob::Failed);
    EXPECT_FALSE(DeviceJob::isKnown(2));
    EXPECT_EQ(simulator.keyboard->storedKeyRecords(), 0);
    ASSERT_EQ(window.posted().size(), 1u);
    EXPECT_EQ(window.posted()[0].wParam, DeviceJob::Failed);
}

TEST_F(DeviceJobTest, WithoutNotifyWindowNothingIsPosted) {
    profile->notifyWindow = nullptr;
    assignSample(*profile);
    EXPECT_EQ(run(DeviceJob::WriteKeys), DeviceJob::Succeeded);
    EXPECT_EQ(run(DeviceJob::WriteLights), DeviceJob::Succeeded);
    EXPECT_TRUE(window.posted().empty());
}

// ---- Failures -------------------------------------------------------------

TEST_F(DeviceJobTest, DroppedLinkMidWriteFailsAndKeepsTheOldConfiguration) {
    keyboardHoldsSample();
    const int storedBefore = simulator.keyboard->storedKeyRecords();
    profile->resetToDefaults();  // would clear every key if it arrived
    simulator.keyboard->dropLinkAfter(40);
    ASSERT_TRUE(profile->device.__closeDev());
    ASSERT_TRUE(profile->device.__createDev());

    EXPECT_EQ(run(DeviceJob::WriteKeys), DeviceJob::Failed);
    EXPECT_EQ(window.posted().back().message, hwi_msg::kDone);
    EXPECT_EQ(window.posted().back().wParam, DeviceJob::Failed);
    EXPECT_EQ(simulator.keyboard->storedKeyRecords(), storedBefore);
}

TEST_F(DeviceJobTest, FailedLightWriteIsReported) {
    assignSample(*profile);
    simulator.keyboard->dropLinkAfter(2);
    ASSERT_TRUE(profile->device.__closeDev());
    ASSERT_TRUE(profile->device.__createDev());
    EXPECT_EQ(run(DeviceJob::WriteLights), DeviceJob::Failed);
    EXPECT_EQ(window.posted().back().wParam, DeviceJob::Failed);
    EXPECT_TRUE(window.progress().empty());
}

TEST_F(DeviceJobTest, DroppedLinkMidReadLeavesTheProfileUnchanged) {
    keyboardHoldsSample();
    // The profile holds something else, which must survive the failed read.
    profile->modes[KeyboardProfile::slot(60, 0)] = ModeSingle;
    profile->hwCodes[KeyboardProfile::slot(60, 0)] = 10;
    profile->lightAreas[7] = {9, 9, 9};
    auto before = emptyProfile();
    before->modes = profile->modes;
    before->hwCodes = profile->hwCodes;
    before->lightAreas = profile->lightAreas;

    simulator.keyboard->dropLinkAfter(3);
    ASSERT_TRUE(profile->device.__closeDev());
    ASSERT_TRUE(profile->device.__createDev());
    EXPECT_EQ(run(DeviceJob::ReadAll), DeviceJob::Failed);
    expectProfileEquals(*before);
}

TEST_F(DeviceJobTest, CancelAfterTheKeyReadRestoresTheKeys) {
    keyboardHoldsSample();
    profile->modes[KeyboardProfile::slot(60, 0)] = ModeSingle;
    profile->hwCodes[KeyboardProfile::slot(60, 0)] = 10;
    const auto modesBefore = profile->modes;

    // The key read is complete when the last stored slot has been posted;
    // the cancel then lands in the pause before the lights.
    std::thread worker([&] { run(DeviceJob::ReadAll, {3000ms, 0ms}); });
    const auto start = std::chrono::steady_clock::now();
    bool keysRead = false;
    for (int i = 0; i < 200 && !keysRead; ++i) {
        std::this_thread::sleep_for(10ms);
        keysRead = window.progress().size() >= static_cast<std::size_t>(simulator.keyboard->storedKeyRecords());
    }
    ASSERT_TRUE(keysRead);
    std::this_thread::sleep_for(200ms);
    profile->device.requestCancel();
    worker.join();

    // The pause ended at the cancel, not after three seconds.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms);
    EXPECT_EQ(window.posted().back().wParam, DeviceJob::Failed);
    EXPECT_EQ(profile->modes, modesBefore);
}

TEST_F(DeviceJobTest, CancelWhileTheKeyboardIsSilentEndsTheReadPromptly) {
    simulator.keyboard->stopAnswering();
    const auto before = profile->modes;
    std::thread worker([&] { run(DeviceJob::ReadAll); });
    std::this_thread::sleep_for(300ms);
    const auto cancelledAt = std::chrono::steady_clock::now();
    profile->device.requestCancel();
    worker.join();
    EXPECT_LT(std::chrono::steady_clock::now() - cancelledAt, 1000ms);
    EXPECT_EQ(window.posted().back().message, hwi_msg::kDone);
    EXPECT_EQ(window.posted().back().wParam, DeviceJob::Failed);
    EXPECT_EQ(profile->modes, before);
}

}  // namespace
