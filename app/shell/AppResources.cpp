// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/AppResources.h"

#include <QDir>
#include <QFileInfo>
#include <QResource>

namespace {
const AppResources* installed = nullptr;
}

AppResources::AppResources() = default;

AppResources::~AppResources() {
    if (installed == this)
        installed = nullptr;
    unloadResourceFile();
}

void AppResources::createDrawingObjects() {
    darkBrush = QBrush(QColor(20, 20, 20));
    // Entry 0 keeps the default height; the family is always the default one.
    fontTable[0] = QFont();
    for (int i = 1; i < kFontCount; ++i) {
        QFont font;
        font.setPixelSize(i);
        fontTable[i] = font;
    }
}

QString AppResources::dataFolder(const QString& programFolder) {
    const QDir program(programFolder);
    if (QFileInfo::exists(program.filePath(QLatin1String(kResourceFileName))))
        return program.path();
    return QDir::cleanPath(program.filePath(QStringLiteral(VELKORONDRIX_DATA_FROM_PROGRAM)));
}

bool AppResources::loadResourceFile(const QString& path) {
    unloadResourceFile();
    if (!QFileInfo::exists(path) || !QResource::registerResource(path))
        return false;
    resourceFile_ = path;
    return true;
}

void AppResources::unloadResourceFile() {
    if (resourceFile_.isEmpty())
        return;
    QResource::unregisterResource(resourceFile_);
    resourceFile_.clear();
}

QString AppResources::bitmapPath(int number, int scale) {
    if (scale == 1)
        return QStringLiteral(":/skins/%1.png").arg(number);
    return QStringLiteral(":/skins/%1@%2x.png").arg(number).arg(scale);
}

int AppResources::loadBitmaps() {
    int found = 0;
    for (int number : kBitmapNumbers) {
        QImage image(bitmapPath(number));
        if (image.isNull())
            continue;
        setBitmap(number, std::move(image), QImage(bitmapPath(number, 2)));
        ++found;
    }
    return found;
}

void AppResources::releaseBitmaps() {
    bitmaps_.clear();
}

const QImage& AppResources::bitmap(int number) const {
    return skinImage(number).image();
}

const SkinImage& AppResources::skinImage(int number) const {
    static const SkinImage none;
    const auto it = bitmaps_.find(number);
    return it == bitmaps_.end() ? none : it->second;
}

void AppResources::setBitmap(int number, QImage image, QImage doubled) {
    // One opaque pixel format, so colour-key comparisons and copies are exact.
    for (QImage* pixels : {&image, &doubled})
        if (!pixels->isNull() && pixels->format() != QImage::Format_RGB32)
            *pixels = pixels->convertToFormat(QImage::Format_RGB32);
    bitmaps_[number] = SkinImage(std::move(image), std::move(doubled));
}

SkinSet AppResources::skinSet(int background, int hover, int active) const {
    return {skinImage(background), skinImage(hover), skinImage(active)};
}

const AppResources& AppResources::current() {
    if (installed)
        return *installed;
    static AppResources empty;
    static const bool ready = (empty.createDrawingObjects(), true);
    (void)ready;
    return empty;
}

void AppResources::install(const AppResources* resources) {
    installed = resources;
}
