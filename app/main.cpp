// The configuration program: one profile for the whole process, made before
// the application object and destroyed after it.
#include <QApplication>

#include <cstdio>

#include "HidPlatform.h"
#include "profile/KeyboardProfile.h"
#include "shell/CTarnApp.h"
#include "shell/QtSystemDialogs.h"

namespace {
KeyboardProfile theProfile;
}

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QtSystemDialogs::useSkinStyle();
    // A simulated keyboard set up wrongly is not listed; the main window
    // says why, and so does the terminal a script started the program from.
    const std::string problem = hwi::hidPlatform().problem();
    if (!problem.empty())
        std::fprintf(stderr, "VelkorOndrix: %s\n", problem.c_str());
    QtSystemDialogs dialogs;
    CTarnApp app(theProfile, dialogs);
    return app.run();
}
