// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "profile/ActionList.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

namespace {

ActionList listOf(int count, int sizeOfView, int viewStartAt = 0, int cursorPos = 0) {
    ActionList list;
    list.sizeOfView = sizeOfView;
    for (int i = 0; i < count; ++i) {
        list.items.push_back(L"item" + std::to_wstring(i));
        ActionList child;
        child.cycles = 100 + i;  // tells the children apart
        list.children.push_back(child);
    }
    list.viewStartAt = viewStartAt;
    list.cursorPos = cursorPos;
    return list;
}

ActionList sequenceOf(std::initializer_list<const wchar_t*> texts) {
    ActionList list;
    for (const wchar_t* text : texts) {
        list.items.emplace_back(text);
        list.children.emplace_back();
    }
    return list;
}

}  // namespace

TEST(ActionListTest, ClearKeepsOnlyTheViewSize) {
    ActionList list = listOf(5, 9, 2, 1);
    list.cycles = 4;
    list.isAutoInterval = true;
    list.delay = 250;
    list.clearList();
    EXPECT_TRUE(list.items.empty());
    EXPECT_TRUE(list.children.empty());
    EXPECT_EQ(list.sizeOfView, 9);
    EXPECT_EQ(list.viewStartAt, 0);
    EXPECT_EQ(list.cursorPos, 0);
    EXPECT_EQ(list.cycles, 1);
    EXPECT_FALSE(list.isAutoInterval);
    EXPECT_EQ(list.delay, 30);
}

TEST(ActionListTest, CopiesAreDeepAndIndependent) {
    ActionList library = listOf(3, 9, 1, 2);
    library.children[1] = sequenceOf({L"A Down", L"<30 ms>", L"A UP"});
    library.cycles = 7;
    library.isAutoInterval = true;
    library.delay = 55;

    ActionList copy(library);
    EXPECT_EQ(copy.items, library.items);
    EXPECT_EQ(copy.sizeOfView, 9);
    EXPECT_EQ(copy.viewStartAt, 1);
    EXPECT_EQ(copy.cursorPos, 2);
    EXPECT_EQ(copy.cycles, 7);
    EXPECT_TRUE(copy.isAutoInterval);
    EXPECT_EQ(copy.delay, 55);
    ASSERT_EQ(copy.children.size(), 3u);
    EXPECT_EQ(copy.children[1].items, library.children[1].items);

    copy.children[1].setOrAppendItem(0, L"B Down");
    copy.children[1].removeItem(2);
    copy.items[0] = L"renamed";
    EXPECT_EQ(library.children[1].items, sequenceOf({L"A Down", L"<30 ms>", L"A UP"}).items);
    EXPECT_EQ(library.items[0], L"item0");

    // Assignment replaces everything the target held.
    ActionList target = listOf(8, 6, 4, 3);
    target = library;
    EXPECT_EQ(target.items, library.items);
    EXPECT_EQ(target.children.size(), 3u);
    EXPECT_EQ(target.viewStartAt, 1);
    target.children[1].items.clear();
    EXPECT_EQ(library.children[1].items.size(), 3u);
}

TEST(ActionListTest, AssignmentFromItselfOrItsOwnChild) {
    ActionList list = listOf(2, 9);
    list.children[0] = sequenceOf({L"X", L"Y"});
    list = *&list;
    EXPECT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.children[0].items.size(), 2u);

    list = list.children[0];
    EXPECT_EQ(list.items, sequenceOf({L"X", L"Y"}).items);
    EXPECT_EQ(list.children.size(), 2u);
}

TEST(ActionListTest, RowAccessIsRelativeToTheViewAndBounded) {
    ActionList list = listOf(5, 3, 2);
    EXPECT_EQ(list.itemText(0), L"item2");
    EXPECT_EQ(list.itemText(2), L"item4");
    EXPECT_EQ(list.itemText(-2), L"item0");
    EXPECT_EQ(list.itemText(3), L"");
    EXPECT_EQ(list.itemText(-3), L"");
    EXPECT_EQ(list.itemText(INT_MAX), L"");

    EXPECT_EQ(list.childAt(1).cycles, 103);
    const ActionList outside = list.childAt(3);
    EXPECT_TRUE(outside.items.empty());
    EXPECT_EQ(outside.sizeOfView, 3);
    EXPECT_EQ(outside.cycles, 1);

    ActionList replacement = sequenceOf({L"Q"});
    list.setChildAt(0, replacement);
    EXPECT_EQ(list.children[2].items, replacement.items);
    replacement.items.clear();
    EXPECT_EQ(list.children[2].items.size(), 1u);

    const ActionList before = list;
    list.setChildAt(3, replacement);
    list.setChildAt(-3, replacement);
    for (std::size_t i = 0; i < list.children.size(); ++i)
        EXPECT_TRUE(ActionList::sameContent(list.children[i], before.children[i])) << i;
}

