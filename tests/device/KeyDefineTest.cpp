// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The three key-definition encodings: word form, key record, and back.
#include <gtest/gtest.h>

#include <numeric>

#include "CContinousKeyDefine.h"
#include "CKeyDefine.h"
#include "CMacroKeyDefine.h"
#include "CNormalKeyDefine.h"
#include "FakeHidPlatform.h"
#include <velkorondrix/KeyRecordFit.h>

namespace {

// Builds the definition the facade would build from words (layer is facade
// layer 0/1) and encodes it with packet size 64.
struct Encoded {
    std::unique_ptr<CKeyDefine> def;
    Bytes bytes;
    bool result = false;
};

Encoded encodeWords(std::vector<int> words, int layer = 0, int key = 5) {
    Encoded e;
    e.def = CKeyDefine::create(words.at(0), key, layer + 1);
    e.def->fromWords(words.data(), static_cast<int>(words.size()));
    int total = 0, header = 0;
    EXPECT_FALSE(e.def->encode(nullptr, 64, &total, &header));
    EXPECT_EQ(total % 64, 0);
    e.bytes.assign(static_cast<size_t>(total), 0);
    e.result = e.def->encode(e.bytes.data(), 64, &total, &header);
    return e;
}

std::vector<int> decodeToWords(const Bytes& record) {
    auto def = CKeyDefine::create(record.at(4), record.at(3), record.at(2));
    def->decode(record.data(), 64, static_cast<int>(record.size()));
    std::vector<int> words(70000);
    const int n = def->toWords(words.data(), static_cast<int>(words.size()));
    words.resize(static_cast<size_t>(std::max(n, 0)));
    return words;
}

Bytes emptyRecord(int wireLayer, int key) { return packetOf({0x00, 0xF0, wireLayer, key}); }

}  // namespace

TEST(KeyDefineEncoding, NormalRecordCarriesCountAndCodes) {
    Encoded e = encodeWords({0, 1, 4}, 1, 9);
    EXPECT_TRUE(e.result);
    EXPECT_EQ(e.bytes, packetOf({0x00, 0xF0, 2, 9, 0x00, 0x01, 0x04}));
    EXPECT_EQ(decodeToWords(e.bytes), (std::vector<int>{0, 1, 4}));

    // No codes: the same bytes as an empty slot.
    EXPECT_EQ(encodeWords({0, 0}, 0, 7).bytes, emptyRecord(1, 7));
}

TEST(KeyDefineEncoding, ContinuousRecordCarriesIntervalHighByteFirst) {
    Encoded e = encodeWords({1, 300, 2, 4, 5});
    EXPECT_TRUE(e.result);
    EXPECT_EQ(Bytes(e.bytes.begin() + 4, e.bytes.begin() + 10), (Bytes{0x01, 0x01, 0x2C, 0x02, 0x04, 0x05}));
    EXPECT_TRUE(std::all_of(e.bytes.begin() + 10, e.bytes.end(), [](unsigned char b) { return b == 0; }));
    EXPECT_EQ(decodeToWords(e.bytes), (std::vector<int>{1, 300, 2, 4, 5}));
}

TEST(KeyDefineEncoding, MacroWithStoredDelays) {
    const std::vector<int> words{2, 1, 0, 3, 4, 100, 5, 1000, 6};
    Encoded e = encodeWords(words);
    ASSERT_EQ(e.bytes.size(), 64u);
    EXPECT_EQ(Bytes(e.bytes.begin() + 4, e.bytes.begin() + 8), (Bytes{0x02, 0x01, 0x01, 0x09}));
    EXPECT_EQ(Bytes(e.bytes.begin() + 8, e.bytes.begin() + 17),
              (Bytes{0x04, 0xC8, 0x00, 0x64, 0x05, 0xC8, 0x03, 0xE8, 0x06}));
    EXPECT_EQ(decodeToWords(e.bytes), words);
}

