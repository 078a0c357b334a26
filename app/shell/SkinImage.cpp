// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT

#include "shell/SkinImage.h"

#include <cmath>

#include <QPainter>

SkinImage::SkinImage(QImage image) : image_(std::move(image)) {}

SkinImage::SkinImage(QImage image, QImage doubled) : image_(std::move(image)) {
    if (!image_.isNull() && doubled.size() == image_.size() * 2) {
        doubled_ = std::move(doubled);
        // Source rectangles are given in pixels; a ratio read from the file
        // name would only confuse QPainter's own sizes.
        doubled_.setDevicePixelRatio(1);
        fitted_ = std::make_shared<Fitted>();
    }
}

const QImage& SkinImage::pixelsFor(qreal ratio, qreal* scaleX, qreal* scaleY) const {
    *scaleX = *scaleY = 1;
    if (doubled_.isNull() || ratio <= 1)
        return image_;
    if (ratio >= 2 || qFuzzyCompare(ratio, 2.0)) {
        *scaleX = *scaleY = 2;
        return doubled_;
    }
    if (fitted_->ratio != ratio) {
        const QSize pixels(qRound(image_.width() * ratio), qRound(image_.height() * ratio));
        fitted_->image = doubled_.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        fitted_->ratio = ratio;
    }
    *scaleX = qreal(fitted_->image.width()) / image_.width();
    *scaleY = qreal(fitted_->image.height()) / image_.height();
    return fitted_->image;
}

void SkinImage::draw(QPainter& painter, const QRectF& target, const QRectF& source) const {
    if (image_.isNull())
        return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    qreal scaleX = 1;
    qreal scaleY = 1;
    const QImage& pixels = pixelsFor(ratio, &scaleX, &scaleY);
    const QRectF from(source.x() * scaleX, source.y() * scaleY, source.width() * scaleX, source.height() * scaleY);
    // Where a pixel does not cover a whole number of the device's, the
    // pixels are resampled smoothly rather than repeated unevenly.
    const qreal perPixel = ratio / scaleX;
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, perPixel != std::round(perPixel));
    painter.drawImage(target, pixels, from);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

void SkinImage::draw(QPainter& painter, const QPointF& at) const {
    const QRectF whole(QPointF(0, 0), QSizeF(image_.size()));
    draw(painter, whole.translated(at), whole);
}
