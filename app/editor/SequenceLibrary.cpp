// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "editor/SequenceLibrary.h"

#include <algorithm>
#include <cwchar>

namespace {

std::wstring formatName(const std::wstring& format, int n) {
    const std::wstring::size_type at = format.find(L"%d");
    if (at == std::wstring::npos)
        return format;
    return format.substr(0, at) + std::to_wstring(n) + format.substr(at + 2);
}

}  // namespace

SequenceLibrary::SequenceLibrary(const ActionList& saved, int rows) : names_(saved) {
    names_.sizeOfView = rows;
    loadHighlighted();
}

void SequenceLibrary::loadHighlighted() {
    sequence_ = names_.childAt(names_.cursorPos);
    // The sequence's column has as many rows as the library's.
    sequence_.sizeOfView = names_.sizeOfView;
    const long long index = static_cast<long long>(names_.viewStartAt) + names_.cursorPos;
    loaded_ = index >= 0 && index < entryCount() ? static_cast<int>(index) : -1;
}

void SequenceLibrary::highlightRow(int row) {
    names_.cursorPos = row;
    loadHighlighted();
}

void SequenceLibrary::showEntryLike(const ActionList& sequence) {
    names_.selectChild(sequence);
    loadHighlighted();
}

void SequenceLibrary::showOrAdd(const ActionList& sequence, const std::wstring& name) {
    const auto& entries = names_.children;
    const bool held = std::any_of(entries.begin(), entries.end(),
                                  [&](const ActionList& entry) { return ActionList::sameContent(entry, sequence); });
    if (!held) {
        names_.setOrAppendItem(entryCount(), name);
        names_.children.back() = sequence;
    }
    showEntryLike(sequence);
}

void SequenceLibrary::storeBack() {
    if (loaded_ >= 0 && loaded_ < entryCount())
        names_.children[static_cast<std::size_t>(loaded_)] = sequence_;
}

std::wstring SequenceLibrary::addEntry(const std::wstring& nameFormat) {
    names_.setOrAppendItem(entryCount(), std::wstring());
    loadHighlighted();
    if (nameFormat.find(L"%d") == std::wstring::npos)
        return nameFormat;
    int n = 1;
    while (names_.findItem(formatName(nameFormat, n)) >= 0)
        ++n;
    return formatName(nameFormat, n);
}

void SequenceLibrary::removeHighlighted() {
    if (entryCount() == 0)
        return;
    names_.removeItem(names_.cursorPos);
    loadHighlighted();
}

bool SequenceLibrary::isEntryRow(int row) const {
    const long long index = static_cast<long long>(names_.viewStartAt) + row;
    return row >= 0 && index < entryCount();
}

void SequenceLibrary::clear() {
    names_.clearList();
    sequence_.clearList();
    loaded_ = -1;
}