TEST(KeyDefineEncoding, MacroWithoutDelays) {
    const std::vector<int> words{2, 3, 1, 3, 4, 5, 6};
    Encoded e = encodeWords(words);
    ASSERT_EQ(e.bytes.size(), 64u);
    EXPECT_EQ(Bytes(e.bytes.begin() + 4, e.bytes.begin() + 11), (Bytes{0x02, 0x03, 0x00, 0x03, 0x04, 0x05, 0x06}));
    EXPECT_EQ(decodeToWords(e.bytes), words);
}

TEST(KeyDefineEncoding, SixteenCodeMacroSpansTwoPackets) {
    std::vector<int> words{2, 1, 0, 16};
    for (int i = 0; i < 16; ++i) {
        words.push_back(10 + i);
        if (i < 15)
            words.push_back(20 * (i + 1));
    }
    Encoded e = encodeWords(words, 0, 12);
    ASSERT_EQ(e.bytes.size(), 128u);
    for (int p = 0; p < 2; ++p) {
        const unsigned char* packet = e.bytes.data() + 64 * p;
        EXPECT_EQ(Bytes(packet, packet + 8), (Bytes{0x00, 0xF0, 1, 12, 0x02, 0x01, 0x01, 61})) << "packet " << p;
    }
    // 56 payload bytes in the first packet, 5 in the second, then zeros.
    EXPECT_EQ(e.bytes[8], 10);
    EXPECT_EQ(e.bytes[64 + 8 + 4], 25);  // payload[60], the last code
    EXPECT_TRUE(std::all_of(e.bytes.begin() + 64 + 13, e.bytes.end(), [](unsigned char b) { return b == 0; }));
    EXPECT_EQ(decodeToWords(e.bytes), words);
}

// Definitions larger than one record lose codes from the end; nothing is ever
// written outside the record.
TEST(KeyDefineLimits, OversizedDefinitionsAreCutFromTheEnd) {
    std::vector<int> normal{0, 70};
    for (int i = 0; i < 70; ++i)
        normal.push_back(i + 1);
    Encoded n = encodeWords(normal);
    ASSERT_EQ(n.bytes.size(), 64u);
    EXPECT_EQ(n.bytes[5], 58);
    EXPECT_EQ(n.bytes[63], 58);  // code 58 is the last that fits

    std::vector<int> continuous{1, 10, 70};
    for (int i = 0; i < 70; ++i)
        continuous.push_back(i + 1);
    Encoded c = encodeWords(continuous);
    ASSERT_EQ(c.bytes.size(), 64u);
    EXPECT_EQ(c.bytes[7], 56);
    EXPECT_EQ(c.bytes[63], 56);

    // Stored delays: 4n - 3 <= 255 allows 64 codes.
    std::vector<int> delayed{2, 1, 0, 70};
    for (int i = 0; i < 70; ++i) {
        delayed.push_back(i + 1);
        if (i < 69)
            delayed.push_back(5);
    }
    Encoded d = encodeWords(delayed);
    EXPECT_EQ(d.bytes.size(), 5u * 64);
    EXPECT_EQ(d.bytes[7], 253);
    auto back = decodeToWords(d.bytes);
    ASSERT_GE(back.size(), 4u);
    EXPECT_EQ(back[3], 64);
    EXPECT_EQ(back.back(), 64);

    std::vector<int> plain{2, 1, 1, 300};
    for (int i = 0; i < 300; ++i)
        plain.push_back(i % 200 + 1);
    Encoded p = encodeWords(plain);
    EXPECT_EQ(p.bytes.size(), 5u * 64);
    EXPECT_EQ(p.bytes[7], 255);
    EXPECT_EQ(decodeToWords(p.bytes)[3], 255);

    // What callers are told before they send such a definition.
    auto fit = [](const std::vector<int>& w) {
        const hwi::KeyRecordFit f = hwi::fitKeyRecord(w.data(), static_cast<int>(w.size()));
        return std::vector<int>{f.codes, f.kept};
    };
    EXPECT_EQ(fit(normal), (std::vector<int>{70, 58}));
    EXPECT_EQ(fit(continuous), (std::vector<int>{70, 56}));
    EXPECT_EQ(fit(delayed), (std::vector<int>{70, 64}));
    EXPECT_EQ(fit(plain), (std::vector<int>{300, 255}));
    EXPECT_EQ(fit({2, 1, 0, 64, 1}), (std::vector<int>{1, 1}));
    EXPECT_EQ(fit({7, 1}), (std::vector<int>{0, 0}));
}

