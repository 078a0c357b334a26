// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// The keys of undo and redo in every window: Ctrl+Z undoes, Ctrl+Y and
// Ctrl+Shift+Z redo, on every platform alike.
#pragma once

#include <QKeyEvent>

enum class UndoKey { None, Undo, Redo };

inline UndoKey undoKeyOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (event.key() == Qt::Key_Z && modifiers == Qt::ControlModifier)
        return UndoKey::Undo;
    if ((event.key() == Qt::Key_Y && modifiers == Qt::ControlModifier)
        || (event.key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)))
        return UndoKey::Redo;
    return UndoKey::None;
}
