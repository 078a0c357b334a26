// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The configuration program: one profile for the whole process, made before
// the application object and destroyed after it.
#include <QApplication>

#include <cstdio>

#include <velkorondrix/HidPlatform.h>
#include "profile/KeyboardProfile.h"
#include "shell/CTarnApp.h"
#include "shell/QtSystemDialogs.h"

namespace {
KeyboardProfile theProfile;
}

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QtSystemDialogs::useSkinStyle();
    // The Wayland app id and the X11 window class: the desktop entry and the
    // software centre's metadata carry the same id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.velkorondrix.VelkorOndrix"));
    // A simulated keyboard set up wrongly is not listed; the main window
    // says why, and so does the terminal a script started the program from.
    const std::string problem = hwi::hidPlatform().problem();
    if (!problem.empty())
        std::fprintf(stderr, "VelkorOndrix: %s\n", problem.c_str());
    QtSystemDialogs dialogs;
    CTarnApp app(theProfile, dialogs);
    return app.run();
}
