// The configuration program: one profile for the whole process, made before
// the application object and destroyed after it.
#include <QApplication>

#include "profile/KeyboardProfile.h"
#include "shell/CTarnApp.h"
#include "shell/QtSystemDialogs.h"

namespace {
KeyboardProfile theProfile;
}

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QtSystemDialogs dialogs;
    CTarnApp app(theProfile, dialogs);
    return app.run();
}
