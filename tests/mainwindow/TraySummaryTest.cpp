// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The main window's summary box and tray icon: the key text under the mouse
// in both languages, hiding to the tray and coming back, the tray menu, and
// desktops without a tray.
#include <QCoreApplication>

#include "MainWindowFixture.h"
#include "shell/SummaryBox.h"
#include "shell/TrayIcon.h"

namespace {

using TraySummaryTest = MainWindowFixture;

const std::wstring kEnglishBanner = L"Velkor Ondrix KEYBOARD DRIVER [Ver 1.0.1]";
const std::wstring kChineseBanner = L"Velkor Ondrix 编程软件 [版本 1.0.1]";

// Key 20: a single key in level 0, a combo in level 1.
void assignKey20(KeyboardProfile& profile) {
    profile.modes[KeyboardProfile::slot(20, 0)] = ModeSingle;
    profile.hwCodes[KeyboardProfile::slot(20, 0)] = 43;
    ActionList& combo = profile.sequences[KeyboardProfile::slot(20, 1)];
    profile.modes[KeyboardProfile::slot(20, 1)] = ModeCombo;
    combo.setOrAppendItem(20000, L"A");
    combo.setOrAppendItem(20000, L"BACKSPACE");
}

void postTray(CTarnDlg& window, std::uintptr_t icon, std::intptr_t mouse) {
    window.postMessage(hwi_msg::kTrayCallback, icon, mouse);
    QCoreApplication::sendPostedEvents(&window);
}

// ---- Summary box -----------------------------------------------------------------

TEST_F(TraySummaryTest, SummaryFollowsTheMouseInBothLanguages) {
    auto window = openWindow();
    assignKey20(*profile);
    const SummaryBox& box = window->summaryBox();
    EXPECT_EQ(box.text(), kEnglishBanner);
    EXPECT_EQ(box.geometry(), QRect(27, 506, 933, 144));
    EXPECT_TRUE(box.isReadOnly());

    window->hitTestControls(keyCentre(*window, 20));
    window->grab();
    EXPECT_EQ(box.text(), L"Velkor Ondrix KEYBOARD DRIVER [Ver 1.0.1]\r\n\r\n"
                          L"Key settings L1：Single A\r\n"
                          L"\r\nKey settings L2：Combo A | BACKSPACE\r\n");
    // Both layers, whichever one the keyboard shows.
    click(*window, CTarnDlg::kLayer);
    window->hitTestControls(keyCentre(*window, 20));
    window->grab();
    EXPECT_NE(box.text().find(L"L1：Single A"), std::wstring::npos);

    // The language switch shows at the next paint, mouse still on the key.
    click(*window, CTarnDlg::kLanguage);
    window->hitTestControls(keyCentre(*window, 20));
    window->grab();
    EXPECT_EQ(box.text(), L"Velkor Ondrix 编程软件 [版本 1.0.1]\r\n\r\n"
                          L"上档键：单键 A\r\n"
                          L"\r\n下档键：组合键 A | BACKSPACE\r\n");

    // Off the keys (a command, the background) the banner is back.
    window->hitTestControls(centreOf(*window->controlById(CTarnDlg::kSave)));
    window->grab();
    EXPECT_EQ(box.text(), kChineseBanner);
    window->hitTestControls(keyCentre(*window, 21));
    window->grab();
    EXPECT_EQ(box.text(), kChineseBanner + L"\r\n\r\n上档键：未设置 \r\n\r\n下档键：未设置 \r\n");
    window->hitTestControls(QPoint(120, 190));
    window->grab();
    EXPECT_EQ(box.text(), kChineseBanner);
}

// ---- Tray icon ------------------------------------------------------------------

TEST_F(TraySummaryTest, HideToTrayAndBackByDoubleClick) {
    auto window = openWindow();
    window->trayIcon().setAvailable(true);
    const QPoint position = window->pos();

    click(*window, CTarnDlg::kHideToTray);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->trayIcon().isShown());
    EXPECT_EQ(TrayIcon::toolTip(), QStringLiteral("Brant"));

    // A single click, or another icon's messages, change nothing.
    postTray(*window, TrayIcon::kIconId, TrayIcon::kLeftButtonUp);
    EXPECT_FALSE(window->trayMessage(129, TrayIcon::kLeftButtonDoubleClick));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->trayIcon().isShown());

    postTray(*window, TrayIcon::kIconId, TrayIcon::kLeftButtonDoubleClick);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->trayIcon().isShown());
    EXPECT_EQ(window->pos(), position);
    EXPECT_TRUE(dialogs.requests().empty());
}

TEST_F(TraySummaryTest, TrayMenuExitEndsTheProgramInChinese) {
    auto window = openWindow();
    window->trayIcon().setAvailable(true);
    CTarnDlg& w = *window;
    click(w, CTarnDlg::kLanguage);
    dialogs.queueMenuChoice(CTarnDlg::kTrayMenuExit);
    runWindow(w, {{50, [&w] { click(w, CTarnDlg::kHideToTray); }},
                  {150, [&w] { postTray(w, TrayIcon::kIconId, TrayIcon::kRightButtonUp); }}});

    const auto menus = dialogs.requestsOf(FakeSystemDialogs::Kind::Menu);
    ASSERT_EQ(menus.size(), 1u);
    ASSERT_EQ(menus[0].menu.size(), 1u);
    EXPECT_EQ(menus[0].menu[0].text, L"关闭");
    EXPECT_EQ(menus[0].menu[0].command, CTarnDlg::kTrayMenuExit);
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_FALSE(w.trayIcon().isShown());
}

TEST_F(TraySummaryTest, TrayMenuDismissedKeepsTheIconInEnglish) {
    auto window = openWindow();
    window->trayIcon().setAvailable(true);
    click(*window, CTarnDlg::kHideToTray);
    dialogs.queueMenuChoice(0);
    postTray(*window, TrayIcon::kIconId, TrayIcon::kRightButtonUp);

    const auto menus = dialogs.requestsOf(FakeSystemDialogs::Kind::Menu);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].menu[0].text, L"Exit");
    EXPECT_TRUE(window->trayIcon().isShown());
    EXPECT_FALSE(window->isVisible());
    // Every way out removes the icon.
    window->done(QDialog::Rejected);
    EXPECT_FALSE(window->trayIcon().isShown());
}

TEST_F(TraySummaryTest, WithoutATrayTheWindowIsMinimisedNotHidden) {
    auto window = openWindow();
    window->trayIcon().setAvailable(false);
    click(*window, CTarnDlg::kHideToTray);
    EXPECT_TRUE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->trayIcon().isShown());
}

}  // namespace
