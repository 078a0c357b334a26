// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The keyboard's transport: the report primitives plus the version request.
#pragma once

#include "CKeyboardUtil.h"

class VELKORONDRIX_HWI_INTERNAL CBrantUtil : public CKeyboardUtil {
public:
    static constexpr unsigned char kVersionCommand = 0xF9;
    static constexpr int kVersionChars = 64;  // the caller's buffer, terminator included
    // Every exchange waits this long for the keyboard's answer.
    static constexpr int kReadTimeoutMs = 100000;

    using CKeyboardUtil::CKeyboardUtil;

    // Asks the keyboard for its firmware version text and stores it in text
    // (at least 64 characters), always terminated. On failure text keeps its
    // former contents.
    virtual bool readVersion(wchar_t* text);
};
