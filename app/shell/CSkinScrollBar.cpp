// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/CSkinScrollBar.h"

#include <algorithm>

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

bool isArrow(int part) {
    return part == CSkinScrollBar::PartFirstArrow || part == CSkinScrollBar::PartSecondArrow;
}

// Sheet columns of a vertical bar; a horizontal one adds kHorizontalColumns.
constexpr int kFirstArrowColumn = 0;
constexpr int kSecondArrowColumn = 1;
constexpr int kThumbColumn = 2;
constexpr int kTrackColumn = 3;
constexpr int kHorizontalColumns = 4;

}  // namespace

CSkinScrollBar::CSkinScrollBar(Qt::Orientation orientation, QWidget* parent,
                               std::unique_ptr<ControlTimer> timer)
    : QWidget(parent),
      orientation_(orientation),
      timer_(timer ? std::move(timer) : ControlTimer::createQtTimer()) {
    setMouseTracking(true);
    // In the window's Tab chain; a click leaves the focus where it is.
    setFocusPolicy(Qt::TabFocus);
}

CSkinScrollBar::~CSkinScrollBar() {
    timer_->stop();
}

void CSkinScrollBar::setSkin(const SkinImage& sheet) {
    sheet_ = sheet;
    const int fromSheet = sheet_.isNull() ? 0 : sheet_.size().width() / kSheetColumns;
    cell_ = fromSheet > 0 ? fromSheet : kCellSize;
    if (orientation_ == Qt::Vertical)
        resize(cell_, height());
    else
        resize(width(), cell_);
    update();
}

void CSkinScrollBar::setScrollInfo(const ScrollInfo& info, bool redraw) {
    const bool moved = info.position != info_.position;
    info_ = info;
    if (moved) {
        QAccessibleValueChangeEvent event(this, info_.position);
        QAccessible::updateAccessibility(&event);
    }
    if (redraw)
        update();
}

namespace {
// The last position whose page still lies inside the range.
int lastPosition(const CSkinScrollBar::ScrollInfo& info) {
    return std::max(info.minimum, info.maximum - std::max(info.page - 1, 0));
}
}  // namespace

int CSkinScrollBar::maxPosition() const {
    return lastPosition(info_);
}

void CSkinScrollBar::adjustRange(int delta) {
    ScrollInfo info = info_;
    info.maximum += delta;
    if (info.maximum < 0)
        info.maximum = info.page - 1;
    info.position = std::max(std::min(info.position, lastPosition(info)), info.minimum);
    setScrollInfo(info, true);
}

int CSkinScrollBar::barLength() const {
    return orientation_ == Qt::Vertical ? height() : width();
}

int CSkinScrollBar::along(QPoint point) const {
    return orientation_ == Qt::Vertical ? point.y() : point.x();
}

int CSkinScrollBar::across(QPoint point) const {
    return orientation_ == Qt::Vertical ? point.x() : point.y();
}

int CSkinScrollBar::span() const {
    return info_.maximum - info_.minimum + 1 - info_.page;
}

CSkinScrollBar::Layout CSkinScrollBar::partLayout() const {
    Layout lay;
    lay.length = barLength();
    lay.track = std::max(lay.length - 2 * cell_, 0);
    const int positions = span();
    const int range = info_.maximum - info_.minimum + 1;
    // A page that covers the range (or more) leaves no room for a thumb.
    if (lay.track > 5 && positions > 0 && range > 0) {
        const auto proportional = static_cast<unsigned>(std::max(info_.page, 0))
                                  * static_cast<unsigned>(lay.track) / static_cast<unsigned>(range);
        lay.thumb = std::min(static_cast<int>(std::max(proportional, unsigned{kMinThumb})), lay.track);
    }
    lay.arrow = lay.track > 0 ? cell_ : lay.length / 2;
    const int room = lay.track - lay.thumb;
    int gap = room / 2;
    if (positions > 0) {
        const int p = dragging_ ? dragPos_ : info_.position;
        gap = static_cast<int>(static_cast<long long>(room) * (p - info_.minimum) / positions);
        gap = std::clamp(gap, 0, room);
    }
    lay.thumbStart = lay.arrow + gap;
    return lay;
}

QRect CSkinScrollBar::spanRect(int from, int to) const {
    if (to <= from)
        return {};
    return orientation_ == Qt::Vertical ? QRect(0, from, cell_, to - from) : QRect(from, 0, to - from, cell_);
}

