// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "FileAccess.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "profile/xml/ReplacingFile.h"

namespace ctl {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::error_code lastError() {
    return {errno ? errno : EIO, std::generic_category()};
}

}  // namespace

std::error_code readWholeFile(const fs::path& path, std::string& bytes) {
    bytes.clear();
    // A directory opens for reading on some systems and fails only when read.
    std::error_code error;
    if (fs::is_directory(path, error))
        return std::make_error_code(std::errc::is_a_directory);
    errno = 0;
#if defined(_WIN32)
    std::unique_ptr<std::FILE, FileCloser> file(_wfopen(path.c_str(), L"rb"));
#else
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
#endif
    if (!file)
        return lastError();
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, n);
    return std::ferror(file.get()) ? lastError() : std::error_code();
}

std::error_code checkWritable(const fs::path& path) {
    std::error_code error;
    if (path.filename().empty() && !fs::is_directory(path, error))
        return std::make_error_code(std::errc::no_such_file_or_directory);
    // The save's own rule: its temporary file is made and removed again.
    ReplacingFile file(path);
    return file.open() ? std::error_code() : file.error();
}

}  // namespace ctl
