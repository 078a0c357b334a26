// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// One ordered list of item texts with one child list per item: a key's combo,
// macro or emulation sequence, or a library of named saved sequences.
#pragma once

#include <string>
#include <vector>

class ActionList {
public:
    // View state of the list view that shows this list.
    int sizeOfView = 0;
    int viewStartAt = 0;  // absolute index of the first visible item
    int cursorPos = 0;    // selected row, relative to viewStartAt

    std::vector<std::wstring> items;
    std::vector<ActionList> children;  // always as many as items

    // Sequence parameters.
    int cycles = 1;               // macro repeat count
    bool isAutoInterval = false;  // macro without stored delays
    int delay = 30;               // emulation: milliseconds between keys

    ActionList() = default;
    ActionList(const ActionList& other);
    ActionList& operator=(const ActionList& other);
    ActionList(ActionList&&) noexcept = default;
    ActionList& operator=(ActionList&&) noexcept = default;

    void clearList();

    // Rows are relative to viewStartAt.
    std::wstring itemText(int row) const;
    ActionList childAt(int row) const;
    void setChildAt(int row, const ActionList& list);
    int selectIndex(int index);
    void setOrAppendItem(int row, const std::wstring& text);
    void insertItem(int row, const std::wstring& text);
    void removeItem(int row);
    int findItem(const std::wstring& text) const;
    static bool sameContent(const ActionList& a, const ActionList& b);
    // The same content, every child's included; the view state is not.
    static bool sameTree(const ActionList& a, const ActionList& b);
    void selectChild(const ActionList& list);
};
