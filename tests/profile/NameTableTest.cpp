// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The names and HW codes are part of the profile file format and of what the
// keyboard receives, so the whole table is checked against a second,
// hand-written copy kept here in plain text.
#include "profile/KeyboardProfile.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace {

// code|name, one per line.
constexpr const wchar_t* kExpectedNames = LR"(1|Left mouse button
2|Right mouse button
3|Control-break processing
4|Middle mouse button
5|X1 mouse button
6|X2 mouse button
8|BACKSPACE
9|TAB
10|Reserved
11|Reserved
12|CLEAR
13|ENTER
16|SHIFT
17|Left CTRL
18|Left ALT
19|PAUSE
20|CAPS LOCK
21|IME Hangul mode
23|IME Junja mode
24|IME final mode
25|IME Kanji mode
27|ESC
28|IME convert
29|IME nonconvert
30|IME accept
31|IME mode change request
32|SPACEBAR
33|PAGE UP
34|PAGE DOWN
35|END
36|HOME
37|LEFT ARROW
38|UP ARROW
39|RIGHT ARROW
40|DOWN ARROW
41|SELECT
42|PRINT
43|EXECUTE
44|PRINT SCREEN
45|INS
46|DEL
47|HELP
48|0
49|1
50|2
51|3
52|4
53|5
54|6
55|7
56|8
57|9
65|A
66|B
67|C
68|D
69|E
70|F
71|G
72|H
73|I
74|J
75|K
76|L
77|M
78|N
79|O
80|P
81|Q
82|R
83|S
84|T
85|U
86|V
87|W
88|X
89|Y
90|Z
91|Left Windows
92|Right Windows
93|Applications
94|Reserved
95|Sleep
96|(0)
97|(1)
98|(2)
99|(3)
100|(4)
101|(5)
102|(6)
103|(7)
104|(8)
105|(9)
106|(*)
107|(+)
108|Separator
109|(-)
110|(.)
111|(/)
112|F1
113|F2
114|F3
115|F4
116|F5
117|F6
118|F7
119|F8
120|F9
121|F10
122|F11
123|F12
124|F13
125|F14
126|F15
127|F16
128|F17
129|F18
130|F19
131|F20
132|F21
133|F22
134|F23
135|F24
144|NUM LOCK
145|SCROLL LOCK
160|Left SHIFT
161|Right SHIFT
162|Left CONTROL
163|Right CONTROL
164|Left Alt
165|Right Alt
166|Browser Back
167|Browser Forward
168|Browser Refresh
169|Browser Stop
170|Browser Search
171|Browser Favorites
172|Browser Start and Home
173|Volume Mute
174|Volume Down
175|Volume Up
176|Next Track
177|Previous Track
178|Stop Media
179|Play/Pause Media
180|Start Mail
181|Select Media
182|Start Application 1
183|Start Application 2
186|;
187|+
188|,
189|-
190|.
191|/
192|`
219|[
220|\
221|]
222|'
223|Used for miscellaneous characters; it can vary by keyboard.
224|Reserved
225|OEM specific
226|Either the angle bracket key or the backslash key on the RT 102-key keyboard
229|IME PROCESS
230|OEM specific
231|Used to pass Unicode characters as if they were keystrokes. The VK_PACKET key is the low word of a 32-bit Virtual Key value used for non-keyboard input methods. For more information, see Remark in KEYBDINPUT, SendInput, WM_KEYDOWN, and WM_KEYUP
232|Unassigned
246|Attn
247|CrSel
248|ExSel
249|Erase EOF
250|Play
251|Zoom
252|Reserved
253|PA1
254|Clear
269|(Enter)
331|Wake Up
332|Sleep
333|Power
364|Next track
365|Previous track
366|Stop
367|Play/Pause
368|Mute
369|VolumeUp
370|VolumeDn
371|Media Select
372|E-mail
373|Calculator
374|My computer
375|WWW Search
376|WWW Home
377|WWW Back
378|WWW Forward
379|WWW Stop
380|WWW Refresh
381|WWW Favorities
382|Mouse Left
383|Mouse Right
384|Mouse Up
385|Mouse Down
386|Mouse Key Left
387|Mouse Key Right
388|Mouse Key Middle
389|Mouse Wheel Up
390|Mouse Wheel Dn
391|Backlight Switch
392|Backlight Macro
393|Demonstrate
394|Star shower
395|Riffle
396|Logo Switch
397|Backlight Breathe
398|Breathe Frequence-
399|Breathe Frequence+
400|Backlight Lightness+
401|Backlight Lightness-
402|Sunset or Relax Mode
403|Color Breathe
404|Backlight All Color Regulate
405|6 or N key convert
406|Keyboard Lock
407|Key Response Regulate
408|Ctrl to Caps convert
409|WinLock
410|ScanDelay
411|ReportRate
412|FN
413|DPI+
414|DPI-
415|Programmable Keyboard
455|Left Double Click)";

// The keys by keyboard row: the first HW code of the row, then the names of
// the keys that carry it and the following HW codes.
constexpr const wchar_t* kExpectedHw = LR"(1|ESC|F1|F2|F3|F4|F5|F6|F7|F8|F9|F10|F11|F12
14|`|1|2|3|4|5|6|7|8|9|0|-|+|BACKSPACE
28|TAB|Q|W|E|R|T|Y|U|I|O|P|[|]|\
42|CAPS LOCK|A|S|D|F|G|H|J|K|L|;|'|ENTER
55|Left SHIFT|Z|X|C|V|B|N|M|,|.|/|Right SHIFT
67|Left CONTROL|Left Windows|Left Alt|SPACEBAR|Right Alt|Right Windows|Applications|Right CONTROL
75|Wake Up|Sleep|Power
78|PRINT SCREEN|SCROLL LOCK|PAUSE|INS|HOME|PAGE UP|DEL|END|PAGE DOWN
87|UP ARROW|LEFT ARROW|DOWN ARROW|RIGHT ARROW
91|NUM LOCK|(/)|(*)|(7)|(8)|(9)|(4)|(5)|(6)|(1)|(2)|(3)|(0)|(.)|(-)|(+)|(Enter)
108|Next track|Previous track|Stop|Play/Pause|Mute|VolumeUp|VolumeDn|Media Select|E-mail|Calculator|My computer
119|WWW Search|WWW Home|WWW Back|WWW Forward|WWW Stop|WWW Refresh|WWW Favorities
126|Mouse Left|Mouse Right|Mouse Up|Mouse Down|Mouse Key Left|Mouse Key Right|Mouse Key Middle|Mouse Wheel Up|Mouse Wheel Dn
135|Backlight Switch|Backlight Macro|Demonstrate|Star shower|Riffle|Logo Switch|Backlight Breathe
142|Breathe Frequence-|Breathe Frequence+|Backlight Lightness+|Backlight Lightness-|Sunset or Relax Mode
147|Color Breathe|Backlight All Color Regulate|6 or N key convert|Keyboard Lock|Key Response Regulate
152|Ctrl to Caps convert|WinLock|ScanDelay|ReportRate|FN|DPI+|DPI-|Programmable Keyboard
199|Left Double Click)";

