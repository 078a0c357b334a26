// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "editor/MacroEdits.h"

#include <algorithm>
#include <cwctype>

#include "profile/ActionList.h"

namespace MacroEdits {

namespace {

int count(const ActionList& list) {
    return static_cast<int>(list.items.size());
}

void append(ActionList& list, const std::wstring& text) {
    list.setOrAppendItem(count(list), text);
}

bool isPause(const std::wstring& item) {
    return !item.empty() && item.front() == L'<';
}

}  // namespace

std::wstring pauseText(int milliseconds) {
    return L"<" + std::to_wstring(milliseconds) + L" ms>";
}

std::optional<std::wstring> pauseDigits(const std::wstring& item) {
    constexpr std::size_t kFrame = 5;  // "<" and " ms>"
    if (item.size() < kFrame || item.front() != L'<' || item.back() != L'>')
        return std::nullopt;
    return item.substr(1, item.size() - kFrame);
}

int typedNumber(const std::wstring& text, int low, int high) {
    std::size_t at = 0;
    while (at < text.size() && std::iswspace(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+'))
        negative = text[at++] == L'-';
    long long value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at)
        value = std::min<long long>(value * 10 + (text[at] - L'0'), 1LL << 40);  // no overflow, however long
    return static_cast<int>(std::clamp<long long>(negative ? -value : value, low, high));
}

void setAutoInterval(ActionList& macro, bool on) {
    ActionList rebuilt;
    rebuilt.sizeOfView = macro.sizeOfView;
    rebuilt.cycles = macro.cycles;
    rebuilt.isAutoInterval = macro.isAutoInterval;
    for (int i = 0; i < count(macro); ++i) {
        const std::wstring& item = macro.items[static_cast<std::size_t>(i)];
        if (on) {
            if (i % 2 == 0)
                append(rebuilt, item);
        } else {
            if (i > 0)
                append(rebuilt, kZeroPause);
            append(rebuilt, item);
        }
    }
    rebuilt.isAutoInterval = on;
    macro = std::move(rebuilt);
}

int insertAction(ActionList& macro, int row, const std::wstring& name) {
    if (macro.isAutoInterval) {
        macro.insertItem(row, name);
        return 1;
    }
    // Before an event: name, pause, event. Before a pause: pause, name, pause.
    if (isPause(macro.itemText(row))) {
        macro.insertItem(row, name);
        macro.insertItem(row, kZeroPause);
    } else {
        macro.insertItem(row, kZeroPause);
        macro.insertItem(row, name);
    }
    return 2;
}

int deleteAction(ActionList& macro, int row) {
    const long long index = static_cast<long long>(macro.viewStartAt) + row;
    if (index < 0 || index >= count(macro))
        return 0;
    macro.removeItem(row);
    if (macro.isAutoInterval || macro.items.empty())
        return 1;
    // The partner now stands where the deleted item stood, unless that was
    // the end; either way it is not before the (possibly moved) view start.
    const long long partner = std::min<long long>(index, count(macro) - 1);
    macro.removeItem(static_cast<int>(partner - macro.viewStartAt));
    return 2;
}

int trimToLimit(ActionList& macro) {
    const int limit = macro.isAutoInterval ? kMaxItemsAutoInterval : kMaxItems;
    int removed = 0;
    while (count(macro) > limit) {
        macro.removeItem(count(macro) - 1 - macro.viewStartAt);
        ++removed;
    }
    return removed;
}

}  // namespace MacroEdits
