// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "SkinGenerator.h"

#include "ColourKey.h"
#include "KeyMapArtwork.h"
#include "ScrollBarSheet.h"
#include "jobs/FirmwareWindowLayout.h"
#include "jobs/ProgressWindowLayout.h"
#include "shell/BacklightWindowLayout.h"
#include "shell/MainWindowLayout.h"
#include "shell/ScrollBarSkin.h"

namespace skingen {

namespace {

bool isText(const layout::Row& row)
{
    return row.kind == layout::Kind::Label || row.kind == layout::Kind::Title;
}

QString caption(const wchar_t* text)
{
    return text ? QString::fromWCharArray(text) : QString();
}

// The small close/minimise/help squares of the title bars.
void titleControl(SkinPainter& p, const layout::Row& row, Look look, Glyph glyph)
{
    p.glyphButton(toRectF(row.rect), glyph, look);
}

}  // namespace

std::vector<Bitmap> SkinGenerator::renderAll(int scale) const
{
    std::vector<Bitmap> out;
    mainWindow(out, scale);
    firmwareWindow(out, scale);
    backlightWindow(out, scale);
    KeyMapArtwork::render(out, scale);
    out.push_back({138, ScrollBarSheet(layout::scrollBarCell).render(scale)});
    progressWindow(out, scale);
    return out;
}

QImage SkinGenerator::paint(const layout::Window& window, int scale, Look look, const Base& base, const Control& control)
{
    // The painter works in the window's own coordinates at every scale.
    QImage art(window.fallbackWidth * scale, window.fallbackHeight * scale, QImage::Format_ARGB32_Premultiplied);
    art.setDevicePixelRatio(scale);
    art.fill(Qt::transparent);
    {
        SkinPainter painter(art);
        base(painter, look);
        for (const layout::Row& row : window.rows)
            if (row.id > 0 && !isText(row))
                control(painter, row, look);
    }
    return applyColourKey(art, window.transparent);
}

void SkinGenerator::addSet(std::vector<Bitmap>& out, int scale, const layout::Window& window, const Base& base,
                           const Control& control)
{
    out.push_back({window.background, paint(window, scale, Look::Normal, base, control)});
    if (window.hover > 0)
        out.push_back({window.hover, paint(window, scale, Look::Hover, base, control)});
    if (window.active > 0)
        out.push_back({window.active, paint(window, scale, Look::Active, base, control)});
}

void SkinGenerator::mainWindow(std::vector<Bitmap>& out, int scale)
{
    const layout::Window& window = layout::mainWindow;
    const auto base = [&](SkinPainter& p, Look) {
        p.windowBody(72);
        p.wordmark(26, 35, 18);
        p.plate(QRectF(36, 150, window.fallbackWidth - 50, 330));
        p.well(toRectF(layout::mainSummaryBox));
        // The panel beside the summary box carries the mark and the key count.
        const QRectF panel(978, 504, 262, 148);
        p.plate(panel);
        p.emblem(QRectF(panel.center().x() - 26, panel.top() + 28, 52, 52));
        QPainter& g = p.painter();
        QFont f = SkinPainter::font(13, QFont::DemiBold);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 3);
        g.setFont(f);
        g.setPen(QColor(0x8a, 0x90, 0x9b));
        g.drawText(QRectF(panel.left(), panel.top() + 96, panel.width(), 20), Qt::AlignCenter, QStringLiteral("VELKOR ONDRIX 108"));
    };
    const auto control = [](SkinPainter& p, const layout::Row& row, Look look) {
        const QRectF rect = toRectF(row.rect);
        if (row.kind == layout::Kind::Key) {
            p.keyCap(rect, look, caption(row.captionEn));
            return;
        }
        // The command labels are drawn from the top of the row at run time, so
        // the button faces sit a little high in their hit rectangles.
        const QRectF face = rect.adjusted(0, 0, 0, -3);
        switch (row.id) {
        case 85:  // language switch: the label names the target language
            p.button(face, look);
            p.globe(QPointF(face.left() + 17, face.center().y()), 7, look);
            break;
        case 87: titleControl(p, row, look, Glyph::Help); break;
        case 88: titleControl(p, row, look, Glyph::Minimise); break;
        case 89: titleControl(p, row, look, Glyph::Close); break;
        case 97: p.toggle(rect, look); break;
        default: p.button(face, look); break;
        }
    };
    addSet(out, scale, window, base, control);
}

void SkinGenerator::backlightWindow(std::vector<Bitmap>& out, int scale)
{
    const layout::Window& window = layout::backlightWindow;
    const auto base = [&](SkinPainter& p, Look) {
        p.windowBody(46);
        p.wordmark(22, 23, 14);
        p.plate(QRectF(25, 90, window.fallbackWidth - 50, 320));
    };
    // Only a background exists here: keys keep their legends, and the window
    // draws each key's colour as a frame just outside the cap.
    const auto control = [](SkinPainter& p, const layout::Row& row, Look look) {
        const QRectF rect = toRectF(row.rect);
        if (row.kind == layout::Kind::Key)
            p.keyCap(rect, look, caption(row.captionEn));
        else if (row.id == 88)
            titleControl(p, row, look, Glyph::Close);
        else
            p.button(rect, look);
    };
    addSet(out, scale, window, base, control);
}

void SkinGenerator::progressWindow(std::vector<Bitmap>& out, int scale)
{
    const auto base = [](SkinPainter& p, Look look) {
        p.windowBody(44);
        p.emblem(QRectF(14, 11, 22, 22));
        p.keyboardIcon(QRectF(156, 74, 60, 30));
        p.barTrack(toRectF(layout::progressBar));
        if (look == Look::Active)
            p.barFill(toRectF(layout::progressBar));
    };
    const auto control = [](SkinPainter& p, const layout::Row& row, Look look) {
        if (row.id == 89)
            titleControl(p, row, look, Glyph::Close);
        else
            p.button(toRectF(row.rect), look);
    };
    addSet(out, scale, layout::progressWindow, base, control);
}

void SkinGenerator::firmwareWindow(std::vector<Bitmap>& out, int scale)
{
    const auto base = [](SkinPainter& p, Look look) {
        p.windowBody(44);
        p.emblem(QRectF(14, 11, 22, 22));
        p.well(toRectF(layout::firmwareVersionBox));
        p.well(toRectF(layout::firmwarePathBox));
        p.barTrack(toRectF(layout::firmwareBar));
        if (look == Look::Active)
            p.barFill(toRectF(layout::firmwareBar));
    };
    const auto control = [](SkinPainter& p, const layout::Row& row, Look look) {
        if (row.id == 89)
            titleControl(p, row, look, Glyph::Close);
        else
            p.button(toRectF(row.rect), look);
    };
    addSet(out, scale, layout::firmwareWindow, base, control);
}

}  // namespace skingen
