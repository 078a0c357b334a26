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

// Who runs the desktop: the caller, or under root a system user made once.
bool desktopUser(uid_t& uid, gid_t& gid, QString& why) {
    uid = getuid();
    gid = getgid();
    if (uid != 0)
        return true;
    // One test at a time: two useradd runs that both find no user leave the
    // second's numbers in place of the first's, under a desktop started with them.
    const int lock = ::open("/tmp/velkorondrix-sway-user.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ::flock(lock, LOCK_EX);
    const passwd* entry = getpwnam(kUser);
    if (!entry) {
        QProcess::execute("/usr/sbin/useradd", {"--system", "--no-create-home", "--home-dir", "/nonexistent",
                                                "--shell", "/usr/sbin/nologin", kUser});
        entry = getpwnam(kUser);
    }
    ::close(lock);
    if (!entry) {
        why = QString("cannot make the user %1 to run sway (it refuses root)").arg(kUser);
        return false;
    }
    uid = entry->pw_uid;
    gid = entry->pw_gid;
    return true;
}

// The caller's environment without any desktop it may itself run in, and
// without a state folder the desktop's user may not write (the program keeps
// the keyboard's contents there before each write): theirs is under HOME.
QProcessEnvironment cleanEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "SWAYSOCK", "I3SOCK", "XAUTHORITY",
                             "QT_QPA_PLATFORM", "XDG_SESSION_TYPE", "XDG_RUNTIME_DIR", "XDG_STATE_HOME"})
        environment.remove(name);
    return environment;
}

}  // namespace

SwayDesktop::SwayDesktop() {
    if (!root.isValid()) {
        problem = "cannot make a temporary folder";
        return;
    }
    if (!desktopUser(uid, gid, problem))
        return;
    // XWayland's socket folder, as a system makes it; wlroots would make it
    // private to the desktop's user.
    if (getuid() == 0 && ::mkdir("/tmp/.X11-unix", 0) == 0)
        ::chmod("/tmp/.X11-unix", 01777);
    runtimeDir = root.filePath("run");
    const QDir dir(root.path());
    dir.mkpath("run");
    dir.mkpath("home");
    ::chmod(QFile::encodeName(runtimeDir).constData(), 0700);
    for (const QString& path : {root.path(), runtimeDir, folder()}) {
        if (::chown(QFile::encodeName(path).constData(), uid, gid) != 0) {
            problem = "cannot give the desktop's folders to its user";
            return;
        }
    }

    // The session's variables, written once sway runs, tell that it is ready.
    const QString ready = root.filePath("run/session");
    QFile config(root.filePath("sway.conf"));
    if (!config.open(QIODevice::WriteOnly)) {
        problem = "cannot write the sway configuration";
        return;
    }
    config.write(QString("output * bg #%1 solid_color\n"
                         "xwayland enable\n"
                         "default_border none\n"
                         "default_floating_border none\n"
                         "focus_follows_mouse no\n"
                         "exec env > %2.part && mv %2.part %2\n")
                     .arg(kBackground & 0xffffff, 6, 16, QChar('0'))
                     .arg(ready)
                     .toUtf8());
    config.close();

    QProcessEnvironment environment = cleanEnvironment();
    environment.insert("HOME", folder());
    environment.insert("XDG_RUNTIME_DIR", runtimeDir);
    environment.insert("WLR_BACKENDS", "headless");
    environment.insert("WLR_LIBINPUT_NO_DEVICES", "1");
    environment.insert("WLR_RENDERER", "pixman");
    sway.setProcessEnvironment(environment);
    sway.setStandardOutputFile(root.filePath("sway.log"));
    sway.setStandardErrorFile(root.filePath("sway.log"), QIODevice::Append);
    runAsUser(sway);
    sway.start("sway", {"-c", config.fileName()});
    const QDeadlineTimer deadline(10000);
    while (!QFile::exists(ready) && sway.state() != QProcess::NotRunning && !deadline.hasExpired())
        QThread::msleep(kPollMs);
    QFile session(ready);
    if (!session.open(QIODevice::ReadOnly)) {
        QFile log(root.filePath("sway.log"));
        log.open(QIODevice::ReadOnly);
        problem = "sway did not start (" + sway.errorString() + "): " + QString::fromUtf8(log.readAll().right(2000));
        return;
    }
    for (const QByteArray& line : session.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line);
        const QString value = text.section('=', 1);
        if (text.startsWith("WAYLAND_DISPLAY="))
            waylandDisplay = value;
        else if (text.startsWith("DISPLAY="))
            x11Display = value;
        else if (text.startsWith("SWAYSOCK="))
            swaySocket = value;
    }
    if (waylandDisplay.isEmpty() || x11Display.isEmpty() || swaySocket.isEmpty()) {
        problem = "sway runs without a Wayland display, an X display for XWayland or an IPC socket";
        return;
    }

    input.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    startClient(input, VO_WL_INPUT, {}, "wayland");
    if (!answered())
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
    if (::chown(QFile::encodeName(path).constData(), uid, gid) != 0)
        return {};
    return path;
}

