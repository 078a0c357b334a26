// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "Doctor.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include <velkorondrix/HidPlatform.h>
#include <velkorondrix/KeyboardMatch.h>

#include "DesktopProbe.h"
#include "Utf8.h"
#include "jobs/RecordingPath.h"

#if defined(__linux__)
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace ctl {

namespace {

namespace fs = std::filesystem;

constexpr const char* kRuleName = "70-velkorondrix.rules";
constexpr const char* kApplyRule = "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw";

struct Interface {
    std::string number;      // "00", "01", "ff" when unknown
    std::string nativePath;  // /dev/hidraw4; "simulated" for the simulator
};

// The keyboard's interfaces among the platform's paths
// (\\?\hid#vid_0483&pid_5022&mi_01#/dev/hidraw4), in enumeration order.
std::vector<Interface> keyboardInterfaces(const std::vector<std::wstring>& paths) {
    std::vector<Interface> found;
    for (const std::wstring& path : paths) {
        const std::size_t id = path.find(L"vid_0483&pid_5022&mi_");
        const std::size_t native = path.rfind(L'#');
        if (id == std::wstring::npos || native == std::wstring::npos || native < id)
            continue;
        const std::size_t number = id + std::wcslen(L"vid_0483&pid_5022&mi_");
        found.push_back({toUtf8(path.substr(number, 2)), toUtf8(path.substr(native + 1))});
    }
    return found;
}

std::string interfaceList(const std::vector<Interface>& interfaces) {
    std::string text;
    for (const Interface& interface : interfaces)
        text += (text.empty() ? "" : ", ") + std::string("interface ") + std::to_string(std::strtol(interface.number.c_str(), nullptr, 16)) +
                " at " + printable(interface.nativePath);
    return text;
}

#if defined(__linux__)
bool ruleInstalled() {
    for (const char* folder : {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/lib/udev/rules.d", "/lib/udev/rules.d",
                               "/usr/local/lib/udev/rules.d"}) {
        std::error_code error;
        if (fs::exists(fs::path(folder) / kRuleName, error))
            return true;
    }
    return false;
}

// udev keeps the tags it gave a device node in its database, one "G:" line each.
bool taggedForUser(const std::string& nativePath) {
    struct stat node {};
    if (::stat(nativePath.c_str(), &node) != 0)
        return false;
    std::ifstream database("/run/udev/data/c" + std::to_string(major(node.st_rdev)) + ":" +
                           std::to_string(minor(node.st_rdev)));
    std::string line;
    while (std::getline(database, line))
        if (line == "G:uaccess")
            return true;
    return false;
}

// Other processes that have the device node open, as "name (pid N)".
std::string holders(const std::string& nativePath) {
    std::string names;
    std::error_code error;
    const std::string self = std::to_string(::getpid());
    for (const auto& process : fs::directory_iterator("/proc", error)) {
        const std::string pid = process.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos || pid == self)
            continue;
        std::error_code fdError;
        for (const auto& fd : fs::directory_iterator(process.path() / "fd", fdError)) {
            std::error_code linkError;
            if (fs::read_symlink(fd.path(), linkError) != nativePath)
                continue;
            std::string name;
            std::getline(std::ifstream(process.path() / "comm"), name);
            names += (names.empty() ? "" : ", ") + printable(name) + " (pid " + pid + ")";
            break;
        }
    }
    return names;
}
#endif

}  // namespace

Doctor::Doctor(std::ostream& out_) : out(out_) {}

int Doctor::run() {
    checkSimulator();
    checkKeyboard();
    checkDesktop();
    if (problems == 0)
        out << "\nEverything the programs need to configure the keyboard works.\n";
    else
        out << '\n' << problems << (problems == 1 ? " problem keeps" : " problems keep")
            << " the keyboard from being configured; the fix is under each.\n";
    return problems == 0 ? 0 : 1;
}

void Doctor::ok(const std::string& text) {
    out << "ok    " << text << '\n';
}

void Doctor::problem(const std::string& text, const std::string& fix) {
    ++problems;
    out << "FAIL  " << text << "\n      Fix: " << fix << '\n';
}

void Doctor::note(const std::string& text, const std::string& fix) {
    out << "note  " << text << "\n      Fix: " << fix << '\n';
}

void Doctor::checkSimulator() {
    const char* simulator = std::getenv("VELKORONDRIX_SIMULATOR");
    if (simulator && *simulator)
        out << "note  The simulated keyboard is selected (VELKORONDRIX_SIMULATOR=" << printable(std::string(simulator))
            << "): the programs use it instead of a real keyboard.\n"
            << "      To use the real keyboard: unset VELKORONDRIX_SIMULATOR (and leave out --simulator).\n";
    else
        ok("The real keyboard is selected (no simulated keyboard).");
}

