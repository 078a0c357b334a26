// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "profile/xml/TextCodec.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <vector>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

struct CodePageName {
    const char* name;
    unsigned codePage;
};

// Names as they appear in encoding declarations and charset attributes.
constexpr CodePageName kCodePages[] = {
    {"utf-8", 65001}, {"utf8", 65001}, {"utf-16", 1200}, {"utf-16le", 1200},
    {"ucs-2", 1200}, {"unicode", 1200}, {"utf-16be", 1201}, {"unicodefffe", 1201},
    {"us-ascii", 20127}, {"ascii", 20127}, {"iso-8859-1", 28591}, {"latin1", 28591},
    {"iso-8859-2", 28592}, {"iso-8859-3", 28593}, {"iso-8859-4", 28594},
    {"iso-8859-5", 28595}, {"iso-8859-6", 28596}, {"iso-8859-7", 28597},
    {"iso-8859-8", 28598}, {"iso-8859-9", 28599}, {"iso-8859-13", 28603},
    {"iso-8859-15", 28605}, {"windows-1250", 1250}, {"windows-1251", 1251},
    {"windows-1252", 1252}, {"windows-1253", 1253}, {"windows-1254", 1254},
    {"windows-1255", 1255}, {"windows-1256", 1256}, {"windows-1257", 1257},
    {"windows-1258", 1258}, {"windows-874", 874}, {"tis-620", 874},
    {"shift_jis", 932}, {"sjis", 932}, {"gb2312", 936}, {"gbk", 936},
    {"cp936", 936}, {"ks_c_5601-1987", 949}, {"big5", 950}, {"gb18030", 54936},
    {"euc-jp", 51932}, {"euc-kr", 51949}, {"euc-cn", 936}, {"koi8-r", 20866},
    {"koi8-u", 21866}, {"iso-2022-jp", 50220}, {"ibm437", 437}, {"cp437", 437},
    {"ibm850", 850}, {"cp850", 850}, {"ibm866", 866}, {"cp866", 866},
};

// Code points of a wide text; on 16-bit wchar_t surrogate pairs are joined.
template <typename Sink>
void forEachCodePoint(std::wstring_view text, TextCodec::Stats* stats, Sink&& sink) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            cp &= 0xFFFF;
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
                const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            cp = kReplacement;
            if (stats)
                ++stats->losses;
        }
        sink(cp);
    }
}

}  // namespace

void TextCodec::appendCodePoint(std::wstring& text, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            text.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            text.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    text.push_back(static_cast<wchar_t>(cp));
}

TextCodec::Kind TextCodec::kindOf(std::string_view encoding) {
    if (encoding.empty() || sameName(encoding, "utf-8") || sameName(encoding, "utf8"))
        return Kind::Utf8;
    if (sameName(encoding, "utf-16be") || sameName(encoding, "unicodefffe"))
        return Kind::Utf16Be;
    if (sameName(encoding, "utf-16") || sameName(encoding, "utf-16le") ||
        sameName(encoding, "ucs-2") || sameName(encoding, "unicode"))
        return Kind::Utf16Le;
    return Kind::CodePage;
}

unsigned TextCodec::codePageOf(std::string_view encoding) {
    for (const CodePageName& entry : kCodePages) {
        if (sameName(encoding, entry.name))
            return entry.codePage;
    }
    if (encoding.size() > 2 && (encoding[0] == 'c' || encoding[0] == 'C') &&
        (encoding[1] == 'p' || encoding[1] == 'P')) {
        unsigned number = 0;
        for (char c : encoding.substr(2)) {
            if (c < '0' || c > '9' || number > 100000)
                return 0;
            number = number * 10 + static_cast<unsigned>(c - '0');
        }
        return number;
    }
    return 0;
}

