// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Moving a skinned window's focus as a person does: Tab where its focus is.
#pragma once

#include <QTest>

#include "shell/CSkinDialog.h"

inline int focusedId(const CSkinDialog& window) {
    const int index = window.focusedControlIndex();
    return index < 0 ? -1 : window.controls()[static_cast<std::size_t>(index)].id;
}

// Tab until the record has the focus; false when a round never reaches it.
inline bool tabTo(CSkinDialog& window, int id) {
    for (std::size_t i = 0; i < window.controls().size() + 8 && focusedId(window) != id; ++i)
        QTest::keyClick(window.focusWidget() ? window.focusWidget() : &window, Qt::Key_Tab);
    return window.focusWidget() == &window && focusedId(window) == id;
}
