// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The modal progress window of a device job: starts the job on a worker
// thread when it opens, moves its bar with the job's progress messages and
// closes when the job is done.
//
// exec() answers Succeeded, Failed, or Cancelled when the user cancelled (or
// the job number is unknown); a write the keyboard does not hold afterwards
// answers Differs, a backup that was read but not saved BackupNotSaved. Cancel,
// the close control, Esc and the window manager's close ask the job to stop at the next packet; the
// window stays until the worker has ended, so no worker outlives it.
#pragma once

#include <thread>

#include "jobs/DeviceJob.h"
#include "shell/CSkinDialog.h"

class KeyboardBackup;
class KeyboardProfile;
class SystemDialogs;

class CTarnDialogProgress : public CSkinDialog {
    Q_OBJECT
public:
    // exec() results; the first two are QDialog's own.
    enum Result : int {
        Cancelled = QDialog::Rejected,
        Succeeded = QDialog::Accepted,
        Failed = 2,
        Differs = 3,
        BackupNotSaved = 4,
    };
    static constexpr int kCloseId = 89;
    static constexpr int kCancelId = 93;
    static constexpr int kKeySlots = 216;  // progress of key transfers: slot 0..215
    static constexpr int kScale = 150;     // progress of other transfers: 0..150
    static constexpr int kTrackWidth = 290;

    CTarnDialogProgress(KeyboardProfile& profile, SystemDialogs& dialogs, int job, QWidget* parent = nullptr);
    ~CTarnDialogProgress() override;

    // Starts the job and runs the window; an unknown job number returns
    // Cancelled at once without showing anything.
    int exec() override;
    // The job's pauses after its transfers (tests shorten them); set before exec().
    void setWaits(DeviceJob::Waits waits) { waits_ = waits; }
    // Where the backup job (ReadBackup) keeps the keyboard's contents; set
    // before exec() and kept alive until it returns.
    void setBackup(KeyboardBackup* backup) { backup_ = backup; }

    // Keeps the keyboard's contents in `backup` behind a progress window
    // before a write. Succeeded, or the result after which nothing may be
    // written; for Failed and BackupNotSaved, failureText() says why.
    static int keepKeyboardContents(KeyboardProfile& profile, SystemDialogs& dialogs, QWidget* parent,
                                    KeyboardBackup& backup, DeviceJob::Waits waits);
    // Why a write did not happen or did not take: for the results of
    // keepKeyboardContents and of a write job (Differs: how many key
    // assignments, or colours for the lights, differ).
    static std::wstring failureText(const KeyboardProfile& profile, int result, int job, int differences = 0);

    // Asks the running job to stop; the window closes (Cancelled) once the
    // worker has ended. Without a running job it closes at once.
    void cancelJob();
    // Stops the job and waits for the worker, then closes with Cancelled.
    // For an owner that must go away now (the keyboard was unplugged).
    void abortJob();

    int job() const { return job_; }
    // After Differs: how many keys or colours the keyboard holds otherwise.
    int differences() const { return differences_; }
    int percent() const { return percent_; }
    int progressPercent() const override { return percent_; }
    bool workerRunning() const { return worker_.joinable(); }
    bool cancelling() const { return cancelling_; }
    // Width of the filled part of the bar, in pixels.
    int barWidth() const;

    // The bar's fill for a progress message of this job, 0..100.
    static int percentFor(int job, std::uintptr_t wParam);

public slots:
    void reject() override;

protected:
    void controlClicked(SkinControl& control) override;
    void messageReceived(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    QColor captionColor(const SkinControl& control) const override;
    void paintWindow(QPainter& painter) override;

private:
    bool startJob();
    void finishWorker();

    KeyboardProfile& profile_;
    const int job_;
    DeviceJob::Waits waits_;
    KeyboardBackup* backup_ = nullptr;
    int differences_ = 0;
    int percent_ = 1;
    bool cancelling_ = false;
    std::thread worker_;
};
