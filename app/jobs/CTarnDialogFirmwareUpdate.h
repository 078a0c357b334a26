// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The firmware update window: reads the keyboard's firmware version, lets the
// user choose an Intel HEX file and downloads it on a worker thread while a
// bar shows the progress. While a download runs the window refuses every
// command that would use the keyboard or close the window; it stays open
// afterwards until the user closes it.
#pragma once

#include <string>
#include <thread>

#include "jobs/DeviceJob.h"
#include "profile/KeyboardProfile.h"
#include "shell/CSkinDialog.h"

class QLineEdit;
class SystemDialogs;

class CTarnDialogFirmwareUpdate : public CSkinDialog {
    Q_OBJECT
public:
    // Control numbers of the buttons.
    static constexpr int kClose = 89;
    static constexpr int kGetVersion = 90;
    static constexpr int kOpen = 91;
    static constexpr int kUpdate = 92;
    static constexpr int kCancel = 93;

    // The done message's wParam.
    enum Outcome : int { NoBuffer = 0, Downloaded = 1, DownloadFailed = 2, FileNotOpened = 3 };

    CTarnDialogFirmwareUpdate(KeyboardProfile& profile, SystemDialogs& dialogs, QWidget* parent = nullptr);
    // Stops and joins a download still running.
    ~CTarnDialogFirmwareUpdate() override;

    // The download worker's work: reads the file named by the profile's
    // firmwarePath and hands it to the device, which posts its progress to
    // the profile's notifyWindow.
    static Outcome downloadFirmware(KeyboardProfile& profile);

    int percent() const { return percent_; }
    int progressPercent() const override { return percent_; }
    // From Update until the outcome box has been dismissed.
    bool downloading() const { return downloading_; }
    const std::wstring& chosenPath() const { return chosenPath_; }
    QLineEdit* versionBox() const { return versionBox_; }
    QLineEdit* pathBox() const { return pathBox_; }
    // Pauses of the backup job started before a download (tests shorten them).
    void setJobWaits(DeviceJob::Waits waits) { waits_ = waits; }

public slots:
    // Closing in any way (Cancel, close control, Esc, Enter, the system's
    // close) waits for the end of a running download.
    void done(int result) override;

protected:
    void controlClicked(SkinControl& control) override;
    void messageReceived(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    QColor captionColor(const SkinControl& control) const override;
    void paintWindow(QPainter& painter) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* makeEdit(int controlNumber, const layout::Rect& place);
    void readVersion();
    void chooseFile();
    // Keeps the keyboard's contents before a download; false when the user
    // would rather not download without them.
    bool keepKeyboardContents();
    void startDownload();
    void finishDownload(int outcome);
    void joinWorker();

    KeyboardProfile& profile_;
    SystemDialogs& dialogs_;
    std::wstring chosenPath_;
    DeviceJob::Waits waits_;
    int percent_ = 0;
    bool downloading_ = false;
    std::thread worker_;
    QLineEdit* versionBox_ = nullptr;  // control 1001, owned by the window
    QLineEdit* pathBox_ = nullptr;     // control 1002
};
