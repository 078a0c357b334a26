// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "ProgressDisplay.h"

#include <algorithm>
#include <utility>

namespace ctl {

namespace {
constexpr int kBarWidth = 40;
}

ProgressDisplay::ProgressDisplay(std::ostream& out_, std::string label_, int total_, bool terminal_)
    : out(out_), label(std::move(label_)), total(std::max(total_, 1)), terminal(terminal_) {}

void ProgressDisplay::update(int done) {
    const int percent = std::clamp(done, 0, total) * 100 / total;
    if (terminal) {
        if (percent == lastShown)
            return;
        const int filled = percent * kBarWidth / 100;
        out << '\r' << label << " [" << std::string(filled, '#') << std::string(kBarWidth - filled, '-') << "] "
            << percent << '%' << std::flush;
        drawn = true;
        lastShown = percent;
        return;
    }
    // Plain lines: only when another quarter of the way is reached.
    if (percent / 25 > std::max(lastShown, 0) / 25) {
        out << label << ": " << percent << "%\n" << std::flush;
        lastShown = percent;
    }
}

void ProgressDisplay::finish() {
    if (terminal && drawn)
        out << '\n' << std::flush;
    drawn = false;
}

}  // namespace ctl
