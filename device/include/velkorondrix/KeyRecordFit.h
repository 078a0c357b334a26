// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// How much of a key definition travels in its key record. A record holds at
// most 58 codes of a normal key, 56 of a continuous one and a macro payload of
// 255 bytes; the keyboard keeps the first codes that fit and no more.
#pragma once

#include <velkorondrix/VelkorOndrix_HWI.h>

namespace hwi {

struct KeyRecordFit {
    int codes = 0;  // in the definition
    int kept = 0;   // of them, the first ones, in its record
};

// For a definition in the word form that CTarnHWI::setKeyConfiguration
// takes (count words). Both zero for a type the keyboard does not know.
VELKORONDRIX_HWI_API KeyRecordFit fitKeyRecord(const int* words, int count);

}  // namespace hwi
