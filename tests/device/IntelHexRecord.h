// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Builds Intel HEX firmware lines for the tests, checksum included.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// One record without its line end; type 0 data, 1 end of file, 4 extended address.
inline std::string intelHexRecord(int type, int address, const std::vector<int>& data) {
    std::vector<int> bytes{static_cast<int>(data.size()), (address >> 8) & 0xFF, address & 0xFF, type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    int sum = 0;
    for (int b : bytes)
        sum += b;
    bytes.push_back((0x100 - (sum & 0xFF)) & 0xFF);
    std::string line = ":";
    char pair[3];
    for (int b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        line += pair;
    }
    return line;
}
