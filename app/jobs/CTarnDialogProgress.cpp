// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "jobs/CTarnDialogProgress.h"

#include <algorithm>

#include <QPainter>

#include "jobs/KeyboardBackup.h"
#include "jobs/ProgressWindowLayout.h"
#include "profile/KeyboardProfile.h"

namespace {

const QColor kActiveCaption(0, 0, 190);
const QColor kCaption(200, 200, 200);
const QColor kPlainBar(150, 64, 0);  // bar fill when the artwork is missing

}  // namespace

// The window itself asks the desktop nothing; it takes the dialogs like every
// window does.
CTarnDialogProgress::CTarnDialogProgress(KeyboardProfile& profile, SystemDialogs&, int job, QWidget* parent)
    : CSkinDialog(layout::progressWindow, profile.language, parent), profile_(profile), job_(job) {}

CTarnDialogProgress::~CTarnDialogProgress() {
    if (workerRunning())
        profile_.device.requestCancel();
    finishWorker();
}

int CTarnDialogProgress::exec() {
    if (!startJob()) {
        setResult(Cancelled);
        return Cancelled;
    }
    return CSkinDialog::exec();
}

bool CTarnDialogProgress::startJob() {
    if (!DeviceJob::isKnown(job_) || workerRunning())
        return false;
    percent_ = 1;
    cancelling_ = false;
    profile_.device.clearCancelRequest();
    // Written before the worker exists, so the worker only ever reads it.
    profile_.notifyWindow = this;
    differences_ = 0;
    worker_ = std::thread([this] { DeviceJob(job_, profile_, waits_, backup_).run(); });
    return true;
}

void CTarnDialogProgress::finishWorker() {
    if (worker_.joinable())
        worker_.join();
    if (profile_.notifyWindow == this)
        profile_.notifyWindow = nullptr;
    // A cancel request must not cut short the next transfer of another window.
    profile_.device.clearCancelRequest();
}

void CTarnDialogProgress::cancelJob() {
    percent_ = 0;
    update();
    if (!workerRunning()) {
        QDialog::done(Cancelled);
        return;
    }
    // The worker's done message closes the window.
    if (!cancelling_) {
        cancelling_ = true;
        profile_.device.requestCancel();
    }
}

void CTarnDialogProgress::abortJob() {
    if (workerRunning())
        profile_.device.requestCancel();
    finishWorker();
    cancelling_ = true;
    if (isVisible())
        QDialog::done(Cancelled);
    else
        setResult(Cancelled);
}

void CTarnDialogProgress::reject() {
    cancelJob();
}

void CTarnDialogProgress::controlClicked(SkinControl& control) {
    if (control.id == kCloseId || control.id == kCancelId)
        cancelJob();
}

void CTarnDialogProgress::messageReceived(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == hwi_msg::kProgress) {
        if (!cancelling_) {
            percent_ = percentFor(job_, wParam);
            update();
        }
        return;
    }
    // A done message left over from a job that was aborted is stale.
    if (message != hwi_msg::kDone || !workerRunning())
        return;
    finishWorker();
    if (cancelling_) {
        QDialog::done(Cancelled);
        return;
    }
    switch (wParam) {
    case DeviceJob::Succeeded:
        QDialog::done(Succeeded);
        break;
    case DeviceJob::Differs:
        differences_ = static_cast<int>(lParam);
        QDialog::done(Differs);
        break;
    case DeviceJob::BackupNotSaved:
        QDialog::done(BackupNotSaved);
        break;
    default:
        QDialog::done(Failed);
        break;
    }
}

int CTarnDialogProgress::keepKeyboardContents(KeyboardProfile& profile, SystemDialogs& dialogs, QWidget* parent,
                                              KeyboardBackup& backup, DeviceJob::Waits waits) {
    CTarnDialogProgress progress(profile, dialogs, DeviceJob::ReadBackup, parent);
    progress.setWaits(waits);
    progress.setBackup(&backup);
    return progress.exec();
}

std::wstring CTarnDialogProgress::failureText(const KeyboardProfile& profile, int result, int job, int differences) {
    auto withNumber = [](std::wstring text, const std::wstring& value) {
        const std::size_t at = text.find(L"%1");
        return at == std::wstring::npos ? text : text.replace(at, 2, value);
    };
    switch (result) {
    case Failed:
        if (job == DeviceJob::ReadBackup)
            return profile.inLanguage(
                L"Failed to read the keyboard's settings, so they could not be kept. Nothing was written.",
                L"读取键盘的设置失败，无法保存它们。未写入任何内容。");
        return profile.inLanguage(L"Failed to write to the keyboard!", L"写入键盘失败！");
    case BackupNotSaved:
        return withNumber(profile.inLanguage(L"The keyboard's settings could not be saved in %1. Nothing was written.",
                                             L"无法将键盘的设置保存到 %1。未写入任何内容。"),
                          KeyboardBackup::folder().wstring());
    case Differs:
        return withNumber(
            job == DeviceJob::WriteLights
                ? profile.inLanguage(L"Writing failed: afterwards, %1 key colours on the keyboard differ from the profile.",
                                     L"写入失败：写入后键盘上有 %1 个按键颜色与配置不同。")
                : profile.inLanguage(
                      L"Writing failed: afterwards, %1 key assignments on the keyboard differ from the profile.",
                      L"写入失败：写入后键盘上有 %1 个按键设置与配置不同。"),
            std::to_wstring(differences));
    default:
        return {};
    }
}

int CTarnDialogProgress::percentFor(int job, std::uintptr_t wParam) {
    const long long value = static_cast<long long>(std::min<std::uintptr_t>(wParam, 1u << 20));
    // Key transfers report the slot just done: full when slot 215 is.
    const long long percent = job == DeviceJob::WriteKeys || job == DeviceJob::ReadAll || job == DeviceJob::ReadBackup
                                  ? (value + 1) * 100 / kKeySlots
                                  : value * 100 / kScale;
    return static_cast<int>(std::clamp<long long>(percent, 0, 100));
}

int CTarnDialogProgress::barWidth() const {
    return std::clamp(percent_, 0, 100) * kTrackWidth / 100;
}

QColor CTarnDialogProgress::captionColor(const SkinControl& control) const {
    return control.active ? kActiveCaption : kCaption;
}

void CTarnDialogProgress::paintWindow(QPainter& painter) {
    paintControls(painter);
    const int width = barWidth();
    if (width <= 0)
        return;
    const layout::Rect& track = layout::progressBar;
    const QRect bar(track.left, track.top, width, track.height());
    const SkinImage& fill = skinSet().active;
    if (fill.isNull())
        painter.fillRect(bar, kPlainBar);
    else
        fill.draw(painter, bar, bar);
}
