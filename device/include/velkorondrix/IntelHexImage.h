// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A firmware image in Intel HEX text, checked as a whole before any of it is
// sent: one record per line, each small enough for one firmware packet.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <velkorondrix/VelkorOndrix_HWI.h>

class VELKORONDRIX_HWI_API IntelHexImage {
public:
    // Count, address (2), type and checksum around the data bytes.
    static constexpr int kOverhead = 5;
    // One record rides in packet bytes 2..63.
    static constexpr int kMaxRecordBytes = 62;
    static constexpr int kEndOfFile = 1;

    // Reads text[0..length), stopping early at a zero byte. True when the
    // text starts with ':', every non-blank line up to the end-of-file record
    // is a well-formed record (hex pairs, byte count matching, checksum
    // right, type 0..5, at most 62 bytes) and an end-of-file record exists.
    // Lines end in CR LF, LF or CR; blank lines are skipped; whatever follows
    // the end-of-file record is ignored. On false, records() is empty and
    // problem() says why.
    bool load(const char* text, int length);

    // The binary records in file order, the end-of-file record last.
    const std::vector<std::vector<unsigned char>>& records() const { return lines; }

    // What made the last load fail, naming the line where one is at fault:
    // "line 2: checksum mismatch", "no end-of-file record". Empty after a
    // load that succeeded.
    const std::string& problem() const { return fault; }

private:
    // One line without its end: fills record and returns an empty text when
    // the line is a sound record, else says what is wrong with it.
    static std::string parseRecord(std::string_view line, std::vector<unsigned char>& record);
    bool fail(std::string what);

    std::vector<std::vector<unsigned char>> lines;
    std::string fault;
};
