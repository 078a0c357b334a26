// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/CSkinDialog.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include <QBitmap>
#include <QChildEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>
#include <QWindow>

#include "shell/AppResources.h"
#include "shell/PostedMessageEvent.h"
#include "shell/FocusRing.h"
#include "shell/SkinDialogAccessible.h"

namespace {

QRect toQRect(const layout::Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

// Colours of the plain look used when the artwork is missing.
const QColor kPlainBackground(28, 28, 30);
const QColor kPlainFrame(90, 90, 98);
const QColor kPlainHover(58, 58, 66);
const QColor kPlainActive(150, 64, 0);

}  // namespace

CSkinDialog::CSkinDialog(const layout::Window& table, const std::string& language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      table_(&table),
      language_(language),
      controls_(SkinControl::fromLayout(table)),
      skins_(AppResources::current().skinSet(table.background, table.hover, table.active)) {
    setMouseTracking(true);
    // The colour-key areas show what lies behind the window on every
    // platform: cleared to transparent when painting. The mask alone is not
    // enough: a Wayland compositor ignores it for drawing, and XWayland
    // fills what it cuts away in black.
    setAttribute(Qt::WA_TranslucentBackground);
    // Tab reaches the window itself (its records have no widgets); a click
    // keeps the focus where it is, so an edit stays open under a click.
    setFocusPolicy(Qt::TabFocus);
    setUpFrame();
    // The window system shows the title the artwork draws.
    for (const SkinControl& control : controls_)
        if (control.isLive() && control.kind == layout::Kind::Title)
            setWindowTitle(QString::fromStdWString(control.caption(language_)));
    SkinDialogAccessible::install();
}

CSkinDialog::~CSkinDialog() = default;

void CSkinDialog::postMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    QCoreApplication::postEvent(this, new PostedMessageEvent(message, wParam, lParam));
}

void CSkinDialog::postKeyMessage(std::uintptr_t wParam, std::intptr_t lParam, std::uint32_t time) {
    QCoreApplication::postEvent(this, new PostedMessageEvent(hwi_msg::kKeyEvent, wParam, lParam, time));
}

QColor CSkinDialog::transparentColor() const {
    return QColor(table_->transparent.r, table_->transparent.g, table_->transparent.b);
}

QRegion CSkinDialog::keyColourRegion() const {
    if (!skins_.hasBackground())
        return {};
    // Pixels of the key colour end up outside the region.
    const QImage mask = skins_.background.image().createMaskFromColor(transparentColor().rgb(), Qt::MaskInColor);
    return QRegion(QBitmap::fromImage(mask));
}

void CSkinDialog::setSkinSet(SkinSet skins) {
    skins_ = std::move(skins);
    // The window stays where the user has put it.
    setUpShape();
    update();
}

void CSkinDialog::setUpShape() {
    const QSize size = skins_.hasBackground() ? skins_.background.size()
                                              : QSize(table_->fallbackWidth, table_->fallbackHeight);
    setFixedSize(size);
    const QRegion shape = keyColourRegion();
    keyColourArea_ = shape.isEmpty() ? QRegion() : QRegion(rect()) - shape;
    // The mask keeps clicks on the colour key going to what lies behind. The
    // offscreen platform has no window shapes.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        if (shape.isEmpty())
            clearMask();
        else
            setMask(shape);
    }
}

void CSkinDialog::clearKeyColourArea(QPainter& painter) {
    if (keyColourArea_.isEmpty())
        return;
    painter.save();
    painter.setClipRegion(keyColourArea_);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(rect(), Qt::transparent);
    painter.restore();
}

void CSkinDialog::setUpFrame() {
    setUpShape();
    const QSize size = this->size();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - size.width()) / 2,
             area.top() + (area.height() - size.height()) / 2);
    }
}

SkinControl* CSkinDialog::controlById(int id) {
    const auto it = std::find_if(controls_.begin(), controls_.end(),
                                 [id](const SkinControl& c) { return c.id == id; });
    return it == controls_.end() ? nullptr : &*it;
}

