// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// One drawn control of a skinned window as assistive technology sees it: the
// window's answer for the record (role, name, description, whether it is on),
// with the record's place on the screen and the states the window adds
// (hidden on another page, disabled, focused). Pressing it runs the same
// click dispatch as a mouse click on it.
#pragma once

#include <QAccessibleInterface>
#include <QPointer>

#include "shell/CSkinDialog.h"

class SkinControlAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    SkinControlAccessible(CSkinDialog* dialog, int recordIndex);

    int recordIndex() const { return recordIndex_; }
    CSkinDialog* dialog() const { return dialog_; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    const SkinControl& control() const;
    CSkinDialog::ControlAccess access() const;

    QPointer<CSkinDialog> dialog_;
    int recordIndex_;
};
