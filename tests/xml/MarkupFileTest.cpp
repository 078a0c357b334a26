// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "profile/xml/MarkupDocument.h"
#include "profile/xml/TextCodec.h"

#include <gtest/gtest.h>

#include <string>

#include "ScratchDir.h"

namespace {

// References made by the compiler, not by the code under test.
const std::wstring kWide = L"<?xml version=\"1.0\"?>\r\n<r t=\"\u00E9\u4E2D\U0001F600\"/>\r\n";
const std::u16string kUtf16 = u"<?xml version=\"1.0\"?>\r\n<r t=\"\u00E9\u4E2D\U0001F600\"/>\r\n";
const std::u8string kUtf8 = u8"<?xml version=\"1.0\"?>\r\n<r t=\"\u00E9\u4E2D\U0001F600\"/>\r\n";

std::string utf8Bytes() {
    return std::string(kUtf8.begin(), kUtf8.end());
}

std::string utf16Bytes(bool bigEndian, bool bom) {
    std::string bytes;
    if (bom)
        bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : kUtf16) {
        const char hi = static_cast<char>(unit >> 8);
        const char lo = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? hi : lo;
        bytes += bigEndian ? lo : hi;
    }
    return bytes;
}

std::wstring readAs(const ScratchDir& dir, const std::string& bytes, MarkupDocument& doc) {
    const auto file = dir / "in.xml";
    ScratchDir::write(file, bytes);
    std::wstring text;
    EXPECT_TRUE(doc.readFile(file, text));
    return text;
}

}  // namespace

TEST(MarkupFileRead, EveryUnicodeFormDecodesToTheSameText) {
    ScratchDir dir;
    struct Form {
        const char* label;
        std::string bytes;
        unsigned flag;
    };
    const Form forms[] = {
        {"utf-8", utf8Bytes(), 0},
        {"utf-8 bom", "\xEF\xBB\xBF" + utf8Bytes(), MarkupDocument::FlagUtf8Bom},
        {"utf-16le", utf16Bytes(false, true), MarkupDocument::FlagUtf16Le},
        {"utf-16be", utf16Bytes(true, true), MarkupDocument::FlagUtf16Be},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.label);
        MarkupDocument doc;
        EXPECT_EQ(readAs(dir, form.bytes, doc), kWide);
        EXPECT_EQ(doc.flags(), form.flag);
        EXPECT_EQ(doc.hasResult(L"endian_swap"), form.flag == MarkupDocument::FlagUtf16Be);
        EXPECT_FALSE(doc.hasResult(L"conversion_loss"));
    }
}

TEST(MarkupFileRead, DeclaredCodePageAndMetaCharsetAreHonoured) {
    ScratchDir dir;
    MarkupDocument doc;
    EXPECT_EQ(readAs(dir, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r t=\"\xE9\"/>", doc),
              L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r t=\"\u00E9\"/>");
    EXPECT_TRUE(doc.hasResult(L"converted_from"));

    EXPECT_EQ(readAs(dir, "<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\xC0</html>", doc),
              L"<html><meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\u0410</html>");
}

TEST(MarkupFileRead, UndeclaredTextIsDetected) {
    ScratchDir dir;
    MarkupDocument doc;
    // Valid UTF-8 that does not start with '<'.
    EXPECT_EQ(readAs(dir, "\xC3\xA9t\xC3\xA9", doc), L"\u00E9t\u00E9");
    EXPECT_TRUE(doc.hasResult(L"utf8_detection"));
    // Not valid UTF-8: the ANSI code page.
    EXPECT_EQ(readAs(dir, "caf\xE9", doc), L"caf\u00E9");
    EXPECT_FALSE(doc.hasResult(L"utf8_detection"));
}

TEST(MarkupFileRead, NulsAndBrokenSequencesAreCountedNotFatal) {
    ScratchDir dir;
    MarkupDocument doc;
    EXPECT_EQ(readAs(dir, std::string("<r>\0\0x</r>", 10), doc), L"<r>x</r>");
    EXPECT_TRUE(doc.hasResult(L"nulls_removed"));
    EXPECT_NE(doc.result().find(L"count=\"2\""), std::wstring::npos);

    // A UTF-16 file cut in the middle of a unit, and a lone surrogate.
    std::string cut = utf16Bytes(false, true);
    cut.pop_back();
    readAs(dir, cut, doc);
    EXPECT_TRUE(doc.hasResult(L"truncation_error"));
    const std::wstring lone = readAs(dir, std::string("\xFF\xFE<\0\x00\xD8>\0", 8), doc);
    EXPECT_EQ(lone.size(), 3u);
    EXPECT_EQ(lone.front(), L'<');
    EXPECT_EQ(lone.back(), L'>');
}