void CSkinDialog::updateControl(const SkinControl& control) {
    update(toQRect(control.rect));
}

bool CSkinDialog::isShown(const SkinControl& control) const {
    return control.isLive();
}

CSkinDialog::HitArea CSkinDialog::hitTestControls(QPoint point) {
    const bool moved = point != lastMouse_;
    lastMouse_ = point;
    int hits = 0;
    for (SkinControl& control : controls_) {
        if (!control.isHittable() || !isShown(control))
            continue;
        const bool inside = control.rect.contains(point.x(), point.y());
        if (inside != control.hovered) {
            control.hovered = inside;
            updateControl(control);
        }
        hits += inside ? 1 : 0;
    }
    if (moved)
        hoverChanged();
    if (hits > 0)
        return HitArea::Client;
    const int w = width();
    const int h = height();
    if (point.x() > w - kEdge)
        return point.y() > h - kEdge ? HitArea::BottomRightCorner : HitArea::RightEdge;
    return point.y() > h - kEdge ? HitArea::BottomEdge : HitArea::Caption;
}

int CSkinDialog::controlAt(QPoint point) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const SkinControl& control = controls_[i];
        if (control.isHittable() && isShown(control) && control.rect.contains(point.x(), point.y()))
            return static_cast<int>(i);
    }
    return -1;
}

void CSkinDialog::controlClicked(SkinControl&) {}

void CSkinDialog::leftButtonReleased(QPoint point) {
    const int index = controlAt(point);
    if (index >= 0)
        controlClicked(controls_[static_cast<std::size_t>(index)]);
}

void CSkinDialog::rightButtonReleased(QPoint) {}

void CSkinDialog::pressControl(const SkinControl& control) {
    leftButtonReleased(QPoint((control.rect.left + control.rect.right) / 2, (control.rect.top + control.rect.bottom) / 2));
}

CSkinDialog::ControlAccess CSkinDialog::controlAccess(const SkinControl& control) const {
    using Role = ControlAccess::Role;
    ControlAccess access;
    access.on = control.active;
    access.name = control.caption(language_);
    if (const auto tip = control.tooltips.find(language_); access.name.empty() && tip != control.tooltips.end())
        access.name = tip->second;
    switch (control.kind) {
    case layout::Kind::Key:
        access.role = Role::Key;
        break;
    case layout::Kind::Label:
    case layout::Kind::Title:
        access.role = Role::Label;
        break;
    case layout::Kind::List:
        access.role = Role::ListRow;
        break;
    default:
        access.role = control.tooltips.empty() ? Role::Button : Role::Icon;
        break;
    }
    // Picture buttons carry no text of their own: the label drawn on them
    // names them (the one showing now, as "Record" gives way to "Stop Rec";
    // the two lie over each other's middle).
    if (access.name.empty() && !control.isLabel) {
        const auto centre = [](const layout::Rect& r) { return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2); };
        const QPoint middle = centre(control.rect);
        for (const SkinControl& label : controls_) {
            const QPoint labelMiddle = centre(label.rect);
            if (label.isLabel && label.isLive() && label.captionVisible && isShown(label) == isShown(control)
                && control.rect.contains(labelMiddle.x(), labelMiddle.y()) && label.rect.contains(middle.x(), middle.y())
                && !label.caption(language_).empty()) {
                access.name = label.caption(language_);
                break;
            }
        }
    }
    return access;
}

void CSkinDialog::messageReceived(unsigned, std::uintptr_t, std::intptr_t) {}

QColor CSkinDialog::captionColor(const SkinControl& control) const {
    return control.active ? control.activeTextColor : control.textColor;
}

void CSkinDialog::paintWindow(QPainter& painter) {
    paintControls(painter);
}

