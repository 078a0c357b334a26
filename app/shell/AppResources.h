// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// What every window shares for the whole run: the skin bitmaps by resource
// number, the dark brush and the 20-font table. CTarnApp owns the instance
// and installs it; windows read it through current(). Without an installed
// instance windows see an empty one (no bitmaps: fallback size, plain drawing).
#pragma once

#include <array>
#include <map>

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QString>

#include "shell/SkinSet.h"

class AppResources {
public:
    static constexpr int kFontCount = 20;
    static constexpr const char* kResourceFileName = "VelkorOndrix_RES.rcc";
    // Every bitmap the windows use, by resource number.
    static constexpr std::array<int, 32> kBitmapNumbers{
        101, 102, 103, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119,
        120, 121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 138, 139, 140, 141};

    AppResources();
    ~AppResources();
    AppResources(const AppResources&) = delete;
    AppResources& operator=(const AppResources&) = delete;

    // darkBrush RGB(20,20,20); font i of pixel height i, 0 the default height,
    // all of the default family.
    void createDrawingObjects();

    // The folder of the resource file and the manual: the program's own
    // folder when the resource file is there (the build tree), otherwise
    // the installed data folder, found relative to the program so that a
    // moved installation still works.
    static QString dataFolder(const QString& programFolder);

    // Registers the resource file; false when it is missing or unreadable.
    bool loadResourceFile(const QString& path);
    void unloadResourceFile();
    bool hasResourceFile() const { return !resourceFile_.isEmpty(); }

    // Loads every bitmap in kBitmapNumbers from ":/skins/<number>.png", and
    // its high-density rendering from ":/skins/<number>@2x.png" where there
    // is one; absent ones stay null. Returns how many 1x bitmaps were found.
    int loadBitmaps();
    void releaseBitmaps();

    // scale 1: "<number>.png"; 2: "<number>@2x.png".
    static QString bitmapPath(int number, int scale = 1);
    const QImage& bitmap(int number) const;  // the 1x pixels, null when absent
    const SkinImage& skinImage(int number) const;
    void setBitmap(int number, QImage image, QImage doubled = {});
    SkinSet skinSet(int background, int hover, int active) const;

    QBrush darkBrush;                             // RGB(20,20,20)
    std::array<QFont, kFontCount> fontTable;      // index = pixel height; 0 default

    static const AppResources& current();
    // nullptr reinstates the empty set. The caller keeps ownership.
    static void install(const AppResources* resources);

private:
    std::map<int, SkinImage> bitmaps_;
    QString resourceFile_;
};
