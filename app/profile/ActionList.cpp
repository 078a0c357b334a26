// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "profile/ActionList.h"

#include <algorithm>

#include <utility>

namespace {

// Absolute index of a view-relative row. Computed wide so that a huge row
// can never wrap around into the list.
long long absoluteIndex(int viewStartAt, int row) {
    return static_cast<long long>(viewStartAt) + row;
}

bool inside(long long index, std::size_t count) {
    return index >= 0 && static_cast<unsigned long long>(index) < count;
}

ActionList freshChild(int sizeOfView) {
    ActionList child;
    child.sizeOfView = sizeOfView;
    return child;
}

// Appends an item and scrolls so that it is the selected, bottom-most row.
void appendItem(ActionList& list, const std::wstring& text) {
    list.items.push_back(text);
    list.children.push_back(freshChild(list.sizeOfView));
    const int rest = static_cast<int>(list.items.size()) - list.viewStartAt;
    if (rest - list.sizeOfView < 1) {
        list.cursorPos = rest - 1;
    } else {
        list.viewStartAt += rest - list.sizeOfView;
        list.cursorPos = list.sizeOfView - 1;
    }
}

}  // namespace

ActionList::ActionList(const ActionList& other)
    : sizeOfView(other.sizeOfView),
      viewStartAt(other.viewStartAt),
      cursorPos(other.cursorPos),
      items(other.items),
      children(other.children),
      cycles(other.cycles),
      isAutoInterval(other.isAutoInterval),
      delay(other.delay) {}

ActionList& ActionList::operator=(const ActionList& other) {
    if (this != &other) {
        ActionList copy(other);  // built first: `other` may be one of our own children
        *this = std::move(copy);
    }
    return *this;
}

void ActionList::clearList() {
    items.clear();
    children.clear();
    viewStartAt = 0;
    cursorPos = 0;
    cycles = 1;
    isAutoInterval = false;
    delay = 30;
}

std::wstring ActionList::itemText(int row) const {
    const long long index = absoluteIndex(viewStartAt, row);
    return inside(index, items.size()) ? items[static_cast<std::size_t>(index)] : std::wstring();
}

ActionList ActionList::childAt(int row) const {
    const long long index = absoluteIndex(viewStartAt, row);
    if (inside(index, children.size()))
        return children[static_cast<std::size_t>(index)];
    return freshChild(sizeOfView);
}

void ActionList::setChildAt(int row, const ActionList& list) {
    const long long index = absoluteIndex(viewStartAt, row);
    if (inside(index, children.size()))
        children[static_cast<std::size_t>(index)] = list;
}

int ActionList::selectIndex(int index) {
    // Nothing to select: clamping would give -1 and leave the view pointing
    // before the first item.
    if (items.empty())
        return 0;
    if (index < 0)
        index = 0;
    if (static_cast<std::size_t>(index) >= items.size())
        index = static_cast<int>(items.size()) - 1;
    if (viewStartAt <= index && static_cast<long long>(index) < absoluteIndex(viewStartAt, sizeOfView)) {
        cursorPos = index - viewStartAt;
        return cursorPos;
    }
    viewStartAt = index;
    cursorPos = 0;
    return index;
}

void ActionList::setOrAppendItem(int row, const std::wstring& text) {
    const long long index = absoluteIndex(viewStartAt, row);
    if (inside(index, items.size())) {
        items[static_cast<std::size_t>(index)] = text;
        return;
    }
    appendItem(*this, text);
}

void ActionList::insertItem(int row, const std::wstring& text) {
    const long long index = absoluteIndex(viewStartAt, row);
    if (!inside(index, items.size())) {
        appendItem(*this, text);
        return;
    }
    items.insert(items.begin() + index, text);
    children.insert(children.begin() + index, freshChild(sizeOfView));
}

void ActionList::removeItem(int row) {
    if (items.empty())
        return;
    long long index = absoluteIndex(viewStartAt, row);
    // A row off either end removes the last item, as an unsigned index would.
    if (!inside(index, items.size()))
        index = static_cast<long long>(items.size()) - 1;
    items.erase(items.begin() + index);
    children.erase(children.begin() + index);

    const int count = static_cast<int>(items.size());
    if (count == 0) {
        viewStartAt = 0;
        cursorPos = 0;
        return;
    }
    if (viewStartAt >= count)
        viewStartAt = count - 1;
    const int visible = count - viewStartAt;
    if (cursorPos >= visible)
        cursorPos = visible - 1;
}

int ActionList::findItem(const std::wstring& text) const {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == text)
            return static_cast<int>(i);
    return -1;
}

bool ActionList::sameContent(const ActionList& a, const ActionList& b) {
    return a.items == b.items && a.cycles == b.cycles && a.isAutoInterval == b.isAutoInterval &&
           a.delay == b.delay;
}

bool ActionList::sameTree(const ActionList& a, const ActionList& b) {
    return sameContent(a, b)
           && std::equal(a.children.begin(), a.children.end(), b.children.begin(), b.children.end(), sameTree);
}

void ActionList::selectChild(const ActionList& list) {
    int match = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (sameContent(children[i], list)) {
            match = static_cast<int>(i);
            break;
        }
    }
    selectIndex(match);
}
