// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// velkorondrix-ctl doctor: what stands between the user and the keyboard on
// this machine, each finding in plain words with its fix. Problems are what
// keeps the keyboard from being configured at all; notes are what only some
// features need (the desktop, the tray, the Chinese interface).
#pragma once

#include <ostream>
#include <string>

namespace ctl {

class Doctor {
public:
    explicit Doctor(std::ostream& out);

    // 0 when everything a user needs works, 1 when a problem was found.
    int run();

private:
    void ok(const std::string& text);
    void problem(const std::string& text, const std::string& fix);
    void note(const std::string& text, const std::string& fix);

    void checkSimulator();
    void checkKeyboard();
    void checkDesktop();
    // Why the configuration interface at its native path cannot be opened.
    void explainRefusal(const std::string& nativePath);

    std::ostream& out;
    int problems = 0;
};

}  // namespace ctl
