// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Tells the main window that the set of attached devices may have changed,
// so it can look for the keyboard again.
//
// Linux: a udev monitor on the hidraw subsystem. Windows: the system's
// device-change broadcast. Everywhere: the simulated keyboard's state file
// appearing or vanishing (deleting it is pulling the cable).
#pragma once

#include <QAbstractNativeEventFilter>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

struct udev;
struct udev_monitor;
class QSocketNotifier;

class DeviceChangeWatcher : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // Watches the state file named by VELKORONDRIX_SIMULATOR, if any.
    explicit DeviceChangeWatcher(QObject* parent = nullptr);
    ~DeviceChangeWatcher() override;

    // Follows another simulated keyboard's state file (empty: none).
    void watchStateFile(const QString& path);
    QString stateFile() const { return stateFile_; }
    // Whether the system's own notifications arrive (udev or Windows).
    bool hasSystemSource() const { return systemSource_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void deviceChanged();

private:
    void startSystemSource();
    void readUdev();
    void stateFolderChanged();

    bool systemSource_ = false;
    struct udev* udev_ = nullptr;
    struct udev_monitor* monitor_ = nullptr;
    QSocketNotifier* udevNotifier_ = nullptr;

    QFileSystemWatcher files_;
    QString stateFile_;
    bool statePresent_ = false;
};
