// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/DeviceChangeWatcher.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>

#if defined(VELKORONDRIX_HAVE_UDEV)
#include <libudev.h>
#endif
#if defined(_WIN32)
#include <windows.h>
#endif

DeviceChangeWatcher::DeviceChangeWatcher(QObject* parent) : QObject(parent) {
    startSystemSource();
    connect(&files_, &QFileSystemWatcher::directoryChanged, this, &DeviceChangeWatcher::stateFolderChanged);
    watchStateFile(qEnvironmentVariable("VELKORONDRIX_SIMULATOR"));
}

DeviceChangeWatcher::~DeviceChangeWatcher() {
#if defined(_WIN32)
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
#endif
#if defined(VELKORONDRIX_HAVE_UDEV)
    delete udevNotifier_;
    if (monitor_)
        udev_monitor_unref(monitor_);
    if (udev_)
        udev_unref(udev_);
#endif
}

void DeviceChangeWatcher::startSystemSource() {
#if defined(VELKORONDRIX_HAVE_UDEV)
    udev_ = udev_new();
    if (!udev_)
        return;
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (!monitor_ || udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0
        || udev_monitor_enable_receiving(monitor_) < 0) {
        // Containers often have no udev netlink: the file watcher still works.
        return;
    }
    udevNotifier_ = new QSocketNotifier(udev_monitor_get_fd(monitor_), QSocketNotifier::Read, this);
    connect(udevNotifier_, &QSocketNotifier::activated, this, &DeviceChangeWatcher::readUdev);
    systemSource_ = true;
#elif defined(_WIN32)
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->installNativeEventFilter(this);
        systemSource_ = true;
    }
#endif
}

void DeviceChangeWatcher::readUdev() {
#if defined(VELKORONDRIX_HAVE_UDEV)
    // Drain the socket; one notification for the lot is enough.
    bool any = false;
    while (struct udev_device* device = udev_monitor_receive_device(monitor_)) {
        udev_device_unref(device);
        any = true;
    }
    if (any)
        emit deviceChanged();
#endif
}

bool DeviceChangeWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
#if defined(_WIN32)
    if (eventType == "windows_generic_MSG" && static_cast<MSG*>(message)->message == WM_DEVICECHANGE)
        emit deviceChanged();
#else
    Q_UNUSED(eventType);
    Q_UNUSED(message);
#endif
    return false;
}

void DeviceChangeWatcher::watchStateFile(const QString& path) {
    if (!files_.directories().isEmpty())
        files_.removePaths(files_.directories());
    stateFile_ = path;
    statePresent_ = false;
    if (path.isEmpty())
        return;
    // The folder, not the file: the file cannot be watched while it is
    // absent, and every save replaces it.
    const QFileInfo info(path);
    files_.addPath(info.absolutePath());
    statePresent_ = info.exists();
}

void DeviceChangeWatcher::stateFolderChanged() {
    if (stateFile_.isEmpty())
        return;
    const bool present = QFileInfo::exists(stateFile_);
    // Saves replace the file but leave it present: only arrival and removal
    // are device changes.
    if (present == statePresent_)
        return;
    statePresent_ = present;
    emit deviceChanged();
}
