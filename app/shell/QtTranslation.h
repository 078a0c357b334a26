// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Qt's own texts (message-box buttons, the file dialogs, the colour chooser,
// the edit fields' context menu) in the program's language. Qt speaks
// English by itself; while the language is "zh-CN" its Chinese catalogue
// qtbase_zh_CN is installed in the application.
#pragma once

#include <string>

class QtTranslation {
public:
    // Installs or removes the Chinese catalogue to match the language.
    // False when "zh-CN" is asked for but the catalogue cannot be loaded:
    // Qt's texts then stay English.
    static bool follow(const std::string& language);
    // True while the Chinese catalogue is installed.
    static bool isChinese();
};
