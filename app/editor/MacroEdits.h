// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The hand edits of a macro on the editor's macro page: the auto-interval
// switch, the pause being edited, and the mouse actions inserted or items
// deleted through the right-click menu. Plain C++ on ActionList; each edit
// keeps a macro's shape (events alternating with pauses, or events only
// with auto interval) and its item limit.
#pragma once

#include <optional>
#include <string>

class ActionList;

namespace MacroEdits {

inline constexpr int kMaxItems = 127;               // events and pauses
inline constexpr int kMaxItemsAutoInterval = 254;   // events only
inline constexpr int kMaxPauseMs = 65535;           // what a key record holds
inline constexpr const wchar_t* kZeroPause = L"<0 ms>";

std::wstring pauseText(int milliseconds);
// The number of milliseconds a pause item shows ("<120 ms>" -> "120"), or
// nothing for an item that is not a pause.
std::optional<std::wstring> pauseDigits(const std::wstring& item);
// The leading integer of a typed text, as the edits read it ("12ab" -> 12,
// "" -> 0), clamped to [low, high].
int typedNumber(const std::wstring& text, int low, int high);

// Rebuilds the macro with auto interval switched on (only the events stay) or
// off (a zero pause between every two items). Keeps rows, cycles.
void setAutoInterval(ActionList& macro, bool on);

// Inserts an action (a mouse action's name) before the item at the view row,
// with its zero pause unless auto interval is on. Returns the items added.
int insertAction(ActionList& macro, int row, const std::wstring& name);
// Deletes the item at the view row and, unless auto interval is on, the item
// paired with it (the one after it, or before it when it was the last), so
// events and pauses keep alternating. Returns the items removed.
int deleteAction(ActionList& macro, int row);
// Drops items from the end beyond the macro's limit. Returns how many.
int trimToLimit(ActionList& macro);

}  // namespace MacroEdits
