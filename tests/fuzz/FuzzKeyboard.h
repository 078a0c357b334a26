// A keyboard for the fuzz targets: the facade's HID platform lists one
// keyboard interface, counts what the host writes and answers the host's
// reads from a script of 64-byte packets; when the script is used up the link
// reports itself broken, so no read waits.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "FuzzCheck.h"
#include "HidPlatform.h"
#include "VelkorOndrix_HWI.h"

namespace fuzz {

using Packet = std::vector<unsigned char>;

struct ScriptedLink {
    std::vector<Packet> written;  // packets, without the report ID
    std::deque<Packet> answers;
    size_t answered = 0;
};

class ScriptedChannel : public hwi::HidChannel {
public:
    explicit ScriptedChannel(std::shared_ptr<ScriptedLink> link) : link(std::move(link)) {}
    bool writeReport(const unsigned char* report, int length) override {
        FUZZ_CHECK(length == 65 && report[0] == 0);
        if (length != 65)
            return false;
        link->written.emplace_back(report + 1, report + length);
        return true;
    }
    bool readReport(unsigned char* report, int length, int* received, int) override {
        if (link->answers.empty()) {
            *received = -1;
            return false;
        }
        std::memset(report, 0, static_cast<size_t>(length));
        const Packet& packet = link->answers.front();
        std::copy_n(packet.begin(), std::min<size_t>(packet.size(), static_cast<size_t>(length - 1)), report + 1);
        *received = length;
        link->answers.pop_front();
        ++link->answered;
        return true;
    }

private:
    std::shared_ptr<ScriptedLink> link;
};

class ScriptedPlatform : public hwi::HidPlatform {
public:
    static constexpr const wchar_t* kPath = L"\\\\?\\hid#vid_0483&pid_5022&mi_01#fuzz";
    explicit ScriptedPlatform(std::shared_ptr<ScriptedLink> link) : link(std::move(link)) {}
    std::vector<std::wstring> interfacePaths() override { return {kPath}; }
    std::unique_ptr<hwi::HidChannel> open(const std::wstring& path) override {
        return path == kPath ? std::make_unique<ScriptedChannel>(link) : nullptr;
    }

private:
    std::shared_ptr<ScriptedLink> link;
};

// The facade opened on a scripted keyboard answering with these packets.
struct ScriptedKeyboard {
    explicit ScriptedKeyboard(std::deque<Packet> answers = {}) : link(std::make_shared<ScriptedLink>()) {
        link->answers = std::move(answers);
        hwi::setHidPlatform(std::make_unique<ScriptedPlatform>(link));
        FUZZ_CHECK(device.__createDev());
    }
    ~ScriptedKeyboard() {
        device.__closeDev();
        hwi::setHidPlatform(nullptr);
    }

    std::shared_ptr<ScriptedLink> link;
    CTarnHWI device;
};

constexpr int kSlots = 216;

// The words of every slot of the facade's image, each up to its last word in
// use; a definition without codes travels as the empty record, so it reads
// as one.
inline std::vector<std::vector<int>> allWords(CTarnHWI& device) {
    constexpr int capacity = 65536;
    std::vector<int> buffer(capacity);
    std::vector<std::vector<int>> slots;
    for (int slot = 0; slot < kSlots; ++slot) {
        FUZZ_CHECK(device.getKeyConfiguration(slot / 108, slot % 108 + 1, buffer.data(), capacity));
        const int* w = buffer.data();
        const bool known = w[0] >= 0 && w[0] <= 2;
        FUZZ_CHECK(known);
        const int codes = known ? w[w[0] + 1] : 0;  // the count word follows the type's head
        const int used = w[0] == 0 ? 2 + codes : w[0] == 1 ? 3 + codes : 4 + (w[2] ? codes : 2 * codes - 1);
        FUZZ_CHECK(codes >= 0 && used <= capacity);
        if (codes <= 0 || used > capacity)
            slots.push_back({0, 0});
        else
            slots.emplace_back(buffer.begin(), buffer.begin() + used);
    }
    return slots;
}

inline void setAllWords(CTarnHWI& device, std::vector<std::vector<int>>& slots) {
    for (int slot = 0; slot < kSlots; ++slot) {
        std::vector<int>& words = slots[static_cast<size_t>(slot)];
        FUZZ_CHECK(device.setKeyConfiguration(slot / 108, slot % 108 + 1, words.data(), static_cast<int>(words.size())));
    }
}

// Collects the progress values a transfer posts.
class ProgressWindow : public MessageWindow {
public:
    void postMessage(unsigned message, std::uintptr_t wParam, std::intptr_t) override {
        std::lock_guard<std::mutex> lock(mutex);
        if (message == hwi_msg::kProgress)
            values.push_back(wParam);
    }
    std::mutex mutex;
    std::vector<std::uintptr_t> values;
};

}  // namespace fuzz