void CSkinDialog::paintControls(QPainter& painter) {
    if (!skins_.hasBackground()) {
        paintPlain(painter);
        return;
    }
    skins_.background.draw(painter, QPointF(0, 0));
    for (const SkinControl& control : controls_) {
        if (!isShown(control))
            continue;
        const QRect area = toQRect(control.rect);
        if (control.active) {
            skins_.active.draw(painter, area, area);
        } else if (!control.isLabel && control.rect.contains(lastMouse_.x(), lastMouse_.y())) {
            skins_.hover.draw(painter, area, area);
        }
        if ((control.isLabel || control.showCaption) && control.captionVisible)
            drawCaption(painter, control);
    }
}

// Without artwork: flat boxes for the controls and every caption, so the
// window stays usable.
void CSkinDialog::paintPlain(QPainter& painter) {
    painter.fillRect(rect(), kPlainBackground);
    for (const SkinControl& control : controls_) {
        if (!isShown(control))
            continue;
        const QRect area = toQRect(control.rect);
        if (!control.isLabel) {
            if (control.active)
                painter.fillRect(area, kPlainActive);
            else if (control.rect.contains(lastMouse_.x(), lastMouse_.y()))
                painter.fillRect(area, kPlainHover);
            painter.setPen(kPlainFrame);
            painter.drawRect(area.adjusted(0, 0, -1, -1));
        }
        if (control.captionVisible)
            drawCaption(painter, control);
    }
}

void CSkinDialog::drawCaption(QPainter& painter, const SkinControl& control) {
    QString text = QString::fromStdWString(control.caption(language_));
    if (text.isEmpty())
        return;
    text.remove(QLatin1Char('\r'));
    const auto& fonts = AppResources::current().fontTable;
    painter.setFont(fonts[static_cast<std::size_t>(std::clamp(control.fontIndex, 0, AppResources::kFontCount - 1))]);
    painter.setPen(captionColor(control));
    // Format bit 0 centres, bit 1 right-aligns; always top-aligned, never
    // word-wrapped, clipped to the rectangle.
    int flags = Qt::AlignTop;
    if (control.textFormat & 1)
        flags |= Qt::AlignHCenter;
    else if (control.textFormat & 2)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    painter.drawText(toQRect(control.rect), flags, text);
}

bool CSkinDialog::event(QEvent* event) {
    if (event->type() == PostedMessageEvent::eventType()) {
        const auto* posted = static_cast<PostedMessageEvent*>(event);
        messageTime_ = posted->time;
        messageReceived(posted->message, posted->wParam, posted->lParam);
        messageTime_.reset();
        return true;
    }
    return QDialog::event(event);
}

void CSkinDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintWindow(painter);
    paintFocusRing(painter);
    clearKeyColourArea(painter);
    // The windows derive their looks while painting: what changed is told
    // to assistive technology from there.
    SkinDialogAccessible::announceChanges(*this);
}

// ---- Keyboard focus --------------------------------------------------------------------

namespace {

// What to repaint when the ring comes or goes (it is drawn inside the
// record's rectangle; the margin covers rounding at fractional scales).
QRect ringArea(const SkinControl& control) {
    return toQRect(control.rect).adjusted(-kFocusRingWidth, -kFocusRingWidth,
                                          kFocusRingWidth, kFocusRingWidth);
}

// The ring round a focused child widget, just outside it.
QRect childRingArea(const QWidget& child) {
    return child.geometry().adjusted(-kFocusRingWidth, -kFocusRingWidth, kFocusRingWidth, kFocusRingWidth);
}

}  // namespace

bool CSkinDialog::isFocusable(const SkinControl& control) const {
    return control.isHittable() && isShown(control) && control.rect.width() > 0 && control.rect.height() > 0;
}

void CSkinDialog::setFocusedControlIndex(int index) {
    if (index < -1 || index >= static_cast<int>(controls_.size()))
        index = -1;
    if (index == focused_)
        return;
    if (focused_ >= 0)
        update(ringArea(controls_[static_cast<std::size_t>(focused_)]));
    focused_ = index;
    if (focused_ >= 0)
        update(ringArea(controls_[static_cast<std::size_t>(focused_)]));
    emit focusedControlChanged(focused_);
}

