// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT

// A headless Wayland desktop for tests that drive the real program as a user
// would: sway with XWayland on demand, a plain background, and a keyboard and
// pointer of its own (vo-wl-input), since the headless seat has none. Sway
// refuses to run as root, so under root the desktop and its clients run as a
// system user of their own.
#pragma once

#include <sys/types.h>

#include <functional>

#include <QImage>
#include <QList>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

class SwayDesktop {
public:
    static constexpr QRgb kBackground = 0xff3a7a3a;

    SwayDesktop();  // starts the desktop; error() says why it could not
    ~SwayDesktop();
    SwayDesktop(const SwayDesktop&) = delete;
    SwayDesktop& operator=(const SwayDesktop&) = delete;

    const QString& error() const { return problem; }
    // A folder the desktop's user owns, for the files of the programs it runs.
    QString folder() const { return root.filePath("home"); }
    // An empty file in folder(), owned by the desktop's user.
    QString emptyFile(const QString& name) const;

    // Starts a client as the desktop's user, in the session a user of this
    // desktop has (WAYLAND_DISPLAY and DISPLAY both set), on the Qt platform
    // named ("wayland" natively, "xcb" on XWayland).
    void startClient(QProcess& process, const QString& program, const QStringList& arguments,
                     const QString& platform, const QStringList& environment = {}) const;

    // The client areas of a process's windows, oldest first.
    QList<QRect> windowsOf(qint64 pid) const;
    // Polls the window tree until the process has `count` windows.
    bool waitForWindows(qint64 pid, qsizetype count, int timeoutMs = 10000) const;

    // The pointer moves there, then clicks; positions on the output.
    bool click(QPoint position);
    // Key events by evdev code as vo-wl-input takes them ("30 +42 48 -42").
    bool type(const QString& events);
    QImage screenshot() const;
    // Screenshots until one satisfies `shows` (a window drawn, a caption
    // changed); the last one taken when none did within the time.
    QImage screenshotWhen(const std::function<bool(const QImage&)>& shows, int timeoutMs = 5000) const;

private:
    void runAsUser(QProcess& process) const;  // and ends it with the test
    QString run(const QString& program, const QStringList& arguments) const;
    bool command(const QString& line);
    bool answered();  // vo-wl-input said "ok"

    QTemporaryDir root;
    uid_t uid = 0;
    gid_t gid = 0;
    QProcess sway;
    QProcess input;  // vo-wl-input, one command per line
    QString runtimeDir, waylandDisplay, x11Display, swaySocket;
    QString problem;
};
