// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The four transfers between the host image and the keyboard, packet by
// packet, and how they end: failure, cancel, a silent keyboard.
#include <gtest/gtest.h>

#include <atomic>
#include <numeric>
#include <thread>

#include "CBrantUtil.h"
#include "FakeHidPlatform.h"
#include "KeyWords.h"

namespace {

class Transfer : public OpenFakeKeyboard {
protected:
    std::vector<int> wordsOf(int layer, int key) { return keyWords(device, layer, key); }
    void set(int layer, int key, std::vector<int> words) { setKeyWords(device, layer, key, std::move(words)); }

    RecordingWindow window;
};

Bytes command(int code) { return packetOf({0x00, code}); }

}  // namespace

TEST_F(Transfer, KeyWriteOfAPreparedImageSendsEveryEmptyRecord) {
    set(0, 3, {0, 1, 4});
    ASSERT_TRUE(device.prepare());
    ASSERT_TRUE(device.writeKeyConfigurationToDev(&window));

    ASSERT_EQ(link->written.size(), 218u);
    EXPECT_EQ(link->written[0][0], 0);  // report ID
    EXPECT_EQ(link->packet(0), command(0xF1));
    for (int slot = 0; slot < 216; ++slot)
        ASSERT_EQ(link->packet(1 + slot), packetOf({0x00, 0xF0, slot / 108 + 1, slot % 108 + 1})) << slot;
    EXPECT_EQ(link->packet(217), Bytes(64, 0xF6));

    std::vector<std::uintptr_t> expected(216);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(window.progressValues(), expected);
}

TEST_F(Transfer, KeyWritePutsEachDefinitionInItsSlot) {
    set(1, 108, {0, 1, 4});
    std::vector<int> macro{2, 1, 1, 57};
    for (int i = 0; i < 57; ++i)
        macro.push_back(i + 1);
    set(0, 2, macro);
    ASSERT_TRUE(device.writeKeyConfigurationToDev(nullptr));

    // Start, 216 slots (one of them two packets), end.
    ASSERT_EQ(link->written.size(), 219u);
    Bytes first = packetOf({0x00, 0xF0, 1, 2, 2, 1, 0, 57});
    std::iota(first.begin() + 8, first.end(), 1);
    EXPECT_EQ(link->packet(2), first);
    EXPECT_EQ(link->packet(3), packetOf({0x00, 0xF0, 1, 2, 2, 1, 0, 57, 57}));
    EXPECT_EQ(link->packet(217), packetOf({0x00, 0xF0, 2, 108, 0, 1, 4}));
}

TEST_F(Transfer, KeyWriteStopsAtTheFirstFailedWrite) {
    link->failWriteAt = 10;
    EXPECT_FALSE(device.writeKeyConfigurationToDev(&window));
    EXPECT_EQ(link->written.size(), 10u);
    EXPECT_EQ(window.progressValues().size(), 9u);
}

TEST_F(Transfer, KeyReadEndingAtOnceLeavesTheTableAsItWas) {
    set(0, 1, {1, 300, 2, 4, 5});
    link->answers.push_back(Bytes(64, 0xF6));
    EXPECT_TRUE(device.readKeyDefinationFromDev(&window));
    EXPECT_EQ(link->written.size(), 1u);
    EXPECT_EQ(link->packet(0), command(0xF2));
    EXPECT_EQ(wordsOf(0, 1), (std::vector<int>{1, 300, 2, 4, 5}));
    EXPECT_TRUE(window.progressValues().empty());
}

