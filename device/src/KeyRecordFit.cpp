// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include <velkorondrix/KeyRecordFit.h>

#include <vector>

#include "CKeyDefine.h"

namespace hwi {

KeyRecordFit fitKeyRecord(const int* words, int count) {
    if (!words || count < 1)
        return {};
    // The record's own encoder and decoder decide, so the answer is what the
    // keyboard really receives.
    std::unique_ptr<CKeyDefine> given = CKeyDefine::create(words[0], 1, 1);
    std::unique_ptr<CKeyDefine> received = CKeyDefine::create(words[0], 1, 1);
    if (!given || !received)
        return {};
    try {
        given->fromWords(words, count);
        int total = 0;
        int header = 0;
        given->encode(nullptr, 64, &total, &header);
        std::vector<unsigned char> record(static_cast<size_t>(total));
        given->encode(record.data(), 64, &total, &header);
        received->decode(record.data(), 64, total);
    } catch (...) {
        return {};  // out of memory: nothing to tell
    }
    return {given->codeCount(), received->codeCount()};
}

}  // namespace hwi
