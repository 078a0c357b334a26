// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The read-only text box under the main window's keyboard (control 1001):
// the version banner, or what the key under the mouse does in both layers.
#pragma once

#include <string>

#include <QPlainTextEdit>

class KeyboardProfile;

class SummaryBox : public QPlainTextEdit {
    Q_OBJECT
public:
    static constexpr int kId = 1001;

    explicit SummaryBox(QWidget* parent = nullptr);

    // The banner for the profile's language; empty for an unknown language.
    static std::wstring bannerText(const KeyboardProfile& profile);
    // Both layers of key keyId, as the box shows them; empty for an unknown
    // language.
    static std::wstring keySummaryText(const KeyboardProfile& profile, int keyId);
    // One layer of key keyId: its mode's name and its assignment.
    static std::wstring layerSummaryText(const KeyboardProfile& profile, int keyId, int level);

    // The box's text exactly as composed (line breaks "\r\n").
    const std::wstring& text() const { return text_; }
    // Replaces the text only when it differs, so an unchanged box is not
    // redrawn at every paint of the window.
    void setText(const std::wstring& text);

    // The box after a paint of the main window: the key text while the mouse
    // rests on key keyId (> 0), the banner otherwise.
    void refresh(const KeyboardProfile& profile, int keyId);

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    std::wstring text_;
};
