// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "profile/KeyboardProfile.h"
#include "profile/UndoHistory.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

namespace {

class KeyboardProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        profile = std::make_unique<KeyboardProfile>();
        ASSERT_TRUE(profile->buildNameTables());
    }

    void assign(int keyId, int level, int mode, std::initializer_list<const wchar_t*> items) {
        const int index = KeyboardProfile::slot(keyId, level);
        profile->modes[index] = mode;
        profile->sequences[index].clearList();
        for (const wchar_t* item : items)
            profile->sequences[index].setOrAppendItem(20000, item);
    }

    std::unique_ptr<KeyboardProfile> profile;
};

}  // namespace

TEST(KeyboardProfileConstruction, StartsEmpty) {
    auto profile = std::make_unique<KeyboardProfile>();
    EXPECT_TRUE(profile->language.empty());
    EXPECT_TRUE(profile->keyNames.empty());
    for (int i = 0; i < KeyboardProfile::kCodeTableSize; ++i) {
        ASSERT_EQ(profile->codeToHw[i], 0);
        ASSERT_EQ(profile->hwToCode[i], 0);
    }
    EXPECT_EQ(profile->predefinedMacro.sizeOfView, 0);
    EXPECT_EQ(profile->sequences[217].delay, 30);
    EXPECT_EQ(profile->hwCodeName(77), L"-- --");  // no names before the tables are built
}

TEST_F(KeyboardProfileTest, ResetRestoresAnAllNotSetConfiguration) {
    profile->language = "zh-CN";
    profile->currentKey = 20;
    profile->currentLevel = 1;
    profile->firmwarePath = L"/tmp/fw.hex";
    profile->lightAreas[0] = {1, 2, 3};
    profile->lightAreas[108] = {255, 128, 7};
    profile->predefinedCombo.sizeOfView = 2;
    profile->predefinedCombo.setOrAppendItem(0, L"Combo1");
    profile->predefinedMacro.cycles = 5;
    profile->predefinedEmu.delay = 99;
    assign(20, 1, ModeMacro, {L"A Down", L"<30 ms>", L"A UP"});
    profile->sequences[KeyboardProfile::slot(20, 1)].sizeOfView = 9;
    profile->sequences[KeyboardProfile::slot(20, 1)].cycles = 3;
    profile->hwCodes[KeyboardProfile::slot(7, 0)] = 156;
    profile->modes[1] = ModePower;

    profile->resetToDefaults();

    for (int keyId = 0; keyId <= KeyboardProfile::kKeyCount; ++keyId) {
        for (int level = 0; level < 2; ++level) {
            const int index = KeyboardProfile::slot(keyId, level);
            ASSERT_EQ(profile->modes[index], ModeNotSet) << keyId << '/' << level;
            ASSERT_EQ(profile->hwCodes[index], keyId) << keyId << '/' << level;
            ASSERT_TRUE(profile->sequences[index].items.empty());
            ASSERT_TRUE(profile->sequences[index].children.empty());
        }
    }
    const ActionList& sequence = profile->sequences[KeyboardProfile::slot(20, 1)];
    EXPECT_EQ(sequence.sizeOfView, 9);  // kept
    EXPECT_EQ(sequence.cycles, 1);
    EXPECT_EQ(sequence.viewStartAt, 0);
    EXPECT_EQ(sequence.cursorPos, 0);

    for (const LightArea& area : profile->lightAreas)
        ASSERT_EQ(area, LightArea{});

    const ActionList* libraries[] = {&profile->predefinedMacro, &profile->predefinedCombo,
                                     &profile->predefinedEmu};
    const int viewSizes[] = {9, 6, 9};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(libraries[i]->items.empty());
        EXPECT_TRUE(libraries[i]->children.empty());
        EXPECT_EQ(libraries[i]->sizeOfView, viewSizes[i]);
        EXPECT_EQ(libraries[i]->cycles, 1);
        EXPECT_EQ(libraries[i]->delay, 30);
        EXPECT_FALSE(libraries[i]->isAutoInterval);
    }

    // Not part of the configuration.
    EXPECT_EQ(profile->language, "zh-CN");
    EXPECT_EQ(profile->currentKey, 20);
    EXPECT_EQ(profile->currentLevel, 1);
    EXPECT_EQ(profile->firmwarePath, L"/tmp/fw.hex");
    EXPECT_EQ(profile->keyNames.size(), 234u);
    EXPECT_EQ(profile->codeToHw[27], 1);
}

