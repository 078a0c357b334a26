// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// Undo and redo by snapshots: the owner settles after each change it makes,
// and every settle that finds a different state keeps the previous one as a
// step. The oldest steps are forgotten beyond the limit.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <utility>

template <typename Snapshot>
class UndoHistory {
public:
    static constexpr std::size_t kDefaultLimit = 100;

    explicit UndoHistory(Snapshot current, std::size_t limit = kDefaultLimit)
        : settled_(std::move(current)), limit_(limit < 1 ? 1 : limit) {}

    // After a change: true when `now` differs from the settled state, which
    // then becomes one undo step; the redo steps are gone.
    bool settle(const Snapshot& now) {
        if (now == settled_) {
            settled_ = now;  // what equality ignores (a view) follows the user
            return false;
        }
        undo_.push_back(std::exchange(settled_, now));
        if (undo_.size() > limit_)
            undo_.pop_front();
        redo_.clear();
        return true;
    }
    // Forgets every step: `current` is where the history starts.
    void reset(Snapshot current) {
        settled_ = std::move(current);
        undo_.clear();
        redo_.clear();
    }
    // The state to restore, or nothing when there is no step. `now` is
    // settled first, so a change not settled yet is the step undone.
    std::optional<Snapshot> undo(const Snapshot& now) {
        settle(now);
        return step(undo_, redo_);
    }
    std::optional<Snapshot> redo(const Snapshot& now) {
        settle(now);  // a new change ends the redo steps
        return step(redo_, undo_);
    }
    std::size_t undoCount() const { return undo_.size(); }
    std::size_t redoCount() const { return redo_.size(); }

private:
    std::optional<Snapshot> step(std::deque<Snapshot>& from, std::deque<Snapshot>& to) {
        if (from.empty())
            return std::nullopt;
        to.push_back(std::exchange(settled_, std::move(from.back())));
        from.pop_back();
        return settled_;
    }

    Snapshot settled_;
    std::deque<Snapshot> undo_;
    std::deque<Snapshot> redo_;
    std::size_t limit_;
};
