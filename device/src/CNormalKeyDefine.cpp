// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "CNormalKeyDefine.h"

bool CNormalKeyDefine::encode(unsigned char* buffer, int packetSize, int* totalSize, int* headerSize) {
    if (!startOnePacketRecord(buffer, packetSize, totalSize, headerSize, kHeaderSize))
        return false;
    writeHeader(buffer);
    buffer[5] = static_cast<unsigned char>(putCodes(buffer + kHeaderSize, codes, packetSize - kHeaderSize));
    return true;
}

bool CNormalKeyDefine::decode(const unsigned char* bytes, int /*packetSize*/, int totalSize) {
    codes = bytes && totalSize > 5 ? takeCodes(bytes + kHeaderSize, bytes[5], totalSize - kHeaderSize)
                                   : std::vector<int>{};
    count = static_cast<int>(codes.size());
    return true;
}

void CNormalKeyDefine::fromWords(const int* words, int wordCount) {
    codes = wordCodes(words, wordCount, 1);
    count = static_cast<int>(codes.size());
}

int CNormalKeyDefine::toWords(int* words, int capacity) const {
    return putWords(words, capacity, {Normal, static_cast<int>(codes.size())}, codes);
}
