// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Turns antialiased artwork drawn on a transparent canvas into an opaque
// bitmap for a colour-keyed window: what lies outside the window's outline
// becomes exactly the key colour, and no pixel inside may equal it by chance.
#pragma once

#include <QImage>

#include "shell/LayoutRow.h"

namespace skingen {

QImage applyColourKey(const QImage& art, layout::Rgb key);

}  // namespace skingen
