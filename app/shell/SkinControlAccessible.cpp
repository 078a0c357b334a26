// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/SkinControlAccessible.h"

#include <QWidget>
#include <QWindow>

using Role = CSkinDialog::ControlAccess::Role;

SkinControlAccessible::SkinControlAccessible(CSkinDialog* dialog, int recordIndex)
    : dialog_(dialog), recordIndex_(recordIndex) {}

bool SkinControlAccessible::isValid() const {
    return !dialog_.isNull();
}

const SkinControl& SkinControlAccessible::control() const {
    return dialog_->controls()[static_cast<std::size_t>(recordIndex_)];
}

CSkinDialog::ControlAccess SkinControlAccessible::access() const {
    return dialog_->controlAccess(control());
}

QWindow* SkinControlAccessible::window() const {
    return isValid() ? dialog_->window()->windowHandle() : nullptr;
}

QAccessibleInterface* SkinControlAccessible::parent() const {
    return isValid() ? QAccessible::queryAccessibleInterface(dialog_.data()) : nullptr;
}

QString SkinControlAccessible::text(QAccessible::Text t) const {
    if (!isValid())
        return {};
    switch (t) {
    case QAccessible::Name:
        return QString::fromStdWString(access().name).remove(QLatin1Char('\r')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    case QAccessible::Description:
        return QString::fromStdWString(access().description).remove(QLatin1Char('\r'));
    default:
        return {};
    }
}

QRect SkinControlAccessible::rect() const {
    if (!isValid())
        return {};
    const layout::Rect& r = control().rect;
    return QRect(dialog_->mapToGlobal(QPoint(r.left, r.top)), QSize(r.width(), r.height()));
}

QAccessible::Role SkinControlAccessible::role() const {
    if (!isValid())
        return QAccessible::NoRole;
    switch (access().role) {
    case Role::Toggle:
        return QAccessible::CheckBox;
    case Role::Tab:
        return QAccessible::PageTab;
    case Role::ListRow:
        return QAccessible::ListItem;
    case Role::Label:
        return QAccessible::StaticText;
    case Role::Button:
    case Role::Key:
    case Role::Icon:
        break;
    }
    return QAccessible::Button;
}

QAccessible::State SkinControlAccessible::state() const {
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const CSkinDialog::ControlAccess a = access();
    const SkinControl& c = control();
    state.invisible = !dialog_->isVisible() || !dialog_->isControlShown(c) || (c.isLabel && !c.captionVisible);
    state.disabled = !dialog_->isEnabled() || !a.available;
    state.focusable = dialog_->isFocusable(c);
    state.focused = dialog_->focusedControlIndex() == recordIndex_;
    switch (a.role) {
    case Role::Button:
        state.pressed = a.on;
        break;
    case Role::Toggle:
    case Role::Icon:
        state.checkable = true;
        state.checked = a.on;
        break;
    case Role::Tab:
    case Role::ListRow:
        state.selectable = true;
        state.selected = a.on;
        break;
    case Role::Key:
    case Role::Label:
        break;
    }
    return state;
}

void* SkinControlAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ActionInterface && isValid() && !control().isLabel)
        return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
}

QStringList SkinControlAccessible::actionNames() const {
    if (!isValid() || control().isLabel)
        return {};
    return {pressAction()};
}

void SkinControlAccessible::doAction(const QString& actionName) {
    // Only what a mouse could click: a shown control of an enabled window.
    if (actionName != pressAction() || !isValid() || state().invisible || state().disabled)
        return;
    dialog_->pressControl(control());
}
