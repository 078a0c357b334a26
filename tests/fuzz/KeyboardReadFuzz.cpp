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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzz::require;
    std::deque<fuzz::Packet> answers;
    for (size_t offset = 0; offset < size; offset += 64) {
        fuzz::Packet packet(64, 0);
        std::copy(data + offset, data + std::min(size, offset + 64), packet.begin());
        answers.push_back(std::move(packet));
    }
    std::vector<std::vector<int>> stored;
    {
        fuzz::ScriptedKeyboard keyboard(std::move(answers));
        fuzz::ProgressWindow window;
        keyboard.device.readKeyDefinationFromDev(&window);
        require(keyboard.link->answered <= kMaxKeyReadPackets);
        require(window.values.size() <= fuzz::kSlots);
        for (std::uintptr_t slot : window.values)
            require(slot < fuzz::kSlots);
        stored = fuzz::allWords(keyboard.device);

        // The rest of the stream answers the light read.
        const size_t before = keyboard.link->answered;
        keyboard.device.readKeyLightFromDev();
        require(keyboard.link->answered - before <= kMaxLightReadPackets);
        std::vector<int> lights(324, -1);
        require(keyboard.device.getKeyboardLightArea(lights.data()));
        for (int value : lights)
            require(value >= 0 && value <= 255);
    }

    // Written as the host writes them and read back as the keyboard would
    // send them again, the definitions come back word for word.
    std::deque<fuzz::Packet> records;
    {
        fuzz::ScriptedKeyboard writer;
        fuzz::setAllWords(writer.device, stored);
        require(writer.device.writeKeyConfigurationToDev(nullptr));
        records.assign(writer.link->written.begin() + 1, writer.link->written.end());
    }
    fuzz::ScriptedKeyboard reader(std::move(records));
    require(reader.device.readKeyDefinationFromDev(nullptr));
    require(fuzz::allWords(reader.device) == stored);
    return 0;
}