TEST(KeyDefineLimits, CodelessMacroAndContinuousTravelAsTheEmptyRecord) {
    Encoded macro = encodeWords({2, 3, 1, 0}, 1, 40);
    EXPECT_FALSE(macro.result);
    EXPECT_EQ(macro.bytes, emptyRecord(2, 40));
    Encoded delayed = encodeWords({2, 3, 0, 0}, 0, 41);
    EXPECT_EQ(delayed.bytes, emptyRecord(1, 41));
    Encoded continuous = encodeWords({1, 500, 0}, 0, 42);
    EXPECT_FALSE(continuous.result);
    EXPECT_EQ(continuous.bytes, emptyRecord(1, 42));
}

TEST(KeyDefineLimits, EncodeRefusesABufferTooSmall) {
    CNormalKeyDefine def(1, 1);
    def.codes = {4};
    def.count = 1;
    Bytes small(32, 0xAA);
    int total = 32, header = 0;
    EXPECT_FALSE(def.encode(small.data(), 64, &total, &header));
    EXPECT_EQ(small, Bytes(32, 0xAA));
}

// The word arrays come from the program: their count bounds what is read.
TEST(KeyDefineWords, CountBoundsTheWordsRead) {
    const int normal[] = {0, 10, 4, 5};
    CNormalKeyDefine n(1, 1);
    n.fromWords(normal, 4);
    EXPECT_EQ(n.codes, (std::vector<int>{4, 5}));

    const int macro[] = {2, 1, 0, 5, 4, 100, 5};  // claims 5 codes, holds 2
    CMacroKeyDefine m(1, 1);
    m.fromWords(macro, 7);
    EXPECT_EQ(m.codes, (std::vector<int>{4, 5}));
    EXPECT_EQ(m.delays.front(), 100);

    const int negative[] = {1, 20, -3, 4};
    CContinousKeyDefine c(1, 1);
    c.fromWords(negative, 4);
    EXPECT_EQ(c.count, 0);
}

TEST(KeyDefineWords, ToWordsNeverExceedsCapacity) {
    CMacroKeyDefine m(1, 1);
    const int words[] = {2, 1, 0, 3, 4, 100, 5, 1000, 6};
    m.fromWords(words, 9);
    int out[9];
    std::fill(std::begin(out), std::end(out), -7);
    EXPECT_EQ(m.toWords(out, 8), -1);
    EXPECT_TRUE(std::all_of(std::begin(out), std::end(out), [](int w) { return w == -7; }));
    EXPECT_EQ(m.toWords(out, 9), 9);
    EXPECT_TRUE(std::equal(std::begin(out), std::end(out), std::begin(words)));
}

// Records arriving from the keyboard are not trusted to be consistent.
TEST(KeyDefineDecoding, InconsistentRecordsReadOnlyWhatIsThere) {
    // A single packet claiming a 200-byte macro payload.
    Bytes packet = packetOf({0x00, 0xF0, 1, 1, 2, 1, 0, 200});
    for (int i = 8; i < 64; ++i)
        packet[static_cast<size_t>(i)] = static_cast<unsigned char>(i);
    CMacroKeyDefine m(1, 1);
    m.decode(packet.data(), 64, 64);
    EXPECT_EQ(m.count, 56);

    // A delayed macro with no payload has no codes.
    Bytes empty = packetOf({0x00, 0xF0, 1, 1, 2, 1, 1, 0});
    m.decode(empty.data(), 64, 64);
    EXPECT_EQ(m.count, 0);

    // A normal record claiming 255 codes.
    Bytes normal = packetOf({0x00, 0xF0, 1, 1, 0, 255});
    CNormalKeyDefine n(1, 1);
    n.decode(normal.data(), 64, 64);
    EXPECT_EQ(n.count, 58);
}