TEST_F(Transfer, KeyReadStoresRecordsAndSkipsWhatIsNoRecord) {
    link->answers.push_back(packetOf({0x00, 0xF0, 2, 7, 0, 2, 9, 10}));
    link->answers.push_back(packetOf({0x00, 0xE0, 2, 8, 0, 1, 11}));  // not a key record
    // A sixteen-code macro with delays: two packets.
    std::vector<int> words{2, 4, 0, 16};
    for (int i = 0; i < 16; ++i) {
        words.push_back(30 + i);
        if (i < 15)
            words.push_back(256 + i);
    }
    Bytes first = packetOf({0x00, 0xF0, 1, 50, 2, 4, 1, 61});
    Bytes second = first;
    std::vector<unsigned char> payload;
    for (int i = 0; i < 16; ++i) {
        payload.push_back(static_cast<unsigned char>(30 + i));
        if (i < 15) {
            payload.insert(payload.end(), {0xC8, 0x01, static_cast<unsigned char>(i)});
        }
    }
    std::copy(payload.begin(), payload.begin() + 56, first.begin() + 8);
    std::fill(second.begin() + 8, second.end(), 0);
    std::copy(payload.begin() + 56, payload.end(), second.begin() + 8);
    link->answers.push_back(first);
    link->answers.push_back(second);
    link->answers.push_back(Bytes(64, 0xF6));

    EXPECT_TRUE(device.readKeyDefinationFromDev(&window));
    EXPECT_EQ(wordsOf(1, 7), (std::vector<int>{0, 2, 9, 10}));
    EXPECT_EQ(wordsOf(1, 8), (std::vector<int>{0, 0}));
    EXPECT_EQ(wordsOf(0, 50), words);
    EXPECT_EQ(window.progressValues(), (std::vector<std::uintptr_t>{108 + 6, 49}));
}

TEST_F(Transfer, KeyReadSkipsRecordsThatNameNoSlot) {
    link->answers.push_back(packetOf({0x00, 0xF0, 3, 1, 0, 1, 4}));    // layer 3
    link->answers.push_back(packetOf({0x00, 0xF0, 0, 1, 0, 1, 4}));    // layer 0
    link->answers.push_back(packetOf({0x00, 0xF0, 1, 0, 0, 1, 4}));    // key 0
    link->answers.push_back(packetOf({0x00, 0xF0, 2, 109, 0, 1, 4}));  // key 109
    link->answers.push_back(packetOf({0x00, 0xF0, 1, 1, 3, 1, 4}));    // type 3
    // A bad macro spanning two packets: its second packet, carrying the
    // same header, is not mistaken for a record of its own.
    link->answers.push_back(packetOf({0x00, 0xF0, 9, 9, 2, 1, 0, 100}));
    link->answers.push_back(packetOf({0x00, 0xF0, 9, 9, 2, 1, 0, 100, 1}));
    link->answers.push_back(packetOf({0x00, 0xF0, 1, 6, 0, 1, 77}));
    link->answers.push_back(Bytes(64, 0xF6));

    EXPECT_TRUE(device.readKeyDefinationFromDev(&window));
    EXPECT_EQ(window.progressValues(), std::vector<std::uintptr_t>{5});
    EXPECT_EQ(wordsOf(0, 1), (std::vector<int>{0, 0}));
    EXPECT_EQ(wordsOf(0, 6), (std::vector<int>{0, 1, 77}));
}

// A record whose next packet has another header, or the end packet, is cut
// short: it is dropped, that packet counts as what it is, and the read says
// it was not whole. Endless answers end the read too.
TEST_F(Transfer, KeyReadEndsOnBrokenRecordsAndEndlessAnswers) {
    link->answers.push_back(packetOf({0x00, 0xF0, 1, 1, 2, 1, 0, 100}));
    link->answers.push_back(packetOf({0x00, 0xF0, 1, 5, 0, 1, 66}));
    link->answers.push_back(packetOf({0x00, 0xF0, 1, 2, 2, 1, 0, 255}));
    link->answers.push_back(Bytes(64, 0xF6));
    link->answers.push_back(packetOf({0x00, 0xF0, 1, 7, 0, 1, 9}));  // after the end: never read
    EXPECT_FALSE(device.readKeyDefinationFromDev(&window));
    EXPECT_EQ(window.progressValues(), std::vector<std::uintptr_t>{4});
    EXPECT_EQ(wordsOf(0, 1), (std::vector<int>{0, 0}));
    EXPECT_EQ(wordsOf(0, 5), (std::vector<int>{0, 1, 66}));
    EXPECT_EQ(link->answers.size(), 1u);

    for (const Bytes& endless : {packetOf({0x00, 0xF0, 1, 3, 0, 1, 4}), packetOf({0x00, 0x55})}) {
        link->answers.assign(3000, endless);
        EXPECT_FALSE(device.readKeyDefinationFromDev(nullptr));
        EXPECT_GT(link->answers.size(), 3000u - 1100u);
    }
    link->answers.assign(3000, packetOf({0x00, 0xE0, 61}));
    EXPECT_FALSE(device.readKeyLightFromDev());
    EXPECT_GT(link->answers.size(), 3000u - 1100u);
}

