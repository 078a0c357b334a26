// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "CKeyDefine.h"

#include <algorithm>
#include <cstring>

#include "CContinousKeyDefine.h"
#include "CMacroKeyDefine.h"
#include "CNormalKeyDefine.h"

std::unique_ptr<CKeyDefine> CKeyDefine::create(int type, int key, int layer) {
    switch (type) {
    case Normal: return std::make_unique<CNormalKeyDefine>(key, layer);
    case Continuous: return std::make_unique<CContinousKeyDefine>(key, layer);
    case Macro: return std::make_unique<CMacroKeyDefine>(key, layer);
    default: return nullptr;
    }
}

void CKeyDefine::writeEmptyRecord(unsigned char* packet, int packetSize, int layer, int key) {
    std::memset(packet, 0, static_cast<size_t>(packetSize));
    packet[1] = kRecordCode;
    packet[2] = static_cast<unsigned char>(layer);
    packet[3] = static_cast<unsigned char>(key);
}

int CKeyDefine::recordPackets(const unsigned char* first) {
    constexpr int piece = 64 - CMacroKeyDefine::kHeaderSize;
    if (first[4] != Macro || first[7] <= piece)
        return 1;
    return (first[7] + piece - 1) / piece;
}

bool CKeyDefine::continuesRecord(const unsigned char* first, const unsigned char* next) {
    return std::memcmp(first, next, CMacroKeyDefine::kHeaderSize) == 0;
}

void CKeyDefine::writeHeader(unsigned char* packet) const {
    packet[0] = 0x00;
    packet[1] = kRecordCode;
    packet[2] = static_cast<unsigned char>(layer);
    packet[3] = static_cast<unsigned char>(key);
    packet[4] = static_cast<unsigned char>(type);
}

bool CKeyDefine::startOnePacketRecord(const unsigned char* buffer, int packetSize, int* totalSize, int* headerSize,
                                      int header) {
    if (!buffer) {
        if (totalSize) *totalSize = packetSize;
        if (headerSize) *headerSize = header;
        return false;
    }
    return packetSize > header && !(totalSize && *totalSize < packetSize);
}

int CKeyDefine::putCodes(unsigned char* to, const std::vector<int>& codes, int room) {
    // Codes beyond the room are left off: the record has no place for them.
    const int n = std::clamp(static_cast<int>(codes.size()), 0, std::min(room, 255));
    for (int i = 0; i < n; ++i)
        to[i] = static_cast<unsigned char>(codes[static_cast<size_t>(i)]);
    return n;
}

std::vector<int> CKeyDefine::takeCodes(const unsigned char* from, int claimed, int available) {
    const int n = std::clamp(claimed, 0, std::max(available, 0));
    return std::vector<int>(from, from + n);
}

std::vector<int> CKeyDefine::wordCodes(const int* words, int wordCount, int countAt) {
    if (wordCount <= countAt)
        return {};
    const int n = std::clamp(words[countAt], 0, wordCount - countAt - 1);
    return std::vector<int>(words + countAt + 1, words + countAt + 1 + n);
}

int CKeyDefine::putWords(int* words, int capacity, std::initializer_list<int> head, const std::vector<int>& codes) {
    const int needed = static_cast<int>(head.size() + codes.size());
    if (!words || needed > capacity)
        return -1;
    std::copy(codes.begin(), codes.end(), std::copy(head.begin(), head.end(), words));
    return needed;
}
