// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// velkorondrix-ctl: the keyboard's configuration from the command line. Each
// subcommand reports failure as one line on the error stream and a non-zero
// exit status; results and progress go to the output stream.
#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "CommandLine.h"

class KeyboardBackup;
class KeyboardProfile;
class MessageWindow;
struct KeyboardComparison;

namespace ctl {

enum ExitCode : int {
    ExitOk = 0,
    ExitFailure = 1,  // anything else: out of memory, output that cannot be written
    ExitUsage = 2,
    ExitNoKeyboard = 3,
    ExitBadProfile = 4,
    ExitRefused = 4,  // the keyboard's contents left alone: not confirmed, or not readable
    ExitTransferFailed = 5,
    ExitBadFirmware = 6,
    ExitVerifyMismatch = 7,
};

class CtlTool {
public:
    // terminal: the output stream is a terminal, so progress is a bar
    // redrawn in place rather than plain lines. questions: where a person
    // answers (a terminal), or null when nobody can.
    CtlTool(std::ostream& out, std::ostream& err, bool terminal, std::istream* questions = nullptr);

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
    int backups();
    int restore(const CommandLine& line);
    int diff(const CommandLine& line);

    // Writes the profile's keys and/or colours; ExitOk or the failure reported.
    int writeProfile(KeyboardProfile& profile, const std::string& name, bool keys, bool lights, bool verifyAfter);
    // Reads the keyboard's keys and colours into `backup`; false when it did not answer.
    bool readKeyboard(KeyboardProfile& profile, KeyboardBackup& backup, const std::string& label);
    // Keeps the keyboard's contents before a write of `profile` (null for a
    // firmware download) and asks before assigned keys are overwritten.
    int keepContents(KeyboardProfile& profile, const KeyboardProfile* written, bool keys, bool force);
    bool confirm(const std::string& question);
    // One "differs:" line per key and colour; `wanted` says what the profile's side is called.
    void printDifferences(const KeyboardProfile& profile, const KeyboardProfile& keyboard,
                          const KeyboardComparison& comparison, const std::string& wanted);

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
    std::istream* questions;
};

}  // namespace ctl
