// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A firmware image file read whole and checked before anything is sent, so
// the tool can say what is wrong with a file (and on which line) instead of
// only that the download did not happen.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace ctl {

class FirmwareFile {
public:
    // Reads the file and checks it by the device library's own rule for
    // Intel HEX images, the one the download applies. False with either
    // readError() (the file could not be read) or error() set.
    bool load(const std::filesystem::path& path);

    const std::error_code& readError() const { return unreadable; }
    const std::string& error() const { return problem; }
    // The file's bytes; std::string keeps a zero byte after them.
    std::string& text() { return bytes; }

private:
    std::string bytes;
    std::error_code unreadable;
    std::string problem;
};

}  // namespace ctl
