// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// What assistive technology sees of a skinned window: the window itself (named
// by its title, carrying a transfer's progress as its value), one child for
// every record of its control table, then its child widgets (edits, scroll
// bars, the summary box). The window's controls are drawn, not widgets, so
// Qt's accessibility bridge (AT-SPI, UI Automation) learns of them only here.
#pragma once

#include <unordered_map>
#include <vector>

#include <QAccessibleWidget>
#include <QString>

class CSkinDialog;
class SkinControlAccessible;

class SkinDialogAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SkinDialogAccessible(CSkinDialog* dialog);
    ~SkinDialogAccessible() override;

    // Makes Qt ask here for every skinned window and skinned scroll bar;
    // once per program, whoever calls first.
    static void install();
    // Tells assistive technology what changed in the window since it last
    // looked: names, descriptions, states of its controls, its progress.
    // Nothing to do (and nothing made) while none has asked for the window.
    static void announceChanges(CSkinDialog& dialog);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleValueInterface: the transfer's progress in percent.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    // The windows assistive technology has asked for, with their interfaces.
    static std::unordered_map<const CSkinDialog*, SkinDialogAccessible*>& inUse();
    CSkinDialog& dialog() const;
    // The child interface of record recordIndex; nullptr for a dead record.
    QAccessibleInterface* controlChild(int recordIndex) const;
    void focusMoved(int recordIndex);
    void announce();

    struct Seen {
        QAccessible::State state;
        QString name;
        QString description;
    };
    std::vector<int> records_;     // child position -> record index
    std::vector<int> childOf_;     // record index -> child position, -1 for none
    mutable std::vector<SkinControlAccessible*> children_;  // by child position, made on demand
    std::vector<Seen> seen_;       // by child position, at the last announcement
    QString seenTitle_;
    int seenProgress_ = -1;
};
