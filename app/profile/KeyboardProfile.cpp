// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "profile/KeyboardProfile.h"

#include <climits>
#include <cwchar>

namespace {

const std::wstring kNoName = L"-- --";
constexpr int kReleaseBit = 512;  // added to a function code for a key release
constexpr int kKeyCodeMask = 0x1FF;
constexpr std::size_t kSummaryLimit = 120;

bool endsWith(const std::wstring& text, const std::wstring& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A pause item "<%d ms>" holds its milliseconds between the first character
// and the last four. Parsed like the C runtime's text-to-long of a 32-bit
// long: leading blanks and a sign allowed, stops at the first non-digit,
// saturates instead of wrapping.
int delayOfItem(const std::wstring& text) {
    if (text.size() < 5)
        return 0;
    const std::wstring digits = text.substr(1, text.size() - 5);
    const long long value = std::wcstoll(digits.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// How a macro item reads in the one-line summary: a pause shows its number,
// a press or release just the key's name.
std::wstring shortMacroItem(const std::wstring& item) {
    if (item.size() > 4 && item.front() == L'<' && item.back() == L'>')
        return item.substr(1, item.size() - 5);
    if (item.size() > 5 && endsWith(item, L" Down"))
        return item.substr(0, item.size() - 5);
    if (item.size() > 3 && endsWith(item, L" UP"))
        return item.substr(0, item.size() - 3);
    return item;
}

}  // namespace

void KeyboardProfile::resetToDefaults() {
    const auto resetLibrary = [](ActionList& library, int sizeOfView) {
        library.clearList();
        library.sizeOfView = sizeOfView;
    };
    resetLibrary(predefinedMacro, 9);
    resetLibrary(predefinedCombo, 6);
    resetLibrary(predefinedEmu, 9);

    lightAreas.fill(LightArea{});

    for (int keyId = 0; keyId <= kKeyCount; ++keyId) {
        for (int level = 0; level < 2; ++level) {
            const int index = slot(keyId, level);
            modes[index] = ModeNotSet;
            hwCodes[index] = keyId;  // placeholder; mode 0 never reads it
            sequences[index].clearList();
        }
    }
}

ProfileContent KeyboardProfile::content() const {
    return {modes, hwCodes, sequences, lightAreas, predefinedMacro, predefinedCombo, predefinedEmu};
}

void KeyboardProfile::setContent(const ProfileContent& content) {
    modes = content.modes;
    hwCodes = content.hwCodes;
    sequences = content.sequences;
    lightAreas = content.lightAreas;
    predefinedMacro = content.predefinedMacro;
    predefinedCombo = content.predefinedCombo;
    predefinedEmu = content.predefinedEmu;
}

std::wstring KeyboardProfile::hwCodeName(int hw) const {
    if (hw >= kCodeTableSize)
        return kNoName;
    const int code = hw < 0 ? -1 : hwToCode[hw];
    const auto found = keyNames.find(code & kKeyCodeMask);
    return found == keyNames.end() ? kNoName : found->second;
}

int KeyboardProfile::hwToFunctionCode(int hw) const {
    if (hw < 0)
        return -1;
    if (hw >= kCodeTableSize)
        return 0;
    return hwToCode[hw];
}

std::wstring KeyboardProfile::actionItemName(int code, bool withDirection) const {
    // A negative number is no key event; its low bits would name an unrelated key.
    if (code < 0)
        return kNoName;
    const auto found = keyNames.find(code & kKeyCodeMask);
    if (found == keyNames.end())
        return kNoName;
    if (!withDirection)
        return found->second;
    return found->second + (code < kReleaseBit ? L" Down" : L" UP");
}

int KeyboardProfile::actionItemToHwCode(const std::wstring& text) const {
    if (text.find(L"ms>") != std::wstring::npos)
        return delayOfItem(text);
    // The first name that matches in any form wins, so a name shared by two
    // codes resolves to the lower one.
    for (const auto& [code, name] : keyNames) {
        if (text == name || text == name + L" UP" || text == name + L" Down") {
            if (code < 0 || code >= kCodeTableSize)
                return 0;
            return codeToHw[code];
        }
    }
    return 0;
}

std::wstring KeyboardProfile::assignmentSummary(int keyId, int level) const {
    if (keyId < 0 || keyId > kKeyCount || level < 0 || level > 1)
        return {};
    const int index = slot(keyId, level);
    const ActionList& sequence = sequences[index];
    std::wstring summary;

    switch (modes[index]) {
    case ModeCombo:
    case ModeEmulation:
        for (std::size_t i = 0; i < sequence.items.size(); ++i) {
            if (i > 0)
                summary += L" | ";
            summary += sequence.items[i];
        }
        return summary;
    case ModeMacro:
        for (std::size_t i = 0; i < sequence.items.size(); ++i) {
            if (i > 0)
                summary += L",";
            summary += shortMacroItem(sequence.items[i]);
            if (summary.size() > kSummaryLimit) {
                summary += L" ... ...";
                break;
            }
        }
        return summary;
    case ModeSingle:
    case ModeMultimedia:
    case ModeMouse:
    case ModeFunction:
    case ModePower:
        return hwCodeName(hwCodes[index]);
    default:
        return {};
    }
}