TEST_F(KeyboardProfileTest, BuildSetsLanguageAndLabelsAndCanRunTwice) {
    EXPECT_EQ(profile->language, "en-US");
    EXPECT_EQ(profile->modeNamesEn[ModeNotSet], L"Not set");
    EXPECT_EQ(profile->modeNamesEn[ModeEmulation], L"Emulation");
    EXPECT_EQ(profile->modeNamesEn[ModePower], L"Power");
    EXPECT_EQ(profile->modeNamesZh[ModeNotSet], L"未设置");
    EXPECT_EQ(profile->modeNamesZh[ModeEmulation], L"模拟击键");
    EXPECT_EQ(profile->modeNamesZh[ModeFunction], L"操控键");

    const auto names = profile->keyNames;
    const auto codeToHw = profile->codeToHw;
    const auto hwToCode = profile->hwToCode;
    profile->language = "zh-CN";
    EXPECT_TRUE(profile->buildNameTables());
    EXPECT_EQ(profile->keyNames, names);
    EXPECT_EQ(profile->codeToHw, codeToHw);
    EXPECT_EQ(profile->hwToCode, hwToCode);
    EXPECT_EQ(profile->language, "en-US");
}

TEST_F(KeyboardProfileTest, HwCodeNameAndFunctionCode) {
    EXPECT_EQ(profile->hwCodeName(77), L"Power");
    EXPECT_EQ(profile->hwCodeName(156), L"FN");
    EXPECT_EQ(profile->hwCodeName(199), L"Left Double Click");
    EXPECT_EQ(profile->hwCodeName(0), L"-- --");
    EXPECT_EQ(profile->hwCodeName(-5), L"-- --");
    EXPECT_EQ(profile->hwCodeName(160), L"-- --");
    EXPECT_EQ(profile->hwCodeName(1023), L"-- --");
    EXPECT_EQ(profile->hwCodeName(1024), L"-- --");
    EXPECT_EQ(profile->hwCodeName(INT_MAX), L"-- --");

    EXPECT_EQ(profile->hwToFunctionCode(156), 412);
    EXPECT_EQ(profile->hwToFunctionCode(107), 269);
    EXPECT_EQ(profile->hwToFunctionCode(0), 0);
    EXPECT_EQ(profile->hwToFunctionCode(-1), -1);
    EXPECT_EQ(profile->hwToFunctionCode(INT_MIN), -1);
    EXPECT_EQ(profile->hwToFunctionCode(1024), 0);
    EXPECT_EQ(profile->hwToFunctionCode(INT_MAX), 0);
}

TEST_F(KeyboardProfileTest, ActionItemNameAddsTheDirection) {
    EXPECT_EQ(profile->actionItemName(65, true), L"A Down");
    EXPECT_EQ(profile->actionItemName(65 + 512, true), L"A UP");
    EXPECT_EQ(profile->actionItemName(65, false), L"A");
    EXPECT_EQ(profile->actionItemName(65 + 512, false), L"A");
    EXPECT_EQ(profile->actionItemName(412 + 512, true), L"FN UP");
    EXPECT_EQ(profile->actionItemName(7, true), L"-- --");
    EXPECT_EQ(profile->actionItemName(7 + 512, false), L"-- --");
    EXPECT_EQ(profile->actionItemName(-1, true), L"-- --");
    EXPECT_EQ(profile->actionItemName(INT_MIN, false), L"-- --");
    EXPECT_EQ(profile->actionItemName(-447, false), L"-- --");  // -447 & 511 would be "A"
}

