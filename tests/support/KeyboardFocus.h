// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// Moving the keyboard focus of a skinned window the way a person does: with
// Tab, sent where the window has its focus.
#pragma once

#include <QTest>

#include "shell/CSkinDialog.h"

// The id of the record with the focus ring; -1 for none.
inline int focusedId(const CSkinDialog& window) {
    const int index = window.focusedControlIndex();
    return index < 0 ? -1 : window.controls()[static_cast<std::size_t>(index)].id;
}

// Presses Tab until the record with this id has the focus; false when a
// whole round of the chain never reaches it.
inline bool tabTo(CSkinDialog& window, int id) {
    for (std::size_t i = 0; i < window.controls().size() + 8; ++i) {
        QWidget* focus = window.focusWidget() ? window.focusWidget() : &window;
        if (focus == &window && focusedId(window) == id)
            return true;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    return false;
}
