// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "CBrantUtil.h"

bool CBrantUtil::readVersion(wchar_t* text) {
    if (!text || !writeCommand(kVersionCommand))
        return false;
    unsigned char packet[kPacketSize] = {};
    int length = kPacketSize;
    if (!readReport(packet, &length, kReadTimeoutMs))
        return false;

    // The text sits in packet bytes 2 onward. The keyboard sends plain ASCII;
    // each byte maps to the code point of the same value, and a zero byte ends
    // it. The keyboard may fill all 62 bytes, so the terminator is ours.
    wchar_t converted[kVersionChars] = {};
    int n = 0;
    for (int i = 2; i < kPacketSize && n < kVersionChars - 1; ++i) {
        if (packet[i] == 0)
            break;
        converted[n++] = static_cast<wchar_t>(packet[i]);
    }
    converted[n] = L'\0';
    for (int i = 0; i <= n; ++i)
        text[i] = converted[i];
    return true;
}
