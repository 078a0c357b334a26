// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT

// A headless sway, XWayland on demand, on a plain background, with a keyboard
// and pointer of its own (vo-wl-input). Sway refuses root, so under root the
// desktop and its clients run as a system user of their own.
#pragma once

#include <sys/types.h>

#include <functional>

#include <QImage>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

class SwayDesktop {
public:
    static constexpr QRgb kBackground = 0xff3a7a3a;

    SwayDesktop();  // error() says why it could not start
    ~SwayDesktop();
    SwayDesktop(const SwayDesktop&) = delete;
    SwayDesktop& operator=(const SwayDesktop&) = delete;

    const QString& error() const { return problem; }
    QString folder() const { return root.filePath("home"); }  // the desktop user's
    QString emptyFile(const QString& name) const;              // in folder(), the desktop user's

    // As the desktop's user, in its session, on the Qt platform named
    // ("wayland" natively, "xcb" on XWayland).
    void startClient(QProcess& process, const QString& program, const QStringList& arguments,
                     const QString& platform, const QStringList& environment = {}) const;
    QList<QRect> windowsOf(qint64 pid) const;  // client areas, oldest first
    bool waitForWindows(qint64 pid, qsizetype count, int timeoutMs = 10000) const;

    bool click(QPoint position) { return command(QString("click %1 %2").arg(position.x()).arg(position.y())); }
    // Evdev codes as vo-wl-input takes them ("30 +42 48 -42").
    bool type(const QString& events) { return command("key " + events); }
    // The first screenshot that `shows` accepts, or the last one taken.
    QImage screenshotWhen(const std::function<bool(const QImage&)>& shows, int timeoutMs = 5000) const;
    QImage screenshot() const {
        return screenshotWhen([](const QImage&) { return true; });
    }

private:
    QProcessEnvironment environment() const;
    QString run(const QString& program, const QStringList& arguments) const;
    bool command(const QString& line);  // vo-wl-input answered "ok"

    QTemporaryDir root;
    uid_t uid = 0;
    gid_t gid = 0;
    QProcess sway;
    QProcess input;  // vo-wl-input
    QString runtimeDir, waylandDisplay, x11Display, swaySocket;
    QString problem;
};
