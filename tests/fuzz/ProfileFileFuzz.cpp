// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The profile loader under fuzzing. Whatever the file holds, a failed load
// leaves the profile as it was; a good one gives lists that the editor's
// operations take at both ends of int, and saves into a file that loads
// back to the same profile.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <tuple>

#include "FuzzCheck.h"
#include "profile/KeyboardProfile.h"

namespace fs = std::filesystem;

// Every field of two lists and their children, view fields included.
bool operator==(const ActionList& a, const ActionList& b) {
    return a.sizeOfView == b.sizeOfView && a.viewStartAt == b.viewStartAt && a.cursorPos == b.cursorPos &&
           ActionList::sameContent(a, b) && a.children == b.children;
}

namespace {

// What a profile file keeps of a profile.
auto storedPart(const KeyboardProfile& p) {
    return std::tuple(p.predefinedCombo, p.predefinedMacro, p.predefinedEmu, p.lightAreas, p.modes, p.hwCodes,
                      p.sequences);
}

void exercise(ActionList list, int depth) {
    FUZZ_CHECK(list.viewStartAt >= 0 && static_cast<std::size_t>(list.viewStartAt) <= list.items.size());
    FUZZ_CHECK(list.sizeOfView >= 0 && list.cursorPos >= -1);
    for (const int row : {INT_MIN, -1, 0, list.cursorPos, INT_MAX}) {
        list.itemText(row);
        list.selectIndex(row);
        list.setOrAppendItem(row, L"x");
        list.insertItem(row, L"y");
        list.removeItem(row);
    }
    list.selectChild(list.childAt(0));
    if (depth < 3)
        for (const ActionList& child : list.children)
            exercise(child, depth + 1);
}

struct ScratchFolder {
    fs::path path = fs::temp_directory_path() / ("velkor-fuzz-" + std::to_string(std::random_device()()));
    ScratchFolder() { fs::create_directories(path); }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFolder folder;
    static const auto profile = std::make_unique<KeyboardProfile>();
    static const auto again = std::make_unique<KeyboardProfile>();
    const fs::path in = folder.path / "in.pro";
    const fs::path out = folder.path / "out.pro";
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    profile->resetToDefaults();
    profile->predefinedCombo.setOrAppendItem(0, L"kept");
    const auto before = storedPart(*profile);
    if (!profile->loadProfileFile(in)) {
        FUZZ_CHECK(storedPart(*profile) == before);
        return 0;
    }
    for (const ActionList* library : {&profile->predefinedCombo, &profile->predefinedMacro, &profile->predefinedEmu})
        exercise(*library, 0);
    for (const ActionList& sequence : profile->sequences)
        exercise(sequence, 0);
    FUZZ_CHECK(profile->saveProfile(out) && again->loadProfile(out));
    FUZZ_CHECK(storedPart(*again) == storedPart(*profile));
    return 0;
}