void SwayDesktop::runAsUser(QProcess& process) const {
    const bool root = getuid() == 0;
    const uid_t user = uid;
    const gid_t group = gid;
    process.setChildProcessModifier([root, user, group] {
        if (root && (setgroups(0, nullptr) != 0 || setgid(group) != 0 || setuid(user) != 0))
            _exit(127);
        // A test that is killed (a time limit) takes its desktop along. Set
        // after the change of user, which would clear it.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
}

void SwayDesktop::startClient(QProcess& process, const QString& program, const QStringList& arguments,
                              const QString& platform, const QStringList& environment) const {
    QProcessEnvironment session = cleanEnvironment();
    session.insert("HOME", folder());
    session.insert("XDG_RUNTIME_DIR", runtimeDir);
    session.insert("XDG_SESSION_TYPE", "wayland");
    session.insert("WAYLAND_DISPLAY", waylandDisplay);
    session.insert("DISPLAY", x11Display);
    session.insert("QT_QPA_PLATFORM", platform);
    for (const QString& variable : environment)
        session.insert(variable.section('=', 0, 0), variable.section('=', 1));
    process.setProcessEnvironment(session);
    runAsUser(process);
    process.start(program, arguments);
}

QString SwayDesktop::run(const QString& program, const QStringList& arguments) const {
    QProcess process;
    startClient(process, program, arguments, "wayland");
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QList<QRect> SwayDesktop::windowsOf(qint64 pid) const {
    const QJsonDocument tree =
        QJsonDocument::fromJson(run("swaymsg", {"-s", swaySocket, "-r", "-t", "get_tree"}).toUtf8());
    QList<std::pair<qint64, QRect>> found;  // by container id: sway numbers them as they come
    auto walk = [&](auto& self, const QJsonObject& node) -> void {
        if (node.value("pid").toInteger() == pid) {
            const QJsonObject outer = node.value("rect").toObject();
            const QJsonObject inner = node.value("window_rect").toObject();
            found.append({node.value("id").toInteger(),
                          QRect(outer.value("x").toInt() + inner.value("x").toInt(),
                                outer.value("y").toInt() + inner.value("y").toInt(), inner.value("width").toInt(),
                                inner.value("height").toInt())});
        }
        for (const char* children : {"nodes", "floating_nodes"})
            for (const QJsonValue child : node.value(children).toArray())
                self(self, child.toObject());
    };
    walk(walk, tree.object());
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<QRect> windows;
    for (const auto& [id, rect] : found)
        windows.append(rect);
    return windows;
}

bool SwayDesktop::waitForWindows(qint64 pid, qsizetype count, int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    while (windowsOf(pid).size() != count) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(kPollMs);
    }
    return true;
}

bool SwayDesktop::command(const QString& line) {
    if (input.state() != QProcess::Running)
        return false;
    input.write(line.toUtf8() + '\n');
    return answered();
}

bool SwayDesktop::answered() {
    while (!input.canReadLine())
        if (!input.waitForReadyRead(10000))
            return false;
    return input.readLine().trimmed() == "ok";
}

bool SwayDesktop::click(QPoint position) {
    return command(QString("click %1 %2").arg(position.x()).arg(position.y()));
}

bool SwayDesktop::type(const QString& events) { return command("key " + events); }

QImage SwayDesktop::screenshot() const {
    const QString file = QDir(folder()).filePath("screenshot.png");
    QFile::remove(file);
    run("grim", {file});
    return QImage(file);
}

QImage SwayDesktop::screenshotWhen(const std::function<bool(const QImage&)>& shows, int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    QImage image = screenshot();
    while (!shows(image) && !deadline.hasExpired()) {
        QThread::msleep(kPollMs);
        image = screenshot();
    }
    return image;
}
