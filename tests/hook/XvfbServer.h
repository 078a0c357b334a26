// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A private X server for the hook tests: Xvfb on a display number it picks
// itself, stopped when the object goes.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

class XvfbServer {
public:
    // Null, with the reason in *why, when Xvfb cannot be started.
    static std::unique_ptr<XvfbServer> start(std::string* why);
    XvfbServer(pid_t pid, std::string name) : pid(pid), name(std::move(name)) {}
    ~XvfbServer();  // stops the server
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    const std::string& displayName() const { return name; }
    // Ends the server at once, as if it crashed.
    void kill();

private:
    pid_t pid;
    std::string name;
};
