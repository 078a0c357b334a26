// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A main window over the simulated keyboard and scripted desktop dialogs,
// with helpers to click its controls and run it until it closes.
#pragma once

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "SimulatedKeyboardSetup.h"
#include "jobs/CTarnDialogProgress.h"
#include "shell/CTarnDlg.h"
#include "shell/DeviceChangeWatcher.h"
#include "support/FakeSystemDialogs.h"

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override { profile = emptyProfile(); }

    // The main window as the program opens it, shown.
    std::unique_ptr<CTarnDlg> openWindow() {
        auto window = std::make_unique<CTarnDlg>(*profile, dialogs);
        window->setJobWaits({std::chrono::milliseconds(10), std::chrono::milliseconds(10)});
        window->deviceWatcher().watchStateFile(QString::fromStdString(simulator.keyboard->stateFile().string()));
        if (window->isConnected()) {
            window->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        }
        return window;
    }

    static QPoint centreOf(const SkinControl& control) {
        return QPoint((control.rect.left + control.rect.right) / 2, (control.rect.top + control.rect.bottom) / 2);
    }
    static QPoint keyCentre(CTarnDlg& window, int keyId) { return centreOf(*window.controlById(99 + keyId)); }

    static void click(QWidget& window, QPoint point) { QTest::mouseClick(&window, Qt::LeftButton, {}, point); }
    static void click(CTarnDlg& window, int id) { click(window, centreOf(*window.controlById(id))); }

    // The progress window while a job runs, or nullptr.
    static CTarnDialogProgress* runningProgress() {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* progress = qobject_cast<CTarnDialogProgress*>(widget); progress && progress->isVisible())
                return progress;
        return nullptr;
    }

    // Runs the window's loop; each step runs at its delay (ms) inside it.
    // A window still open after the last step plus a few seconds fails.
    int runWindow(CTarnDlg& window, std::vector<std::pair<int, std::function<void()>>> steps) {
        int last = 0;
        for (auto& [delay, step] : steps) {
            QTimer::singleShot(delay, &window, step);
            last = std::max(last, delay);
        }
        QTimer::singleShot(last + 8000, &window, [&window] {
            ADD_FAILURE() << "the main window did not close";
            window.done(QDialog::Rejected);
        });
        return window.exec();
    }

    SimulatedKeyboardSetup simulator{"mainwindow"};
    FakeSystemDialogs dialogs;
    std::unique_ptr<KeyboardProfile> profile;
};
