// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Firmware download: the image is checked whole, then sent one packet per
// record with progress on the scale 0..150.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <string>

#include "FakeHidPlatform.h"
#include <velkorondrix/IntelHexImage.h>
#include "IntelHexRecord.h"

namespace {

// A data record with a correct checksum.
std::string dataRecord(int address, const std::vector<int>& data, int type = 0) {
    return intelHexRecord(type, address, data);
}

const std::string kExtended = ":020000040800F2";
const std::string kData = ":0400000001020304F2";
const std::string kEof = ":00000001FF";

class Firmware : public OpenFakeKeyboard {
protected:
    bool download(std::string text) {
        return device.WriteFirmwareToKeyboard(text.data(), static_cast<int>(text.size()), &window);
    }

    RecordingWindow window;
};

}  // namespace

TEST_F(Firmware, ThreeRecordsSendThreePacketsWithProgress50_100_150) {
    ASSERT_TRUE(download(kExtended + "\r\n" + kData + "\r\n" + kEof + "\r\n"));
    ASSERT_EQ(link->written.size(), 3u);
    EXPECT_EQ(link->packet(0), packetOf({0x00, 0x3A, 0x02, 0x00, 0x00, 0x04, 0x08, 0x00, 0xF2}));
    EXPECT_EQ(link->packet(1), packetOf({0x00, 0x3A, 0x04, 0x00, 0x00, 0x00, 1, 2, 3, 4, 0xF2}));
    EXPECT_EQ(link->packet(2), packetOf({0x00, 0x3A, 0x00, 0x00, 0x00, 0x01, 0xFF}));
    EXPECT_EQ(window.progressValues(), (std::vector<std::uintptr_t>{50, 100, 150}));
}

TEST_F(Firmware, ProgressGrowsOnlyWhenTheQuotientGrows) {
    std::string text;
    for (int i = 0; i < 299; ++i)
        text += dataRecord(i * 16, {i & 0xFF, 1, 2}) + "\r\n";
    text += kEof + "\r\n";
    ASSERT_TRUE(download(text));
    EXPECT_EQ(link->written.size(), 300u);
    const auto progress = window.progressValues();
    EXPECT_EQ(progress.size(), 150u);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 150u);
}

TEST_F(Firmware, LineFeedsAloneAndBlankLinesAreAccepted) {
    ASSERT_TRUE(download(kExtended + "\n\n" + kData + "\n   \r\n" + kEof));
    EXPECT_EQ(link->written.size(), 3u);
    EXPECT_EQ(window.progressValues(), (std::vector<std::uintptr_t>{50, 100, 150}));
}

TEST_F(Firmware, NothingAfterTheEndOfFileRecordIsSent) {
    ASSERT_TRUE(download(kData + "\r\n" + kEof + "\r\n" + kData + "\r\nnot hex at all\r\n"));
    EXPECT_EQ(link->written.size(), 2u);
    EXPECT_EQ(window.progressValues().back(), 150u);
}

TEST_F(Firmware, LowercaseDigitsGiveTheSameBytes) {
    std::string lower = kExtended;
    std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
    ASSERT_TRUE(download(lower + "\r\n" + kEof + "\r\n"));
    EXPECT_EQ(link->packet(0), packetOf({0x00, 0x3A, 0x02, 0x00, 0x00, 0x04, 0x08, 0x00, 0xF2}));
}

TEST_F(Firmware, LargestRecordFillsThePacket) {
    std::vector<int> data(57);
    std::iota(data.begin(), data.end(), 1);
    ASSERT_TRUE(download(dataRecord(0, data) + "\r\n" + kEof + "\r\n"));
    const Bytes packet = link->packet(0);
    EXPECT_EQ(packet[2], 57);
    EXPECT_EQ(packet[6], 1);
    EXPECT_EQ(packet[62], 57);
}

