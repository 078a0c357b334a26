// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT

#include "SwayDesktop.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

namespace {

constexpr char kUser[] = "velkorondrix-sway";
constexpr int kPollMs = 50;

// The caller, or under root a system user made once.
bool desktopUser(uid_t& uid, gid_t& gid) {
    uid = getuid();
    gid = getgid();
    if (uid != 0)
        return true;
    // Two useradd runs that both find no user would leave the second's numbers
    // in place of those a desktop was started with.
    const int lock = ::open("/tmp/velkorondrix-sway-user.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ::flock(lock, LOCK_EX);
    const passwd* entry = getpwnam(kUser);
    if (!entry) {
        QProcess::execute("/usr/sbin/useradd", {"--system", "--no-create-home", "--home-dir", "/nonexistent",
                                                "--shell", "/usr/sbin/nologin", kUser});
        entry = getpwnam(kUser);
    }
    ::close(lock);
    if (entry) {
        uid = entry->pw_uid;
        gid = entry->pw_gid;
    }
    return entry;
}

bool giveTo(const QString& path, uid_t uid, gid_t gid) {
    return ::chown(QFile::encodeName(path).constData(), uid, gid) == 0;
}

}  // namespace

SwayDesktop::SwayDesktop() {
    runtimeDir = root.filePath("run");
    const QString ready = root.filePath("run/session");  // the session's variables, written once sway runs
    QFile config(root.filePath("sway.conf"));
    if (!root.isValid() || !desktopUser(uid, gid)) {
        problem = QString("no temporary folder, or no user %1 to run sway").arg(kUser);
        return;
    }
    // XWayland's socket folder, as a system makes it; wlroots would make it
    // private to the desktop's user.
    if (getuid() == 0 && ::mkdir("/tmp/.X11-unix", 0) == 0)
        ::chmod("/tmp/.X11-unix", 01777);
    QDir(root.path()).mkpath("run");
    QDir(root.path()).mkpath("home");
    ::chmod(QFile::encodeName(runtimeDir).constData(), 0700);
    if (!giveTo(root.path(), uid, gid) || !giveTo(runtimeDir, uid, gid) || !giveTo(folder(), uid, gid)
        || !config.open(QIODevice::WriteOnly)) {
        problem = "cannot prepare the desktop's folders";
        return;
    }
    config.write(QString("output * bg #%1 solid_color\nxwayland enable\ndefault_border none\n"
                         "default_floating_border none\nfocus_follows_mouse no\n"
                         "exec echo $WAYLAND_DISPLAY $DISPLAY $SWAYSOCK > %2.part && mv %2.part %2\n")
                     .arg(kBackground & 0xffffff, 6, 16, QChar('0'))
                     .arg(ready)
                     .toUtf8());
    config.close();

    QProcessEnvironment variables = environment();
    variables.insert("WLR_BACKENDS", "headless");
    variables.insert("WLR_LIBINPUT_NO_DEVICES", "1");
    variables.insert("WLR_RENDERER", "pixman");
    sway.setProcessEnvironment(variables);
    sway.setStandardOutputFile(root.filePath("sway.log"));
    sway.setStandardErrorFile(root.filePath("sway.log"), QIODevice::Append);
    startClient(sway, "sway", {"-c", config.fileName()}, {});
    for (const QDeadlineTimer deadline(10000);
         !QFile::exists(ready) && sway.state() != QProcess::NotRunning && !deadline.hasExpired();)
        QThread::msleep(kPollMs);
    QFile session(ready);
    if (!session.open(QIODevice::ReadOnly)) {
        QFile log(root.filePath("sway.log"));
        log.open(QIODevice::ReadOnly);
        problem = "sway did not start (" + sway.errorString() + "): " + QString::fromUtf8(log.readAll().right(2000));
        return;
    }
    const QStringList values = QString::fromUtf8(session.readAll()).split(' ', Qt::SkipEmptyParts);
    if (values.size() != 3) {
        problem = "sway runs without a Wayland display, an X display for XWayland or an IPC socket";
        return;
    }
    waylandDisplay = values[0];
    x11Display = values[1];
    swaySocket = values[2].trimmed();
    input.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    startClient(input, VO_WL_INPUT, {}, "wayland");
    if (!command({}))
        problem = "vo-wl-input could not give the desktop a keyboard and pointer: " + input.errorString();
}

SwayDesktop::~SwayDesktop() {
    input.closeWriteChannel();
    if (!input.waitForFinished(2000))
        input.kill();
    sway.terminate();
    if (!sway.waitForFinished(5000))
        sway.kill();
    sway.waitForFinished();
}

QString SwayDesktop::emptyFile(const QString& name) const {
    const QString path = QDir(folder()).filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.close();
    return giveTo(path, uid, gid) ? path : QString();
}

// The caller's environment without any desktop it may itself run in, and
// without a state folder the desktop's user may not write (the program keeps
// the keyboard's contents there before each write): theirs is under HOME.
QProcessEnvironment SwayDesktop::environment() const {
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "SWAYSOCK", "I3SOCK", "XAUTHORITY",
                             "QT_QPA_PLATFORM", "XDG_SESSION_TYPE", "XDG_STATE_HOME"})
        variables.remove(name);
    variables.insert("HOME", folder());
    variables.insert("XDG_RUNTIME_DIR", runtimeDir);
    return variables;
}

