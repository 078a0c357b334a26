// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// GoogleTest main for widget tests: one QApplication for the whole run, on
// the offscreen platform unless the environment chooses another.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Per-user state (the keyboard's backups) goes to a folder of the run's
    // own, removed at its end, never to the real home.
    QTemporaryDir stateHome;
    qputenv("XDG_STATE_HOME", stateHome.path().toLocal8Bit());
    qputenv("LOCALAPPDATA", stateHome.path().toLocal8Bit());
    QApplication application(argc, argv);
    // The per-user state (autosave, backups) of a test run is its own.
    const QTemporaryDir stateFolder;
    qputenv("XDG_STATE_HOME", stateFolder.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
