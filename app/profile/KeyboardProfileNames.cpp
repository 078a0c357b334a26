// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The code and name tables. The names are stored inside combo, macro and
// emulation sequences of saved profiles, so every text here is part of the
// file format: letter case and odd spellings must stay exactly as they are.
#include "profile/KeyboardProfile.h"

#include <iterator>

namespace {

struct NamedCode {
    int code;
    const wchar_t* name;
};

// Named function codes outside the runs generated in buildNameTables()
// (digits, letters, numeric keypad digits, F1..F24).
constexpr NamedCode kNamedCodes[] = {
    // Windows virtual-key codes.
    {1, L"Left mouse button"},
    {2, L"Right mouse button"},
    {3, L"Control-break processing"},
    {4, L"Middle mouse button"},
    {5, L"X1 mouse button"},
    {6, L"X2 mouse button"},
    {8, L"BACKSPACE"},
    {9, L"TAB"},
    {10, L"Reserved"},
    {11, L"Reserved"},
    {12, L"CLEAR"},
    {13, L"ENTER"},
    {16, L"SHIFT"},
    {17, L"Left CTRL"},
    {18, L"Left ALT"},
    {19, L"PAUSE"},
    {20, L"CAPS LOCK"},
    {21, L"IME Hangul mode"},
    {23, L"IME Junja mode"},
    {24, L"IME final mode"},
    {25, L"IME Kanji mode"},
    {27, L"ESC"},
    {28, L"IME convert"},
    {29, L"IME nonconvert"},
    {30, L"IME accept"},
    {31, L"IME mode change request"},
    {32, L"SPACEBAR"},
    {33, L"PAGE UP"},
    {34, L"PAGE DOWN"},
    {35, L"END"},
    {36, L"HOME"},
    {37, L"LEFT ARROW"},
    {38, L"UP ARROW"},
    {39, L"RIGHT ARROW"},
    {40, L"DOWN ARROW"},
    {41, L"SELECT"},
    {42, L"PRINT"},
    {43, L"EXECUTE"},
    {44, L"PRINT SCREEN"},
    {45, L"INS"},
    {46, L"DEL"},
    {47, L"HELP"},
    {91, L"Left Windows"},
    {92, L"Right Windows"},
    {93, L"Applications"},
    {94, L"Reserved"},
    {95, L"Sleep"},
    {106, L"(*)"},
    {107, L"(+)"},
    {108, L"Separator"},
    {109, L"(-)"},
    {110, L"(.)"},
    {111, L"(/)"},
    {144, L"NUM LOCK"},
    {145, L"SCROLL LOCK"},
    {160, L"Left SHIFT"},
    {161, L"Right SHIFT"},
    {162, L"Left CONTROL"},
    {163, L"Right CONTROL"},
    {164, L"Left Alt"},
    {165, L"Right Alt"},
    {166, L"Browser Back"},
    {167, L"Browser Forward"},
    {168, L"Browser Refresh"},
    {169, L"Browser Stop"},
    {170, L"Browser Search"},
    {171, L"Browser Favorites"},
    {172, L"Browser Start and Home"},
    {173, L"Volume Mute"},
    {174, L"Volume Down"},
    {175, L"Volume Up"},
    {176, L"Next Track"},
    {177, L"Previous Track"},
    {178, L"Stop Media"},
    {179, L"Play/Pause Media"},
    {180, L"Start Mail"},
    {181, L"Select Media"},
    {182, L"Start Application 1"},
    {183, L"Start Application 2"},
    {186, L";"},
    {187, L"+"},
    {188, L","},
    {189, L"-"},
    {190, L"."},
    {191, L"/"},
    {192, L"`"},
    {219, L"["},
    {220, L"\\"},
    {221, L"]"},
    {222, L"'"},
    {223, L"Used for miscellaneous characters; it can vary by keyboard."},
    {224, L"Reserved"},
    {225, L"OEM specific"},
    {226, L"Either the angle bracket key or the backslash key on the RT 102-key keyboard"},
    {229, L"IME PROCESS"},
    {230, L"OEM specific"},
    {231, L"Used to pass Unicode characters as if they were keystrokes. The VK_PACKET key is the "
          L"low word of a 32-bit Virtual Key value used for non-keyboard input methods. For more "
          L"information, see Remark in KEYBDINPUT, SendInput, WM_KEYDOWN, and WM_KEYUP"},
    {232, L"Unassigned"},
    {246, L"Attn"},
    {247, L"CrSel"},
    {248, L"ExSel"},
    {249, L"Erase EOF"},
    {250, L"Play"},
    {251, L"Zoom"},
    {252, L"Reserved"},
    {253, L"PA1"},
    {254, L"Clear"},

    // Device-only codes: 256 + HW code.
    {269, L"(Enter)"},
    {331, L"Wake Up"},
    {332, L"Sleep"},
    {333, L"Power"},
    {364, L"Next track"},
    {365, L"Previous track"},
    {366, L"Stop"},
    {367, L"Play/Pause"},
    {368, L"Mute"},
    {369, L"VolumeUp"},
    {370, L"VolumeDn"},
    {371, L"Media Select"},
    {372, L"E-mail"},
    {373, L"Calculator"},
    {374, L"My computer"},
    {375, L"WWW Search"},
    {376, L"WWW Home"},
    {377, L"WWW Back"},
    {378, L"WWW Forward"},
    {379, L"WWW Stop"},
    {380, L"WWW Refresh"},
    {381, L"WWW Favorities"},
    {382, L"Mouse Left"},
    {383, L"Mouse Right"},
    {384, L"Mouse Up"},
    {385, L"Mouse Down"},
    {386, L"Mouse Key Left"},
    {387, L"Mouse Key Right"},
    {388, L"Mouse Key Middle"},
    {389, L"Mouse Wheel Up"},
    {390, L"Mouse Wheel Dn"},
    {391, L"Backlight Switch"},
    {392, L"Backlight Macro"},
    {393, L"Demonstrate"},
    {394, L"Star shower"},
    {395, L"Riffle"},
    {396, L"Logo Switch"},
    {397, L"Backlight Breathe"},
    {398, L"Breathe Frequence-"},
    {399, L"Breathe Frequence+"},
    {400, L"Backlight Lightness+"},
    {401, L"Backlight Lightness-"},
    {402, L"Sunset or Relax Mode"},
    {403, L"Color Breathe"},
    {404, L"Backlight All Color Regulate"},
    {405, L"6 or N key convert"},
    {406, L"Keyboard Lock"},
    {407, L"Key Response Regulate"},
    {408, L"Ctrl to Caps convert"},
    {409, L"WinLock"},
    {410, L"ScanDelay"},
    {411, L"ReportRate"},
    {412, L"FN"},
    {413, L"DPI+"},
    {414, L"DPI-"},
    {415, L"Programmable Keyboard"},
    {455, L"Left Double Click"},
};

// Function code of each key position's HW code 1..107 (entry 0 unused). HW
// codes 108..159 are the device functions 364..415 and 199 is 455.
constexpr int kKeyHwToCode[] = {
    0,
    27,                                                   // 1 ESC
    112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123,  // 2..13 F1..F12
    192,                                                  // 14 grave accent
    49, 50, 51, 52, 53, 54, 55, 56, 57, 48,               // 15..24 digits 1..9, 0
    189, 187, 8, 9,                                       // 25..28 - + BACKSPACE TAB
    81, 87, 69, 82, 84, 89, 85, 73, 79, 80,               // 29..38 Q..P
    219, 221, 220, 20,                                    // 39..42 [ ] \ CAPS LOCK
    65, 83, 68, 70, 71, 72, 74, 75, 76,                   // 43..51 A..L
    186, 222, 13, 160,                                    // 52..55 ; ' ENTER Left SHIFT
    90, 88, 67, 86, 66, 78, 77,                           // 56..62 Z..M
    188, 190, 191, 161,                                   // 63..66 , . / Right SHIFT
    162, 91, 164, 32, 165, 92, 93, 163,                   // 67..74 bottom row
    331, 332, 333,                                        // 75..77 Wake Up, Sleep, Power
    44, 145, 19, 45, 36, 33, 46, 35, 34,                  // 78..86 editing block
    38, 37, 40, 39,                                       // 87..90 arrows
    144, 111, 106, 103, 104, 105, 100, 101, 102,          // 91..99 numeric keypad
    97, 98, 99, 96, 110, 109, 107,                        // 100..106
    269,                                                  // 107 keypad Enter
};

static_assert(std::size(kKeyHwToCode) == 108);
// 70 more names come from the generated runs.
static_assert(std::size(kNamedCodes) + 70 == 234);

constexpr int kDeviceCodeOffset = 256;  // function code of a device-only HW code

}  // namespace