// Every fault in the image is found, and named with its line, before the
// first packet goes out.
TEST_F(Firmware, MalformedImagesSendNothing) {
    std::vector<int> tooMany(58, 0);
    const std::vector<std::pair<const char*, std::string>> bad = {
        {"checksum mismatch", kData.substr(0, kData.size() - 2) + "F3"},
        {"byte count does not match the data", ":0500000001020304F1"},
        {"odd number of hex digits", kData + "0"},
        {"not a hex digit", ":04000000010G0304F2"},
        {"unknown record type", dataRecord(0, {1}, 6)},
        {"record longer than 62 bytes", dataRecord(0, tooMany)},
        {"end-of-file record with data", dataRecord(0, {1}, 1)},
        {"does not start with ':'", "0400000001020304F2"},
        {"record too short", ":00"},
    };
    for (const auto& [what, line] : bad) {
        const std::string text = kData + "\r\n" + line + "\r\n" + kEof + "\r\n";
        IntelHexImage image;
        EXPECT_FALSE(image.load(text.c_str(), static_cast<int>(text.size()))) << what;
        EXPECT_EQ(image.problem(), std::string("line 2: ") + what);
        link->written.clear();
        EXPECT_FALSE(download(text)) << what;
        EXPECT_TRUE(link->written.empty()) << what;
    }
    EXPECT_TRUE(window.progressValues().empty());
}

TEST_F(Firmware, ImageWithoutEndOfFileRecordSendsNothing) {
    const std::string text = kExtended + "\r\n" + kData + "\r\n";
    IntelHexImage image;
    EXPECT_FALSE(image.load(text.c_str(), static_cast<int>(text.size())));
    EXPECT_EQ(image.problem(), "no end-of-file record");
    EXPECT_FALSE(download(text));
    EXPECT_TRUE(link->written.empty());
}

TEST_F(Firmware, EmptyOrForeignTextIsRefused) {
    EXPECT_FALSE(device.WriteFirmwareToKeyboard(nullptr, 10, &window));
    std::string text = kEof + "\r\n";
    EXPECT_FALSE(device.WriteFirmwareToKeyboard(text.data(), 0, &window));
    EXPECT_FALSE(download("\r\n" + text));
    EXPECT_FALSE(download("x" + text));
    EXPECT_TRUE(link->written.empty());
}

TEST_F(Firmware, LengthBoundsTheScan) {
    // No terminating zero within the given length: the scan stops there.
    std::string text = kData + "\r\n" + kEof + "\r\n";
    std::vector<char> buffer(text.begin(), text.end());
    EXPECT_TRUE(device.WriteFirmwareToKeyboard(buffer.data(), static_cast<int>(buffer.size()), nullptr));
    link->written.clear();
    // Cut before the end-of-file record: incomplete.
    EXPECT_FALSE(device.WriteFirmwareToKeyboard(buffer.data(), static_cast<int>(kData.size() + 2), nullptr));
    EXPECT_TRUE(link->written.empty());
}

TEST_F(Firmware, FailedWriteEndsTheDownload) {
    link->failWriteAt = 1;
    EXPECT_FALSE(download(kExtended + "\r\n" + kData + "\r\n" + kEof + "\r\n"));
    EXPECT_EQ(link->written.size(), 1u);
    EXPECT_EQ(window.progressValues(), std::vector<std::uintptr_t>{50});
}

TEST(IntelHexImage, KeepsRecordsInFileOrder) {
    IntelHexImage image;
    const std::string text = kExtended + "\r" + kData + "\r\n" + kEof;
    ASSERT_TRUE(image.load(text.c_str(), static_cast<int>(text.size())));
    ASSERT_EQ(image.records().size(), 3u);
    EXPECT_EQ(image.records()[0], (Bytes{0x02, 0x00, 0x00, 0x04, 0x08, 0x00, 0xF2}));
    EXPECT_EQ(image.records()[2], (Bytes{0x00, 0x00, 0x00, 0x01, 0xFF}));
    EXPECT_TRUE(image.problem().empty());
    EXPECT_FALSE(image.load("garbage", 7));
    EXPECT_TRUE(image.records().empty());
    EXPECT_EQ(image.problem(), "the text does not start with ':'");
}

TEST(IntelHexImage, CountsEveryLineWhenNamingAFault) {
    // CR LF ends one line; a blank line and a lone CR each count.
    const std::string text = kData + "\r\n\n" + kData + "\r" + "04" + "\r\n" + kEof;
    IntelHexImage image;
    EXPECT_FALSE(image.load(text.c_str(), static_cast<int>(text.size())));
    EXPECT_EQ(image.problem(), "line 4: does not start with ':'");
    EXPECT_FALSE(image.load("", 0));
    EXPECT_EQ(image.problem(), "the text is empty");
}
