// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// velkorondrix-ctl: the keyboard's configuration from the command line. Each
// subcommand reports failure as one line on the error stream and a non-zero
// exit status; results and progress go to the output stream.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "CommandLine.h"

class KeyboardProfile;
class MessageWindow;

namespace ctl {

enum ExitCode : int {
    ExitOk = 0,
    ExitFailure = 1,  // anything else: out of memory, output that cannot be written
    ExitUsage = 2,
    ExitNoKeyboard = 3,
    ExitBadProfile = 4,
    ExitTransferFailed = 5,
    ExitBadFirmware = 6,
    ExitVerifyMismatch = 7,
};

class CtlTool {
public:
    // terminal: the output stream is a terminal, so progress is a bar
    // redrawn in place rather than plain lines.
    CtlTool(std::ostream& out, std::ostream& err, bool terminal);

    // Never throws: every failure is one line on the error stream and the
    // exit status.
    int run(int argc, const char* const* argv);

private:
    using Transfer = std::function<bool(MessageWindow*)>;

    int dispatch(int argc, const char* const* argv);
    int list();
    int version();
    int write(const CommandLine& line);
    int read(const CommandLine& line);
    int show(const CommandLine& line);
    int firmware(const CommandLine& line);

    int fail(int code, const std::string& message);
    // A profile with its name tables built and every key not set.
    static std::unique_ptr<KeyboardProfile> newProfile();
    // ExitOk, or the code of the failure already reported.
    int loadProfile(KeyboardProfile& profile, const std::string& path);
    int openKeyboard(KeyboardProfile& profile);
    // Runs the transfer on a worker thread while this thread shows the
    // progress it posts. Key transfers post slot indices 0..total - 1,
    // the firmware download a scale value 1..total.
    bool runTransfer(const std::string& label, int total, bool slotIndices, const Transfer& transfer);
    int verify(KeyboardProfile& profile, bool keys, bool lights);
    // One warning line per key slot whose sequence is longer than its key
    // record holds, after a key write.
    void warnAboutSequencesCut(KeyboardProfile& profile);

    std::ostream& out;
    std::ostream& err;
    bool terminal;
};

}  // namespace ctl
