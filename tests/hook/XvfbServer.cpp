// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>

namespace {
constexpr int kStartTimeoutMs = 10000;
}

std::unique_ptr<XvfbServer> XvfbServer::start(std::string* why) {
    int ends[2];
    if (pipe(ends) != 0) {
        *why = "pipe failed";
        return nullptr;
    }
    const std::string fdText = std::to_string(ends[1]);
    const pid_t pid = fork();
    if (pid < 0) {
        close(ends[0]);
        close(ends[1]);
        *why = "fork failed";
        return nullptr;
    }
    if (pid == 0) {
        close(ends[0]);
        const int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        // -displayfd: Xvfb chooses a free display and writes its number
        // here once it accepts connections. -noreset: without it the server
        // restarts whenever its last client leaves and refuses connections
        // meanwhile.
        execlp("Xvfb", "Xvfb", "-displayfd", fdText.c_str(), "-nolisten", "tcp", "-noreset", "-screen", "0", "640x480x24",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);

    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd fd{ends[0], POLLIN, 0};
        if (left <= 0 || poll(&fd, 1, static_cast<int>(left)) <= 0)
            break;
        char c;
        if (read(ends[0], &c, 1) != 1 || c == '\n')
            break;
        number.push_back(c);
    }
    close(ends[0]);
    if (number.empty()) {
        ::kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        *why = "Xvfb did not start (is it installed?)";
        return nullptr;
    }
    return std::make_unique<XvfbServer>(pid, ":" + number);
}

XvfbServer::~XvfbServer() {
    if (pid > 0) {
        ::kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

void XvfbServer::kill() {
    if (pid > 0) {
        ::kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }
}
