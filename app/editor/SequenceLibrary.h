// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// One page's library of named sequences (combos, macros or emulations) with
// the sequence shown beside it: a working copy of the library entry it was
// loaded from. Edits go to that copy and are stored back into the same entry,
// wherever the library's highlight has been scrolled meanwhile.
#pragma once

#include <string>

#include "profile/ActionList.h"

class SequenceLibrary {
public:
    // `saved` is the profile's library; rows: how many the page's lists show.
    SequenceLibrary(const ActionList& saved, int rows);

    ActionList& names() { return names_; }
    const ActionList& names() const { return names_; }
    ActionList& sequence() { return sequence_; }
    const ActionList& sequence() const { return sequence_; }
    int entryCount() const { return static_cast<int>(names_.items.size()); }
    // Absolute index of the entry the shown sequence came from; -1 for none.
    int loadedEntry() const { return loaded_; }

    // Highlights the first entry equal to `sequence` (else entry 0) and shows it.
    void showEntryLike(const ActionList& sequence);
    // Highlights the first entry equal to `sequence` and shows it; without
    // one, appends `sequence` as an entry named `name` first.
    void showOrAdd(const ActionList& sequence, const std::wstring& name);
    // Shows the highlighted entry's sequence.
    void loadHighlighted();
    // Highlights the entry at a view row and shows it.
    void highlightRow(int row);
    // Puts the shown sequence back into the entry it was loaded from.
    void storeBack();

    // Appends an unnamed, empty entry, highlights and shows it. Returns the
    // name to offer: `nameFormat` ("New Macro %d") with the smallest n >= 1
    // that no entry has; the entry stays unnamed until it is renamed.
    std::wstring addEntry(const std::wstring& nameFormat);
    // Removes the highlighted entry and shows the one highlighted after it.
    void removeHighlighted();
    // A click on a name row: false when the row shows no entry.
    bool isEntryRow(int row) const;
    // Empties the library and the shown sequence.
    void clear();

    // The same entries and the same sequence shown from the same entry;
    // where the lists are scrolled does not count.
    friend bool operator==(const SequenceLibrary& a, const SequenceLibrary& b) {
        return a.loaded_ == b.loaded_ && ActionList::sameTree(a.names_, b.names_)
               && ActionList::sameContent(a.sequence_, b.sequence_);
    }

private:
    ActionList names_;
    ActionList sequence_;
    int loaded_ = -1;
};
