// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The program's main window: the on-screen keyboard of one layer, the
// commands on the whole profile and the keyboard, the summary box and the
// tray icon. Its opening connects to the keyboard; when it closes, for
// whatever reason, the program ends.
#pragma once

#include <string>

#include <QIcon>

#include <filesystem>
#include <optional>

#include "jobs/DeviceJob.h"
#include "jobs/KeyboardContents.h"
#include "profile/ProfileContent.h"
#include "profile/UndoHistory.h"
#include "shell/CSkinDialog.h"
#include "shell/SystemDialogs.h"
#include "shell/UndoKeys.h"

class DeviceChangeWatcher;
class KeyboardProfile;
class QEventLoop;
class QTimer;
class SummaryBox;
class TrayIcon;

class CTarnDlg : public CSkinDialog {
    Q_OBJECT
public:
    // Commands.
    static constexpr int kLanguage = 85;
    static constexpr int kHelp = 87;
    static constexpr int kHideToTray = 88;
    static constexpr int kExit = 89;
    static constexpr int kSave = 90;
    static constexpr int kOpen = 91;
    static constexpr int kClear = 92;
    static constexpr int kWriteKeys = 93;
    static constexpr int kLightSet = 94;
    static constexpr int kReadAll = 95;
    static constexpr int kFirmware = 96;
    static constexpr int kLayer = 97;
    static constexpr int kTrayMenuExit = 2;  // the tray menu's one item
    // The working profile is kept this long after a change.
    static constexpr int kAutosaveDelayMs = 3000;

    static constexpr const wchar_t* kProfileFilter = L"pro(*.pro)|*.pro|All Files(*.*)|*.*||";
    static constexpr const char* kHelpFileName = "VelkorOndrix.chm";
    static constexpr const char* kManualFileName = "VelkorOndrix.html";

    // The opening: connects to the keyboard (saying so when it is missing,
    // and why when it is found but cannot be opened), resets the profile and
    // shows layer 0.
    CTarnDlg(KeyboardProfile& profile, SystemDialogs& dialogs, QWidget* parent = nullptr);
    ~CTarnDlg() override;

    // False when the keyboard could not be opened: exec() then
    // returns at once and the window is never shown.
    bool isConnected() const { return connected_; }

    // Runs the window until it closes. Unlike QDialog's own loop this one
    // keeps running while the window is hidden in the tray.
    int exec() override;

    // The program icon: window icon and tray icon.
    static QIcon programIcon();
    // The help to open from a program folder: the compiled help where it
    // exists, the HTML manual otherwise.
    static QString helpFilePath(const QString& programFolder);
    static SystemDialogs::FileRequest profileFileRequest();

    TrayIcon& trayIcon() { return *tray_; }
    SummaryBox& summaryBox() { return *summary_; }
    DeviceChangeWatcher& deviceWatcher() { return *watcher_; }
    // Pauses of the device jobs started here (tests shorten them).
    void setJobWaits(DeviceJob::Waits waits) { waits_ = waits; }

    // Where the working profile is kept while it has unsaved changes; a
    // file there at start is the work of a run that did not end normally.
    static std::filesystem::path autosavePath();
    // Keeps the working profile now (the timer's work), or removes the
    // kept one when nothing is unsaved.
    void autosave();
    const UndoHistory<ProfileContent>& history() const { return history_; }

    // Command 88: to the tray, or minimised where the desktop has none.
    void hideToTray();
    // A tray message (1125); false when it is not this window's icon.
    bool trayMessage(std::uintptr_t iconId, std::uintptr_t mouseMessage);

public slots:
    // Every way out: removes the tray icon first.
    void done(int result) override;
    // The system says devices changed: ends the program when the keyboard
    // is gone.
    void deviceChanged();

    ControlAccess controlAccess(const SkinControl& control) const override;

protected:
    void controlClicked(SkinControl& control) override;
    void messageReceived(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void paintWindow(QPainter& painter) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Opens the key assignment editor for a key in the shown layer.
    void editKey(int keyId);
    void switchLanguage(SkinControl& control);
    void switchLayer(SkinControl& control);
    // True when the profile was saved.
    bool saveProfileFile();
    void openProfileFile();
    // With unsaved changes, asks whether to save them first: false when the
    // step that would drop them must not go on (Cancel, or a save that did
    // not happen). On an unplug (`mayCancel` false) the step always goes on.
    bool changesMayGo(bool mayCancel);
    // After a change to the profile: one undo step, and the autosave.
    void settle();
    void undoStep(UndoKey key);
    void offerRecovery();
    void runJob(int job);
    // WriteKeys: keeps the keyboard's contents, asks before assigned keys
    // this run has not read or written are changed, then writes.
    void writeKeys();
    void openHelp();
    void showTrayMenu();
    void closeModalWindows();
    int keyUnderMouse() const;
    // The on-screen key with the keyboard focus; 0 for none. The summary box
    // shows it while the pointer is on no key.
    int focusedKey() const;
    void tell(const std::wstring& text, SystemDialogs::Icon icon);

    KeyboardProfile& profile_;
    SystemDialogs& dialogs_;
    bool connected_ = false;
    bool closing_ = false;
    // A job may be writing the profile: painting leaves it alone meanwhile.
    bool jobRunning_ = false;
    DeviceJob::Waits waits_;
    // The keys this run last read from or wrote to the keyboard; nothing
    // before the first. A write that would change others asks first.
    std::optional<KeyboardContents> keyboardKnown_;
    QEventLoop* loop_ = nullptr;
    TrayIcon* tray_ = nullptr;               // children of the window
    SummaryBox* summary_ = nullptr;
    DeviceChangeWatcher* watcher_ = nullptr;
    QTimer* autosaveTimer_ = nullptr;
    UndoHistory<ProfileContent> history_{ProfileContent{}};
};