// An empty platform keeps the environment already set (sway's own).
void SwayDesktop::startClient(QProcess& process, const QString& program, const QStringList& arguments,
                              const QString& platform, const QStringList& environment) const {
    if (!platform.isEmpty()) {
        QProcessEnvironment session = this->environment();
        session.insert("XDG_SESSION_TYPE", "wayland");
        session.insert("WAYLAND_DISPLAY", waylandDisplay);
        session.insert("DISPLAY", x11Display);
        session.insert("QT_QPA_PLATFORM", platform);
        for (const QString& variable : environment)
            session.insert(variable.section('=', 0, 0), variable.section('=', 1));
        process.setProcessEnvironment(session);
    }
    process.setChildProcessModifier([root = getuid() == 0, user = uid, group = gid] {
        if (root && (setgroups(0, nullptr) != 0 || setgid(group) != 0 || setuid(user) != 0))
            _exit(127);
        // A test that is killed takes its desktop along; set after the change
        // of user, which would clear it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    process.start(program, arguments);
}

QString SwayDesktop::run(const QString& program, const QStringList& arguments) const {
    QProcess process;
    startClient(process, program, arguments, "wayland");
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QList<QRect> SwayDesktop::windowsOf(qint64 pid) const {
    QList<std::pair<qint64, QRect>> found;  // by container id: sway numbers them as they come
    auto walk = [&](auto& self, const QJsonObject& node) -> void {
        if (node.value("pid").toInteger() == pid) {
            const QJsonObject outer = node.value("rect").toObject(), inner = node.value("window_rect").toObject();
            found.append({node.value("id").toInteger(),
                          QRect(outer.value("x").toInt() + inner.value("x").toInt(),
                                outer.value("y").toInt() + inner.value("y").toInt(), inner.value("width").toInt(),
                                inner.value("height").toInt())});
        }
        for (const char* children : {"nodes", "floating_nodes"})
            for (const QJsonValue child : node.value(children).toArray())
                self(self, child.toObject());
    };
    walk(walk, QJsonDocument::fromJson(run("swaymsg", {"-s", swaySocket, "-r", "-t", "get_tree"}).toUtf8()).object());
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<QRect> windows;
    for (const auto& [id, rect] : found)
        windows.append(rect);
    return windows;
}

bool SwayDesktop::waitForWindows(qint64 pid, qsizetype count, int timeoutMs) const {
    for (const QDeadlineTimer deadline(timeoutMs); windowsOf(pid).size() != count; QThread::msleep(kPollMs))
        if (deadline.hasExpired())
            return false;
    return true;
}

// An empty line only reads the answer (the one vo-wl-input gives when ready).
bool SwayDesktop::command(const QString& line) {
    if (!line.isEmpty() && (input.state() != QProcess::Running || input.write(line.toUtf8() + '\n') < 0))
        return false;
    while (!input.canReadLine())
        if (!input.waitForReadyRead(10000))
            return false;
    return input.readLine().trimmed() == "ok";
}

QImage SwayDesktop::screenshotWhen(const std::function<bool(const QImage&)>& shows, int timeoutMs) const {
    const QString file = QDir(folder()).filePath("screenshot.png");
    QImage image;
    for (const QDeadlineTimer deadline(timeoutMs);; QThread::msleep(kPollMs)) {
        QFile::remove(file);
        run("grim", {file});
        image = QImage(file);
        if (shows(image) || deadline.hasExpired())
            return image;
    }
}
