#include "IntelHexImage.h"

#include <cstring>

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool isBlank(std::string_view line) {
    for (char c : line)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

}  // namespace

std::vector<unsigned char> IntelHexImage::parseRecord(std::string_view line) {
    if (line.size() < 1 + 2 * kOverhead || line[0] != ':' || (line.size() - 1) % 2 != 0)
        return {};
    const size_t byteCount = (line.size() - 1) / 2;
    if (byteCount > static_cast<size_t>(kMaxRecordBytes))
        return {};
    std::vector<unsigned char> bytes;
    bytes.reserve(byteCount);
    unsigned sum = 0;
    for (size_t i = 1; i < line.size(); i += 2) {
        const int high = hexValue(line[i]);
        const int low = hexValue(line[i + 1]);
        if (high < 0 || low < 0)
            return {};
        bytes.push_back(static_cast<unsigned char>(high * 16 + low));
        sum += bytes.back();
    }
    const int dataCount = bytes[0];
    const int type = bytes[3];
    if (static_cast<size_t>(dataCount + kOverhead) != bytes.size() || (sum & 0xFF) != 0 || type > 5)
        return {};
    if (type == kEndOfFile && dataCount != 0)
        return {};
    return bytes;
}

bool IntelHexImage::load(const char* text, int length) {
    lines.clear();
    if (!text || length <= 0 || text[0] != ':')
        return false;
    // The length bounds the scan as much as the terminating zero does.
    const std::string_view all(text, strnlen(text, static_cast<size_t>(length)));

    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = all.size();
        const std::string_view line = all.substr(pos, end - pos);
        pos = end;
        if (pos < all.size() && all[pos] == '\r')
            ++pos;
        if (pos < all.size() && all[pos] == '\n')
            ++pos;

        if (isBlank(line))
            continue;
        std::vector<unsigned char> record = parseRecord(line);
        if (record.empty()) {
            lines.clear();
            return false;
        }
        const bool endOfFile = record[3] == kEndOfFile;
        lines.push_back(std::move(record));
        if (endOfFile)
            return true;
    }
    lines.clear();  // no end-of-file record: the image is cut short
    return false;
}
