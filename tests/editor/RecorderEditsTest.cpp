// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The editor's rules without a window: the recorder's timing, filtering and
// limits, the macro edits, and where a library stores a shown sequence back.
#include <gtest/gtest.h>

#include "SimulatedKeyboardSetup.h"
#include "editor/KeyRecorder.h"
#include "editor/MacroEdits.h"
#include "editor/SequenceLibrary.h"

namespace {

using namespace std::chrono_literals;
using Items = std::vector<std::wstring>;

constexpr std::uintptr_t kUp = 0x80000000u;

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorder.setClock([this] { return now; });
        recorder.setKeyStateQuery([this](int vk) { return vk == 160 ? leftShiftDown : vk == 161 && rightShiftDown; });
        list.sizeOfView = 9;
    }
    // A key event `after` the previous one.
    KeyRecorder::Outcome event(int vk, bool up, std::chrono::milliseconds after = 0ms, bool extended = false) {
        now += after;
        return recorder.keyEvent(static_cast<std::uintptr_t>(vk) | (up ? kUp : 0), extended ? 0x01000000 : 0);
    }

    std::unique_ptr<KeyboardProfile> profile = emptyProfile();
    KeyRecorder recorder{*profile};
    KeyRecorder::Clock::time_point now{};
    bool leftShiftDown = false;
    bool rightShiftDown = false;
    ActionList list;
};

TEST_F(RecorderTest, MacroPausesCountEveryEventAndRepeatsAndEarlierHeldKeysAreDropped) {
    recorder.start(KeyRecorder::Target::Macro, &list);
    event('C', true, 5ms);       // held before the start: its release is not recorded
    event('A', false, 40ms);
    event('A', false, 30ms);     // auto-repeat: dropped, but the next pause starts here
    event('A', true, 20ms);
    event('B', false, 9000ms);   // pauses stop at six seconds
    event('B', true, 15ms);
    EXPECT_EQ(list.items, (Items{L"A Down", L"<20 ms>", L"A UP", L"<6000 ms>", L"B Down", L"<15 ms>", L"B UP"}));

    // With auto interval only the events are kept, up to 254.
    list.clearList();
    list.isAutoInterval = true;
    recorder.start(KeyRecorder::Target::Macro, &list);
    for (int i = 0; i < 130; ++i) {
        event('D', false, 1ms);
        event('D', true, 1ms);
    }
    EXPECT_EQ(list.items.size(), 254u);
    EXPECT_EQ(list.items.back(), L"D UP");

    // Without it, 127 items: 64 events and the pauses between them.
    list.clearList();
    recorder.start(KeyRecorder::Target::Macro, &list);
    for (int i = 0; i < 40; ++i) {
        event('E', false, 1ms);
        event('E', true, 1ms);
    }
    EXPECT_EQ(list.items.size(), 127u);
    EXPECT_EQ(list.items.back(), L"E UP");
}

TEST_F(RecorderTest, CombosAndEmulationsKeepSixKeysEachPressedOnce) {
    recorder.start(KeyRecorder::Target::Combo, &list);
    for (int vk : {162, 162, 160, int{'A'}, int{'B'}, int{'C'}, int{'D'}, int{'E'}}) {  // Ctrl held: repeats add nothing
        event(vk, false);
    }
    EXPECT_EQ(list.items, (Items{L"Left CONTROL", L"Left SHIFT", L"A", L"B", L"C", L"D"}));

    ActionList keys;
    recorder.start(KeyRecorder::Target::Emulation, &keys);
    event('X', true);  // released before it was pressed: ignored
    for (char vk : {'H', 'I', 'H'}) {
        event(vk, false);
        event(vk, false);
        event(vk, true);
    }
    EXPECT_EQ(keys.items, (Items{L"H", L"I", L"H"}));
}

TEST_F(RecorderTest, ShiftSidesAndTheKeypadEnterAreTheirOwnKeys) {
    recorder.start(KeyRecorder::Target::Macro, &list);
    list.isAutoInterval = true;
    leftShiftDown = true;
    EXPECT_EQ(event(16, false).code, 160);
    leftShiftDown = false;
    EXPECT_EQ(event(16, true).code, 160 + 512);  // left changed since the last Shift release
    rightShiftDown = true;
    EXPECT_EQ(event(16, false).code, 161);
    rightShiftDown = false;
    EXPECT_EQ(event(16, true).code, 161 + 512);
    EXPECT_EQ(event(161, false).code, 161);      // a side the hook already reports stays
    EXPECT_EQ(event(13, false, 0ms, true).code, 269);
    EXPECT_EQ(event(13, true, 0ms, true).code, 781);
    ASSERT_EQ(list.items.size(), 7u);
    EXPECT_EQ(list.items[0], L"Left SHIFT Down");
    EXPECT_EQ(list.items[3], L"Right SHIFT UP");
    EXPECT_EQ(list.items[5], profile->actionItemName(269, true));
    EXPECT_EQ(list.items[6], profile->actionItemName(269, false) + L" UP");
}

