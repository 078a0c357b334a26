// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/SkinScrollBarAccessible.h"

#include <algorithm>

#include "shell/CSkinScrollBar.h"

SkinScrollBarAccessible::SkinScrollBarAccessible(CSkinScrollBar* bar) : QAccessibleWidget(bar, QAccessible::ScrollBar) {}

CSkinScrollBar& SkinScrollBarAccessible::bar() const {
    return *static_cast<CSkinScrollBar*>(widget());
}

void* SkinScrollBarAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant SkinScrollBarAccessible::currentValue() const {
    return bar().scrollInfo().position;
}

void SkinScrollBarAccessible::setCurrentValue(const QVariant& value) {
    // The bar never moves itself: its owner scrolls and answers.
    const int position = std::clamp(value.toInt(), bar().scrollInfo().minimum, bar().maxPosition());
    emit bar().scrollRequested(CSkinScrollBar::ThumbPosition, position);
}

QVariant SkinScrollBarAccessible::maximumValue() const {
    return bar().maxPosition();
}

QVariant SkinScrollBarAccessible::minimumValue() const {
    return bar().scrollInfo().minimum;
}
