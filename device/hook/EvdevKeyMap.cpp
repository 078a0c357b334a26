// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "EvdevKeyMap.h"

#include <array>

namespace {

struct Entry {
    std::uint8_t vk;
    std::uint16_t scan;
    bool extended;
    std::uint8_t vkNumLockOff;  // keypad keys only; 0 elsewhere
};

constexpr bool kExt = true;

// Index: evdev code (linux/input-event-codes.h). The first 88 evdev codes are
// the set-1 scan codes themselves.
constexpr std::array<Entry, EvdevKeyMap::kCodeCount> makeTable() {
    std::array<Entry, EvdevKeyMap::kCodeCount> t{};
    auto set = [&t](int code, std::uint8_t vk, std::uint16_t scan, bool extended = false) {
        t[code] = Entry{vk, scan, extended, 0};
    };
    auto keypad = [&t](int code, std::uint8_t vkOn, std::uint8_t vkOff) {
        t[code] = Entry{vkOn, static_cast<std::uint16_t>(code), false, vkOff};
    };

    // Main block.
    set(1, 0x1B, 0x01);  // Esc
    const std::uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
    for (int i = 0; i < 10; ++i)
        set(2 + i, digits[i], static_cast<std::uint16_t>(2 + i));
    set(12, 0xBD, 12);  // - (VK_OEM_MINUS)
    set(13, 0xBB, 13);  // = (VK_OEM_PLUS)
    set(14, 0x08, 14);  // Backspace
    set(15, 0x09, 15);  // Tab
    const char row1[] = "QWERTYUIOP";
    for (int i = 0; i < 10; ++i)
        set(16 + i, static_cast<std::uint8_t>(row1[i]), static_cast<std::uint16_t>(16 + i));
    set(26, 0xDB, 26);  // [
    set(27, 0xDD, 27);  // ]
    set(28, 0x0D, 28);  // Enter
    set(29, 0xA2, 29);  // Left Ctrl
    const char row2[] = "ASDFGHJKL";
    for (int i = 0; i < 9; ++i)
        set(30 + i, static_cast<std::uint8_t>(row2[i]), static_cast<std::uint16_t>(30 + i));
    set(39, 0xBA, 39);  // ;
    set(40, 0xDE, 40);  // '
    set(41, 0xC0, 41);  // `
    set(42, 0xA0, 42);  // Left Shift
    set(43, 0xDC, 43);  // backslash
    const char row3[] = "ZXCVBNM";
    for (int i = 0; i < 7; ++i)
        set(44 + i, static_cast<std::uint8_t>(row3[i]), static_cast<std::uint16_t>(44 + i));
    set(51, 0xBC, 51);  // ,
    set(52, 0xBE, 52);  // .
    set(53, 0xBF, 53);  // /
    set(54, 0xA1, 54);  // Right Shift
    set(55, 0x6A, 55);  // keypad *
    set(56, 0xA4, 56);  // Left Alt
    set(57, 0x20, 57);  // Space
    set(58, 0x14, 58);  // Caps Lock
    for (int i = 0; i < 10; ++i)  // F1..F10
        set(59 + i, static_cast<std::uint8_t>(0x70 + i), static_cast<std::uint16_t>(59 + i));
    set(69, 0x90, 0x45, kExt);  // Num Lock: the hook marks it extended
    set(70, 0x91, 70);         // Scroll Lock

    // Keypad: NumLock on, NumLock off.
    keypad(71, 0x67, 0x24);  // 7 / Home
    keypad(72, 0x68, 0x26);  // 8 / Up
    keypad(73, 0x69, 0x21);  // 9 / Page Up
    set(74, 0x6D, 74);       // keypad -
    keypad(75, 0x64, 0x25);  // 4 / Left
    keypad(76, 0x65, 0x0C);  // 5 / Clear
    keypad(77, 0x66, 0x27);  // 6 / Right
    set(78, 0x6B, 78);       // keypad +
    keypad(79, 0x61, 0x23);  // 1 / End
    keypad(80, 0x62, 0x28);  // 2 / Down
    keypad(81, 0x63, 0x22);  // 3 / Page Down
    keypad(82, 0x60, 0x2D);  // 0 / Insert
    keypad(83, 0x6E, 0x2E);  // . / Delete

    set(86, 0xE2, 0x56);  // the extra key of 102-key layouts
    set(87, 0x7A, 0x57);  // F11
    set(88, 0x7B, 0x58);  // F12
    set(92, 0x1C, 0x79);  // Henkan (convert)
    set(94, 0x1D, 0x7B);  // Muhenkan (nonconvert)
    set(96, 0x0D, 0x1C, kExt);   // keypad Enter
    set(97, 0xA3, 0x1D, kExt);   // Right Ctrl
    set(98, 0x6F, 0x35, kExt);   // keypad /
    set(99, 0x2C, 0x37, kExt);   // Print Screen
    set(100, 0xA5, 0x38, kExt);  // Right Alt

    // Navigation block.
    set(102, 0x24, 0x47, kExt);  // Home
    set(103, 0x26, 0x48, kExt);  // Up
    set(104, 0x21, 0x49, kExt);  // Page Up
    set(105, 0x25, 0x4B, kExt);  // Left
    set(106, 0x27, 0x4D, kExt);  // Right
    set(107, 0x23, 0x4F, kExt);  // End
    set(108, 0x28, 0x50, kExt);  // Down
    set(109, 0x22, 0x51, kExt);  // Page Down
    set(110, 0x2D, 0x52, kExt);  // Insert
    set(111, 0x2E, 0x53, kExt);  // Delete

    set(113, 0xAD, 0x20, kExt);  // Mute
    set(114, 0xAE, 0x2E, kExt);  // Volume Down
    set(115, 0xAF, 0x30, kExt);  // Volume Up
    set(119, 0x13, 0x45);        // Pause (E1-prefixed, not extended)
    set(121, 0x6C, 0x7E);        // keypad comma (separator)
    set(122, 0x15, 0x72);        // Hangeul
    set(123, 0x19, 0x71);        // Hanja
    set(125, 0x5B, 0x5B, kExt);  // Left Windows
    set(126, 0x5C, 0x5C, kExt);  // Right Windows
    set(127, 0x5D, 0x5D, kExt);  // Compose: the Applications key
    set(128, 0xA9, 0x68, kExt);  // Browser Stop
    set(138, 0x2F, 0x63);        // Help
    set(139, 0x5D, 0x5D, kExt);  // Menu: also reported as Applications
    set(140, 0xB7, 0x21, kExt);  // Calculator (Launch App 2)
    set(142, 0x5F, 0x5F, kExt);  // Sleep
    set(144, 0xB6, 0x6B, kExt);  // File browser: My Computer (Launch App 1)
    set(155, 0xB4, 0x6C, kExt);  // Mail
    set(156, 0xAB, 0x66, kExt);  // Browser Favorites
    set(157, 0xB6, 0x6B, kExt);  // My Computer (Launch App 1)
    set(158, 0xA6, 0x6A, kExt);  // Browser Back
    set(159, 0xA7, 0x69, kExt);  // Browser Forward
    set(163, 0xB0, 0x19, kExt);  // Next Track
    set(164, 0xB3, 0x22, kExt);  // Play/Pause
    set(165, 0xB1, 0x10, kExt);  // Previous Track
    set(166, 0xB2, 0x24, kExt);  // Stop Media
    set(171, 0xB5, 0x6D, kExt);  // Consumer control configuration: Media Select
    set(172, 0xAC, 0x32, kExt);  // Browser Home
    set(173, 0xA8, 0x67, kExt);  // Browser Refresh

    // F13..F24.
    const std::uint16_t fScan[] = {0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x76};
    for (int i = 0; i < 12; ++i)
        set(183 + i, static_cast<std::uint8_t>(0x7C + i), fScan[i]);

    set(200, 0xB3, 0x22, kExt);  // Play (CD): Play/Pause
    set(201, 0xB3, 0x22, kExt);  // Pause (CD): Play/Pause
    set(207, 0xFA, 0);           // Play
    set(210, 0x2A, 0);           // Print
    set(215, 0xB4, 0x6C, kExt);  // E-mail
    set(217, 0xAA, 0x65, kExt);  // Search
    set(226, 0xB5, 0x6D, kExt);  // Media
    return t;
}

constexpr std::array<Entry, EvdevKeyMap::kCodeCount> kTable = makeTable();

}  // namespace

EvdevKey EvdevKeyMap::lookup(int evdevCode, bool numLockOn) {
    if (evdevCode < 0 || evdevCode >= kCodeCount)
        return {};
    const Entry& e = kTable[static_cast<std::size_t>(evdevCode)];
    EvdevKey key;
    key.vk = (e.vkNumLockOff != 0 && !numLockOn) ? e.vkNumLockOff : e.vk;
    key.scanCode = e.scan;
    key.extended = e.extended;
    return key;
}
