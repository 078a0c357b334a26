#include "CNormalKeyDefine.h"

#include <algorithm>

bool CNormalKeyDefine::encode(unsigned char* buffer, int packetSize, int* totalSize, int* headerSize) {
    if (!buffer) {
        if (totalSize) *totalSize = packetSize;
        if (headerSize) *headerSize = kHeaderSize;
        return false;
    }
    if (packetSize <= kHeaderSize || (totalSize && *totalSize < packetSize))
        return false;
    writeHeader(buffer);
    // Codes beyond one packet are left off: the record has no room for them.
    const int n = std::min({count, static_cast<int>(codes.size()), packetSize - kHeaderSize, 255});
    buffer[5] = static_cast<unsigned char>(n);
    for (int i = 0; i < n; ++i)
        buffer[kHeaderSize + i] = static_cast<unsigned char>(codes[static_cast<size_t>(i)]);
    return true;
}

bool CNormalKeyDefine::decode(const unsigned char* bytes, int /*packetSize*/, int totalSize) {
    codes.clear();
    if (bytes && totalSize > 5) {
        const int n = std::min<int>(bytes[5], totalSize - kHeaderSize);
        for (int i = 0; i < n; ++i)
            codes.push_back(bytes[kHeaderSize + i]);
    }
    count = static_cast<int>(codes.size());
    return true;
}

void CNormalKeyDefine::fromWords(const int* words, int wordCount) {
    codes.clear();
    const int n = wordCount > 1 ? std::clamp(words[1], 0, wordCount - 2) : 0;
    codes.assign(words + 2, words + 2 + n);
    count = n;
}

int CNormalKeyDefine::toWords(int* words, int capacity) const {
    const int needed = 2 + count;
    if (!words || needed > capacity)
        return -1;
    words[0] = Normal;
    words[1] = count;
    std::copy(codes.begin(), codes.begin() + count, words + 2);
    return needed;
}
