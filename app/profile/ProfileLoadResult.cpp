// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "profile/ProfileLoadResult.h"

std::string ProfileLoadResult::description() const {
    switch (status) {
    case Status::Ok:
        return "loaded";
    case Status::FileError:
        return "cannot read the file: " + reason;
    case Status::FileTooLarge:
        return "the file is too large: " + reason;
    case Status::NotWellFormed:
        return "not a well-formed XML file: line " + std::to_string(line) + ", column " + std::to_string(column) +
               ": " + reason;
    case Status::NotAProfile:
        return "not a profile file: " + reason;
    }
    return reason;
}
