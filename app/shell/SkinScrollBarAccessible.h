// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// A skinned scroll bar as assistive technology sees it: a scroll bar whose
// value is its position. Setting the value asks the owner to scroll there,
// as dragging the thumb does.
#pragma once

#include <QAccessibleWidget>

class CSkinScrollBar;

class SkinScrollBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SkinScrollBarAccessible(CSkinScrollBar* bar);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 1; }

private:
    CSkinScrollBar& bar() const;
};