TEST(ActionListTest, SetOrAppendReplacesInsideAndScrollsOnAppend) {
    ActionList list = listOf(12, 9);
    list.setOrAppendItem(20000, L"new");
    EXPECT_EQ(list.items.size(), 13u);
    EXPECT_EQ(list.children.size(), 13u);
    EXPECT_EQ(list.items[12], L"new");
    EXPECT_EQ(list.viewStartAt, 4);
    EXPECT_EQ(list.cursorPos, 8);
    EXPECT_EQ(list.children[12].sizeOfView, 9);
    EXPECT_EQ(list.itemText(list.cursorPos), L"new");

    list.setOrAppendItem(1, L"renamed");
    EXPECT_EQ(list.items[5], L"renamed");
    EXPECT_EQ(list.items.size(), 13u);
    EXPECT_EQ(list.viewStartAt, 4);
    EXPECT_EQ(list.cursorPos, 8);
    EXPECT_EQ(list.children[5].cycles, 105);

    // Filling the last free row does not scroll; one more item scrolls by one.
    ActionList full = listOf(8, 9);
    full.setOrAppendItem(9, L"ninth");
    EXPECT_EQ(full.viewStartAt, 0);
    EXPECT_EQ(full.cursorPos, 8);
    full.setOrAppendItem(9, L"tenth");
    EXPECT_EQ(full.viewStartAt, 1);
    EXPECT_EQ(full.cursorPos, 8);

    // A short list does not scroll: the cursor moves onto the new last row.
    ActionList shortList = listOf(2, 9);
    shortList.setOrAppendItem(-1, L"third");  // a negative index is beyond the end
    EXPECT_EQ(shortList.items.back(), L"third");
    EXPECT_EQ(shortList.viewStartAt, 0);
    EXPECT_EQ(shortList.cursorPos, 2);

    ActionList empty;
    empty.sizeOfView = 6;
    empty.setOrAppendItem(0, L"first");
    EXPECT_EQ(empty.viewStartAt, 0);
    EXPECT_EQ(empty.cursorPos, 0);
}

TEST(ActionListTest, InsertBeforeTheRowKeepsTheView) {
    ActionList list = listOf(6, 2, 3, 1);
    list.insertItem(0, L"inserted");
    ASSERT_EQ(list.items.size(), 7u);
    EXPECT_EQ(list.items[3], L"inserted");
    EXPECT_EQ(list.items[4], L"item3");
    EXPECT_EQ(list.children[3].cycles, 1);
    EXPECT_EQ(list.children[3].sizeOfView, 2);
    EXPECT_EQ(list.children[4].cycles, 103);
    EXPECT_EQ(list.viewStartAt, 3);
    EXPECT_EQ(list.cursorPos, 1);

    list.insertItem(4, L"appended");
    EXPECT_EQ(list.items.back(), L"appended");
    EXPECT_EQ(list.viewStartAt, 6);
    EXPECT_EQ(list.cursorPos, 1);
}

TEST(ActionListTest, RemoveClampsIndexAndView) {
    ActionList single = listOf(1, 9);
    single.removeItem(0);
    EXPECT_TRUE(single.items.empty());
    EXPECT_TRUE(single.children.empty());
    EXPECT_EQ(single.viewStartAt, 0);
    EXPECT_EQ(single.cursorPos, 0);
    single.removeItem(0);  // nothing left to remove
    EXPECT_TRUE(single.items.empty());

    ActionList list = listOf(4, 9);
    list.removeItem(100);
    EXPECT_EQ(list.items, (std::vector<std::wstring>{L"item0", L"item1", L"item2"}));
    list.removeItem(-50);
    EXPECT_EQ(list.items, (std::vector<std::wstring>{L"item0", L"item1"}));
    list.removeItem(0);
    EXPECT_EQ(list.items, (std::vector<std::wstring>{L"item1"}));
    EXPECT_EQ(list.children[0].cycles, 101);

    // Scrolled to the last item, which goes: the view steps back one.
    ActionList scrolled = listOf(5, 3, 4, 0);
    scrolled.removeItem(0);
    EXPECT_EQ(scrolled.viewStartAt, 3);
    EXPECT_EQ(scrolled.cursorPos, 0);

    // Cursor on the bottom row of a view that now shows fewer rows.
    ActionList bottom = listOf(5, 3, 2, 2);
    bottom.removeItem(2);
    EXPECT_EQ(bottom.viewStartAt, 2);
    EXPECT_EQ(bottom.cursorPos, 1);
    EXPECT_EQ(bottom.itemText(bottom.cursorPos), L"item3");
}

