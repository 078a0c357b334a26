// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Profile -> simulated keyboard -> profile, in-process, and what the writes
// put on a recording link.
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

#include <filesystem>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "FakeHidPlatform.h"
#include <velkorondrix/HidPlatform.h>
#include "KeyWords.h"
#include "SimulatedHidPlatform.h"
#include "SimulatedKeyboard.h"
#include "profile/KeyboardProfile.h"

namespace {

namespace fs = std::filesystem;

std::unique_ptr<KeyboardProfile> newProfile() {
    auto profile = std::make_unique<KeyboardProfile>();
    profile->buildNameTables();
    profile->resetToDefaults();
    return profile;
}

void assignCode(KeyboardProfile& p, int keyId, int level, int mode, int hwCode) {
    p.modes[KeyboardProfile::slot(keyId, level)] = mode;
    p.hwCodes[KeyboardProfile::slot(keyId, level)] = hwCode;
}

ActionList& assignSequence(KeyboardProfile& p, int keyId, int level, int mode, std::vector<std::wstring> items) {
    const int idx = KeyboardProfile::slot(keyId, level);
    p.modes[idx] = mode;
    ActionList& list = p.sequences[idx];
    list.clearList();
    for (const std::wstring& item : items)
        list.setOrAppendItem(20000, item);
    return list;
}

class TranslationTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        // Unique per process: several builds may run these tests at once.
        dir = fs::temp_directory_path() /
              ("vo-translation-" + std::string(test->name()) + "-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        keyboard = std::make_shared<hwi::SimulatedKeyboard>(dir / "kbd.state");
        keyboard->plugIn();
        hwi::setHidPlatform(std::make_unique<hwi::SimulatedHidPlatform>(keyboard));
        source = newProfile();
        ASSERT_TRUE(source->device.__createDev());
    }

    void TearDown() override {
        source.reset();
        target.reset();
        hwi::setHidPlatform(nullptr);
        keyboard.reset();
        fs::remove_all(dir);
    }

    // A fresh profile on its own link; the writer's link is closed first,
    // as the keyboard serves one link at a time.
    KeyboardProfile& openTarget() {
        source->device.__closeDev();
        target = newProfile();
        EXPECT_TRUE(target->device.__createDev());
        return *target;
    }

    KeyboardProfile& roundTrip() {
        EXPECT_TRUE(source->writeKeysToDevice(nullptr));
        EXPECT_TRUE(source->writeLightsToDevice());
        KeyboardProfile& back = openTarget();
        EXPECT_TRUE(back.readKeysFromDevice(nullptr));
        EXPECT_TRUE(back.readLightsFromDevice());
        return back;
    }

    fs::path dir;
    std::shared_ptr<hwi::SimulatedKeyboard> keyboard;
    std::unique_ptr<KeyboardProfile> source;
    std::unique_ptr<KeyboardProfile> target;
};

// One key in every mode, spread over both levels.
void assignEveryMode(KeyboardProfile& p) {
    assignCode(p, 1, 0, ModeSingle, 4);
    assignSequence(p, 2, 0, ModeCombo, {L"Left CONTROL", L"A"});
    ActionList& autoMacro = assignSequence(p, 3, 1, ModeMacro, {L"A Down", L"A UP", L"B Down", L"B UP"});
    autoMacro.isAutoInterval = true;
    autoMacro.cycles = 3;
    ActionList& timedMacro = assignSequence(p, 4, 0, ModeMacro, {L"A", L"<50 ms>", L"B"});
    timedMacro.cycles = 2;
    ActionList& emulation = assignSequence(p, 5, 1, ModeEmulation, {L"H", L"I"});
    emulation.delay = 120;
    assignCode(p, 6, 0, ModeMultimedia, 111);
    assignCode(p, 7, 1, ModeMouse, 199);
    assignCode(p, 8, 0, ModeMouse, 130);
    assignCode(p, 9, 0, ModeFunction, 156);
    assignCode(p, 9, 1, ModeFunction, 156);
    assignCode(p, 10, 1, ModePower, 76);
    assignSequence(p, 11, 0, ModeCombo, {L"Z"});
}

