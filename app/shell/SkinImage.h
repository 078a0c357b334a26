// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT

// One skin bitmap at the window's own (logical) size and, where the artwork
// has it, drawn again at twice that size. Drawing picks the pixels that suit
// the painter's device pixel ratio, so the artwork is as fine as the screen:
// the 1x bitmap at ratio 1, the 2x one at 2 and above, and between them
// (1.25, 1.5) the 2x one scaled down smoothly once to the screen's pixels.
// Hit areas, masks and sizes always use the logical size.
#pragma once

#include <memory>

#include <QImage>

class QPainter;
class QPointF;
class QRectF;

class SkinImage {
public:
    SkinImage() = default;
    // A picture without a high-density rendering (plain QImages convert).
    SkinImage(QImage image);
    // `doubled` is ignored unless it is exactly twice the size of `image`.
    SkinImage(QImage image, QImage doubled);

    bool isNull() const { return image_.isNull(); }
    QSize size() const { return image_.size(); }
    const QImage& image() const { return image_; }      // the 1x pixels
    const QImage& doubled() const { return doubled_; }  // null when absent

    // Copies `source` (the picture's logical coordinates) onto `target`
    // (the painter's logical coordinates).
    void draw(QPainter& painter, const QRectF& target, const QRectF& source) const;
    // The whole picture at its size, its top left at `at`.
    void draw(QPainter& painter, const QPointF& at) const;

private:
    // The pixels for a device pixel ratio, and their size over the logical one.
    const QImage& pixelsFor(qreal ratio, qreal* scaleX, qreal* scaleY) const;

    struct Fitted {
        qreal ratio = 0;
        QImage image;
    };

    QImage image_;
    QImage doubled_;
    // The last fractional ratio's pixels, shared by every copy of the picture
    // so that a window switching skin sets does not scale them again.
    std::shared_ptr<Fitted> fitted_;
};
