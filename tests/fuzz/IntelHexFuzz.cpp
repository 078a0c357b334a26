// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The Intel HEX check and the firmware download against a scripted keyboard:
// an image the check accepts is sent whole, one packet per record with the
// record's bytes, progress rising to 150; any other text sends nothing.
#include <climits>
#include <cstdint>
#include <string>

#include "FuzzKeyboard.h"
#include <velkorondrix/IntelHexImage.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > INT_MAX)
        return 0;
    std::string text(reinterpret_cast<const char*>(data), size);  // zero byte after it
    const int length = static_cast<int>(size);

    IntelHexImage image;
    const bool sound = image.load(text.data(), length);
    FUZZ_CHECK(sound == image.problem().empty());
    FUZZ_CHECK(sound != image.records().empty());
    for (const auto& record : image.records()) {
        FUZZ_CHECK(record.size() >= 5 && record.size() <= 62 && record.size() == record[0] + 5u);
        unsigned sum = 0;
        for (unsigned char byte : record)
            sum += byte;
        FUZZ_CHECK((sum & 0xFF) == 0);
    }
    FUZZ_CHECK(!sound || (!image.records().empty() && image.records().back()[3] == IntelHexImage::kEndOfFile));

    fuzz::FakeKeyboard keyboard;
    RecordingWindow window;
    FUZZ_CHECK(keyboard.device.WriteFirmwareToKeyboard(text.data(), length, &window) == sound);
    FUZZ_CHECK(keyboard.link->written.size() == image.records().size());
    for (size_t i = 0; i < std::min(keyboard.link->written.size(), image.records().size()); ++i) {
        const Bytes sent = keyboard.link->packet(i);
        const auto& record = image.records()[i];
        const auto end = sent.begin() + 2 + static_cast<long>(std::min<size_t>(record.size(), 62));
        FUZZ_CHECK(sent[0] == 0 && sent[1] == 0x3A);
        FUZZ_CHECK(std::equal(sent.begin() + 2, end, record.begin()));
        FUZZ_CHECK(std::all_of(end, sent.end(), [](unsigned char byte) { return byte == 0; }));
    }
    const auto progress = window.progressValues();
    FUZZ_CHECK(std::is_sorted(progress.begin(), progress.end()) &&
            std::adjacent_find(progress.begin(), progress.end()) == progress.end());
    FUZZ_CHECK(progress.empty() ? !sound : progress.back() == 150);
    return 0;
}