TEST_F(TranslationTest, WordsHandedToTheFacadePerMode) {
    assignEveryMode(*source);
    assignCode(*source, 12, 0, ModeNotSet, 33);  // a stale code is never sent
    ASSERT_TRUE(source->writeKeysToDevice(nullptr));

    EXPECT_EQ(keyWords(source->device, 0, 1), (std::vector<int>{0, 1, 4}));
    EXPECT_EQ(keyWords(source->device, 0, 2), (std::vector<int>{0, 2, 67, 43}));
    // Press and release carry the same code; with an automatic interval
    // every item is a key.
    EXPECT_EQ(keyWords(source->device, 1, 3), (std::vector<int>{2, 3, 1, 4, 43, 43, 60, 60}));
    // Key, delay, key: (3 + 1) / 2 keys.
    EXPECT_EQ(keyWords(source->device, 0, 4), (std::vector<int>{2, 2, 0, 2, 43, 50, 60}));
    EXPECT_EQ(keyWords(source->device, 1, 5), (std::vector<int>{1, 120, 2, 48, 36}));
    EXPECT_EQ(keyWords(source->device, 0, 6), (std::vector<int>{0, 1, 111}));
    EXPECT_EQ(keyWords(source->device, 1, 7), (std::vector<int>{0, 2, 130, 130}));
    EXPECT_EQ(keyWords(source->device, 1, 10), (std::vector<int>{0, 1, 76}));
    EXPECT_EQ(keyWords(source->device, 0, 12), (std::vector<int>{0, 0}));

    // What reached the keyboard: the double click as two left clicks.
    const std::vector<unsigned char> record = keyboard->keyRecord(108 + 7 - 1);
    ASSERT_GE(record.size(), 8u);
    EXPECT_EQ(record[4], 0);
    EXPECT_EQ(record[5], 2);
    EXPECT_EQ(record[6], 130);
    EXPECT_EQ(record[7], 130);
}

TEST_F(TranslationTest, EveryModeSurvivesTheRoundTrip) {
    assignEveryMode(*source);
    KeyboardProfile& back = roundTrip();
    auto mode = [&](int keyId, int level) { return back.modes[KeyboardProfile::slot(keyId, level)]; };
    auto code = [&](int keyId, int level) { return back.hwCodes[KeyboardProfile::slot(keyId, level)]; };
    auto seq = [&](int keyId, int level) -> const ActionList& {
        return back.sequences[KeyboardProfile::slot(keyId, level)];
    };

    EXPECT_EQ(mode(1, 0), ModeSingle);
    EXPECT_EQ(code(1, 0), 4);

    EXPECT_EQ(mode(2, 0), ModeCombo);
    EXPECT_EQ(seq(2, 0).items, (std::vector<std::wstring>{L"Left CONTROL", L"A"}));
    EXPECT_EQ(seq(2, 0).sizeOfView, 6);
    EXPECT_EQ(seq(2, 0).children.size(), 2u);

    // Read back as key names, without " Down" or " UP".
    EXPECT_EQ(mode(3, 1), ModeMacro);
    EXPECT_EQ(seq(3, 1).items, (std::vector<std::wstring>{L"A", L"A", L"B", L"B"}));
    EXPECT_TRUE(seq(3, 1).isAutoInterval);
    EXPECT_EQ(seq(3, 1).cycles, 3);
    EXPECT_EQ(seq(3, 1).sizeOfView, 9);
    EXPECT_EQ(seq(3, 1).delay, 30);

    EXPECT_EQ(mode(4, 0), ModeMacro);
    EXPECT_EQ(seq(4, 0).items, (std::vector<std::wstring>{L"A", L"<50 ms>", L"B"}));
    EXPECT_FALSE(seq(4, 0).isAutoInterval);
    EXPECT_EQ(seq(4, 0).cycles, 2);

    EXPECT_EQ(mode(5, 1), ModeEmulation);
    EXPECT_EQ(seq(5, 1).items, (std::vector<std::wstring>{L"H", L"I"}));
    EXPECT_EQ(seq(5, 1).delay, 120);
    EXPECT_EQ(seq(5, 1).sizeOfView, 9);

    EXPECT_EQ(mode(6, 0), ModeMultimedia);
    EXPECT_EQ(code(6, 0), 111);
    EXPECT_EQ(mode(7, 1), ModeMouse);
    EXPECT_EQ(code(7, 1), 199);
    EXPECT_EQ(mode(8, 0), ModeMouse);  // 130 lies among the mouse codes
    EXPECT_EQ(code(8, 0), 130);
    EXPECT_EQ(mode(9, 0), ModeFunction);
    EXPECT_EQ(code(9, 0), 156);
    EXPECT_EQ(mode(9, 1), ModeFunction);
    EXPECT_EQ(mode(10, 1), ModePower);
    EXPECT_EQ(code(10, 1), 76);
    // A one-key combo is a single key on the device.
    EXPECT_EQ(mode(11, 0), ModeSingle);
    EXPECT_EQ(code(11, 0), 56);

    int assigned = 0;
    for (int idx = 2; idx < KeyboardProfile::kSlotCount; ++idx)
        assigned += back.modes[idx] != ModeNotSet;
    EXPECT_EQ(assigned, 12);
}

