// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The editor's recorder: turns the keyboard hook's key events (message 1126)
// into event codes and appends them, with their pauses, to the sequence being
// recorded. Plain C++: the window only forwards the events and repaints.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

class ActionList;
class KeyboardProfile;

class KeyRecorder {
public:
    using Clock = std::chrono::steady_clock;

    enum class Target { None, SingleKey, Combo, Macro, Emulation };

    // What the keyboard can hold: the recorder drops what goes beyond.
    static constexpr int kMaxComboKeys = 6;
    static constexpr int kMaxEmulationKeys = 6;
    static constexpr int kMaxMacroItems = 127;              // events and pauses
    static constexpr int kMaxMacroItemsAutoInterval = 254;  // events only
    static constexpr int kMaxPauseMs = 6000;

    // Event codes: virtual-key code, +256 for the keypad Enter, +512 for a release.
    static constexpr int kReleaseFlag = 512;
    static constexpr int kKeypadEnter = 269;

    // The outcome of one key event.
    struct Outcome {
        int code = -1;           // its event code
        int itemsAdded = 0;      // items appended to the recorded sequence
        bool newPress = false;   // a press of another key than the last event's
    };

    explicit KeyRecorder(const KeyboardProfile& profile);

    // Starts recording into `sequence` (null for a single-key capture): no
    // key is believed down and no event seen yet.
    void start(Target target, ActionList* sequence);
    void stop();
    Target target() const { return target_; }
    bool isRecording() const { return target_ != Target::None; }

    // One hook event: wParam carries the virtual-key code in its low byte and
    // the release flag in bit 31, lParam the extended-key flag in bit 24.
    // time is the event's own stamp from the window system (ms, wrapping at
    // 2^32): pauses between two stamped events are measured by the stamps,
    // so a window busy painting neither stretches nor squeezes them; other
    // pauses by the clock at handling.
    Outcome keyEvent(std::uintptr_t wParam, std::intptr_t lParam, std::optional<std::uint32_t> time = std::nullopt);

    // Whether a key (160 left Shift, 161 right Shift) is physically down now;
    // the platform's answer by default. Tests replace both.
    void setKeyStateQuery(std::function<bool(int virtualKey)> query) { isKeyDown_ = std::move(query); }
    void setClock(std::function<Clock::time_point()> clock) { now_ = std::move(clock); }

    // Whether the platform reports a key as physically down.
    static bool platformKeyIsDown(int virtualKey);

private:
    int resolveShift(bool release);
    int appendMacroEvent(int code, std::int64_t elapsedMs);
    std::int64_t pauseSinceLastEvent(Clock::time_point now, std::optional<std::uint32_t> time) const;
    bool countsAsChange(int virtualKey, bool release);

    const KeyboardProfile& profile_;
    std::function<bool(int)> isKeyDown_;
    std::function<Clock::time_point()> now_;
    Target target_ = Target::None;
    ActionList* sequence_ = nullptr;
    std::array<bool, 256> keyDown_{};
    bool sawEvent_ = false;  // lastEventTime is set
    Clock::time_point lastEventTime_{};
    std::optional<std::uint32_t> lastEventStamp_;
    int lastEventCode_ = -1;
};
