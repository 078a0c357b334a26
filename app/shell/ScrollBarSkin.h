// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The scroll-bar skin (bitmap 138) is a sheet of 9 x 3 square cells; the bar
// reads its cell size back from the sheet's width, so this constant only fixes
// what the artwork generator draws and what the bar assumes without artwork.
#pragma once

namespace layout {

inline constexpr int scrollBarCell = 16;
inline constexpr int scrollBarColumns = 9;
inline constexpr int scrollBarRows = 3;

}  // namespace layout
