// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "QueuedMessageWindow.h"

namespace ctl {

void QueuedMessageWindow::postMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    {
        std::lock_guard lock(mutex);
        queue.push_back({message, wParam, lParam});
    }
    posted.notify_one();
}

PostedMessage QueuedMessageWindow::take() {
    std::unique_lock lock(mutex);
    posted.wait(lock, [this] { return !queue.empty(); });
    PostedMessage next = queue.front();
    queue.pop_front();
    return next;
}

}  // namespace ctl
