// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The one document of the configuration program: every key assignment in
// both layers, the key colours, the three libraries, the code and name tables,
// and the device facade through which the device jobs reach the keyboard.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <vector>
#include <string>

#include <velkorondrix/VelkorOndrix_HWI.h>
#include "profile/ActionList.h"
#include "profile/LightArea.h"
#include "profile/ProfileContent.h"
#include "profile/ProfileLoadResult.h"

enum AssignmentMode : int {
    ModeNotSet = 0,
    ModeSingle = 1,
    ModeCombo = 2,
    ModeMacro = 3,
    ModeEmulation = 4,
    ModeMultimedia = 5,
    ModeMouse = 6,
    ModeFunction = 7,
    ModePower = 8,
};

class KeyboardProfile {
public:
    static constexpr int kKeyCount = 108;           // key IDs 1..108
    static constexpr int kSlotCount = ProfileContent::kSlotCount;  // slot = key ID * 2 + level
    static constexpr int kLightAreaCount = ProfileContent::kLightAreaCount;  // entry 0 belongs to no key
    static constexpr int kCodeTableSize = 1024;
    static constexpr int kModeCount = 9;
    // Profile files above this are refused unread: a 254-event macro on
    // every key and a hundred such entries in each library stay below half
    // of it, and a document in memory takes six to thirteen times its file.
    static constexpr std::size_t kMaxProfileFileBytes = std::size_t{32} << 20;

    static constexpr int slot(int keyId, int level) { return keyId * 2 + level; }

    std::string language;                      // "en-US" or "zh-CN"
    std::map<int, std::wstring> keyNames;      // function code -> English name
    std::array<int, kCodeTableSize> codeToHw{};
    std::array<int, kCodeTableSize> hwToCode{};
    std::array<std::wstring, kModeCount> modeNamesZh;
    std::array<std::wstring, kModeCount> modeNamesEn;
    int currentKey = 0;
    int currentLevel = 0;
    ActionList predefinedMacro;
    ActionList predefinedCombo;
    ActionList predefinedEmu;
    std::array<LightArea, kLightAreaCount> lightAreas{};
    std::array<int, kSlotCount> modes{};
    std::array<int, kSlotCount> hwCodes{};
    std::array<ActionList, kSlotCount> sequences;
    CTarnHWI device;                           // destroyed before the sequences
    MessageWindow* notifyWindow = nullptr;     // receives a device job's messages
    std::wstring firmwarePath;

    // Model.
    void resetToDefaults();
    // What a profile file keeps (keys, colours, libraries), taken and put back whole.
    ProfileContent content() const;
    void setContent(const ProfileContent& content);
    // Unsaved changes: the content differs from the point set by
    // markSaved (the program marks each Open and Save, and its start).
    bool hasUnsavedChanges() const { return !(content() == saved_); }
    void markSaved() { saved_ = content(); }

    // Code and name tables.
    bool buildNameTables();
    std::wstring hwCodeName(int hw) const;
    int hwToFunctionCode(int hw) const;
    std::wstring actionItemName(int code, bool withDirection) const;
    int actionItemToHwCode(const std::wstring& text) const;
    std::wstring assignmentSummary(int keyId, int level) const;
    // The text for a language: the English one for "en-US", the Chinese one
    // for "zh-CN", empty for any other language code.
    static std::wstring inLanguage(const std::string& language, const wchar_t* english, const wchar_t* chinese);
    std::wstring inLanguage(const wchar_t* english, const wchar_t* chinese) const {
        return inLanguage(language, english, chinese);
    }

    // Profile file (XML). Both return false on failure; a failed load leaves
    // the profile as it was, a failed save leaves the previous file in place.
    // A file that is not well-formed XML is refused whole.
    bool saveProfile(const std::filesystem::path& path) const;
    bool loadProfile(const std::filesystem::path& path);
    // The same load, saying what was wrong: the line and column of the
    // first XML error, the size limit, or the system's reason.
    ProfileLoadResult loadProfileFile(const std::filesystem::path& path);

    // Translation to and from the keyboard, run by the device jobs.
    // Each returns false when the transfer failed; a failed read leaves the
    // profile unchanged.
    bool writeKeysToDevice(MessageWindow* window);
    bool writeLightsToDevice();
    bool readKeysFromDevice(MessageWindow* window);
    bool readLightsFromDevice();
    // The same reads through this profile's keyboard into another profile
    // (its assignments and colours), leaving this one as it is: how the
    // keyboard's contents are kept before a write and read back after it.
    bool readKeysFromDevice(MessageWindow* window, KeyboardProfile& into);
    bool readLightsFromDevice(KeyboardProfile& into);
    // The key-definition words a write sends for a slot; empty when the
    // slot travels as the empty record (not set).
    std::vector<int> keyDefinitionWords(int slot) const;

private:
    ProfileContent saved_;
};
