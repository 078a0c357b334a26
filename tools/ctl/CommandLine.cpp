// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "CommandLine.h"

#include <algorithm>
#include <iterator>

namespace ctl {

namespace {

struct CommandInfo {
    const char* name;
    const char* operand;  // nullptr: takes no operand
    const char* usage;
    bool operandOptional = false;
};

constexpr CommandInfo kCommands[] = {
    {"list", nullptr,
     "Usage: velkorondrix-ctl list\n"
     "List the HID interfaces present and mark the one that is the keyboard.\n"},
    {"version", nullptr,
     "Usage: velkorondrix-ctl version\n"
     "Print the keyboard's firmware version text.\n"},
    {"write", "PROFILE.pro",
     "Usage: velkorondrix-ctl write PROFILE.pro [--keys-only | --lights-only] [--verify] [--force]\n"
     "Load a profile file and write its key assignments and key colours to the keyboard.\n"
     "First the keyboard's keys and colours are read and kept as a backup (see\n"
     "'backups'); nothing is written when they cannot be kept. When the write would\n"
     "change or clear keys the keyboard holds assigned, it asks on a terminal; without\n"
     "one it refuses (status 4).\n"
     "  --keys-only    write the key assignments only\n"
     "  --lights-only  write the key colours only\n"
     "  --verify       read the keyboard back afterwards and report every key slot\n"
     "                 or colour that differs from the profile\n"
     "  --force        overwrite assigned keys without asking\n"},
    {"read", "PROFILE.pro",
     "Usage: velkorondrix-ctl read PROFILE.pro\n"
     "Read the key assignments and key colours from the keyboard and save them as a\n"
     "profile file (with empty libraries).\n"},
    {"show", "PROFILE.pro",
     "Usage: velkorondrix-ctl show PROFILE.pro [--lang en-US | zh-CN]\n"
     "Print every assigned key of both layers with its mode and assignment, and every\n"
     "key colour that is not black.\n"
     "  --lang zh-CN   mode labels in Chinese\n"},
    {"firmware", "FILE.hex",
     "Usage: velkorondrix-ctl firmware FILE.hex [--force]\n"
     "Check an Intel HEX firmware image, keep the keyboard's keys and colours as a\n"
     "backup, and download the image to the keyboard.\n"
     "  --force        download even when the keyboard's settings cannot be read\n"
     "                 (and so cannot be kept)\n"},
    {"backups", nullptr,
     "Usage: velkorondrix-ctl backups\n"
     "List the backups of the keyboard's contents, newest first. Each is a profile\n"
     "file made before a write; the newest 20 are kept in\n"
     "$XDG_STATE_HOME/velkorondrix/backups (default ~/.local/state/velkorondrix/backups).\n"},
    {"restore", "FILE.pro",
     "Usage: velkorondrix-ctl restore [FILE.pro]\n"
     "Write the newest backup, or FILE.pro, back to the keyboard (keys and colours),\n"
     "then read the keyboard back and report every difference. What the keyboard\n"
     "held before is kept as a new backup first.\n",
     true},
    {"diff", "PROFILE.pro",
     "Usage: velkorondrix-ctl diff PROFILE.pro\n"
     "Read the keyboard and print each key and colour where it differs from the\n"
     "profile. Exit status 0 when they are the same, 1 when they differ.\n"},
    {"doctor", nullptr,
     "Usage: velkorondrix-ctl doctor\n"
     "Check what the programs need on this machine: the keyboard and its interfaces,\n"
     "permission to open it, the desktop session and how keys are recorded there, the\n"
     "system tray, Chinese fonts, the simulated keyboard; with the fix for each problem.\n"
     "Exit status 0 when the keyboard can be configured, 1 when not.\n"},
};

constexpr const char* kGlobalHelp =
    "Usage: velkorondrix-ctl [--simulator FILE] COMMAND [ARGS] [--help]\n"
    "Configure the programmable 108-key keyboard from the command line.\n"
    "\n"
    "Commands:\n"
    "  list                     HID interfaces present, and which one is the keyboard\n"
    "  version                  the keyboard's firmware version\n"
    "  write PROFILE.pro        write a profile's keys and colours to the keyboard\n"
    "  read PROFILE.pro         read the keyboard's keys and colours into a profile\n"
    "  show PROFILE.pro         print a profile's assigned keys and colours\n"
    "  firmware FILE.hex        download new firmware to the keyboard\n"
    "  backups                  list the kept contents of the keyboard, newest first\n"
    "  restore [FILE.pro]       write the newest backup (or FILE.pro) back, verified\n"
    "  diff PROFILE.pro         print where the keyboard differs from a profile\n"
    "  doctor                   what keeps the keyboard from working here, and the fix\n"
    "\n"
    "Before 'write', 'restore' and 'firmware' change the keyboard, its keys and\n"
    "colours are kept as a profile file in $XDG_STATE_HOME/velkorondrix/backups\n"
    "(default ~/.local/state/velkorondrix/backups).\n"
    "\n"
    "Options for every command:\n"
    "  --simulator FILE         use the simulated keyboard kept in FILE (as does the\n"
    "                           environment variable VELKORONDRIX_SIMULATOR); the\n"
    "                           keyboard is attached while FILE exists, and an empty\n"
    "                           file is a factory-fresh keyboard\n"
    "  --help                   usage of the tool or of one command\n"
    "  --version                the tool's version\n"
    "\n"
    "Exit status: 0 success, 1 any other failure (diff: the keyboard differs), 2 usage\n"
    "error, 3 no keyboard, 4 unreadable or invalid profile, or the keyboard's\n"
    "contents left alone (not confirmed, or not readable, without --force), 5\n"
    "transfer failed, 6 unreadable or invalid firmware image, 7 verify found\n"
    "differences.\n";

const CommandInfo* findCommand(const std::string& name) {
    const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                                 [&](const CommandInfo& info) { return name == info.name; });
    return it == std::end(kCommands) ? nullptr : &*it;
}

// "--name=value" or "--name value"; false when the value is missing.
bool optionValue(const std::string& arg, const std::string& name, int argc, const char* const* argv, int& i,
                 std::string& value, bool& matched) {
    matched = false;
    if (arg == name) {
        matched = true;
        if (i + 1 >= argc)
            return false;
        value = argv[++i];
        return true;
    }
    if (arg.rfind(name + "=", 0) == 0) {
        matched = true;
        value = arg.substr(name.size() + 1);
        return true;
    }
    return true;
}

}  // namespace

