// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The main window's notification-area icon. Shown only while the window is
// hidden; its mouse events reach the window as posted tray messages (1125)
// with the icon number and the mouse message, so the window handles them
// like every other posted message.
#pragma once

#include <memory>

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

class MessageWindow;

class TrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kIconId = 128;
    // The mouse messages a tray message carries in lParam.
    static constexpr unsigned kLeftButtonUp = 0x0202;
    static constexpr unsigned kLeftButtonDoubleClick = 0x0203;
    static constexpr unsigned kRightButtonUp = 0x0205;
    static constexpr unsigned kMiddleButtonUp = 0x0208;

    // The description is fixed here; nothing is shown until add().
    TrayIcon(MessageWindow& owner, QIcon icon, QObject* parent = nullptr);
    ~TrayIcon() override;

    static QString toolTip() { return QStringLiteral("Brant"); }
    // Whether the desktop has a notification area; decided when the icon is
    // made and overridable (tests, desktops that misreport it).
    bool isAvailable() const { return available_; }
    void setAvailable(bool available) { available_ = available; }

    // Both harmless when there is nothing to do.
    void add();
    void remove();
    bool isShown() const { return shown_ != nullptr; }

    static unsigned mouseMessageFor(QSystemTrayIcon::ActivationReason reason);

private:
    MessageWindow& owner_;
    QIcon icon_;
    bool available_;
    std::unique_ptr<QSystemTrayIcon> shown_;
};