TEST_F(TranslationTest, CodesPickTheirModeByRange) {
    const int codes[] = {1, 74, 75, 77, 78, 107, 108, 125, 126, 134, 135, 159};
    const int modes[] = {ModeSingle, ModeSingle, ModePower, ModePower, ModeSingle, ModeSingle,
                         ModeMultimedia, ModeMultimedia, ModeMouse, ModeMouse, ModeFunction, ModeFunction};
    for (int i = 0; i < 12; ++i)
        assignCode(*source, 20 + i, i % 2, ModeSingle, codes[i]);
    KeyboardProfile& back = roundTrip();
    for (int i = 0; i < 12; ++i) {
        const int idx = KeyboardProfile::slot(20 + i, i % 2);
        EXPECT_EQ(back.modes[idx], modes[i]) << "code " << codes[i];
        EXPECT_EQ(back.hwCodes[idx], codes[i]);
    }
}

TEST_F(TranslationTest, LightsRoundTripAndKeyOneLeadsTheImage) {
    for (int k = 1; k <= KeyboardProfile::kKeyCount; ++k)
        source->lightAreas[k] = {k, 255 - k, (k * 7) % 256};
    source->lightAreas[1] = {255, 0, 128};
    source->lightAreas[0] = {9, 9, 9};  // belongs to no key: never sent
    KeyboardProfile& back = roundTrip();

    const auto image = keyboard->lightImage();
    EXPECT_EQ(image[0], 255);
    EXPECT_EQ(image[1], 0);
    EXPECT_EQ(image[2], 128);
    for (int k = 1; k <= KeyboardProfile::kKeyCount; ++k)
        EXPECT_EQ(back.lightAreas[k], source->lightAreas[k]) << "key " << k;
    EXPECT_EQ(back.lightAreas[0], LightArea{});
}

TEST_F(TranslationTest, ReadChangesOnlyTheFieldsTheKeyboardCarries) {
    assignCode(*source, 1, 0, ModeSingle, 43);
    KeyboardProfile& back = roundTrip();
    (void)back;
    // Read again into a profile that already holds codes and sequences.
    auto& p = *target;
    const int single = KeyboardProfile::slot(1, 0);
    const int unset = KeyboardProfile::slot(2, 0);
    p.sequences[single].setOrAppendItem(20000, L"kept");
    assignSequence(p, 2, 0, ModeCombo, {L"X", L"Y"});
    p.hwCodes[unset] = 77;
    ASSERT_TRUE(p.readKeysFromDevice(nullptr));

    EXPECT_EQ(p.modes[single], ModeSingle);
    EXPECT_EQ(p.sequences[single].items, std::vector<std::wstring>{L"kept"});
    EXPECT_EQ(p.modes[unset], ModeNotSet);
    EXPECT_EQ(p.hwCodes[unset], 77);
    EXPECT_EQ(p.sequences[unset].items, (std::vector<std::wstring>{L"X", L"Y"}));
}

TEST_F(TranslationTest, EmptyProfileWrites216EmptyRecordsWithProgress) {
    RecordingWindow window;
    ASSERT_TRUE(source->writeKeysToDevice(&window));
    std::vector<std::uintptr_t> slots(216);
    std::iota(slots.begin(), slots.end(), 0);
    EXPECT_EQ(window.progressValues(), slots);
    for (int slot = 0; slot < 216; ++slot) {
        const std::vector<unsigned char> record = keyboard->keyRecord(slot);
        ASSERT_EQ(record.size(), 64u) << "slot " << slot;
        for (std::size_t b = 4; b < record.size(); ++b)
            EXPECT_EQ(record[b], 0) << "slot " << slot << " byte " << b;
    }
}

