// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "CContinousKeyDefine.h"

bool CContinousKeyDefine::encode(unsigned char* buffer, int packetSize, int* totalSize, int* headerSize) {
    if (!startOnePacketRecord(buffer, packetSize, totalSize, headerSize, kHeaderSize))
        return false;
    if (codes.empty()) {
        // Nothing to repeat: the keyboard gets the slot's empty record.
        writeEmptyRecord(buffer, packetSize, layer, key);
        return false;
    }
    writeHeader(buffer);
    buffer[5] = static_cast<unsigned char>((interval >> 8) & 0xFF);
    buffer[6] = static_cast<unsigned char>(interval & 0xFF);
    buffer[7] = static_cast<unsigned char>(putCodes(buffer + kHeaderSize, codes, packetSize - kHeaderSize));
    return true;
}

bool CContinousKeyDefine::decode(const unsigned char* bytes, int /*packetSize*/, int totalSize) {
    const bool whole = bytes && totalSize > 7;
    interval = whole ? bytes[5] * 256 + bytes[6] : 0;
    codes = whole ? takeCodes(bytes + kHeaderSize, bytes[7], totalSize - kHeaderSize) : std::vector<int>{};
    count = static_cast<int>(codes.size());
    return true;
}

void CContinousKeyDefine::fromWords(const int* words, int wordCount) {
    interval = wordCount > 1 ? words[1] : 0;
    codes = wordCodes(words, wordCount, 2);
    count = static_cast<int>(codes.size());
}

int CContinousKeyDefine::toWords(int* words, int capacity) const {
    return putWords(words, capacity, {Continuous, interval, static_cast<int>(codes.size())}, codes);
}