TEST_F(KeyboardProfileTest, ActionItemToHwCode) {
    EXPECT_EQ(profile->actionItemToHwCode(L"A UP"), 43);
    EXPECT_EQ(profile->actionItemToHwCode(L"A Down"), 43);
    EXPECT_EQ(profile->actionItemToHwCode(L"A"), 43);
    EXPECT_EQ(profile->actionItemToHwCode(L"a"), 0);
    EXPECT_EQ(profile->actionItemToHwCode(L"A up"), 0);
    EXPECT_EQ(profile->actionItemToHwCode(L"<250 ms>"), 250);
    EXPECT_EQ(profile->actionItemToHwCode(L"<30 ms>"), 30);
    EXPECT_EQ(profile->actionItemToHwCode(L"Sleep"), 0);  // first the virtual key 95
    EXPECT_EQ(profile->actionItemToHwCode(L"Sleep Down"), 0);
    EXPECT_EQ(profile->actionItemToHwCode(L"Wake Up"), 75);
    EXPECT_EQ(profile->actionItemToHwCode(L"Wake Up UP"), 75);
    EXPECT_EQ(profile->actionItemToHwCode(L"Volume Down"), 0);
    EXPECT_EQ(profile->actionItemToHwCode(L"VolumeDn Down"), 114);
    EXPECT_EQ(profile->actionItemToHwCode(L"`"), 14);
    EXPECT_EQ(profile->actionItemToHwCode(L"\\ Down"), 41);
    EXPECT_EQ(profile->actionItemToHwCode(L"' UP"), 53);
    EXPECT_EQ(profile->actionItemToHwCode(L"Left Double Click"), 199);
    EXPECT_EQ(profile->actionItemToHwCode(L"no such key"), 0);
    EXPECT_EQ(profile->actionItemToHwCode(L""), 0);
}

TEST_F(KeyboardProfileTest, DelayItemsParseLikeTheCRuntime) {
    EXPECT_EQ(profile->actionItemToHwCode(L"<0 ms>"), 0);
    EXPECT_EQ(profile->actionItemToHwCode(L"< 12 ms>"), 12);
    EXPECT_EQ(profile->actionItemToHwCode(L"<-5 ms>"), -5);
    EXPECT_EQ(profile->actionItemToHwCode(L"<12x ms>"), 12);
    EXPECT_EQ(profile->actionItemToHwCode(L"<abc ms>"), 0);
    EXPECT_EQ(profile->actionItemToHwCode(L"<99999999999 ms>"), INT_MAX);
    EXPECT_EQ(profile->actionItemToHwCode(L"<-99999999999 ms>"), INT_MIN);
    // Too short to hold any digits: nothing to read before or after the marker.
    EXPECT_EQ(profile->actionItemToHwCode(L"ms>"), 0);
    EXPECT_EQ(profile->actionItemToHwCode(L"xms>"), 0);
    EXPECT_EQ(profile->actionItemToHwCode(L"<ms>"), 0);
}

TEST_F(KeyboardProfileTest, SummaryOfEachMode) {
    assign(5, 0, ModeCombo, {L"Left CONTROL", L"Left Alt", L"DEL"});
    EXPECT_EQ(profile->assignmentSummary(5, 0), L"Left CONTROL | Left Alt | DEL");
    assign(5, 1, ModeEmulation, {L"H", L"I"});
    EXPECT_EQ(profile->assignmentSummary(5, 1), L"H | I");
    assign(6, 0, ModeCombo, {});
    EXPECT_EQ(profile->assignmentSummary(6, 0), L"");

    assign(7, 0, ModeMacro, {L"Volume Down Down", L"<30 ms>", L"Volume Down UP"});
    EXPECT_EQ(profile->assignmentSummary(7, 0), L"Volume Down,30,Volume Down");
    // Too short to carry a suffix or a delay: shown as they are.
    assign(7, 1, ModeMacro, {L" Down", L" UP", L"<ab>", L"<>", L"X UP", L"Y Down"});
    EXPECT_EQ(profile->assignmentSummary(7, 1), L" Down, UP,<ab>,<>,X,Y");

    const int single = KeyboardProfile::slot(8, 1);
    const int modes[] = {ModeSingle, ModeMultimedia, ModeMouse, ModeFunction, ModePower};
    const int codes[] = {43, 113, 132, 156, 77};
    const wchar_t* names[] = {L"A", L"VolumeUp", L"Mouse Key Middle", L"FN", L"Power"};
    for (int i = 0; i < 5; ++i) {
        profile->modes[single] = modes[i];
        profile->hwCodes[single] = codes[i];
        EXPECT_EQ(profile->assignmentSummary(8, 1), names[i]) << modes[i];
    }
    profile->hwCodes[single] = 5000;
    EXPECT_EQ(profile->assignmentSummary(8, 1), L"-- --");

    // Not set, or a mode the program does not know: nothing, even with content.
    assign(9, 0, ModeNotSet, {L"A"});
    profile->hwCodes[KeyboardProfile::slot(9, 0)] = 43;
    EXPECT_EQ(profile->assignmentSummary(9, 0), L"");
    profile->modes[KeyboardProfile::slot(9, 0)] = 9;
    EXPECT_EQ(profile->assignmentSummary(9, 0), L"");
    profile->modes[KeyboardProfile::slot(9, 0)] = -1;
    EXPECT_EQ(profile->assignmentSummary(9, 0), L"");
}

