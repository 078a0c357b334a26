// The profile loader under fuzzing. Whatever the file holds, a load either
// fails and leaves the profile as it was, or gives lists whose numbers stay
// within what the editor's list operations can take without overflow, and
// saves into a file that loads back to the same profile.
#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "FuzzCheck.h"
#include "profile/KeyboardProfile.h"

namespace {

bool sameList(const ActionList& a, const ActionList& b) {
    if (a.sizeOfView != b.sizeOfView || a.viewStartAt != b.viewStartAt || a.cursorPos != b.cursorPos ||
        !ActionList::sameContent(a, b) || a.children.size() != b.children.size())
        return false;
    for (std::size_t i = 0; i < a.children.size(); ++i)
        if (!sameList(a.children[i], b.children[i]))
            return false;
    return true;
}

// What a profile file holds, copied out of a profile.
struct StoredPart {
    std::array<ActionList, 3> libraries;
    std::array<LightArea, KeyboardProfile::kLightAreaCount> lightAreas;
    std::array<int, KeyboardProfile::kSlotCount> modes;
    std::array<int, KeyboardProfile::kSlotCount> hwCodes;
    std::array<ActionList, KeyboardProfile::kSlotCount> sequences;

    explicit StoredPart(const KeyboardProfile& p)
        : libraries{p.predefinedCombo, p.predefinedMacro, p.predefinedEmu},
          lightAreas(p.lightAreas),
          modes(p.modes),
          hwCodes(p.hwCodes),
          sequences(p.sequences) {}

    friend bool operator==(const StoredPart& a, const StoredPart& b) {
        const auto sameLists = [](const auto& x, const auto& y) {
            return std::equal(x.begin(), x.end(), y.begin(), y.end(), sameList);
        };
        return a.lightAreas == b.lightAreas && a.modes == b.modes && a.hwCodes == b.hwCodes &&
               sameLists(a.libraries, b.libraries) && sameLists(a.sequences, b.sequences);
    }
};

// A profile with something in each stored part, so that a failed load
// which changes anything shows.
void assignSample(KeyboardProfile& profile) {
    profile.resetToDefaults();
    profile.modes[KeyboardProfile::slot(3, 1)] = ModeMacro;
    profile.sequences[KeyboardProfile::slot(3, 1)].setOrAppendItem(0, L"A Down");
    profile.predefinedCombo.setOrAppendItem(0, L"Combo");
    profile.lightAreas[7] = LightArea{1, 2, 3};
}

// The list operations of the editor, with rows at both ends of int.
void exercise(ActionList list, int depth) {
    FUZZ_CHECK(list.items.size() == list.children.size());
    FUZZ_CHECK(list.sizeOfView >= 0 && list.viewStartAt >= 0 && list.cursorPos >= -1);
    FUZZ_CHECK(static_cast<std::size_t>(list.viewStartAt) <= list.items.size());
    for (const int row : {INT_MIN, -1, 0, list.cursorPos, INT_MAX}) {
        list.itemText(row);
        list.childAt(row);
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

struct Scratch {
    std::filesystem::path dir;
    Scratch() {
        std::random_device random;
        dir = std::filesystem::temp_directory_path() / ("velkor-fuzz-profile-" + std::to_string(random()));
        std::filesystem::create_directories(dir);
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const Scratch scratch;
    static auto profile = std::make_unique<KeyboardProfile>();
    static auto again = std::make_unique<KeyboardProfile>();

    const auto file = scratch.dir / "in.pro";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    assignSample(*profile);
    const StoredPart before(*profile);
    const ProfileLoadResult result = profile->loadProfileFile(file);
    if (!result) {
        FUZZ_CHECK(StoredPart(*profile) == before);
        FUZZ_CHECK(!result.description().empty());
        return 0;
    }
    for (const ActionList* list : {&profile->predefinedCombo, &profile->predefinedMacro, &profile->predefinedEmu})
        exercise(*list, 0);
    for (const ActionList& sequence : profile->sequences)
        exercise(sequence, 0);

    const auto saved = scratch.dir / "saved.pro";
    FUZZ_CHECK(profile->saveProfile(saved));
    FUZZ_CHECK(again->loadProfile(saved));
    FUZZ_CHECK(StoredPart(*profile) == StoredPart(*again));
    return 0;
}
