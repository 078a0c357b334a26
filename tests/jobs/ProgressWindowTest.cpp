// The progress window running real jobs against the simulated keyboard,
// offscreen: results, the bar, and cancelling a job that is still running.
#include <gtest/gtest.h>

#include <functional>

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include "SimulatedKeyboardSetup.h"
#include "jobs/CTarnDialogProgress.h"
#include "jobs/ProgressWindowLayout.h"
#include "support/FakeSystemDialogs.h"
#include "support/KeyboardFocus.h"

namespace {

using namespace std::chrono_literals;

constexpr DeviceJob::Waits kShortWaits{10ms, 10ms};
const QPoint kCancelButton(282, 218);
const QPoint kCloseButton(343, 27);

class ProgressWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        profile = emptyProfile();
        ASSERT_TRUE(profile->device.__createDev());
    }

    std::unique_ptr<CTarnDialogProgress> window(int job) {
        auto progress = std::make_unique<CTarnDialogProgress>(*profile, dialogs, job);
        progress->setWaits(kShortWaits);
        return progress;
    }

    // Runs the window; `during` is called once it has been open for a while.
    int execWith(CTarnDialogProgress& progress, std::function<void()> during = {}) {
        if (during)
            QTimer::singleShot(300, &progress, during);
        // A window that never closes fails the test instead of hanging it.
        QTimer::singleShot(10000, &progress, [&] {
            ADD_FAILURE() << "the progress window did not close";
            progress.abortJob();
        });
        return progress.exec();
    }

    SimulatedKeyboardSetup simulator{"progress"};
    FakeSystemDialogs dialogs;
    std::unique_ptr<KeyboardProfile> profile;
};

// ---- The bar ----------------------------------------------------------------

// Key transfers count 216 slots: slot 150 is not yet the end, slot 215 is.
// The light job counts to 150. Values past the end never draw past the track.
TEST_F(ProgressWindowTest, BarFollowsTheJobsScaleAndStaysInItsTrack) {
    EXPECT_EQ(CTarnDialogProgress::percentFor(DeviceJob::WriteKeys, 150), 69);
    EXPECT_EQ(CTarnDialogProgress::percentFor(DeviceJob::ReadAll, 215), 100);
    EXPECT_EQ(CTarnDialogProgress::percentFor(DeviceJob::WriteLights, 75), 50);

    auto progress = window(DeviceJob::WriteLights);
    EXPECT_EQ(progress->percent(), 1);
    const layout::Rect& track = layout::progressBar;
    const int y = track.top + track.height() / 2;
    auto paintAt = [&](std::uintptr_t value) {
        progress->postMessage(hwi_msg::kProgress, value, 0);
        QCoreApplication::sendPostedEvents(progress.get());
        return progress->grab().toImage();
    };
    const QImage full = paintAt(100000);
    EXPECT_EQ(progress->barWidth(), 290);
    const QRgb fill = full.pixel(track.left + 5, y);
    EXPECT_EQ(full.pixel(track.right - 1, y), fill);
    EXPECT_NE(full.pixel(track.right, y), fill);

    const QImage half = paintAt(75);
    EXPECT_EQ(half.pixel(track.left + 144, y), fill);
    EXPECT_NE(half.pixel(track.left + 146, y), fill);
}

// ---- Jobs and results ---------------------------------------------------------

TEST_F(ProgressWindowTest, WriteKeysSucceedsWithTheBarFull) {
    assignSample(*profile);
    auto progress = window(DeviceJob::WriteKeys);
    EXPECT_EQ(execWith(*progress), CTarnDialogProgress::Succeeded);
    EXPECT_EQ(progress->percent(), 100);
    EXPECT_FALSE(progress->workerRunning());
    EXPECT_EQ(profile->notifyWindow, nullptr);
    EXPECT_GT(simulator.keyboard->storedKeyRecords(), 0);
}

TEST_F(ProgressWindowTest, UnknownJobClosesAtOnceWithoutShowing) {
    auto progress = window(2);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(progress->exec(), CTarnDialogProgress::Cancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(progress->workerRunning());
    EXPECT_EQ(profile->notifyWindow, nullptr);
}

// ---- Cancelling -----------------------------------------------------------------

// Every way of cancelling stops the job, waits for the worker, and leaves
// the profile and the device ready for the next job.
TEST_F(ProgressWindowTest, CancelStopsTheJobAndClosesOnlyAfterTheWorkerEnded) {
    const std::vector<std::pair<const char*, std::function<void(CTarnDialogProgress&)>>> ways = {
        {"cancel button", [](CTarnDialogProgress& w) { QTest::mouseClick(&w, Qt::LeftButton, {}, kCancelButton); }},
        {"close control", [](CTarnDialogProgress& w) { QTest::mouseClick(&w, Qt::LeftButton, {}, kCloseButton); }},
        {"Esc", [](CTarnDialogProgress& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"Tab to Cancel, Space", [](CTarnDialogProgress& w) {
             ASSERT_TRUE(tabTo(w, CTarnDialogProgress::kCancelId));
             QTest::keyClick(&w, Qt::Key_Space);
         }},
        {"window close", [](CTarnDialogProgress& w) { w.close(); }},
    };
    simulator.keyboard->stopAnswering();
    profile->modes[KeyboardProfile::slot(60, 0)] = ModeSingle;
    const auto before = profile->modes;

    for (const auto& [name, cancel] : ways) {
        SCOPED_TRACE(name);
        auto progress = window(DeviceJob::ReadAll);
        bool openAfterCancel = false;
        const int result = execWith(*progress, [&] {
            cancel(*progress);
            openAfterCancel = progress->isVisible() && progress->cancelling();
        });
        EXPECT_EQ(result, CTarnDialogProgress::Cancelled);
        EXPECT_TRUE(openAfterCancel);
        EXPECT_EQ(progress->percent(), 0);
        EXPECT_FALSE(progress->workerRunning());
        EXPECT_FALSE(profile->device.cancelRequested());
        EXPECT_EQ(profile->notifyWindow, nullptr);
        EXPECT_EQ(profile->modes, before);
    }
    EXPECT_TRUE(dialogs.requests().empty());
}

// An owner that must go now (the keyboard was pulled) aborts: the worker is
// joined before abortJob returns, and its late done message changes nothing.
// A window destroyed from outside joins its worker too.
TEST_F(ProgressWindowTest, AbortAndDestructionJoinTheWorker) {
    simulator.keyboard->stopAnswering();
    auto progress = window(DeviceJob::ReadAll);
    bool endedAtReturn = false;
    EXPECT_EQ(execWith(*progress, [&] {
                  progress->abortJob();
                  endedAtReturn = !progress->workerRunning() && !progress->isVisible();
              }),
              CTarnDialogProgress::Cancelled);
    EXPECT_TRUE(endedAtReturn);
    QCoreApplication::sendPostedEvents(progress.get());
    EXPECT_EQ(progress->result(), CTarnDialogProgress::Cancelled);

    progress = window(DeviceJob::ReadAll);
    execWith(*progress, [&] { progress->QDialog::done(QDialog::Rejected); });
    EXPECT_TRUE(progress->workerRunning());
    const auto start = std::chrono::steady_clock::now();
    progress.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_EQ(profile->notifyWindow, nullptr);
    EXPECT_FALSE(profile->device.cancelRequested());
}

}  // namespace