void Doctor::checkKeyboard() {
    hwi::HidPlatform& platform = hwi::hidPlatform();
    const std::vector<Interface> interfaces = keyboardInterfaces(platform.interfacePaths());
    const char* simulator = std::getenv("VELKORONDRIX_SIMULATOR");
    const bool simulated = simulator && *simulator;
    if (interfaces.empty()) {
        const std::string problemText = platform.problem();
        if (!problemText.empty())
            problem("The simulated keyboard cannot serve: " + printable(problemText) + ".",
                    "correct or remove its state file, or unset VELKORONDRIX_SIMULATOR.");
        else if (simulated)
            problem("The simulated keyboard is not attached: its state file does not exist.",
                    "create it (an empty file is a factory-fresh keyboard): touch '" +
                        printable(std::string(simulator)) + "'");
        else
            problem("The keyboard (USB 0483:5022) is not connected: no HID interface of it was found.",
                    "plug it in (another USB port or cable if it is plugged in), or try the programs with the "
                    "simulated keyboard: velkorondrix-ctl --simulator FILE ...");
        return;
    }
    ok("The keyboard is connected: " + interfaceList(interfaces) + ".");

    const std::optional<std::wstring> path = hwi::findKeyboardInterface(platform);
    if (!path) {
        problem("The keyboard's configuration interface (interface 1) is missing.",
                "plug the keyboard in again; if it stays missing, its firmware may need to be restored.");
        return;
    }
    const std::string nativePath = toUtf8(path->substr(path->rfind(L'#') + 1));
    if (platform.open(*path)) {
        ok("Its configuration interface (interface 1, " + printable(nativePath) + ") can be opened.");
        return;
    }
    if (simulated) {
        problem("The simulated keyboard refuses to be opened (VELKORONDRIX_SIMULATOR_FAULT=refuse-open?).",
                "unset VELKORONDRIX_SIMULATOR_FAULT.");
        return;
    }
    explainRefusal(nativePath);
}

void Doctor::explainRefusal(const std::string& nativePath) {
    const std::string node = "Its configuration interface (interface 1, " + printable(nativePath) + ")";
#if defined(__linux__)
    const int fd = ::open(nativePath.c_str(), O_RDWR | O_CLOEXEC);
    const int reason = fd < 0 ? errno : 0;
    if (fd >= 0)
        ::close(fd);
    const std::string others = holders(nativePath);
    if (reason == EACCES || reason == EPERM) {
        if (!ruleInstalled())
            problem(node + " cannot be opened: permission denied, and the udev rule that lets you open it (" +
                        kRuleName + ") is not installed.",
                    std::string("install the velkorondrix package, or install the rule yourself: sudo install -m 644 "
                                "packaging/70-velkorondrix.rules /etc/udev/rules.d/ && ") + kApplyRule);
        else if (!taggedForUser(nativePath))
            problem(node + " cannot be opened: permission denied. The udev rule is installed but not yet applied "
                           "to the keyboard.",
                    "unplug the keyboard and plug it in again, or run: " + std::string(kApplyRule));
        else
            problem(node + " cannot be opened: permission denied, although the udev rule is applied. The rule opens "
                           "the keyboard to the user of the active session at the machine, and this is not it "
                           "(a remote login, or a switched-away session).",
                    "run the programs from the desktop session at the machine.");
        return;
    }
    if (!others.empty() || reason == EBUSY) {
        problem(node + " cannot be opened: it is held by another program" +
                    (others.empty() ? std::string(".") : ": " + others + "."),
                "close that program, then try again.");
        return;
    }
    problem(node + " cannot be opened: " + (reason ? std::string(std::strerror(reason)) : "the HID layer refused it") +
                ".",
            "plug the keyboard in again; if that does not help, restart the computer.");
#else
    problem(node + " cannot be opened: another program holds it, or you have no permission.",
            "close other programs that use the keyboard, then try again.");
#endif
}

void Doctor::checkDesktop() {
    const Session session = currentSession();
    // The program's own rule, for the platform Qt would start it on: the one
    // named in QT_QPA_PLATFORM, else xcb, as in a Wayland session every
    // platform leads to the same answer.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool grab =
        recordingPathFor(RecordingSession::current(platform && *platform ? platform : "xcb")) == RecordingPath::Hook;
    const std::string recording = grab ? "The key editor records keys through a keyboard grab (every key goes to "
                                         "the recorder while it runs)."
                                       : "The key editor records the keys typed into its own window (keep it in "
                                         "front while recording).";
    switch (session.type) {
    case SessionType::X11:
        ok("Desktop session: X11. " + recording);
        break;
    case SessionType::Wayland:
        ok("Desktop session: Wayland" + std::string(session.x11Display ? " (with XWayland)" : "") + ". " + recording);
        break;
    case SessionType::None:
        note("No desktop session (DISPLAY and WAYLAND_DISPLAY are unset): the windowed program needs one, "
             "velkorondrix-ctl does not. " + recording,
             "start VelkorOndrix from a desktop session.");
        break;
    }
    if (session.type != SessionType::None) {
        if (systemTrayAvailable(session))
            ok("A system tray is available for the program's tray icon.");
        else
            note("No system tray: the program's tray icon has nowhere to show.",
                 "turn on the desktop's tray or status icons (on GNOME: an AppIndicator extension).");
    }
    const std::string font = chineseFont();
    if (!font.empty())
        ok("Chinese characters have a font: " + printable(font) + ".");
    else
        note("No font with Chinese characters: the Chinese interface shows empty boxes.",
             "sudo apt-get install fonts-noto-cjk");
}

}  // namespace ctl
