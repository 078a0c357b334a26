// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/SummaryBox.h"

#include <QPalette>

#include "profile/KeyboardProfile.h"
#include "shell/AppResources.h"

namespace {

constexpr int kFontIndex = 13;

// The colon after a layer's name is the full-width one in both languages.
constexpr const wchar_t* kBannerZh = L"Velkor Ondrix 编程软件 [版本 1.0.1]";
constexpr const wchar_t* kBannerEn = L"Velkor Ondrix KEYBOARD DRIVER [Ver 1.0.1]";
constexpr const wchar_t* kLevel0Zh = L"\r\n\r\n上档键\uFF1A";
constexpr const wchar_t* kLevel1Zh = L"\r\n下档键\uFF1A";
constexpr const wchar_t* kLevel0En = L"\r\n\r\nKey settings L1\uFF1A";
constexpr const wchar_t* kLevel1En = L"\r\nKey settings L2\uFF1A";

const std::wstring& modeName(const std::array<std::wstring, KeyboardProfile::kModeCount>& names, int mode) {
    static const std::wstring none;
    return mode >= 0 && mode < KeyboardProfile::kModeCount ? names[static_cast<std::size_t>(mode)] : none;
}

}  // namespace

SummaryBox::SummaryBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    // Never a caret, never the focus: the box only shows.
    setTextInteractionFlags(Qt::NoTextInteraction);
    setFocusPolicy(Qt::NoFocus);
    setCursorWidth(0);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setContextMenuPolicy(Qt::NoContextMenu);
    setObjectName(QStringLiteral("summaryBox"));

    const AppResources& resources = AppResources::current();
    setFont(resources.fontTable[kFontIndex]);
    QPalette colours = palette();
    colours.setColor(QPalette::Text, QColor(255, 111, 0));
    colours.setBrush(QPalette::Base, resources.darkBrush.style() == Qt::NoBrush ? QBrush(QColor(20, 20, 20))
                                                                                : resources.darkBrush);
    setPalette(colours);
}

std::wstring SummaryBox::bannerText(const KeyboardProfile& profile) {
    if (profile.language == "zh-CN")
        return kBannerZh;
    if (profile.language == "en-US")
        return kBannerEn;
    return {};
}

std::wstring SummaryBox::keySummaryText(const KeyboardProfile& profile, int keyId) {
    const bool zh = profile.language == "zh-CN";
    if (!zh && profile.language != "en-US")
        return {};
    std::wstring text = bannerText(profile);
    text += zh ? kLevel0Zh : kLevel0En;
    text += layerSummaryText(profile, keyId, 0) + L"\r\n";
    text += zh ? kLevel1Zh : kLevel1En;
    text += layerSummaryText(profile, keyId, 1) + L"\r\n";
    return text;
}

std::wstring SummaryBox::layerSummaryText(const KeyboardProfile& profile, int keyId, int level) {
    const auto& names = profile.language == "zh-CN" ? profile.modeNamesZh : profile.modeNamesEn;
    const int mode = profile.modes[static_cast<std::size_t>(KeyboardProfile::slot(keyId, level))];
    return modeName(names, mode) + L" " + profile.assignmentSummary(keyId, level);
}

void SummaryBox::setText(const std::wstring& text) {
    if (text == text_)
        return;
    text_ = text;
    // The box breaks lines at '\n' alone.
    QString shown = QString::fromStdWString(text);
    shown.remove(QLatin1Char('\r'));
    setPlainText(shown);
}

void SummaryBox::refresh(const KeyboardProfile& profile, int keyId) {
    // A language without texts composes nothing and leaves the box alone.
    const bool onKey = keyId >= 1 && keyId <= KeyboardProfile::kKeyCount;
    const std::wstring text = onKey ? keySummaryText(profile, keyId) : bannerText(profile);
    if (!text.empty())
        setText(text);
}

void SummaryBox::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    setCursorWidth(0);
}
