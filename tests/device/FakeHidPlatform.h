// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A recording HID platform for the device tests: a fixed list of interface
// paths, every report written kept in order, and scripted answers; and a
// fixture with the facade open on it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <tuple>
#include <vector>

#include <velkorondrix/HidPlatform.h>
#include <velkorondrix/VelkorOndrix_HWI.h>

using Bytes = std::vector<unsigned char>;

// What travels over one opened interface.
struct FakeLink {
    std::vector<Bytes> written;  // whole reports, report ID first
    std::deque<Bytes> answers;   // 64-byte packets the keyboard will send
    int failWriteAt = -1;        // index of the first write that fails
    bool brokenWhenEmpty = true; // an empty answer queue fails the read at once

    Bytes packet(size_t i) const { return Bytes(written.at(i).begin() + 1, written.at(i).end()); }
};

class FakeChannel : public hwi::HidChannel {
public:
    explicit FakeChannel(std::shared_ptr<FakeLink> link) : link(std::move(link)) {}
    bool writeReport(const unsigned char* report, int length) override {
        if (link->failWriteAt >= 0 && static_cast<int>(link->written.size()) >= link->failWriteAt)
            return false;
        link->written.emplace_back(report, report + length);
        return true;
    }
    bool readReport(unsigned char* report, int length, int* received, int timeoutMs) override {
        *received = 0;
        if (link->answers.empty()) {
            if (link->brokenWhenEmpty) {
                *received = -1;
                return false;
            }
            // A quiet keyboard: the read honours its timeout.
            std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
            return false;
        }
        Bytes answer = link->answers.front();
        link->answers.pop_front();
        std::memset(report, 0, static_cast<size_t>(length));
        const int n = std::min<int>(static_cast<int>(answer.size()), length - 1);
        std::memcpy(report + 1, answer.data(), static_cast<size_t>(n));
        *received = n + 1;
        return true;
    }

private:
    std::shared_ptr<FakeLink> link;
};

class FakeHidPlatform : public hwi::HidPlatform {
public:
    std::vector<std::wstring> paths;
    std::set<std::wstring> unopenable;
    std::vector<std::wstring> opened;
    std::map<std::wstring, std::shared_ptr<FakeLink>> links;

    std::vector<std::wstring> interfacePaths() override { return paths; }
    std::unique_ptr<hwi::HidChannel> open(const std::wstring& path) override {
        if (unopenable.count(path))
            return nullptr;
        opened.push_back(path);
        return std::make_unique<FakeChannel>(link(path));
    }
    std::shared_ptr<FakeLink> link(const std::wstring& path) {
        auto& l = links[path];
        if (!l)
            l = std::make_shared<FakeLink>();
        return l;
    }
};

// Collects posted messages; safe to post from any thread.
class RecordingWindow : public MessageWindow {
public:
    using Message = std::tuple<unsigned, std::uintptr_t, std::intptr_t>;
    void postMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        std::lock_guard<std::mutex> lock(mutex);
        messages.emplace_back(message, wParam, lParam);
    }
    std::vector<std::uintptr_t> progressValues() {
        std::lock_guard<std::mutex> lock(mutex);
        std::vector<std::uintptr_t> values;
        for (const auto& [message, w, l] : messages)
            if (message == hwi_msg::kProgress && l == 0)
                values.push_back(w);
        return values;
    }

private:
    std::mutex mutex;
    std::vector<Message> messages;
};

// Paths as the system reports them.
inline const std::wstring kKeyboardMi00 = L"\\\\?\\hid#vid_0483&pid_5022&mi_00#7&1a2b&0&0000#{4d1e55b2}";
inline const std::wstring kKeyboardMi01 = L"\\\\?\\hid#vid_0483&pid_5022&mi_01#7&3c4d&0&0000#{4d1e55b2}";

// Installs a fake platform for one test and restores the default afterwards.
struct FakePlatformScope {
    FakeHidPlatform* fake;
    FakePlatformScope() {
        auto platform = std::make_unique<FakeHidPlatform>();
        fake = platform.get();
        hwi::setHidPlatform(std::move(platform));
    }
    ~FakePlatformScope() { hwi::setHidPlatform(nullptr); }
};

// The facade opened on the keyboard's interface 1 (interface 0 listed
// first), with that interface's traffic at hand.
class OpenFakeKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        scope.fake->paths = {kKeyboardMi00, kKeyboardMi01};
        ASSERT_TRUE(device.__createDev());
        link = scope.fake->link(kKeyboardMi01);
    }

    FakePlatformScope scope;
    CTarnHWI device;
    std::shared_ptr<FakeLink> link;
};

inline Bytes packetOf(std::initializer_list<int> head) {
    Bytes p(64, 0);
    size_t i = 0;
    for (int v : head)
        p[i++] = static_cast<unsigned char>(v);
    return p;
}
