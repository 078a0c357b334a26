// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/SkinDialogAccessible.h"

#include <mutex>

#include "shell/CSkinDialog.h"
#include "shell/CSkinScrollBar.h"
#include "shell/SkinControlAccessible.h"
#include "shell/SkinScrollBarAccessible.h"

namespace {

QAccessibleInterface* skinFactory(const QString&, QObject* object) {
    if (auto* dialog = qobject_cast<CSkinDialog*>(object))
        return new SkinDialogAccessible(dialog);
    if (auto* bar = qobject_cast<CSkinScrollBar*>(object))
        return new SkinScrollBarAccessible(bar);
    return nullptr;
}

// The states whose change is announced; the focus has its own event.
QAccessible::State changedStates(const QAccessible::State& was, const QAccessible::State& now) {
    QAccessible::State changed;
    changed.pressed = was.pressed != now.pressed;
    changed.checked = was.checked != now.checked;
    changed.selected = was.selected != now.selected;
    changed.invisible = was.invisible != now.invisible;
    changed.disabled = was.disabled != now.disabled;
    return changed;
}

bool any(const QAccessible::State& s) {
    return s.pressed || s.checked || s.selected || s.invisible || s.disabled;
}

}  // namespace

SkinDialogAccessible::SkinDialogAccessible(CSkinDialog* dialog) : QAccessibleWidget(dialog, QAccessible::Dialog) {
    const auto& controls = dialog->controls();
    childOf_.assign(controls.size(), -1);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].isLive()) {
            childOf_[i] = static_cast<int>(records_.size());
            records_.push_back(static_cast<int>(i));
        }
    }
    children_.assign(records_.size(), nullptr);
    inUse()[dialog] = this;
    // The interface lives as long as the window: Qt deletes it with it.
    QObject::connect(dialog, &CSkinDialog::focusedControlChanged, dialog, [this](int index) { focusMoved(index); });
}

SkinDialogAccessible::~SkinDialogAccessible() {
    std::erase_if(inUse(), [this](const auto& entry) { return entry.second == this; });
    for (SkinControlAccessible* child : children_)
        if (child)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(child));
}

void SkinDialogAccessible::install() {
    static std::once_flag once;
    std::call_once(once, [] { QAccessible::installFactory(&skinFactory); });
}

void SkinDialogAccessible::announceChanges(CSkinDialog& dialog) {
    if (const auto it = inUse().find(&dialog); it != inUse().end())
        it->second->announce();
}

std::unordered_map<const CSkinDialog*, SkinDialogAccessible*>& SkinDialogAccessible::inUse() {
    static std::unordered_map<const CSkinDialog*, SkinDialogAccessible*> windows;
    return windows;
}

CSkinDialog& SkinDialogAccessible::dialog() const {
    return *static_cast<CSkinDialog*>(widget());
}

QString SkinDialogAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Name)
        return QAccessibleWidget::text(t);
    // The title drawn in the window, in its language; the window system's
    // title where the artwork carries none.
    const CSkinDialog& window = dialog();
    for (const SkinControl& control : window.controls())
        if (control.isLive() && control.kind == layout::Kind::Title && !control.caption(window.language()).empty())
            return QString::fromStdWString(control.caption(window.language()));
    return window.windowTitle();
}

int SkinDialogAccessible::childCount() const {
    return static_cast<int>(records_.size()) + QAccessibleWidget::childCount();
}

QAccessibleInterface* SkinDialogAccessible::child(int index) const {
    const int records = static_cast<int>(records_.size());
    if (index < 0)
        return nullptr;
    if (index >= records)
        return QAccessibleWidget::child(index - records);
    SkinControlAccessible*& child = children_[static_cast<std::size_t>(index)];
    if (!child) {
        child = new SkinControlAccessible(&dialog(), records_[static_cast<std::size_t>(index)]);
        QAccessible::registerAccessibleInterface(child);
    }
    return child;
}

QAccessibleInterface* SkinDialogAccessible::controlChild(int recordIndex) const {
    if (recordIndex < 0 || recordIndex >= static_cast<int>(childOf_.size()))
        return nullptr;
    const int position = childOf_[static_cast<std::size_t>(recordIndex)];
    return position < 0 ? nullptr : child(position);
}

int SkinDialogAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (const auto* control = dynamic_cast<const SkinControlAccessible*>(child))
        return control->dialog() == &dialog() ? childOf_[static_cast<std::size_t>(control->recordIndex())] : -1;
    const int widgetIndex = QAccessibleWidget::indexOfChild(child);
    return widgetIndex < 0 ? -1 : static_cast<int>(records_.size()) + widgetIndex;
}

QAccessibleInterface* SkinDialogAccessible::childAt(int x, int y) const {
    if (QAccessibleInterface* widgetChild = QAccessibleWidget::childAt(x, y))
        return widgetChild;
    const CSkinDialog& window = dialog();
    const QPoint point = window.mapFromGlobal(QPoint(x, y));
    // A click's control first, then the text under the point.
    int found = window.controlAt(point);
    for (std::size_t i = 0; found < 0 && i < window.controls().size(); ++i) {
        const SkinControl& control = window.controls()[i];
        if (control.isLive() && window.isControlShown(control) && control.rect.contains(point.x(), point.y()))
            found = static_cast<int>(i);
    }
    return controlChild(found);
}

QAccessibleInterface* SkinDialogAccessible::focusChild() const {
    if (QAccessibleInterface* focused = controlChild(dialog().focusedControlIndex()))
        return focused;
    return QAccessibleWidget::focusChild();
}

void* SkinDialogAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface && dialog().progressPercent() >= 0)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant SkinDialogAccessible::currentValue() const {
    return dialog().progressPercent();
}

void SkinDialogAccessible::focusMoved(int recordIndex) {
    if (QAccessibleInterface* focused = controlChild(recordIndex)) {
        QAccessibleEvent event(focused, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

void SkinDialogAccessible::announce() {
    const bool first = seen_.empty();
    std::vector<Seen> now;
    now.reserve(records_.size());
    for (int i = 0; i < static_cast<int>(records_.size()); ++i) {
        QAccessibleInterface* control = child(i);
        now.push_back({control->state(), control->text(QAccessible::Name), control->text(QAccessible::Description)});
    }
    const QString title = text(QAccessible::Name);
    const int progress = dialog().progressPercent();
    if (!first) {
        if (title != seenTitle_) {
            QAccessibleEvent event(this, QAccessible::NameChanged);
            QAccessible::updateAccessibility(&event);
        }
        if (progress != seenProgress_ && progress >= 0) {
            QAccessibleValueChangeEvent event(this, progress);
            QAccessible::updateAccessibility(&event);
        }
        for (std::size_t i = 0; i < now.size(); ++i) {
            QAccessibleInterface* control = child(static_cast<int>(i));
            const Seen& was = seen_[i];
            if (now[i].name != was.name) {
                QAccessibleEvent event(control, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&event);
            }
            if (now[i].description != was.description) {
                QAccessibleEvent event(control, QAccessible::DescriptionChanged);
                QAccessible::updateAccessibility(&event);
            }
            if (const QAccessible::State changed = changedStates(was.state, now[i].state); any(changed)) {
                QAccessibleStateChangeEvent event(control, changed);
                QAccessible::updateAccessibility(&event);
                // A tab or row that became the selected one: the selection moved.
                if (changed.selected && now[i].state.selected) {
                    QAccessibleEvent selection(control, QAccessible::Selection);
                    QAccessible::updateAccessibility(&selection);
                }
            }
        }
    }
    seen_ = std::move(now);
    seenTitle_ = title;
    seenProgress_ = progress;
}
