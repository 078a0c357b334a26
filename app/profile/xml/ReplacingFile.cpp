// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "profile/xml/ReplacingFile.h"

#include <cerrno>
#include <cstdio>
#include <random>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

std::error_code lastError() {
    return {errno ? errno : EIO, std::generic_category()};
}

// Where a chain of symbolic links ends; that file need not exist yet.
fs::path followLinks(fs::path path, std::error_code& error) {
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(path, ec)))
            return path;
        const fs::path link = fs::read_symlink(path, error);
        if (error)
            return path;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return path;
}

// A rename is on disk only once its folder is.
void syncFolder(const fs::path& folder) {
#ifdef _WIN32
    (void)folder;  // the file system journals the rename itself
#else
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}

std::FILE* openInPlace(const fs::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(path.c_str(), "wb");
#endif
}

}  // namespace

ReplacingFile::ReplacingFile(fs::path target) : m_target(std::move(target)) {}

ReplacingFile::~ReplacingFile() {
    m_file.reset();
    std::error_code ec;
    if (!m_temporary.empty())
        fs::remove(m_temporary, ec);
}

bool ReplacingFile::fail(std::error_code error) {
    m_error = error;
    return false;
}

bool ReplacingFile::open() {
    m_target = followLinks(m_target, m_error);
    if (m_error)
        return false;
    std::error_code ec;
    const fs::file_status status = fs::status(m_target, ec);
    if (fs::is_directory(status))
        return fail(std::make_error_code(std::errc::is_a_directory));
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        m_file.reset(openInPlace(m_target));
        return m_file ? true : fail(lastError());
    }
    if (fs::exists(status)) {
        // Renaming over a file needs only a writable folder: ask the file.
        constexpr fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if ((status.permissions() & writable) == fs::perms::none)
            return fail(std::make_error_code(std::errc::permission_denied));
#ifndef _WIN32
        if (::access(m_target.c_str(), W_OK) != 0)
            return fail(lastError());
#endif
    }
    const fs::path folder = m_target.has_parent_path() ? m_target.parent_path() : fs::path(".");
    return createTemporary(folder);
}

bool ReplacingFile::createTemporary(const fs::path& folder) {
    // A name no user picks, made anew until it is free, so that no file of
    // the user's is ever opened or removed in its place.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
        fs::path name = ".";
        name += m_target.filename().native();
        name += suffix;
        const fs::path temporary = folder / name;
#ifdef _WIN32
        int fd = -1;
        const errno_t error = _wsopen_s(&fd, temporary.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY,
                                        _SH_DENYNO, _S_IREAD | _S_IWRITE);
        if (error == EEXIST)
            continue;
        if (error)
            return fail({error, std::generic_category()});
        std::FILE* file = _fdopen(fd, "wb");
#else
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return fail(lastError());
        struct stat original {};
        if (::stat(m_target.c_str(), &original) == 0) {
            // Owner first: a change of owner clears the set-ID bits. Only
            // root may give the file to another; otherwise it becomes ours.
            if (::fchown(fd, original.st_uid, original.st_gid) != 0)
                errno = 0;
            ::fchmod(fd, original.st_mode & 07777);
        }
        std::FILE* file = ::fdopen(fd, "wb");
#endif
        if (!file) {
            const std::error_code error = lastError();
#ifdef _WIN32
            _close(fd);
#else
            ::close(fd);
#endif
            std::error_code ec;
            fs::remove(temporary, ec);
            return fail(error);
        }
        m_file.reset(file);
        m_temporary = temporary;
        return true;
    }
    return fail(std::make_error_code(std::errc::file_exists));
}

bool ReplacingFile::commit() {
    if (!m_file)
        return fail(std::make_error_code(std::errc::bad_file_descriptor));
    std::FILE* file = m_file.get();
    bool ok = std::fflush(file) == 0;
#ifdef _WIN32
    ok = ok && _commit(_fileno(file)) == 0;
#else
    ok = ok && (::fsync(fileno(file)) == 0 || errno == EINVAL);  // EINVAL: a pipe or device cannot sync
#endif
    if (!ok)
        m_error = lastError();
    if (std::fclose(m_file.release()) != 0 && ok) {
        ok = false;
        m_error = lastError();
    }
    if (!ok || m_temporary.empty())
        return ok;
    std::error_code ec;
    fs::rename(m_temporary, m_target, ec);
    if (ec)
        return fail(ec);
    m_temporary.clear();
    syncFolder(m_target.has_parent_path() ? m_target.parent_path() : fs::path("."));
    return true;
}