bool TextCodec::isValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra;
        char32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(extra) >= n)
            return false;
        for (int k = 1; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

std::wstring TextCodec::decodeUtf8(std::string_view bytes, Stats* stats) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::wstring text;
    text.resize(n);  // never more characters than bytes
    wchar_t* out = text.data();
    std::size_t o = 0;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            out[o++] = static_cast<wchar_t>(c);
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (c >= 0xC0 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
            minimum = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
            minimum = 0x800;
        } else if (c >= 0xF0 && c <= 0xF7) {
            extra = 3;
            cp = c & 0x07;
            minimum = 0x10000;
        }
        bool good = extra > 0;
        int used = 1;
        if (good) {
            for (int k = 1; k <= extra; ++k) {
                if (i + k >= n) {
                    if (stats)
                        stats->truncated = true;
                    good = false;
                    break;
                }
                if ((p[i + k] & 0xC0) != 0x80) {
                    good = false;
                    break;
                }
                cp = (cp << 6) | (p[i + k] & 0x3F);
                ++used;
            }
        }
        if (good && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            good = false;
        if (!good) {
            // Skip the lead byte and any continuation bytes already examined.
            cp = kReplacement;
            if (stats)
                ++stats->losses;
        }
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0x10000) {  // four bytes always make room for the pair
                cp -= 0x10000;
                out[o++] = static_cast<wchar_t>(0xD800 + (cp >> 10));
                out[o++] = static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
                i += static_cast<std::size_t>(used);
                continue;
            }
        }
        out[o++] = static_cast<wchar_t>(cp);
        i += static_cast<std::size_t>(used);
    }
    text.resize(o);
    return text;
}

std::wstring TextCodec::decodeUtf16(std::string_view bytes, bool bigEndian, Stats* stats) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t units = bytes.size() / 2;
    if ((bytes.size() & 1) && stats)
        stats->truncated = true;
    const auto unitAt = [&](std::size_t k) -> char32_t {
        const unsigned char a = p[2 * k];
        const unsigned char b = p[2 * k + 1];
        return bigEndian ? static_cast<char32_t>((a << 8) | b) : static_cast<char32_t>((b << 8) | a);
    };
    std::wstring text;
    text.reserve(units);
    for (std::size_t k = 0; k < units; ++k) {
        const char32_t unit = unitAt(k);
        if constexpr (sizeof(wchar_t) == 2) {
            text.push_back(static_cast<wchar_t>(unit));  // the wide text is UTF-16 itself
        } else {
            if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < units) {
                const char32_t low = unitAt(k + 1);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                    ++k;
                    continue;
                }
            }
            if (unit >= 0xD800 && unit <= 0xDFFF) {
                if (stats)
                    ++stats->losses;
                text.push_back(static_cast<wchar_t>(kReplacement));
                continue;
            }
            text.push_back(static_cast<wchar_t>(unit));
        }
    }
    return text;
}

std::string TextCodec::encodeUtf8(std::wstring_view text, Stats* stats) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 8);
    forEachCodePoint(text, stats, [&](char32_t cp) {
        if (cp < 0x80) {
            bytes.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            bytes.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    });
    return bytes;
}

std::string TextCodec::encodeUtf16(std::wstring_view text, bool bigEndian, Stats* stats) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    const auto put = [&](char32_t unit) {
        const char hi = static_cast<char>(unit >> 8);
        const char lo = static_cast<char>(unit & 0xFF);
        bytes.push_back(bigEndian ? hi : lo);
        bytes.push_back(bigEndian ? lo : hi);
    };
    forEachCodePoint(text, stats, [&](char32_t cp) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp);
        }
    });
    return bytes;
}

#ifdef _WIN32

std::string TextCodec::systemCodePage() {
    return "cp" + std::to_string(GetACP());
}

bool TextCodec::decodeCodePage(std::string_view encoding, std::string_view bytes,
                               std::wstring& text, Stats* stats) {
    const unsigned cp = codePageOf(encoding);
    if (cp == 0 || !IsValidCodePage(cp))
        return false;
    text.clear();
    if (bytes.empty())
        return true;
    const int n = MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0)
        return false;
    text.resize(static_cast<std::size_t>(n));
    MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
    if (stats)
        stats->losses += static_cast<std::size_t>(std::count(text.begin(), text.end(), L'\xFFFD'));
    return true;
}

