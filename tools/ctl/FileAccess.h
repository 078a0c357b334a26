// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The files the tool reads and writes, asked first so that a failure names
// the system's reason ("No such file or directory", "Is a directory",
// "Permission denied") before any keyboard traffic, and never throws.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace ctl {

// The whole file into bytes.
std::error_code readWholeFile(const std::filesystem::path& path, std::string& bytes);
// No error when a profile can be saved at path, by the rule the save itself
// applies (a writable target, a folder that takes its temporary file).
// Leaves nothing behind.
std::error_code checkWritable(const std::filesystem::path& path);

}  // namespace ctl