TEST_F(TranslationTest, EmptyMacroAndEmulationTravelEmptyAndReadAsNotSet) {
    assignSequence(*source, 30, 0, ModeMacro, {});
    assignSequence(*source, 31, 1, ModeEmulation, {});
    assignSequence(*source, 32, 0, ModeCombo, {});
    KeyboardProfile& back = roundTrip();
    for (int slot : {30 - 1, 108 + 31 - 1, 32 - 1}) {
        const std::vector<unsigned char> record = keyboard->keyRecord(slot);
        ASSERT_EQ(record.size(), 64u);
        EXPECT_EQ(record[4], 0) << "slot " << slot;
        EXPECT_EQ(record[5], 0) << "slot " << slot;
    }
    EXPECT_EQ(back.modes[KeyboardProfile::slot(30, 0)], ModeNotSet);
    EXPECT_EQ(back.modes[KeyboardProfile::slot(31, 1)], ModeNotSet);
    EXPECT_EQ(back.modes[KeyboardProfile::slot(32, 0)], ModeNotSet);
}

// Lists longer than one record can carry reach the keyboard clipped, never
// overflowing: what comes back is a leading part of what was written.
TEST_F(TranslationTest, OverlongSequencesAreClippedNotOverflowed) {
    std::vector<std::wstring> letters;
    for (int i = 0; i < 80; ++i)
        letters.push_back(std::wstring(1, static_cast<wchar_t>(L'A' + i % 26)));
    assignSequence(*source, 40, 0, ModeCombo, letters);
    assignSequence(*source, 41, 0, ModeEmulation, letters);
    std::vector<std::wstring> timed;
    for (int i = 0; i < 100; ++i) {
        if (i)
            timed.push_back(L"<" + std::to_wstring(i) + L" ms>");
        timed.push_back(letters[static_cast<std::size_t>(i % 80)]);
    }
    assignSequence(*source, 42, 1, ModeMacro, timed);
    assignCode(*source, 43, 0, ModeSingle, 4);  // the record after them is intact
    KeyboardProfile& back = roundTrip();

    auto expectLeadingPart = [&](int keyId, int level, int mode, const std::vector<std::wstring>& written) {
        const int idx = KeyboardProfile::slot(keyId, level);
        EXPECT_EQ(back.modes[idx], mode) << "key " << keyId;
        const auto& items = back.sequences[idx].items;
        EXPECT_GT(items.size(), 1u);
        EXPECT_LT(items.size(), written.size());
        EXPECT_TRUE(std::equal(items.begin(), items.end(), written.begin())) << "key " << keyId;
    };
    expectLeadingPart(40, 0, ModeCombo, letters);
    expectLeadingPart(41, 0, ModeEmulation, letters);
    expectLeadingPart(42, 1, ModeMacro, timed);
    EXPECT_EQ(back.modes[KeyboardProfile::slot(43, 0)], ModeSingle);
    EXPECT_EQ(back.hwCodes[KeyboardProfile::slot(43, 0)], 4);
}

// A factory-fresh keyboard sends no records at all: every key reads as not
// set, whatever this program's facade held from before.
TEST_F(TranslationTest, KeysTheKeyboardDoesNotSendReadAsNotSet) {
    int stale[] = {0, 1, 4};
    source->device.setKeyConfiguration(0, 50, stale, 3);
    assignCode(*source, 50, 0, ModeSingle, 9);
    ASSERT_TRUE(source->readKeysFromDevice(nullptr));
    EXPECT_EQ(source->modes[KeyboardProfile::slot(50, 0)], ModeNotSet);
}

struct ProfileSnapshot {
    explicit ProfileSnapshot(const KeyboardProfile& p) : modes(p.modes), hwCodes(p.hwCodes), lights(p.lightAreas) {
        for (const ActionList& list : p.sequences)
            items.push_back(list.items);
    }
    bool operator==(const ProfileSnapshot&) const = default;
    std::array<int, KeyboardProfile::kSlotCount> modes;
    std::array<int, KeyboardProfile::kSlotCount> hwCodes;
    std::array<LightArea, KeyboardProfile::kLightAreaCount> lights;
    std::vector<std::vector<std::wstring>> items;
};

// The reader's profile before a failed read: different from the keyboard in
// every way a read would change.
void giveReaderOwnContent(KeyboardProfile& p) {
    assignCode(p, 1, 0, ModePower, 75);
    assignSequence(p, 60, 1, ModeCombo, {L"Q", L"W"});
    p.lightAreas[5] = {1, 2, 3};
}

