// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A MessageWindow for tests: collects posted messages and lets the test
// wait for them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include <velkorondrix/VelkorOndrix_HWI.h>

struct PostedMessage {
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
};

class MessageQueue : public MessageWindow {
public:
    void postMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        {
            std::lock_guard lock(mutex);
            queue.push_back({message, wParam, lParam});
        }
        arrived.notify_all();
    }

    // Waits until `count` messages are queued (or the timeout passes) and
    // takes up to that many.
    std::vector<PostedMessage> take(std::size_t count,
                                    std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) {
        std::unique_lock lock(mutex);
        arrived.wait_for(lock, timeout, [&] { return queue.size() >= count; });
        std::vector<PostedMessage> taken;
        while (!queue.empty() && taken.size() < count) {
            taken.push_back(queue.front());
            queue.pop_front();
        }
        return taken;
    }

    // Everything queued so far, after letting stragglers arrive for `settle`.
    std::vector<PostedMessage> drain(std::chrono::milliseconds settle = std::chrono::milliseconds(0)) {
        if (settle.count() > 0) {
            std::unique_lock lock(mutex);
            arrived.wait_for(lock, settle, [] { return false; });
        }
        std::lock_guard lock(mutex);
        std::vector<PostedMessage> taken(queue.begin(), queue.end());
        queue.clear();
        return taken;
    }

private:
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<PostedMessage> queue;
};