TEST(MarkupFileRead, MissingFileAndDirectoryFail) {
    ScratchDir dir;
    MarkupDocument doc;
    std::wstring text = L"stale";
    EXPECT_FALSE(doc.readFile(dir / "absent.xml", text));
    EXPECT_TRUE(doc.hasResult(L"file_error"));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(doc.readFile(dir.path(), text));
}

TEST(MarkupFileWrite, EncodesAsDeclaredAndGivesTheMarkBack) {
    ScratchDir dir;
    const auto file = dir / "out.xml";
    MarkupDocument doc;
    ASSERT_TRUE(doc.writeFile(file, kWide));
    EXPECT_EQ(ScratchDir::read(file), utf8Bytes());  // no declared encoding: UTF-8, no mark

    for (const bool bigEndian : {false, true}) {
        MarkupDocument reread;
        readAs(dir, utf16Bytes(bigEndian, true), reread);
        ASSERT_TRUE(reread.writeFile(file, L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>"));
        const std::u16string decl = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>";
        std::string expected = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char16_t unit : decl) {
            expected += static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF);
            expected += static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8);
        }
        EXPECT_EQ(ScratchDir::read(file), expected);
    }

    const std::wstring latin = L"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r t=\"\u00E9\u4E2D\"/>";
    ASSERT_TRUE(doc.writeFile(file, latin));
    EXPECT_EQ(ScratchDir::read(file), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r t=\"\xE9?\"/>");
    EXPECT_TRUE(doc.hasResult(L"conversion_loss"));
    EXPECT_TRUE(doc.hasResult(L"converted_to"));
}

TEST(MarkupFileWrite, LargeTextsAreWrittenWhole) {
    ScratchDir dir;
    const auto file = dir / "big.xml";
    std::wstring text(200003, L'a');
    for (std::size_t i = 65530; i < text.size(); i += 65536)
        text.replace(i, 8, L"\u00E9\U0001F600\u00E9\U0001F600\u00E9");
    MarkupDocument doc;
    ASSERT_TRUE(doc.writeFile(file, text));
    std::wstring back;
    ASSERT_TRUE(doc.readFile(file, back));
    EXPECT_TRUE(back == text);
}

TEST(MarkupFileWrite, ReportsFailureToWrite) {
    ScratchDir dir;
    MarkupDocument doc;
    EXPECT_FALSE(doc.writeFile(dir / "no" / "such" / "dir.xml", L"<r/>"));
    EXPECT_TRUE(doc.hasResult(L"file_error"));
    if (std::filesystem::exists("/dev/full")) {
        EXPECT_FALSE(doc.writeFile("/dev/full", std::wstring(100000, L'x')));  // no space left
    }
}

TEST(TextCodec, Utf8DecodingIsStrictAboutMalformedInput) {
    EXPECT_TRUE(TextCodec::isValidUtf8(utf8Bytes()));
    EXPECT_FALSE(TextCodec::isValidUtf8("\xC0\x80"));          // overlong
    EXPECT_FALSE(TextCodec::isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(TextCodec::isValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(TextCodec::isValidUtf8("\xE4\xB8"));          // cut short

    TextCodec::Stats stats;
    EXPECT_EQ(TextCodec::decodeUtf8("a\xFFz\xE4\xB8", &stats), L"a\uFFFDz\uFFFD");
    EXPECT_EQ(TextCodec::decodeUtf8("\xC0\x80"), L"\uFFFD");  // never a hidden nul
    EXPECT_TRUE(stats.truncated);
    EXPECT_EQ(TextCodec::encodeUtf8(TextCodec::decodeUtf8(utf8Bytes())), utf8Bytes());
    EXPECT_EQ(TextCodec::encodeUtf16(kWide, true), utf16Bytes(true, false));
}
