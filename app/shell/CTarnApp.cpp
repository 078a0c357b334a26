// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/CTarnApp.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>

#include "profile/KeyboardProfile.h"
#include "shell/CTarnDlg.h"
#include "shell/SystemDialogs.h"

CTarnApp::CTarnApp(KeyboardProfile& profile, SystemDialogs& dialogs)
    : profile_(profile), dialogs_(dialogs), resources_(std::make_unique<AppResources>()) {}

CTarnApp::~CTarnApp() {
    release();
}

QString CTarnApp::resourceFolder() const {
    return resourceFolder_.isEmpty() ? AppResources::dataFolder(QCoreApplication::applicationDirPath())
                                     : resourceFolder_;
}

bool CTarnApp::loadResourceLibrary() {
    return resources_->loadResourceFile(QDir(resourceFolder()).filePath(QLatin1String(AppResources::kResourceFileName)));
}

int CTarnApp::loadBitmaps() {
    return resources_->loadBitmaps();
}

void CTarnApp::createDrawingObjects() {
    resources_->createDrawingObjects();
}

bool CTarnApp::buildNameTables() {
    return profile_.buildNameTables();
}

void CTarnApp::release() {
    AppResources::install(nullptr);
    resources_->releaseBitmaps();
    resources_->unloadResourceFile();
}

std::unique_ptr<QDialog> CTarnApp::createMainWindow() {
    return std::make_unique<CTarnDlg>(profile_, dialogs_);
}

int CTarnApp::run() {
    // A missing resource file is no reason to stop: every window then has
    // its fallback size and plain drawing.
    loadResourceLibrary();
    loadBitmaps();
    createDrawingObjects();
    AppResources::install(resources_.get());
    buildNameTables();
    {
        const std::unique_ptr<QDialog> mainWindow = createMainWindow();
        mainWindow->exec();
    }
    release();
    return 0;
}
