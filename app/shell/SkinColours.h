// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT

// The skin's colours, shared by the artwork skingen draws and by Qt's own
// dialogs, which must look like part of it: graphite surfaces, light-grey
// text and the orange of the program's edit text as the accent.
#pragma once

#include "shell/LayoutRow.h"

namespace skin {

inline constexpr layout::Rgb bodyTop{0x20, 0x23, 0x29};
inline constexpr layout::Rgb bodyBottom{0x14, 0x16, 0x1a};
inline constexpr layout::Rgb titleTop{0x2a, 0x2e, 0x35};
inline constexpr layout::Rgb titleBottom{0x1c, 0x1f, 0x24};
inline constexpr layout::Rgb outline{0x3a, 0x3f, 0x48};
inline constexpr layout::Rgb edgeLight{0x4a, 0x50, 0x5b};
inline constexpr layout::Rgb separator{0x0c, 0x0d, 0x10};
inline constexpr layout::Rgb plateRim{0x2c, 0x30, 0x37};
inline constexpr layout::Rgb wellFill{20, 20, 20};  // the edits paint this colour too
inline constexpr layout::Rgb legendText{0xdc, 0xdf, 0xe5};
inline constexpr layout::Rgb mutedText{0x8a, 0x90, 0x9b};
inline constexpr layout::Rgb accent{0xff, 0x6f, 0x00};
inline constexpr layout::Rgb accentLight{0xff, 0xa4, 0x4d};

}  // namespace skin