TEST(ActionListTest, SelectIndexClampsAndScrolls) {
    ActionList list = listOf(20, 9, 5, 0);
    EXPECT_EQ(list.selectIndex(7), 2);
    EXPECT_EQ(list.viewStartAt, 5);
    EXPECT_EQ(list.cursorPos, 2);

    EXPECT_EQ(list.selectIndex(14), 14);  // first row past the view
    EXPECT_EQ(list.viewStartAt, 14);
    EXPECT_EQ(list.cursorPos, 0);

    EXPECT_EQ(list.selectIndex(99), 5);  // clamped to 19, inside the view
    EXPECT_EQ(list.viewStartAt, 14);
    EXPECT_EQ(list.cursorPos, 5);

    EXPECT_EQ(list.selectIndex(-4), 0);
    EXPECT_EQ(list.viewStartAt, 0);
    EXPECT_EQ(list.cursorPos, 0);

    ActionList empty;
    empty.sizeOfView = 9;
    EXPECT_EQ(empty.selectIndex(3), 0);
    EXPECT_EQ(empty.viewStartAt, 0);
    EXPECT_EQ(empty.cursorPos, 0);
}

TEST(ActionListTest, FindAndCompare) {
    ActionList library;
    library.setOrAppendItem(0, L"Macro1");
    library.setOrAppendItem(1, L"Macro2");
    EXPECT_EQ(library.findItem(L"Macro2"), 1);
    EXPECT_EQ(library.findItem(L"macro1"), -1);
    EXPECT_EQ(library.findItem(L"Macro"), -1);

    ActionList a = sequenceOf({L"A Down", L"<30 ms>", L"A UP"});
    ActionList b = sequenceOf({L"A Down", L"<30 ms>", L"A UP"});
    b.sizeOfView = 9;
    b.viewStartAt = 2;
    b.cursorPos = 1;
    b.children[0] = sequenceOf({L"ignored"});
    EXPECT_TRUE(ActionList::sameContent(a, b));

    b.cycles = 2;
    EXPECT_FALSE(ActionList::sameContent(a, b));
    b.cycles = 1;
    b.isAutoInterval = true;
    EXPECT_FALSE(ActionList::sameContent(a, b));
    b.isAutoInterval = false;
    b.delay = 31;
    EXPECT_FALSE(ActionList::sameContent(a, b));
    b.delay = 30;
    b.items[2] = L"A Up";
    EXPECT_FALSE(ActionList::sameContent(a, b));
    b.items.pop_back();
    EXPECT_FALSE(ActionList::sameContent(a, b));
}

TEST(ActionListTest, SelectChildPicksTheMatchingEntryOrTheFirst) {
    ActionList library = listOf(12, 6, 0, 3);
    library.children[8] = sequenceOf({L"C", L"V"});
    library.selectChild(sequenceOf({L"C", L"V"}));
    EXPECT_EQ(library.viewStartAt, 8);
    EXPECT_EQ(library.cursorPos, 0);

    library.selectChild(sequenceOf({L"nothing"}));
    EXPECT_EQ(library.viewStartAt, 0);
    EXPECT_EQ(library.cursorPos, 0);

    ActionList empty;
    empty.sizeOfView = 6;
    empty.selectChild(sequenceOf({L"C"}));
    EXPECT_EQ(empty.viewStartAt, 0);
    EXPECT_EQ(empty.cursorPos, 0);
}

// Whatever the editors do, a child stays paired with every item and the
// selection never leaves the list.
TEST(ActionListTest, RandomEditsKeepItemsAndChildrenPaired) {
    std::mt19937 random(2026);
    std::uniform_int_distribution<int> operation(0, 5);
    std::uniform_int_distribution<int> row(-3, 14);
    ActionList list;
    list.sizeOfView = 6;
    for (int step = 0; step < 5000; ++step) {
        switch (operation(random)) {
        case 0: list.setOrAppendItem(row(random), L"s" + std::to_wstring(step)); break;
        case 1: list.insertItem(row(random), L"i" + std::to_wstring(step)); break;
        case 2:
        case 3: list.removeItem(row(random)); break;
        case 4: list.selectIndex(row(random)); break;
        case 5: list.selectChild(list.childAt(row(random))); break;
        }
        ASSERT_EQ(list.items.size(), list.children.size()) << "step " << step;
        if (list.items.empty()) {
            ASSERT_EQ(list.viewStartAt, 0);
            ASSERT_EQ(list.cursorPos, 0);
            continue;
        }
        const int selected = list.viewStartAt + list.cursorPos;
        ASSERT_GE(list.cursorPos, 0) << "step " << step;
        ASSERT_LT(list.cursorPos, list.sizeOfView) << "step " << step;
        ASSERT_GE(selected, 0) << "step " << step;
        ASSERT_LT(selected, static_cast<int>(list.items.size())) << "step " << step;
    }
}