QRect CSkinScrollBar::partRect(int part) const {
    const Layout lay = partLayout();
    switch (part) {
    case PartFirstArrow: return spanRect(0, lay.arrow);
    case PartTrackBefore: return spanRect(lay.arrow, lay.thumbStart);
    case PartThumb: return spanRect(lay.thumbStart, lay.thumbEnd());
    case PartTrackAfter: return spanRect(lay.thumbEnd(), lay.length - lay.arrow);
    case PartSecondArrow: return spanRect(lay.length - lay.arrow, lay.length);
    default: return {};
    }
}

int CSkinScrollBar::hitPart(QPoint point) const {
    const int x = across(point);
    const int y = along(point);
    const Layout lay = partLayout();
    if (x < 0 || x >= cell_ || y < 0 || y >= lay.length)
        return PartNone;
    if (y < lay.arrow)
        return PartFirstArrow;
    if (y >= lay.length - lay.arrow)
        return PartSecondArrow;
    if (y < lay.thumbStart)
        return PartTrackBefore;
    if (y < lay.thumbEnd())
        return PartThumb;
    return PartTrackAfter;
}

void CSkinScrollBar::request(int part, int position) {
    emit scrollRequested(part, position);
}

void CSkinScrollBar::keyPressEvent(QKeyEvent* event) {
    // The keys ask the owner as the arrows, the track and the thumb do.
    const bool back = orientation_ == Qt::Vertical ? event->key() == Qt::Key_Up : event->key() == Qt::Key_Left;
    const bool forward = orientation_ == Qt::Vertical ? event->key() == Qt::Key_Down : event->key() == Qt::Key_Right;
    if (event->modifiers() != Qt::NoModifier && event->modifiers() != Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
    } else if (back || forward) {
        request(back ? LineUp : LineDown, info_.position);
    } else if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) {
        request(event->key() == Qt::Key_PageUp ? PageUp : PageDown, info_.position);
    } else if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
        request(ThumbPosition, event->key() == Qt::Key_Home ? info_.minimum : maxPosition());
    } else {
        QWidget::keyPressEvent(event);  // Enter, Escape and Tab go on to the window
    }
}

void CSkinScrollBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    lastMouse_ = point;
    const int part = hitPart(point);
    if (part == PartNone)
        return;
    if (part == PartThumb) {
        dragging_ = true;
        pressAlong_ = along(point);
        dragStartPos_ = info_.position;
        dragPos_ = info_.position;
        update();
        return;
    }
    pressedPart_ = part;
    repeating_ = false;
    leftPressed_ = false;
    request(part, info_.position);
    timer_->start(kDelayMs, false, [this] { onTimer(); });
    update();
}

void CSkinScrollBar::onTimer() {
    if (pressedPart_ == PartNone) {
        timer_->stop();
        return;
    }
    if (!repeating_) {
        repeating_ = true;
        timer_->start(kRepeatMs, true, [this] { onTimer(); });
    }
    if (leftPressed_)
        return;
    bool done = false;
    switch (pressedPart_) {
    case PartFirstArrow: done = info_.position <= info_.minimum; break;
    case PartSecondArrow: done = info_.position >= maxPosition(); break;
    default: done = hitPart(lastMouse_) == PartThumb; break;
    }
    if (done) {
        timer_->stop();
        return;
    }
    request(pressedPart_, info_.position);
}

void CSkinScrollBar::handleMove(QPoint point) {
    lastMouse_ = point;
    if (dragging_) {
        const Layout lay = partLayout();
        const int room = lay.track - lay.thumb;
        const long long moved = along(point) - pressAlong_;
        const long long delta = room == 0 ? 0 : moved * span() / room;
        const int position = static_cast<int>(
            std::clamp<long long>(dragStartPos_ + delta, info_.minimum, maxPosition()));
        if (position != dragPos_) {
            dragPos_ = position;
            update();
            request(ThumbTrack, position);
        }
        return;
    }
    if (pressedPart_ != PartNone) {
        const bool outside = hitPart(point) != pressedPart_;
        if (outside != leftPressed_) {
            leftPressed_ = outside;
            update();
        }
        return;
    }
    const int part = hitPart(point);
    if (part != hoveredPart_) {
        hoveredPart_ = part;
        update();
    }
}