std::vector<CSkinDialog::FocusStop> CSkinDialog::focusChain() const {
    std::vector<FocusStop> stops;
    for (std::size_t i = 0; i < controls_.size(); ++i)
        if (isFocusable(controls_[i]))
            stops.push_back({static_cast<int>(i), nullptr, toQRect(controls_[i].rect)});
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisibleTo(this) && child->isEnabled() && (child->focusPolicy() & Qt::TabFocus))
            stops.push_back({-1, child, child->geometry()});
    // Rows first: a stop belongs before another when it starts higher, the
    // same row going left to right. stable_sort keeps the table's order for
    // records that share a corner.
    std::stable_sort(stops.begin(), stops.end(), [](const FocusStop& a, const FocusStop& b) {
        return std::pair(a.rect.top(), a.rect.left()) < std::pair(b.rect.top(), b.rect.left());
    });
    return stops;
}

bool CSkinDialog::focusNextPrevChild(bool next) {
    const std::vector<FocusStop> stops = focusChain();
    if (stops.empty())
        return false;
    // Where the focus is now: a record (the window itself has the focus or
    // nothing else does) or one of the child widgets, or a part of one.
    QWidget* focus = focusWidget() == this ? nullptr : focusWidget();
    while (focus && focus->parentWidget() != this)
        focus = focus->parentWidget();
    const int count = static_cast<int>(stops.size());
    int at = -1;
    for (int i = 0; i < count; ++i) {
        const FocusStop& stop = stops[static_cast<std::size_t>(i)];
        if (focus ? stop.widget == focus : (stop.control >= 0 && stop.control == focused_))
            at = i;
    }
    if (at < 0 && !focus && focused_ >= 0) {
        // The focused record went out of sight (another page): go on from
        // where it was in the reading order.
        const QRect gone = toQRect(controls_[static_cast<std::size_t>(focused_)].rect);
        const auto after = std::find_if(stops.begin(), stops.end(), [&](const FocusStop& stop) {
            return std::pair(stop.rect.top(), stop.rect.left()) > std::pair(gone.top(), gone.left());
        });
        at = static_cast<int>(after - stops.begin()) - (next ? 1 : 0);
    }
    const int target = at < 0 ? (next ? 0 : count - 1) : ((at + (next ? 1 : -1)) % count + count) % count;
    const FocusStop& stop = stops[static_cast<std::size_t>(target)];
    if (stop.widget) {
        setFocusedControlIndex(-1);
        stop.widget->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    } else {
        setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        setFocusedControlIndex(stop.control);
    }
    return true;
}

int CSkinDialog::arrowTarget(int index, Qt::Key arrow) const {
    if (index < 0 || index >= static_cast<int>(controls_.size()))
        return -1;
    const QRect from = toQRect(controls_[static_cast<std::size_t>(index)].rect);
    int best = -1;
    long long bestScore = 0;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (static_cast<int>(i) == index || !isFocusable(controls_[i]))
            continue;
        const QRect to = toQRect(controls_[i].rect);
        const QPoint d = to.center() - from.center();
        // Along the arrow and across it; the record must lie beyond the
        // middle of the one the focus leaves.
        int along = 0;
        int across = 0;
        switch (arrow) {
        case Qt::Key_Up: along = -d.y(); across = d.x(); break;
        case Qt::Key_Down: along = d.y(); across = d.x(); break;
        case Qt::Key_Left: along = -d.x(); across = d.y(); break;
        case Qt::Key_Right: along = d.x(); across = d.y(); break;
        default: return -1;
        }
        const bool vertical = arrow == Qt::Key_Up || arrow == Qt::Key_Down;
        const int half = (vertical ? std::min(from.height(), to.height()) : std::min(from.width(), to.width())) / 2;
        if (along <= std::max(half, 1) - 1)
            continue;
        const long long score = static_cast<long long>(along) + 2LL * std::abs(across);
        if (best < 0 || score < bestScore) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    return best;
}

void CSkinDialog::activateControl(SkinControl& control) {
    controlClicked(control);
}

