// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "jobs/KeyboardBackup.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <system_error>

#include "profile/KeyboardProfile.h"
#include "profile/UserStateFolder.h"

namespace {

constexpr const char* kPrefix = "keyboard-";
constexpr const char* kExtension = ".pro";

bool isBackupName(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    return name.rfind(kPrefix, 0) == 0 && path.extension() == kExtension;
}

// Local date and time to the millisecond: names sort as the backups were made.
std::string backupName(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(when.time_since_epoch()).count() % 1000;
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[64];
    std::snprintf(text, sizeof text, "%s%04d-%02d-%02d-%02d%02d%02d-%03d%s", kPrefix, local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis), kExtension);
    return text;
}

}  // namespace

std::filesystem::path KeyboardBackup::folder() {
    const std::filesystem::path state = userStateFolder();
    return state.empty() ? state : state / "backups";
}

std::vector<std::filesystem::path> KeyboardBackup::list() {
    std::vector<std::filesystem::path> found;
    std::error_code error;
    const std::filesystem::path where = folder();
    if (where.empty())
        return found;
    for (std::filesystem::directory_iterator it(where, error), end; !error && it != end; it.increment(error))
        if (isBackupName(it->path()) && it->is_regular_file(error))
            found.push_back(it->path());
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.filename().string() > b.filename().string(); });
    return found;
}

KeyboardBackup::KeyboardBackup() : keyboard_(std::make_unique<KeyboardProfile>()) {
    keyboard_->buildNameTables();
    keyboard_->resetToDefaults();
}

KeyboardBackup::~KeyboardBackup() = default;

bool KeyboardBackup::readKeys(KeyboardProfile& source, MessageWindow* window) {
    if (!source.readKeysFromDevice(window, *keyboard_))
        return false;
    contents_ = KeyboardContents::of(*keyboard_);
    return true;
}

bool KeyboardBackup::readLights(KeyboardProfile& source) {
    if (!source.readLightsFromDevice(*keyboard_))
        return false;
    contents_.lights = keyboard_->lightAreas;
    return true;
}

bool KeyboardBackup::save() {
    path_.clear();
    const std::filesystem::path where = folder();
    std::error_code error;
    if (where.empty())
        return false;
    std::filesystem::create_directories(where, error);
    if (error)
        return false;
    // Two backups within a millisecond: the later one takes the next free name.
    auto when = std::chrono::system_clock::now();
    std::filesystem::path path = where / backupName(when);
    while (std::filesystem::exists(path, error)) {
        when += std::chrono::milliseconds(1);
        path = where / backupName(when);
    }
    if (!keyboard_->saveProfile(path))
        return false;
    path_ = path;

    const std::vector<std::filesystem::path> backups = list();
    for (std::size_t i = kKept; i < backups.size(); ++i)
        std::filesystem::remove(backups[i], error);
    return true;
}
