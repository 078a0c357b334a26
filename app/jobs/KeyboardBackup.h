// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// The keyboard's contents kept before a write: its keys and colours read
// into a profile of their own and saved, the way Save saves, as an ordinary
// profile file in the backups folder, named by date and time
// (keyboard-2026-12-09-125530-042.pro). The newest kKept are kept; restoring
// one is opening it and writing its keys.
//
// Plain C++: the program runs it on a job's worker thread, the command-line
// tool on its own.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "jobs/KeyboardContents.h"

class KeyboardProfile;
class MessageWindow;

class KeyboardBackup {
public:
    static constexpr int kKept = 20;

    // userStateFolder()/backups; empty when no home folder is known.
    static std::filesystem::path folder();
    // The backups in the folder, newest first.
    static std::vector<std::filesystem::path> list();

    KeyboardBackup();
    ~KeyboardBackup();

    // Read the keys, then the colours, of `source`'s keyboard into
    // keyboard(); `source` keeps its own. Key progress goes to window (may
    // be null). False when the keyboard did not answer completely.
    bool readKeys(KeyboardProfile& source, MessageWindow* window);
    bool readLights(KeyboardProfile& source);
    // Saves what read() got as a new backup and removes the oldest beyond
    // kKept. False when it cannot be written; path() is then empty.
    bool save();

    // What the keyboard held when read().
    const KeyboardProfile& keyboard() const { return *keyboard_; }
    const KeyboardContents& contents() const { return contents_; }
    const std::filesystem::path& path() const { return path_; }

private:
    std::unique_ptr<KeyboardProfile> keyboard_;
    KeyboardContents contents_;
    std::filesystem::path path_;
};