TEST_F(KeyboardProfileTest, LongMacroSummaryIsCutAfter120Characters) {
    // Each press reads as 28 characters; four of them with their commas make 115.
    const wchar_t* press = L"Backlight All Color Regulate Down";
    const std::wstring name = L"Backlight All Color Regulate";
    const std::wstring four = name + L"," + name + L"," + name + L"," + name;
    ASSERT_EQ(four.size(), 115u);

    // 120 exactly is not too long; the next item goes over and ends the text.
    assign(10, 0, ModeMacro, {press, press, press, press, L"<1234 ms>", L"A Down", L"B Down"});
    EXPECT_EQ(profile->assignmentSummary(10, 0), four + L",1234,A ... ...");

    assign(10, 1, ModeMacro, {press, press, press, press, L"<1234 ms>"});
    EXPECT_EQ(profile->assignmentSummary(10, 1), four + L",1234");

    // Combos and emulations are never cut.
    assign(11, 0, ModeEmulation, {press, press, press, press, press});
    EXPECT_EQ(profile->assignmentSummary(11, 0).size(), 5 * 33u + 4 * 3u);
}

TEST_F(KeyboardProfileTest, SummaryOutsideTheTableIsEmpty) {
    profile->modes[KeyboardProfile::slot(108, 1)] = ModeSingle;
    profile->hwCodes[KeyboardProfile::slot(108, 1)] = 1;
    EXPECT_EQ(profile->assignmentSummary(108, 1), L"ESC");
    EXPECT_EQ(profile->assignmentSummary(109, 0), L"");
    EXPECT_EQ(profile->assignmentSummary(-1, 1), L"");
    EXPECT_EQ(profile->assignmentSummary(5, 2), L"");
    EXPECT_EQ(profile->assignmentSummary(5, -1), L"");
    EXPECT_EQ(profile->assignmentSummary(INT_MAX, 0), L"");
}

TEST_F(KeyboardProfileTest, UnsavedChangesCountWhatAFileKeepsAndUndoKeepsTheNewestSteps) {
    profile->markSaved();
    profile->language = "zh-CN";
    profile->currentLevel = 1;
    profile->predefinedMacro.cursorPos = 3;
    profile->hwCodes[KeyboardProfile::slot(9, 0)] = 77;  // the slot is not set
    profile->lightAreas[0] = {1, 2, 3};                   // no key: no file keeps it
    EXPECT_FALSE(profile->hasUnsavedChanges());
    for (auto change : {+[](KeyboardProfile& p) { p.lightAreas[5].green = 1; },
                        +[](KeyboardProfile& p) { p.predefinedEmu.setOrAppendItem(0, L"E"); },
                        +[](KeyboardProfile& p) { p.modes[KeyboardProfile::slot(9, 0)] = ModeSingle; }}) {
        const ProfileContent before = profile->content();
        change(*profile);
        EXPECT_TRUE(profile->hasUnsavedChanges());
        profile->setContent(before);
        EXPECT_FALSE(profile->hasUnsavedChanges());
    }

    UndoHistory<int> history(0);
    for (int step = 1; step <= 150; ++step)
        EXPECT_TRUE(history.settle(step));
    EXPECT_FALSE(history.settle(150));
    EXPECT_EQ(history.undoCount(), UndoHistory<int>::kDefaultLimit);
    int undone = 0;
    for (std::optional<int> state; (state = history.undo(150 - undone)); ++undone)
        EXPECT_EQ(*state, 149 - undone);
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(history.redo(50), std::optional<int>(51));
    EXPECT_EQ(history.redo(7), std::nullopt);  // a change of its own ends the redo steps
    EXPECT_EQ(history.undo(7), std::optional<int>(51));
}