// ---- Macro edits ------------------------------------------------------------------------

ActionList macro(Items items, bool autoInterval = false) {
    ActionList list;
    list.sizeOfView = 9;
    list.isAutoInterval = autoInterval;
    for (const std::wstring& item : items)
        list.setOrAppendItem(static_cast<int>(list.items.size()), item);
    return list;
}

TEST(MacroEditsTest, AutoIntervalRebuildsAndMenuEditsKeepEventsAlternatingWithPauses) {
    ActionList m = macro({L"A Down", L"<50 ms>", L"A UP"});
    m.cycles = 7;
    MacroEdits::setAutoInterval(m, true);
    EXPECT_EQ(m.items, (Items{L"A Down", L"A UP"}));
    EXPECT_TRUE(m.isAutoInterval);
    MacroEdits::setAutoInterval(m, false);
    EXPECT_EQ(m.items, (Items{L"A Down", L"<0 ms>", L"A UP"}));
    EXPECT_EQ(m.cycles, 7);

    // Before an event: name, pause, event; before a pause: pause, name, pause.
    m.viewStartAt = 0;
    EXPECT_EQ(MacroEdits::insertAction(m, 2, L"Mouse Key Left"), 2);
    EXPECT_EQ(m.items, (Items{L"A Down", L"<0 ms>", L"Mouse Key Left", L"<0 ms>", L"A UP"}));
    MacroEdits::insertAction(m, 1, L"Mouse Wheel Up");
    EXPECT_EQ(m.items, (Items{L"A Down", L"<0 ms>", L"Mouse Wheel Up", L"<0 ms>", L"Mouse Key Left", L"<0 ms>", L"A UP"}));

    // Deleting takes the item's partner: the one after it, or before the last.
    EXPECT_EQ(MacroEdits::deleteAction(m, 4), 2);
    EXPECT_EQ(m.items, (Items{L"A Down", L"<0 ms>", L"Mouse Wheel Up", L"<0 ms>", L"A UP"}));
    m.cursorPos = 0;  // the cursor elsewhere changes nothing
    MacroEdits::deleteAction(m, 4);
    EXPECT_EQ(m.items, (Items{L"A Down", L"<0 ms>", L"Mouse Wheel Up"}));
    EXPECT_EQ(MacroEdits::deleteAction(m, 9), 0);  // a row without an item

    ActionList events = macro({L"A Down", L"A UP"}, true);
    MacroEdits::insertAction(events, 0, L"Mouse Key Right");
    MacroEdits::deleteAction(events, 2);
    EXPECT_EQ(events.items, (Items{L"Mouse Key Right", L"A Down"}));

    // Too long: cut from the end.
    ActionList full = macro(Items(127, L"<1 ms>"));
    full.viewStartAt = 0;
    MacroEdits::insertAction(full, 0, L"Mouse Key Middle");
    EXPECT_EQ(MacroEdits::trimToLimit(full), 2);
    EXPECT_EQ(full.items.size(), 127u);
    EXPECT_EQ(full.items.front(), L"<0 ms>");
}

TEST(SequenceLibraryTest, NamesAreOfferedInOrderAndShownSequencesGoBackWhereTheyCameFrom) {
    ActionList saved = macro({L"New Macro 1", L"Other", L"New Macro 3"});
    saved.children[0] = macro({L"first"});
    saved.children[2] = macro({L"third"});
    SequenceLibrary library(saved, 9);
    EXPECT_EQ(library.names().sizeOfView, 9);
    EXPECT_EQ(library.addEntry(L"New Macro %d"), L"New Macro 2");
    EXPECT_EQ(library.loadedEntry(), 3);
    EXPECT_EQ(library.addEntry(L"no number"), L"no number");

    library.highlightRow(0);
    library.sequence() = macro({L"edited"});
    library.names().selectIndex(2);  // scrolled: the highlight moves, nothing loads
    library.storeBack();
    EXPECT_EQ(library.names().children[0].items, Items{L"edited"});
    EXPECT_EQ(library.names().children[2].items, Items{L"third"});
}

}  // namespace