TEST_F(Transfer, KeyReadCutShortKeepsWhatArrived) {
    link->answers.push_back(packetOf({0x00, 0xF0, 1, 1, 0, 1, 4}));
    EXPECT_FALSE(device.readKeyDefinationFromDev(nullptr));  // the link fails
    EXPECT_EQ(wordsOf(0, 1), (std::vector<int>{0, 1, 4}));
}

TEST_F(Transfer, LightWriteSendsEightPackets) {
    std::vector<int> values(324);
    for (int i = 0; i < 324; ++i)
        values[static_cast<size_t>(i)] = 0x100 + i;  // only the low byte travels
    ASSERT_TRUE(device.setKeyboardLightArea(values.data()));

    ASSERT_EQ(link->written.size(), 8u);
    EXPECT_EQ(link->packet(0), command(0xE1));
    const int sizes[] = {61, 61, 61, 61, 61, 19};
    int offset = 0;
    for (int p = 0; p < 6; ++p) {
        Bytes expected(64, 0);
        expected[1] = 0xE0;
        expected[2] = static_cast<unsigned char>(sizes[p]);
        for (int i = 0; i < sizes[p]; ++i)
            expected[static_cast<size_t>(3 + i)] = static_cast<unsigned char>(offset + i);
        EXPECT_EQ(link->packet(static_cast<size_t>(1 + p)), expected) << p;
        offset += sizes[p];
    }
    EXPECT_EQ(link->packet(7), Bytes(64, 0xE6));

    std::vector<int> back(324, -1);
    ASSERT_TRUE(device.getKeyboardLightArea(back.data()));
    EXPECT_EQ(back[300], 300 & 0xFF);
}

TEST_F(Transfer, LightWriteReportsAPacketNotSentAndSendsNothingAfterIt) {
    link->failWriteAt = 3;
    std::vector<int> values(324, 9);
    EXPECT_FALSE(device.setKeyboardLightArea(values.data()));
    EXPECT_EQ(link->written.size(), 3u);
    EXPECT_FALSE(device.setKeyLight(0, values.data()));
    EXPECT_EQ(link->written.size(), 3u);

    link->failWriteAt = -1;
    EXPECT_TRUE(device.setKeyLight(0, values.data()));
    EXPECT_EQ(link->written.size(), 11u);
}

TEST_F(Transfer, KeyLightReplacesTheFirst108Bytes) {
    std::vector<int> all(324, 7);
    device.setKeyboardLightArea(all.data());
    std::vector<int> first(108, 200);
    EXPECT_TRUE(device.setKeyLight(0, first.data()));
    std::vector<int> back(324);
    device.getKeyboardLightArea(back.data());
    EXPECT_EQ(back[107], 200);
    EXPECT_EQ(back[108], 7);
    std::vector<int> head(108);
    device.getKeyLight(0, head.data());
    EXPECT_EQ(head, first);
}

TEST_F(Transfer, LightReadFillsTheImageAndIgnoresTheOverflow) {
    std::vector<int> before(324, 5);
    device.setKeyboardLightArea(before.data());
    link->written.clear();

    // Seven full packets: 427 bytes for a 324-byte image, and a stray packet.
    link->answers.push_back(packetOf({0x00, 0x33, 61}));
    for (int p = 0; p < 7; ++p) {
        Bytes packet = packetOf({0x00, 0xE0, 61});
        std::fill(packet.begin() + 3, packet.end(), static_cast<unsigned char>(100 + p));
        link->answers.push_back(packet);
    }
    link->answers.push_back(Bytes(64, 0xE6));
    EXPECT_TRUE(device.readKeyLightFromDev());
    EXPECT_EQ(link->packet(0), command(0xE2));

    std::vector<int> image(324);
    device.getKeyboardLightArea(image.data());
    EXPECT_EQ(image[0], 100);
    EXPECT_EQ(image[61], 101);
    EXPECT_EQ(image[323], 105);
}

TEST_F(Transfer, LightReadKeepsBytesNotSent) {
    std::vector<int> before(324, 5);
    device.setKeyboardLightArea(before.data());
    link->answers.push_back(packetOf({0x00, 0xE0, 2, 1, 2}));
    link->answers.push_back(Bytes(64, 0xE6));
    EXPECT_TRUE(device.readKeyLightFromDev());
    std::vector<int> image(324);
    device.getKeyboardLightArea(image.data());
    EXPECT_EQ(image[0], 1);
    EXPECT_EQ(image[1], 2);
    EXPECT_EQ(image[2], 5);
}

