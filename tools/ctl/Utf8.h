// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The model's texts are wide; the terminal speaks UTF-8. Text that comes from
// a keyboard or a file is shown through printable(), so that no control
// character it carries can move the cursor, recolour the terminal or forge a
// line of output.
#pragma once

#include <string>
#include <string_view>

namespace ctl {

std::string toUtf8(std::wstring_view text);

// UTF-8 with control characters (C0, DEL, C1, line and paragraph separators
// and the bidirectional overrides) written as \xNN or \u{NNNN}.
std::string printable(std::wstring_view text);
// The same for narrow text (UTF-8 or plain bytes): its ASCII control bytes.
std::string printable(std::string_view text);

}  // namespace ctl
