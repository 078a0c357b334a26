// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/SkinControl.h"

#include <algorithm>

namespace {
QColor toColor(layout::Rgb rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}
}  // namespace

std::wstring SkinControl::caption(const std::string& language) const {
    const auto it = captions.find(language);
    return it == captions.end() ? std::wstring() : it->second;
}

SkinControl SkinControl::fromRow(const layout::Row& row) {
    SkinControl control;
    control.id = row.id;
    if (row.captionEn)
        control.captions["en-US"] = row.captionEn;
    if (row.captionZh)
        control.captions["zh-CN"] = row.captionZh;
    if (row.tooltipEn)
        control.tooltips["en-US"] = row.tooltipEn;
    if (row.tooltipZh)
        control.tooltips["zh-CN"] = row.tooltipZh;
    control.rect = row.rect;
    control.textColor = toColor(row.textColor);
    control.activeTextColor = toColor(row.activeTextColor);
    control.keyId = row.keyId;
    control.auxIndex = row.auxIndex;
    control.kind = row.kind;
    control.isLabel = row.kind == layout::Kind::Label || row.kind == layout::Kind::Title;
    control.showCaption = row.showCaption;
    control.captionVisible = row.captionVisible;
    control.textFormat = row.textFormat;
    control.fontIndex = row.fontIndex;
    return control;
}

std::vector<SkinControl> SkinControl::fromLayout(const layout::Window& window) {
    // A table longer than the window's record count still loses no control.
    const auto count = std::max<std::size_t>(static_cast<std::size_t>(std::max(window.recordCount, 0)),
                                             window.rows.size());
    std::vector<SkinControl> controls(count);
    std::transform(window.rows.begin(), window.rows.end(), controls.begin(), &SkinControl::fromRow);
    return controls;
}