void CSkinScrollBar::mouseMoveEvent(QMouseEvent* event) {
    handleMove(event->position().toPoint());
}

void CSkinScrollBar::leaveEvent(QEvent* event) {
    // A leave is not a movement: a running drag keeps its place.
    if (!dragging_)
        handleMove(QPoint(-1, -1));
    QWidget::leaveEvent(event);
}

void CSkinScrollBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    lastMouse_ = point;
    if (dragging_) {
        dragging_ = false;
        const int position = dragPos_;
        request(ThumbPosition, position);
        dragPos_ = -1;
        hoveredPart_ = hitPart(point);
        update();
    } else if (pressedPart_ != PartNone) {
        timer_->stop();
        pressedPart_ = PartNone;
        repeating_ = false;
        leftPressed_ = false;
        hoveredPart_ = hitPart(point);
        update();
    }
}

void CSkinScrollBar::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void CSkinScrollBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update();
}

CSkinScrollBar::Look CSkinScrollBar::lookOf(int part) const {
    if (part == PartThumb && dragging_)
        return LookPressed;
    if (isArrow(part) && part == pressedPart_)
        return leftPressed_ ? LookNormal : LookPressed;
    if (!dragging_ && pressedPart_ == PartNone && part == hoveredPart_
        && (isArrow(part) || part == PartThumb))
        return LookHovered;
    return LookNormal;
}

void CSkinScrollBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (int part : {PartFirstArrow, PartTrackBefore, PartThumb, PartTrackAfter, PartSecondArrow}) {
        const QRect target = partRect(part);
        if (target.isEmpty())
            continue;
        if (sheet_.isNull())
            paintPlain(painter, part, target);
        else
            paintPart(painter, part, target);
    }
}

void CSkinScrollBar::paintPart(QPainter& painter, int part, const QRect& target) const {
    const bool vertical = orientation_ == Qt::Vertical;
    const int columnBase = vertical ? 0 : kHorizontalColumns;
    const int row = lookOf(part);
    auto cell = [&](int column) { return QRect((columnBase + column) * cell_, row * cell_, cell_, cell_); };
    // A piece of a cell along the bar: [from, from + len) of the cell onto
    // [at, at + len) of the bar.
    auto copyAlong = [&](const QRect& source, int from, int at, int len) {
        if (len <= 0)
            return;
        const QRect src = vertical ? QRect(source.left(), source.top() + from, cell_, len)
                                   : QRect(source.left() + from, source.top(), len, cell_);
        const QPoint dst = vertical ? QPoint(0, at) : QPoint(at, 0);
        sheet_.draw(painter, QRect(dst, src.size()), src);
    };
    const int start = vertical ? target.top() : target.left();
    const int length = vertical ? target.height() : target.width();
    switch (part) {
    case PartFirstArrow:
    case PartSecondArrow:
        // Stretched when the arrows are halved on a short bar.
        sheet_.draw(painter, target, cell(part == PartFirstArrow ? kFirstArrowColumn : kSecondArrowColumn));
        break;
    case PartThumb: {
        const QRect source = cell(kThumbColumn);
        const int cap = std::min(kThumbCap, length / 2);
        copyAlong(source, 0, start, cap);
        const int middle = cell_ - 2 * kThumbCap;
        for (int at = start + cap; at < start + length - cap && middle > 0; at += middle)
            copyAlong(source, kThumbCap, at, std::min(middle, start + length - cap - at));
        copyAlong(source, cell_ - cap, start + length - cap, cap);
        break;
    }
    default: {
        const QRect source = cell(kTrackColumn);
        for (int at = start; at < start + length; at += cell_)
            copyAlong(source, 0, at, std::min(cell_, start + length - at));
        break;
    }
    }
}

// Without artwork: flat shades, lighter for the thumb and the arrows.
void CSkinScrollBar::paintPlain(QPainter& painter, int part, const QRect& target) const {
    static const QColor track(34, 34, 38);
    static const QColor looks[3] = {QColor(80, 80, 88), QColor(110, 110, 120), QColor(255, 111, 0)};
    if (part == PartTrackBefore || part == PartTrackAfter) {
        painter.fillRect(target, track);
        return;
    }
    painter.fillRect(target.adjusted(1, 1, -1, -1), looks[lookOf(part)]);
}