TEST_F(TranslationTest, KeyboardThatStopsHalfWayLeavesTheProfileUnchanged) {
    assignEveryMode(*source);
    for (int k = 1; k <= KeyboardProfile::kKeyCount; ++k)
        source->lightAreas[k] = {200, 100, 50};
    ASSERT_TRUE(source->writeKeysToDevice(nullptr));
    ASSERT_TRUE(source->writeLightsToDevice());

    KeyboardProfile& p = openTarget();
    giveReaderOwnContent(p);
    const ProfileSnapshot before(p);

    keyboard->dropLinkAfter(60);  // the request and some of the 216 records
    RecordingWindow window;
    EXPECT_FALSE(p.readKeysFromDevice(&window));
    EXPECT_FALSE(window.progressValues().empty());  // it did get part of the way
    EXPECT_TRUE(ProfileSnapshot(p) == before);

    keyboard->clearFault();
    ASSERT_TRUE(p.device.__closeDev());
    ASSERT_TRUE(p.device.__createDev());
    keyboard->dropLinkAfter(3);  // the request and two of the light packets
    EXPECT_FALSE(p.readLightsFromDevice());
    EXPECT_TRUE(ProfileSnapshot(p) == before);
}

TEST_F(TranslationTest, SilentOrMissingKeyboardFailsTheReadAndChangesNothing) {
    giveReaderOwnContent(*source);
    const ProfileSnapshot before(*source);
    keyboard->stopAnswering(200);
    EXPECT_FALSE(source->readKeysFromDevice(nullptr));
    EXPECT_FALSE(source->readLightsFromDevice());
    EXPECT_TRUE(ProfileSnapshot(*source) == before);

    keyboard->clearFault();
    keyboard->unplug();
    EXPECT_FALSE(source->readKeysFromDevice(nullptr));
    EXPECT_TRUE(ProfileSnapshot(*source) == before);
}

TEST_F(TranslationTest, WritesReportAFailedTransfer) {
    assignCode(*source, 1, 0, ModeSingle, 4);
    source->lightAreas[1] = {255, 0, 128};
    keyboard->dropLinkAfter(20);
    EXPECT_FALSE(source->writeKeysToDevice(nullptr));
    // Nothing reached the keyboard's memory: it commits on the end packet.
    EXPECT_EQ(keyboard->storedKeyRecords(), 0);

    keyboard->clearFault();
    ASSERT_TRUE(source->device.__closeDev());
    ASSERT_TRUE(source->device.__createDev());
    keyboard->dropLinkAfter(4);
    EXPECT_FALSE(source->writeLightsToDevice());
}

// The light write's own result says whether the colours left: nothing is
// read back from the keyboard to find out.
TEST(TranslationLightWrite, SendsTheImageAndAsksForNothing) {
    FakePlatformScope scope;
    scope.fake->paths = {kKeyboardMi00, kKeyboardMi01};
    auto profile = newProfile();
    ASSERT_TRUE(profile->device.__createDev());
    const std::shared_ptr<FakeLink> link = scope.fake->link(kKeyboardMi01);
    profile->lightAreas[1] = {255, 0, 128};
    profile->lightAreas[108] = {1, 2, 3};

    ASSERT_TRUE(profile->writeLightsToDevice());
    ASSERT_EQ(link->written.size(), 8u);
    EXPECT_EQ(link->packet(0), packetOf({0x00, 0xE1}));
    EXPECT_EQ(link->packet(1), packetOf({0x00, 0xE0, 61, 255, 0, 128}));
    const Bytes last = link->packet(6);
    EXPECT_EQ(last[2], 19);
    EXPECT_EQ(Bytes(last.begin() + 19, last.begin() + 22), (Bytes{1, 2, 3}));
    EXPECT_EQ(link->packet(7), Bytes(64, 0xE6));

    // A link that drops half-way: the write says so and stops there.
    link->written.clear();
    link->failWriteAt = 4;
    EXPECT_FALSE(profile->writeLightsToDevice());
    EXPECT_EQ(link->written.size(), 4u);
}

TEST_F(TranslationTest, CancelledTransfersReportFailure) {
    assignCode(*source, 1, 0, ModeSingle, 4);
    giveReaderOwnContent(*source);
    const ProfileSnapshot before(*source);
    source->device.requestCancel();
    EXPECT_FALSE(source->writeKeysToDevice(nullptr));
    EXPECT_FALSE(source->writeLightsToDevice());
    EXPECT_FALSE(source->readKeysFromDevice(nullptr));
    EXPECT_FALSE(source->readLightsFromDevice());
    EXPECT_TRUE(ProfileSnapshot(*source) == before);

    source->device.clearCancelRequest();
    EXPECT_TRUE(source->writeKeysToDevice(nullptr));
}

}  // namespace
