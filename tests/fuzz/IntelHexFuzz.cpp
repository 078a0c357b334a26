// The Intel HEX check and the firmware download against a scripted keyboard:
// an image the check accepts is sent whole, one packet per record with the
// record's bytes, progress rising to 150; any other text sends nothing.
#include <climits>
#include <cstdint>
#include <string>

#include "FuzzKeyboard.h"
#include "IntelHexImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using fuzz::require;
    if (size > INT_MAX)
        return 0;
    std::string text(reinterpret_cast<const char*>(data), size);  // zero byte after it
    const int length = static_cast<int>(size);

    IntelHexImage image;
    const bool sound = image.load(text.data(), length);
    require(sound == image.problem().empty());
    require(sound != image.records().empty());
    for (const auto& record : image.records()) {
        require(record.size() >= 5 && record.size() <= 62 && record.size() == record[0] + 5u);
        unsigned sum = 0;
        for (unsigned char byte : record)
            sum += byte;
        require((sum & 0xFF) == 0);
    }
    require(!sound || image.records().back()[3] == IntelHexImage::kEndOfFile);

    fuzz::ScriptedKeyboard keyboard;
    fuzz::ProgressWindow window;
    require(keyboard.device.WriteFirmwareToKeyboard(text.data(), length, &window) == sound);
    const auto& sent = keyboard.link->written;
    require(sent.size() == image.records().size());
    for (size_t i = 0; i < sent.size(); ++i) {
        const auto& record = image.records()[i];
        require(sent[i][0] == 0 && sent[i][1] == 0x3A);
        require(std::equal(record.begin(), record.end(), sent[i].begin() + 2));
        require(std::all_of(sent[i].begin() + 2 + static_cast<long>(record.size()), sent[i].end(),
                            [](unsigned char byte) { return byte == 0; }));
    }
    const auto& progress = window.values;
    require(std::is_sorted(progress.begin(), progress.end()) &&
            std::adjacent_find(progress.begin(), progress.end()) == progress.end());
    require(progress.empty() ? !sound : progress.back() == 150);
    return 0;
}
