#include "FileAccess.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <random>

namespace ctl {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::error_code lastError() {
    return {errno ? errno : EIO, std::generic_category()};
}

// Opened with the system's reason on failure.
File open(const fs::path& path, const char* mode, std::error_code& error) {
    errno = 0;
#if defined(_WIN32)
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    File file(_wfopen(path.c_str(), wideMode.c_str()));
#else
    File file(std::fopen(path.c_str(), mode));
#endif
    error = file ? std::error_code() : lastError();
    return file;
}

// A directory opens for reading on some systems and fails only when read.
std::error_code notADirectory(const fs::path& path) {
    std::error_code error;
    if (fs::is_directory(path, error))
        return std::make_error_code(std::errc::is_a_directory);
    return {};
}

}  // namespace

std::error_code readWholeFile(const fs::path& path, std::string& bytes) {
    bytes.clear();
    if (const std::error_code error = notADirectory(path))
        return error;
    std::error_code error;
    File file = open(path, "rb", error);
    if (!file)
        return error;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, n);
    return std::ferror(file.get()) ? lastError() : std::error_code();
}

std::error_code checkWritable(const fs::path& path) {
    if (const std::error_code error = notADirectory(path))
        return error;
    if (path.filename().empty())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    std::error_code error;
    if (fs::exists(path, error) && !open(path, "ab", error))
        return error;

    // A name of our own beside the target, made (never over another file)
    // and removed again.
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    std::random_device random;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const fs::path probe = folder / (".velkorondrix-ctl-" + std::to_string(random()) + ".probe");
        if (!open(probe, "wbx", error)) {
            if (error == std::errc::file_exists)
                continue;
            return error;
        }
        fs::remove(probe, error);
        return {};
    }
    return std::make_error_code(std::errc::file_exists);
}

}  // namespace ctl
