// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The tool's command line: one subcommand with its operand and options, plus
// the options every subcommand takes (--simulator FILE, --help).
#pragma once

#include <string>
#include <vector>

namespace ctl {

class CommandLine {
public:
    // Parses argv[1..argc). A usage problem leaves error() non-empty.
    static CommandLine parse(int argc, const char* const* argv);

    std::string command;     // empty when only global options were given
    std::string operand;     // the one file argument of write/read/show/firmware/diff/restore
    std::string simulator;   // --simulator FILE
    std::string language = "en-US";  // show --lang
    bool help = false;
    bool version = false;    // --version: the tool's own version
    bool keysOnly = false;
    bool lightsOnly = false;
    bool verify = false;
    bool force = false;      // write/firmware/restore: no question, no refusal

    const std::string& error() const { return problem; }

    // Usage text of one subcommand, or of the whole tool for an empty name.
    static std::string usage(const std::string& command);
    static bool isCommand(const std::string& name);

private:
    std::string problem;
};

}  // namespace ctl
