// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Conversions between file bytes and the wide text of a markup document:
// UTF-8, UTF-16 in either byte order, and the other code pages through the
// platform's converter (iconv, or the code-page API on Windows).
//
// wchar_t is 32 bits on Linux and 16 bits on Windows. On 32 bits a wide
// character is a code point and UTF-16 pairs are joined; on 16 bits the wide
// text is UTF-16 itself and pairs stay pairs.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class TextCodec {
public:
    // What a conversion had to give up.
    struct Stats {
        std::size_t losses = 0;  // characters replaced (undecodable or unencodable)
        bool truncated = false;  // input ended inside a multi-byte sequence
    };

    enum class Kind { Utf8, Utf16Le, Utf16Be, CodePage };

    // Classifies an encoding name ("UTF-8", "utf-16le", "windows-1252", ...).
    static Kind kindOf(std::string_view encoding);

    static bool isValidUtf8(std::string_view bytes);
    static std::wstring decodeUtf8(std::string_view bytes, Stats* stats = nullptr);
    static std::wstring decodeUtf16(std::string_view bytes, bool bigEndian, Stats* stats = nullptr);
    static std::string encodeUtf8(std::wstring_view text, Stats* stats = nullptr);
    static std::string encodeUtf16(std::wstring_view text, bool bigEndian, Stats* stats = nullptr);

    // Any other encoding, by name. False when the platform does not know it.
    static bool decodeCodePage(std::string_view encoding, std::string_view bytes,
                               std::wstring& text, Stats* stats = nullptr);
    static bool encodeCodePage(std::string_view encoding, std::wstring_view text,
                               std::string& bytes, Stats* stats = nullptr);

    // Name of the code page of 8-bit text that carries no declaration.
    static std::string systemCodePage();

    // Windows code page number of an encoding name, 0 when not in the table.
    static unsigned codePageOf(std::string_view encoding);

    // Appends one code point; a pair of surrogates where wchar_t is 16 bits.
    static void appendCodePoint(std::wstring& text, char32_t cp);
};