std::wstring KeyboardProfile::inLanguage(const std::string& language, const wchar_t* english,
                                         const wchar_t* chinese) {
    if (language == "en-US")
        return english;
    if (language == "zh-CN")
        return chinese;
    return {};
}

bool KeyboardProfile::buildNameTables() {
    keyNames.clear();
    for (const NamedCode& entry : kNamedCodes)
        keyNames.emplace(entry.code, entry.name);
    for (int i = 0; i < 10; ++i) {
        keyNames.emplace(48 + i, std::wstring(1, static_cast<wchar_t>(L'0' + i)));
        keyNames.emplace(96 + i, L"(" + std::wstring(1, static_cast<wchar_t>(L'0' + i)) + L")");
    }
    for (int i = 0; i < 26; ++i)
        keyNames.emplace(65 + i, std::wstring(1, static_cast<wchar_t>(L'A' + i)));
    for (int i = 0; i < 24; ++i)
        keyNames.emplace(112 + i, L"F" + std::to_wstring(i + 1));

    codeToHw.fill(0);
    for (int hw = 1; hw < 108; ++hw)
        codeToHw[kKeyHwToCode[hw]] = hw;
    for (int hw = 108; hw <= 159; ++hw)
        codeToHw[hw + kDeviceCodeOffset] = hw;
    codeToHw[199 + kDeviceCodeOffset] = 199;

    hwToCode.fill(0);
    for (int code = 0; code < kCodeTableSize; ++code) {
        const int hw = codeToHw[code];
        if (hw > 0 && hw < kCodeTableSize)
            hwToCode[hw] = code;
    }

    modeNamesEn = {L"Not set", L"Single", L"Combo", L"Macro", L"Emulation",
                   L"Multimedia", L"Mouse", L"Function", L"Power"};
    modeNamesZh = {L"未设置", L"单键", L"组合键", L"宏键", L"模拟击键",
                   L"多媒体键", L"鼠标键", L"操控键", L"电源键"};

    language = "en-US";
    return true;
}
