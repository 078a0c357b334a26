#include "CContinousKeyDefine.h"

#include <algorithm>

bool CContinousKeyDefine::encode(unsigned char* buffer, int packetSize, int* totalSize, int* headerSize) {
    if (!buffer) {
        if (totalSize) *totalSize = packetSize;
        if (headerSize) *headerSize = kHeaderSize;
        return false;
    }
    if (packetSize <= kHeaderSize || (totalSize && *totalSize < packetSize))
        return false;
    const int n = std::min({count, static_cast<int>(codes.size()), packetSize - kHeaderSize, 255});
    if (n <= 0) {
        // Nothing to repeat: the keyboard gets the slot's empty record.
        writeEmptyRecord(buffer, packetSize, layer, key);
        return false;
    }
    writeHeader(buffer);
    buffer[5] = static_cast<unsigned char>((interval >> 8) & 0xFF);
    buffer[6] = static_cast<unsigned char>(interval & 0xFF);
    buffer[7] = static_cast<unsigned char>(n);
    for (int i = 0; i < n; ++i)
        buffer[kHeaderSize + i] = static_cast<unsigned char>(codes[static_cast<size_t>(i)]);
    return true;
}

bool CContinousKeyDefine::decode(const unsigned char* bytes, int /*packetSize*/, int totalSize) {
    codes.clear();
    interval = 0;
    if (bytes && totalSize > 7) {
        interval = bytes[5] * 256 + bytes[6];
        const int n = std::min<int>(bytes[7], totalSize - kHeaderSize);
        for (int i = 0; i < n; ++i)
            codes.push_back(bytes[kHeaderSize + i]);
    }
    count = static_cast<int>(codes.size());
    return true;
}

void CContinousKeyDefine::fromWords(const int* words, int wordCount) {
    codes.clear();
    interval = wordCount > 1 ? words[1] : 0;
    const int n = wordCount > 2 ? std::clamp(words[2], 0, wordCount - 3) : 0;
    codes.assign(words + 3, words + 3 + n);
    count = n;
}

int CContinousKeyDefine::toWords(int* words, int capacity) const {
    const int needed = 3 + count;
    if (!words || needed > capacity)
        return -1;
    words[0] = Continuous;
    words[1] = interval;
    words[2] = count;
    std::copy(codes.begin(), codes.begin() + count, words + 3);
    return needed;
}
