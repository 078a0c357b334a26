// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The key and light reads against a keyboard that answers fuzz bytes, 64 to
// a packet: both reads end within their bounds, and whatever the key read
// stored travels out and back in unchanged.
#include <cstdint>
#include <deque>
#include <vector>

#include "FuzzKeyboard.h"

namespace {

// Every record at most five packets, the stray packets, the end packet.
constexpr size_t kMaxKeyReadPackets = 216 * 5 + 1024 + 1;
constexpr size_t kMaxLightReadPackets = 324 + 1024 + 1;

// Packets up to and including the first one that satisfies isEnd, from
// packet `from` on; all of them when none does.
template <typename IsEnd>
size_t upToEnd(const std::deque<Bytes>& stream, size_t from, IsEnd isEnd) {
    for (size_t i = from; i < stream.size(); ++i)
        if (isEnd(stream[i]))
            return i + 1 - from;
    return stream.size() - from;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::deque<Bytes> answers;
    for (size_t offset = 0; offset < size; offset += 64) {
        Bytes packet(64, 0);
        std::copy(data + offset, data + std::min(size, offset + 64), packet.begin());
        answers.push_back(std::move(packet));
    }
    // Each read ends at its end packet at the latest, inside a record too.
    const auto keyEnd = [](const Bytes& p) { return p[0] == 0xF6; };
    const auto lightEnd = [](const Bytes& p) { return p[1] == 0xE6; };
    const std::deque<Bytes> stream = answers;
    std::vector<std::vector<int>> stored;
    {
        fuzz::FakeKeyboard keyboard(std::move(answers));
        RecordingWindow window;
        keyboard.device.readKeyDefinationFromDev(&window);
        FUZZ_CHECK(keyboard.answered() <= kMaxKeyReadPackets);
        FUZZ_CHECK(keyboard.answered() <= upToEnd(stream, 0, keyEnd));
        const auto progress = window.progressValues();
        FUZZ_CHECK(progress.size() <= fuzz::kSlots);
        for (std::uintptr_t slot : progress)
            FUZZ_CHECK(slot < fuzz::kSlots);
        stored = fuzz::allWords(keyboard.device);

        // The rest of the stream answers the light read.
        const size_t before = keyboard.answered();
        keyboard.device.readKeyLightFromDev();
        FUZZ_CHECK(keyboard.answered() - before <= kMaxLightReadPackets);
        FUZZ_CHECK(keyboard.answered() - before <= upToEnd(stream, before, lightEnd));
        std::vector<int> lights(324, -1);
        FUZZ_CHECK(keyboard.device.getKeyboardLightArea(lights.data()));
        for (int value : lights)
            FUZZ_CHECK(value >= 0 && value <= 255);
    }

    // Written as the host writes them and read back as the keyboard would
    // send them again, the definitions come back word for word.
    std::deque<Bytes> records;
    {
        fuzz::FakeKeyboard writer;
        fuzz::setAllWords(writer.device, stored);
        FUZZ_CHECK(writer.device.writeKeyConfigurationToDev(nullptr));
        for (size_t i = 1; i < writer.link->written.size(); ++i)
            records.push_back(writer.link->packet(i));
    }
    fuzz::FakeKeyboard reader(std::move(records));
    FUZZ_CHECK(reader.device.readKeyDefinationFromDev(nullptr));
    FUZZ_CHECK(fuzz::allWords(reader.device) == stored);
    return 0;
}