// "first|name|name|..." lines: each name takes the next number.
std::map<int, std::wstring> parseTable(const wchar_t* text) {
    std::map<int, std::wstring> table;
    std::wistringstream lines(text);
    std::wstring line;
    while (std::getline(lines, line)) {
        std::wistringstream fields(line);
        std::wstring field;
        std::getline(fields, field, L'|');
        int number = std::stoi(field);
        while (std::getline(fields, field, L'|')) {
            EXPECT_TRUE(table.emplace(number, field).second) << "twice: " << number;
            ++number;
        }
    }
    return table;
}

// The function code whose name is `name`, for names that belong to one code.
int codeNamed(const std::map<int, std::wstring>& names, const std::wstring& name) {
    int found = 0;
    int matches = 0;
    for (const auto& [code, text] : names) {
        if (text == name) {
            found = code;
            ++matches;
        }
    }
    return matches == 1 ? found : -1;
}

class NameTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        profile = std::make_unique<KeyboardProfile>();
        ASSERT_TRUE(profile->buildNameTables());
    }
    std::unique_ptr<KeyboardProfile> profile;
};

}  // namespace

TEST_F(NameTableTest, EveryNameExactly) {
    const auto expected = parseTable(kExpectedNames);
    ASSERT_EQ(expected.size(), 234u);
    EXPECT_EQ(profile->keyNames.size(), 234u);
    for (const auto& [code, name] : expected) {
        const auto found = profile->keyNames.find(code);
        ASSERT_NE(found, profile->keyNames.end()) << "no name for " << code;
        EXPECT_EQ(found->second, name) << "code " << code;
    }
    EXPECT_EQ(profile->keyNames.at(231).size(), 244u);
}

TEST_F(NameTableTest, EveryHwCodeBothWays) {
    const auto names = parseTable(kExpectedNames);
    const auto expected = parseTable(kExpectedHw);
    ASSERT_EQ(expected.size(), 160u);

    for (const auto& [hw, name] : expected) {
        // "Sleep" names the virtual key 95 too; HW 76 is the device's Sleep.
        const int code = hw == 76 ? 332 : codeNamed(names, name);
        ASSERT_GT(code, 0) << "HW " << hw << " names no single code";
        EXPECT_EQ(profile->hwToCode[hw], code) << "HW " << hw;
        EXPECT_EQ(profile->codeToHw[code], hw) << "code " << code;
        EXPECT_EQ(profile->hwToFunctionCode(hw), code) << "HW " << hw;
        EXPECT_EQ(profile->hwCodeName(hw), name) << "HW " << hw;
    }

    int mappedCodes = 0;
    for (int code = 0; code < KeyboardProfile::kCodeTableSize; ++code) {
        const int hw = profile->codeToHw[code];
        if (hw == 0)
            continue;
        ++mappedCodes;
        EXPECT_TRUE(expected.count(hw)) << "code " << code << " maps to unexpected HW " << hw;
    }
    EXPECT_EQ(mappedCodes, 160);

    for (int hw = 0; hw < KeyboardProfile::kCodeTableSize; ++hw) {
        if (!expected.count(hw)) {
            EXPECT_EQ(profile->hwToCode[hw], 0) << "HW " << hw;
        }
    }
}
