// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A MessageWindow for a program without windows: posted messages queue up
// and the main thread takes them one at a time, as a window's message loop
// would, while the transfer runs on a worker thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include <velkorondrix/VelkorOndrix_HWI.h>

namespace ctl {

struct PostedMessage {
    unsigned message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

class QueuedMessageWindow final : public MessageWindow {
public:
    void postMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

    // Blocks until a message is queued, then removes and returns the oldest.
    PostedMessage take();

private:
    std::mutex mutex;
    std::condition_variable posted;
    std::deque<PostedMessage> queue;
};

}  // namespace ctl