void CSkinDialog::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    // The menu key and Shift+F10: the right click on the focused record.
    if ((event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier)
        || (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        if (focused_ >= 0 && isFocusable(controls_[static_cast<std::size_t>(focused_)]))
            rightButtonReleased(toQRect(controls_[static_cast<std::size_t>(focused_)].rect).center());
        return;
    }
    if (modifiers == Qt::NoModifier) {
        const auto key = static_cast<Qt::Key>(event->key());
        switch (key) {
        case Qt::Key_Space:
            if (focused_ >= 0 && isFocusable(controls_[static_cast<std::size_t>(focused_)]))
                activateControl(controls_[static_cast<std::size_t>(focused_)]);
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (focused_ < 0 || !isFocusable(controls_[static_cast<std::size_t>(focused_)])) {
                focusNextPrevChild(true);
            } else if (const int target = arrowTarget(focused_, key); target >= 0) {
                setFocusedControlIndex(target);
            }
            return;
        default:
            break;
        }
    }
    QDialog::keyPressEvent(event);
}

void CSkinDialog::paintFocusRing(QPainter& painter) {
    // A child edit draws no focus frame of its own (and the window's edits
    // show no caret): the ring goes round it, on the window.
    if (QWidget* child = focusWidget(); child && child != this && child->parentWidget() == this && child->hasFocus()) {
        drawFocusRing(painter, childRingArea(*child));
        return;
    }
    if (focused_ < 0 || !isFocusable(controls_[static_cast<std::size_t>(focused_)]))
        return;
    drawFocusRing(painter, toQRect(controls_[static_cast<std::size_t>(focused_)].rect));
}

void CSkinDialog::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    hitTestControls(point);
    // The move starts only once the pointer has really been dragged: a
    // press alone (the second press of a double click that opened this
    // window, say) must never make the window follow the pointer.
    if (dragFrom_ && (event->buttons() & Qt::LeftButton)
        && (point - *dragFrom_).manhattanLength() > QGuiApplication::styleHints()->startDragDistance()) {
        dragFrom_.reset();
        // No resizing: the contents are laid out for the fixed size.
        emit windowMoveRequested();
        if (QWindow* handle = windowHandle())
            handle->startSystemMove();
    }
}

void CSkinDialog::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const HitArea area = hitTestControls(point);
    dragPress_ = area != HitArea::Client;
    dragFrom_.reset();
    if (dragPress_ && event->button() == Qt::LeftButton)
        dragFrom_ = point;
    event->accept();
}

void CSkinDialog::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const bool wasDrag = dragPress_;
    dragPress_ = false;
    dragFrom_.reset();
    if (wasDrag)
        return;
    if (event->button() == Qt::LeftButton)
        leftButtonReleased(point);
    else if (event->button() == Qt::RightButton)
        rightButtonReleased(point);
}

void CSkinDialog::clearHover() {
    const bool moved = lastMouse_ != QPoint(-1, -1);
    lastMouse_ = QPoint(-1, -1);
    for (SkinControl& control : controls_) {
        if (control.hovered) {
            control.hovered = false;
            updateControl(control);
        }
    }
    if (moved)
        hoverChanged();
}

void CSkinDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The keys go to the window from the start, so that the first Tab or
    // arrow already moves the focus ring; a child that took the focus keeps it.
    if (!focusWidget())
        setFocus(Qt::ActiveWindowFocusReason);
}

void CSkinDialog::leaveEvent(QEvent* event) {
    clearHover();
    QDialog::leaveEvent(event);
}

void CSkinDialog::childEvent(QChildEvent* event) {
    if (event->added() && event->child()->isWidgetType())
        event->child()->installEventFilter(this);
    QDialog::childEvent(event);
}

bool CSkinDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter && watched->parent() == this)
        clearHover();
    if ((event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) && watched->parent() == this)
        update(childRingArea(*static_cast<QWidget*>(watched)));
    return QDialog::eventFilter(watched, event);
}
