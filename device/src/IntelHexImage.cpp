// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include <velkorondrix/IntelHexImage.h>

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

std::string IntelHexImage::parseRecord(std::string_view line, std::vector<unsigned char>& record) {
    record.clear();
    if (line.empty() || line[0] != ':')
        return "does not start with ':'";
    if ((line.size() - 1) % 2 != 0)
        return "odd number of hex digits";
    const size_t byteCount = (line.size() - 1) / 2;
    if (byteCount < static_cast<size_t>(kOverhead))
        return "record too short";
    // Checked before decoding so that a huge line costs nothing.
    if (byteCount > static_cast<size_t>(kMaxRecordBytes))
        return "record longer than 62 bytes";
    record.reserve(byteCount);
    unsigned sum = 0;
    for (size_t i = 1; i < line.size(); i += 2) {
        const int high = hexValue(line[i]);
        const int low = hexValue(line[i + 1]);
        if (high < 0 || low < 0)
            return "not a hex digit";
        record.push_back(static_cast<unsigned char>(high * 16 + low));
        sum += record.back();
    }
    const int dataCount = record[0];
    const int type = record[3];
    if (static_cast<size_t>(dataCount + kOverhead) != record.size())
        return "byte count does not match the data";
    if ((sum & 0xFF) != 0)
        return "checksum mismatch";
    if (type > 5)
        return "unknown record type";
    if (type == kEndOfFile && dataCount != 0)
        return "end-of-file record with data";
    return {};
}

bool IntelHexImage::fail(std::string what) {
    lines.clear();
    fault = std::move(what);
    return false;
}

bool IntelHexImage::load(const char* text, int length) {
    lines.clear();
    fault.clear();
    if (!text || length <= 0 || text[0] == '\0')
        return fail("the text is empty");
    if (text[0] != ':')
        return fail("the text does not start with ':'");
    // The length bounds the scan as much as the terminating zero does.
    const std::string_view all(text, strnlen(text, static_cast<size_t>(length)));

    size_t pos = 0;
    int lineNumber = 0;
    std::vector<unsigned char> record;
    while (pos < all.size()) {
        size_t end = all.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = all.size();
        const std::string_view line = all.substr(pos, end - pos);
        ++lineNumber;
        pos = end;
        if (pos < all.size() && all[pos] == '\r')
            ++pos;
        if (pos < all.size() && all[pos] == '\n')
            ++pos;

        if (isBlank(line))
            continue;
        const std::string what = parseRecord(line, record);
        if (!what.empty())
            return fail("line " + std::to_string(lineNumber) + ": " + what);
        const bool endOfFile = record[3] == kEndOfFile;
        lines.push_back(record);
        if (endOfFile)
            return true;
    }
    // Without its end-of-file record the image is cut short.
    return fail("no end-of-file record");
}
