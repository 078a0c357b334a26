// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The look every window gives its edit controls: font 13 of the font table,
// orange text RGB(255,111,0) on the dark brush RGB(20,20,20), no frame.
#pragma once

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace EditLook {

inline constexpr int kFontIndex = 13;

void apply(QWidget& edit);
void apply(QLineEdit& edit);
void apply(QPlainTextEdit& edit);

}  // namespace EditLook
