// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "CMacroKeyDefine.h"

#include <algorithm>
#include <cstring>

std::vector<unsigned char> CMacroKeyDefine::payload() const {
    std::vector<unsigned char> bytes;
    const int n = std::min(count, static_cast<int>(codes.size()));
    for (int i = 0; i < n; ++i) {
        const bool delayBefore = withDelays && i > 0;
        const size_t grow = delayBefore ? 4 : 1;
        if (bytes.size() + grow > static_cast<size_t>(kMaxPayload))
            break;  // the length byte cannot describe more
        if (delayBefore) {
            const int delay = static_cast<size_t>(i - 1) < delays.size() ? delays[static_cast<size_t>(i - 1)] : 0;
            bytes.push_back(kDelayMark);
            bytes.push_back(static_cast<unsigned char>((delay >> 8) & 0xFF));
            bytes.push_back(static_cast<unsigned char>(delay & 0xFF));
        }
        bytes.push_back(static_cast<unsigned char>(codes[static_cast<size_t>(i)]));
    }
    return bytes;
}

bool CMacroKeyDefine::encode(unsigned char* buffer, int packetSize, int* totalSize, int* headerSize) {
    if (packetSize <= kHeaderSize)
        return false;
    const std::vector<unsigned char> bytes = payload();
    const int piece = packetSize - kHeaderSize;
    const int b = static_cast<int>(bytes.size());
    const int packets = std::max(1, (b + piece - 1) / piece);
    if (!buffer) {
        if (totalSize) *totalSize = packets * packetSize;
        if (headerSize) *headerSize = kHeaderSize;
        return false;
    }
    if (totalSize && *totalSize < packets * packetSize)
        return false;
    if (b == 0) {
        // A macro without codes has nothing to play: the slot's empty record.
        writeEmptyRecord(buffer, packetSize, layer, key);
        return false;
    }
    for (int p = 0; p < packets; ++p) {
        unsigned char* packet = buffer + p * packetSize;
        writeHeader(packet);
        packet[5] = static_cast<unsigned char>(cycles & 0xFF);
        packet[6] = static_cast<unsigned char>(withDelays ? 1 : 0);
        packet[7] = static_cast<unsigned char>(b);
        const int offset = p * piece;
        const int take = std::min(piece, b - offset);
        std::memcpy(packet + kHeaderSize, bytes.data() + offset, static_cast<size_t>(take));
    }
    return true;
}

bool CMacroKeyDefine::decode(const unsigned char* bytes, int packetSize, int totalSize) {
    codes.clear();
    delays.clear();
    count = 0;
    cycles = 0;
    withDelays = 0;
    if (!bytes || packetSize <= kHeaderSize || totalSize <= 7)
        return true;
    cycles = bytes[5];
    withDelays = bytes[6] ? 1 : 0;
    const int b = bytes[7];

    // Gather the payload pieces, never reading past what was handed over.
    std::vector<unsigned char> data;
    const int piece = packetSize - kHeaderSize;
    if (totalSize > packetSize) {
        const int packets = (b + piece - 1) / piece;
        for (int p = 0; p < packets && (p + 1) * packetSize <= totalSize; ++p) {
            const int take = std::min(piece, b - p * piece);
            const unsigned char* from = bytes + p * packetSize + kHeaderSize;
            data.insert(data.end(), from, from + take);
        }
    } else {
        const int take = std::min(b, totalSize - kHeaderSize);
        data.assign(bytes + kHeaderSize, bytes + kHeaderSize + take);
    }

    const int length = static_cast<int>(data.size());
    if (withDelays) {
        const int n = length > 0 ? (length - 1) / 4 + 1 : 0;
        for (int i = 0; i < n; ++i) {
            codes.push_back(data[static_cast<size_t>(4 * i)]);
            // The mark byte between code and delay is not examined.
            delays.push_back(i + 1 < n ? data[static_cast<size_t>(4 * i + 2)] * 256 + data[static_cast<size_t>(4 * i + 3)] : 0);
        }
    } else {
        codes.assign(data.begin(), data.end());
        delays.assign(data.size(), 0);
    }
    count = static_cast<int>(codes.size());
    return true;
}

void CMacroKeyDefine::fromWords(const int* words, int wordCount) {
    codes.clear();
    delays.clear();
    cycles = wordCount > 1 ? words[1] : 0;
    const int autoInterval = wordCount > 2 ? words[2] : 1;
    withDelays = autoInterval == 0 ? 1 : 0;
    int n = wordCount > 3 ? std::max(words[3], 0) : 0;
    const int available = std::max(wordCount - 4, 0);
    const int* w = words + 4;
    if (withDelays) {
        n = std::min(n, (available + 1) / 2);
        for (int i = 0; i < n; ++i) {
            codes.push_back(w[2 * i]);
            delays.push_back(i + 1 < n ? w[2 * i + 1] : 0);
        }
    } else {
        n = std::min(n, available);
        codes.assign(w, w + n);
        delays.assign(static_cast<size_t>(n), 0);
    }
    count = n;
}

int CMacroKeyDefine::toWords(int* words, int capacity) const {
    const int n = std::min(count, static_cast<int>(codes.size()));
    const int needed = 4 + (withDelays ? std::max(2 * n - 1, 0) : n);
    if (!words || needed > capacity)
        return -1;
    words[0] = Macro;
    words[1] = cycles;
    words[2] = 1 - withDelays;
    words[3] = n;
    int* w = words + 4;
    for (int i = 0; i < n; ++i) {
        *w++ = codes[static_cast<size_t>(i)];
        if (withDelays && i + 1 < n)
            *w++ = static_cast<size_t>(i) < delays.size() ? delays[static_cast<size_t>(i)] : 0;
    }
    return needed;
}
