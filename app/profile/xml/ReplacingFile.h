// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A file written under a name of its own beside its target and renamed
// over the target only when complete, so that a failed write never costs
// the file that was there. A symbolic link is written through to the file
// it names, the target keeps its permissions, and a read-only target is
// refused. A target that exists but is no regular file (a device, a pipe)
// is written in place.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

class ReplacingFile {
public:
    explicit ReplacingFile(std::filesystem::path target);
    ~ReplacingFile();  // an uncommitted temporary is removed
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Creates the temporary; false, with error() set, when the target
    // cannot or must not be replaced.
    bool open();
    std::FILE* stream() const { return m_file.get(); }
    // Flushes, syncs, renames over the target and syncs its folder.
    bool commit();
    // The system's reason for the last failure.
    std::error_code error() const { return m_error; }

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };

    bool fail(std::error_code error);
    bool createTemporary(const std::filesystem::path& folder);

    std::filesystem::path m_target;  // with symbolic links followed
    std::filesystem::path m_temporary;  // empty when writing in place
    std::unique_ptr<std::FILE, Closer> m_file;
    std::error_code m_error;
};
