#include "shell/CSkinDialog.h"

#include <algorithm>

#include <QAccessible>
#include <QBitmap>
#include <QChildEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyleHints>
#include <QWindow>

#include "shell/AppResources.h"
#include "shell/PostedMessageEvent.h"
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
    // names them (the one showing now, as "Record" gives way to "Stop Rec").
    if (access.name.empty() && !control.isLabel) {
        for (const SkinControl& label : controls_) {
            const int x = (label.rect.left + label.rect.right) / 2;
            const int y = (label.rect.top + label.rect.bottom) / 2;
            if (label.isLabel && label.isLive() && label.captionVisible && isShown(label) && control.rect.contains(x, y)
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
    clearKeyColourArea(painter);
    // The windows derive their looks while painting: what changed is told
    // to assistive technology from there.
    if (QAccessible::isActive())
        SkinDialogAccessible::announceChanges(*this);
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
    return QDialog::eventFilter(watched, event);
}
