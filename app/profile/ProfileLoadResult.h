// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// What loading a profile file found: converts to true when the file was
// loaded, and otherwise says why not, e.g. "line 12, column 5: end tag </KEY>
// does not match <List>".
#pragma once

#include <string>

struct ProfileLoadResult {
    enum class Status {
        Ok,
        FileError,      // cannot be opened or read; `reason` is the system's
        FileTooLarge,   // above KeyboardProfile::kMaxProfileFileBytes, refused unread
        NotWellFormed,  // not XML; `line`, `column` and `reason` say where and what
        NotAProfile,    // well-formed, but no VelkorOndrix_108 root element
    };

    Status status = Status::Ok;
    int line = 0;         // first error, counted from 1 (NotWellFormed)
    int column = 0;       // in characters, counted from 1
    std::string reason;   // UTF-8, English

    explicit operator bool() const { return status == Status::Ok; }
    // One line of English for messages and logs (UTF-8).
    std::string description() const;
};