TEST_F(Transfer, SetKeyConfigurationRejectsWhatHasNoSlot) {
    std::vector<int> words{0, 1, 4};
    EXPECT_FALSE(device.setKeyConfiguration(2, 1, words.data(), 3));
    EXPECT_FALSE(device.setKeyConfiguration(0, 0, words.data(), 3));
    EXPECT_FALSE(device.setKeyConfiguration(0, 109, words.data(), 3));
    set(0, 1, {0, 1, 4});
    std::vector<int> unknown{5, 1, 4};
    EXPECT_FALSE(device.setKeyConfiguration(0, 1, unknown.data(), 3));
    EXPECT_EQ(wordsOf(0, 1), (std::vector<int>{0, 1, 4}));
    int small[1];
    EXPECT_FALSE(device.getKeyConfiguration(0, 2, small, 1));
}

// ---- Cancel ------------------------------------------------------------------

namespace {

// Asks the facade to cancel once a given progress value is posted, as a
// progress window would from its own thread.
class CancellingWindow : public MessageWindow {
public:
    CancellingWindow(CTarnHWI& device, std::uintptr_t at) : device(device), at(at) {}
    void postMessage(unsigned, std::uintptr_t wParam, std::intptr_t) override {
        ++posted;
        if (wParam == at)
            device.requestCancel();
    }
    CTarnHWI& device;
    std::uintptr_t at;
    std::atomic<int> posted{0};
};

}  // namespace

TEST_F(Transfer, CancelStopsAKeyWriteAtTheNextPacket) {
    CancellingWindow canceller(device, 9);
    EXPECT_FALSE(device.writeKeyConfigurationToDev(&canceller));
    EXPECT_EQ(link->written.size(), 11u);  // start and slots 0..9
    EXPECT_TRUE(device.cancelRequested());

    // The request holds until it is cleared.
    EXPECT_FALSE(device.writeKeyConfigurationToDev(nullptr));
    std::vector<int> lights(324);
    EXPECT_FALSE(device.setKeyboardLightArea(lights.data()));
    char hex[] = ":00000001FF\r\n";
    EXPECT_FALSE(device.WriteFirmwareToKeyboard(hex, 13, nullptr));
    EXPECT_EQ(link->written.size(), 11u);

    device.clearCancelRequest();
    EXPECT_TRUE(device.writeKeyConfigurationToDev(nullptr));
}

TEST_F(Transfer, CancelEndsAReadThatIsWaiting) {
    link->brokenWhenEmpty = false;  // a keyboard that says nothing
    std::thread canceller([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        device.requestCancel();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(device.readKeyDefinationFromDev(nullptr));
    const auto waited = std::chrono::steady_clock::now() - start;
    canceller.join();
    EXPECT_LT(waited, std::chrono::seconds(5));
}

TEST(TransportWait, ASilentKeyboardEndsTheReadAtItsTimeout) {
    auto link = std::make_shared<FakeLink>();
    link->brokenWhenEmpty = false;
    CBrantUtil transport(std::make_unique<FakeChannel>(link));
    unsigned char packet[64];
    int length = 64;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(transport.readReport(packet, &length, 300));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(250));
    EXPECT_LT(waited, std::chrono::seconds(3));
}

TEST(TransportWait, ABrokenLinkEndsTheReadAtOnce) {
    auto link = std::make_shared<FakeLink>();  // empty queue reports a broken link
    CBrantUtil transport(std::make_unique<FakeChannel>(link));
    unsigned char packet[64];
    int length = 64;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(transport.readReport(packet, &length, 100000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST(TransportWait, ShortReportReportsTheWantedLength) {
    auto link = std::make_shared<FakeLink>();
    link->answers.push_back(Bytes{0x00, 0xF9, 'x'});
    CBrantUtil transport(std::make_unique<FakeChannel>(link));
    unsigned char packet[64];
    std::fill(std::begin(packet), std::end(packet), 0xAA);
    int length = 64;
    ASSERT_TRUE(transport.readReport(packet, &length, 1000));
    EXPECT_EQ(length, 64);
    EXPECT_EQ(packet[2], 'x');
    EXPECT_EQ(packet[3], 0);  // the rest of the report is zero, not stale
}
