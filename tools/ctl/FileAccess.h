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
// No error when a file can be saved at path: its folder takes new files (a
// save writes a temporary file beside it) and an existing file there can be
// written. Leaves nothing behind.
std::error_code checkWritable(const std::filesystem::path& path);

}  // namespace ctl