bool CommandLine::isCommand(const std::string& name) {
    return findCommand(name) != nullptr;
}

std::string CommandLine::usage(const std::string& command) {
    const CommandInfo* info = findCommand(command);
    return info ? std::string(info->usage) + "Also: --simulator FILE, --help.\n" : kGlobalHelp;
}

CommandLine CommandLine::parse(int argc, const char* const* argv) {
    CommandLine line;
    std::vector<std::string> operands;
    auto fail = [&](std::string message) {
        if (line.problem.empty())
            line.problem = std::move(message);
    };

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        bool matched = false;
        std::string value;
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (!optionValue(arg, "--simulator", argc, argv, i, value, matched)) {
            fail("--simulator needs a file name");
        } else if (matched) {
            if (value.empty())
                fail("--simulator needs a file name");
            line.simulator = value;
        } else if (!optionValue(arg, "--lang", argc, argv, i, value, matched)) {
            fail("--lang needs a language code (en-US or zh-CN)");
        } else if (matched) {
            if (value != "en-US" && value != "zh-CN")
                fail("unknown language '" + value + "' (use en-US or zh-CN)");
            line.language = value;
        } else if (arg == "--keys-only") {
            line.keysOnly = true;
        } else if (arg == "--lights-only") {
            line.lightsOnly = true;
        } else if (arg == "--verify") {
            line.verify = true;
        } else if (arg == "--force") {
            line.force = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            fail("unknown option '" + arg + "'");
        } else if (line.command.empty()) {
            line.command = arg;
            if (arg == "help") {
                line.help = true;
                line.command.clear();
                // "help COMMAND" is the same as "COMMAND --help".
                if (i + 1 < argc && isCommand(argv[i + 1]))
                    line.command = argv[++i];
            } else if (!isCommand(arg)) {
                fail("unknown command '" + arg + "'");
            }
        } else {
            operands.push_back(arg);
        }
    }
    if (line.help || line.version)
        return line;  // help wins over every other problem, then the version

    const CommandInfo* info = findCommand(line.command);
    if (!info) {
        fail("no command given");
        return line;
    }
    if (info->operand) {
        if (operands.empty() && !info->operandOptional)
            fail(line.command + " needs " + info->operand);
        else if (!operands.empty())
            line.operand = operands.front();
    }
    if (operands.size() > (info->operand ? 1u : 0u))
        fail("unexpected argument '" + operands.back() + "'");
    if ((line.keysOnly || line.lightsOnly || line.verify) && line.command != "write")
        fail("--keys-only, --lights-only and --verify are options of 'write' only");
    if (line.force && line.command != "write" && line.command != "firmware")
        fail("--force is an option of 'write' and 'firmware' only");
    if (line.keysOnly && line.lightsOnly)
        fail("--keys-only and --lights-only exclude each other");
    if (line.language != "en-US" && line.command != "show")
        fail("--lang is an option of 'show' only");
    return line;
}

}  // namespace ctl
