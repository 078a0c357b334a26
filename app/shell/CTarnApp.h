// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The program's start-up and shutdown: prepares what every window shares,
// runs the main window modally and releases it all again.
#pragma once

#include <memory>

#include <QString>

#include "shell/AppResources.h"

class KeyboardProfile;
class QDialog;
class SystemDialogs;

class CTarnApp {
public:
    CTarnApp(KeyboardProfile& profile, SystemDialogs& dialogs);
    virtual ~CTarnApp();
    CTarnApp(const CTarnApp&) = delete;
    CTarnApp& operator=(const CTarnApp&) = delete;

    // The whole run: the start-up steps in order, the main window until it
    // closes, then release. Returns the process exit code.
    int run();

    // The start-up steps, in the order run() takes them.
    bool loadResourceLibrary();    // VelkorOndrix_RES.rcc from resourceFolder()
    int loadBitmaps();
    void createDrawingObjects();   // darkBrush and fontTable
    bool buildNameTables();        // also sets the language to "en-US"
    void release();                // bitmaps and resource file

    // AppResources::dataFolder() of the program's folder unless set otherwise.
    QString resourceFolder() const;
    void setResourceFolder(const QString& folder) { resourceFolder_ = folder; }

    const AppResources& resources() const { return *resources_; }
    KeyboardProfile& profile() { return profile_; }
    SystemDialogs& dialogs() { return dialogs_; }

protected:
    virtual std::unique_ptr<QDialog> createMainWindow();

private:
    KeyboardProfile& profile_;
    SystemDialogs& dialogs_;
    std::unique_ptr<AppResources> resources_;
    QString resourceFolder_;
};
