// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "jobs/CTarnDialogProgress.h"

#include <algorithm>

#include <QPainter>

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
    worker_ = std::thread([this] { DeviceJob(job_, profile_, waits_).run(); });
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

void CTarnDialogProgress::messageReceived(unsigned message, std::uintptr_t wParam, std::intptr_t) {
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
    if (cancelling_)
        QDialog::done(Cancelled);
    else
        QDialog::done(wParam == DeviceJob::Succeeded ? Succeeded : Failed);
}

int CTarnDialogProgress::percentFor(int job, std::uintptr_t wParam) {
    const long long value = static_cast<long long>(std::min<std::uintptr_t>(wParam, 1u << 20));
    // Key transfers report the slot just done: full when slot 215 is.
    const long long percent = job == DeviceJob::WriteKeys || job == DeviceJob::ReadAll
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
    const QImage& fill = skinSet().active;
    if (fill.isNull())
        painter.fillRect(bar, kPlainBar);
    else
        painter.drawImage(bar.topLeft(), fill, bar);
}
