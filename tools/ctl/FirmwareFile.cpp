// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "FirmwareFile.h"

#include <climits>

#include "FileAccess.h"
#include <velkorondrix/IntelHexImage.h>

namespace ctl {

bool FirmwareFile::load(const std::filesystem::path& path) {
    problem.clear();
    bytes.clear();
    // The download takes the length as an int; a larger file is not read.
    std::error_code error;
    if (std::filesystem::file_size(path, error) > static_cast<std::uintmax_t>(INT_MAX) && !error) {
        problem = "the file is larger than 2 GB";
        return false;
    }
    unreadable = readWholeFile(path, bytes);
    if (unreadable)
        return false;
    IntelHexImage image;
    if (!image.load(bytes.data(), static_cast<int>(bytes.size()))) {
        problem = image.problem();
        return false;
    }
    return true;
}

}  // namespace ctl
