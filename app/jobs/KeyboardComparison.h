// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// Where two keyboard contents differ: a profile against what the keyboard
// holds (before a write, to say what it would change; after it, to verify),
// or what the keyboard holds against what this program last read or wrote.
#pragma once

#include <vector>

#include "jobs/KeyboardContents.h"

struct KeyboardComparison {
    std::vector<int> keys;      // KeyboardContents indices whose definitions differ
    std::vector<int> assigned;  // of them, those `held` has assigned: a write would change or clear them
    std::vector<int> colours;   // key IDs whose colours differ

    // `wanted` against `held` (what the keyboard holds).
    static KeyboardComparison compare(const KeyboardContents& wanted, const KeyboardContents& held);

    bool same() const { return keys.empty() && colours.empty(); }
    // Of the assigned keys a write would change, those the keyboard changed
    // since this program last read or wrote it (`sinceKnown`: the known
    // contents against the held ones), or all of them when nothing is known.
    int assignedUnknown(const KeyboardComparison* sinceKnown) const;
};
