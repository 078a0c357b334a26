// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The windows the screenshot tool renders. Each entry opens one window (or
// one page of a window) ready to be drawn; the tool renders every entry once
// per language. To add a window, add an entry in ScreenshotCatalogue.cpp.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QWidget>

class KeyboardProfile;
class SystemDialogs;

struct ScreenshotContext {
    KeyboardProfile& profile;  // its language is the one being rendered
    SystemDialogs& dialogs;    // scripted: no dialog ever shows
};

struct ScreenshotEntry {
    std::string name;  // file name: <name>-<language>.png
    std::function<std::unique_ptr<QWidget>(ScreenshotContext&)> open;
};

std::vector<ScreenshotEntry> screenshotCatalogue();
