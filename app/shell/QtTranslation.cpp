// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/QtTranslation.h"

#include <memory>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// The one installed catalogue; installation is application-wide anyway.
std::unique_ptr<QTranslator>& installed() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

}  // namespace

bool QtTranslation::follow(const std::string& language) {
    std::unique_ptr<QTranslator>& current = installed();
    if (language != "zh-CN") {
        if (current) {
            QCoreApplication::removeTranslator(current.get());
            current.reset();
        }
        return true;
    }
    if (current)
        return true;
    auto chinese = std::make_unique<QTranslator>();
    if (!chinese->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(chinese.get());
    current = std::move(chinese);
    return true;
}

bool QtTranslation::isChinese() {
    return installed() != nullptr;
}
