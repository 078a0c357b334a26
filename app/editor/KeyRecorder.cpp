// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "editor/KeyRecorder.h"

#include <algorithm>
#include <string>

#include "profile/KeyboardProfile.h"

namespace {

constexpr int kShift = 16;
constexpr int kLeftShift = 160;
constexpr int kRightShift = 161;
constexpr int kEnter = 13;
constexpr std::uintptr_t kReleaseBit = 0x80000000u;
constexpr std::intptr_t kExtendedBit = 0x01000000;

// Which Shift keys the platform reported down at the last Shift event. They
// belong to the keyboard, not to one editor window: kept for the whole run.
struct ShiftMemory {
    bool left = false;
    bool right = false;
};
ShiftMemory shiftAtLastEvent;

std::wstring pauseText(std::int64_t ms) {
    return L"<" + std::to_wstring(ms) + L" ms>";
}

int itemCount(const ActionList& list) {
    return static_cast<int>(list.items.size());
}

}  // namespace

KeyRecorder::KeyRecorder(const KeyboardProfile& profile)
    : profile_(profile), isKeyDown_(&KeyRecorder::platformKeyIsDown), now_(&Clock::now) {}

void KeyRecorder::start(Target target, ActionList* sequence) {
    target_ = target;
    sequence_ = sequence;
    keyDown_.fill(false);
    sawEvent_ = false;
    lastEventStamp_.reset();
    lastEventCode_ = -1;
}

void KeyRecorder::stop() {
    target_ = Target::None;
    sequence_ = nullptr;
}

// A press belongs to the side that is down now; a release to the side that
// was down at the last Shift event and is up now. Either way it stays Shift
// of neither side when the platform cannot tell.
int KeyRecorder::resolveShift(bool release) {
    const bool left = isKeyDown_(kLeftShift);
    const bool right = isKeyDown_(kRightShift);
    int side = kShift;
    if (!release)
        side = left ? kLeftShift : right ? kRightShift : kShift;
    else
        side = shiftAtLastEvent.left && !left ? kLeftShift : shiftAtLastEvent.right && !right ? kRightShift : kShift;
    shiftAtLastEvent = {left, right};
    return side;
}

// A press of a key believed up, or a release of a key believed down; the
// belief follows. Auto-repeats and releases of keys held before the start
// do not count.
bool KeyRecorder::countsAsChange(int virtualKey, bool release) {
    bool& down = keyDown_[static_cast<std::size_t>(virtualKey)];
    if (down != release)
        return false;
    down = !down;
    return true;
}

int KeyRecorder::appendMacroEvent(int code, std::int64_t elapsedMs) {
    ActionList& macro = *sequence_;
    int added = 0;
    // The pause since the previous hook event, whatever it was; but never
    // before the first item: a macro begins with a key event (a release of a
    // key held before the start would otherwise leave a pause in front).
    if (sawEvent_ && !macro.items.empty() && !macro.isAutoInterval && itemCount(macro) < kMaxMacroItems) {
        macro.setOrAppendItem(itemCount(macro), pauseText(elapsedMs));
        ++added;
    }
    const int limit = macro.isAutoInterval ? kMaxMacroItemsAutoInterval : kMaxMacroItems;
    if (itemCount(macro) < limit) {
        macro.setOrAppendItem(itemCount(macro), profile_.actionItemName(code, true));
        ++added;
    }
    return added;
}

std::int64_t KeyRecorder::pauseSinceLastEvent(Clock::time_point now, std::optional<std::uint32_t> time) const {
    std::int64_t elapsed = 0;
    if (time && lastEventStamp_) {
        // Unsigned subtraction bridges the stamps' wrap-around (every 49.7
        // days); a stamp older than the last one counts as no pause.
        const std::uint32_t step = *time - *lastEventStamp_;
        elapsed = step < 0x80000000u ? step : 0;
    } else {
        elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastEventTime_).count();
    }
    return std::min<std::int64_t>(elapsed, kMaxPauseMs);
}

KeyRecorder::Outcome KeyRecorder::keyEvent(std::uintptr_t wParam, std::intptr_t lParam,
                                           std::optional<std::uint32_t> time) {
    const Clock::time_point now = now_();
    const std::int64_t elapsedMs = pauseSinceLastEvent(now, time);
    const bool release = (wParam & kReleaseBit) != 0;
    int virtualKey = static_cast<int>(wParam & 0xFF);
    if (virtualKey == kShift)
        virtualKey = resolveShift(release);
    int code = (release ? kReleaseFlag : 0) + virtualKey;
    if (virtualKey == kEnter && (lParam & kExtendedBit) != 0)
        code = (release ? kReleaseFlag : 0) + kKeypadEnter;

    Outcome outcome;
    outcome.code = code;
    outcome.newPress = !release && code != lastEventCode_;
    switch (target_) {
    case Target::Combo:
        if (outcome.newPress && sequence_ && itemCount(*sequence_) < kMaxComboKeys) {
            sequence_->setOrAppendItem(itemCount(*sequence_), profile_.actionItemName(code, false));
            outcome.itemsAdded = 1;
        }
        break;
    case Target::Macro:
        if (sequence_ && countsAsChange(virtualKey, release))
            outcome.itemsAdded = appendMacroEvent(code, std::max<std::int64_t>(elapsedMs, 0));
        break;
    case Target::Emulation:
        if (sequence_ && countsAsChange(virtualKey, release) && outcome.newPress
            && itemCount(*sequence_) < kMaxEmulationKeys) {
            sequence_->setOrAppendItem(itemCount(*sequence_), profile_.actionItemName(code, false));
            outcome.itemsAdded = 1;
        }
        break;
    case Target::SingleKey:
    case Target::None:
        break;
    }
    // Every event counts for the next pause, dropped ones included.
    sawEvent_ = true;
    lastEventTime_ = now;
    lastEventStamp_ = time;
    lastEventCode_ = code;
    return outcome;
}

// The platform's headers last: Xlib's macros (None, Bool...) clash with
// ordinary names above.
#if defined(_WIN32)
#include <windows.h>
#elif defined(VELKORONDRIX_HAVE_X11)
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

bool KeyRecorder::platformKeyIsDown(int virtualKey) {
#if defined(_WIN32)
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
#elif defined(VELKORONDRIX_HAVE_X11)
    // Only the two Shift keys are ever asked about.
    if (virtualKey != kLeftShift && virtualKey != kRightShift)
        return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    char keys[32] = {};
    XQueryKeymap(display, keys);
    const KeyCode keycode = XKeysymToKeycode(display, virtualKey == kLeftShift ? XK_Shift_L : XK_Shift_R);
    XCloseDisplay(display);
    return keycode != 0 && (keys[keycode / 8] & (1 << (keycode % 8))) != 0;
#else
    (void)virtualKey;
    return false;
#endif
}