bool TextCodec::encodeCodePage(std::string_view encoding, std::wstring_view text,
                               std::string& bytes, Stats* stats) {
    const unsigned cp = codePageOf(encoding);
    if (cp == 0 || !IsValidCodePage(cp))
        return false;
    bytes.clear();
    if (text.empty())
        return true;
    // Character by character, so every unencodable one can be counted.
    // These code pages take neither a default character nor its flag.
    const bool takesDefault = !(cp == 42 || cp == 65000 || cp == 65001 || cp == 52936 || cp == 54936 ||
                                (cp >= 50220 && cp <= 50229) || (cp >= 57002 && cp <= 57011));
    BOOL usedDefault = FALSE;
    char buffer[16];
    for (std::size_t i = 0; i < text.size(); ++i) {
        int units = 1;
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size())
            units = 2;
        usedDefault = FALSE;
        const int n = WideCharToMultiByte(cp, 0, text.data() + i, units, buffer, sizeof buffer,
                                          takesDefault ? "?" : nullptr, takesDefault ? &usedDefault : nullptr);
        if (n <= 0 || usedDefault) {
            bytes.push_back('?');
            if (stats)
                ++stats->losses;
        } else {
            bytes.append(buffer, static_cast<std::size_t>(n));
        }
        i += static_cast<std::size_t>(units - 1);
    }
    return true;
}

#else

namespace {

// Opens a converter, retrying under the "CPnnn" name of a known code page.
iconv_t openConverter(const std::string& to, const std::string& from, bool encoding) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd != reinterpret_cast<iconv_t>(-1))
        return cd;
    const std::string& name = encoding ? to : from;
    const unsigned cp = TextCodec::codePageOf(name);
    if (cp == 0)
        return cd;
    const std::string alias = "CP" + std::to_string(cp);
    return encoding ? iconv_open(alias.c_str(), from.c_str()) : iconv_open(to.c_str(), alias.c_str());
}

}  // namespace

std::string TextCodec::systemCodePage() {
    return "WINDOWS-1252";  // the usual ANSI code page of Western systems
}

bool TextCodec::decodeCodePage(std::string_view encoding, std::string_view bytes,
                               std::wstring& text, Stats* stats) {
    iconv_t cd = openConverter("UTF-32LE", std::string(encoding), false);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    text.clear();
    text.reserve(bytes.size());
    std::vector<char> input(bytes.begin(), bytes.end());
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[4096];
    const auto flush = [&](const char* end) {
        for (const char* q = buffer; q + 4 <= end; q += 4) {
            const auto* u = reinterpret_cast<const unsigned char*>(q);
            appendCodePoint(text, static_cast<char32_t>(u[0] | (u[1] << 8) | (u[2] << 16) | (u[3] << 24)));
        }
    };
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &inLeft, &out, &outLeft);
        flush(out);
        if (r != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        appendCodePoint(text, kReplacement);
        if (stats) {
            ++stats->losses;
            if (errno == EINVAL)
                stats->truncated = true;
        }
        if (errno == EINVAL)
            break;
        ++in;  // EILSEQ: skip the byte that cannot start a character
        --inLeft;
    }
    iconv_close(cd);
    return true;
}

bool TextCodec::encodeCodePage(std::string_view encoding, std::wstring_view text,
                               std::string& bytes, Stats* stats) {
    iconv_t cd = openConverter(std::string(encoding), "UTF-32LE", true);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::vector<char> input;
    input.reserve(text.size() * 4);
    forEachCodePoint(text, stats, [&](char32_t cp) {
        input.push_back(static_cast<char>(cp & 0xFF));
        input.push_back(static_cast<char>((cp >> 8) & 0xFF));
        input.push_back(static_cast<char>((cp >> 16) & 0xFF));
        input.push_back(static_cast<char>((cp >> 24) & 0xFF));
    });
    bytes.clear();
    char* in = input.data();
    std::size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &inLeft, &out, &outLeft);
        bytes.append(buffer, static_cast<std::size_t>(out - buffer));
        if (r != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        bytes.push_back('?');  // not representable in the target code page
        if (stats)
            ++stats->losses;
        in += 4;
        inLeft -= std::min<std::size_t>(4, inLeft);
    }
    // Return to the initial shift state (stateful encodings such as ISO-2022).
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &out, &outLeft);
    bytes.append(buffer, static_cast<std::size_t>(out - buffer));
    iconv_close(cd);
    return true;
}

#endif
