// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A skinned window's three pictures of the same size: the background, the
// whole window with every control hovered, and with every control active.
// Hover and active may be null (the backlight window has neither).
#pragma once

#include "shell/SkinImage.h"

struct SkinSet {
    SkinImage background;
    SkinImage hover;
    SkinImage active;

    bool hasBackground() const { return !background.isNull(); }
};
