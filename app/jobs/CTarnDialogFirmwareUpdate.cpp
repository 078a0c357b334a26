// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "jobs/CTarnDialogFirmwareUpdate.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>
#include <vector>

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include "jobs/CTarnDialogProgress.h"
#include "jobs/FirmwareWindowLayout.h"
#include "jobs/KeyboardBackup.h"
#include "shell/EditLook.h"
#include "shell/SystemDialogs.h"

namespace {

constexpr int kVersionBoxNumber = 1001;
constexpr int kPathBoxNumber = 1002;
constexpr int kProgressScale = 150;  // the device reports 0..150
const QColor kActiveCaption(0, 0, 190);
const QColor kCaption(200, 200, 200);
// Drawn where the active image (the bar's fill) is missing.
const QColor kPlainBar(255, 111, 0);

QRect toQRect(const layout::Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

std::wstring outcomeText(int outcome, const std::string& language) {
    switch (outcome) {
    case CTarnDialogFirmwareUpdate::Downloaded:
        return KeyboardProfile::inLanguage(language,
                          L"The Firmware is downloaded successfully.\r\n"
                          L"Please keep the USB plug in until three indicator lights flash simultaneously.\r\n"
                          L"Then firmware updated completely,pleased unplug the USB and plug in.",
                          L"固件下载完成。\r\n请勿插拔USB直至三个状态指示灯同时闪烁则固件更新完成，请拔下USB重新上电。");
    case CTarnDialogFirmwareUpdate::DownloadFailed:
        return KeyboardProfile::inLanguage(language, L"Firmware download failed.", L"固件下载失败!");
    case CTarnDialogFirmwareUpdate::FileNotOpened:
        return KeyboardProfile::inLanguage(language, L"Can't open firmware file", L"打开固件文件失败");
    default:
        return {};
    }
}

}  // namespace

CTarnDialogFirmwareUpdate::CTarnDialogFirmwareUpdate(KeyboardProfile& profile, SystemDialogs& dialogs,
                                                     QWidget* parent)
    : CSkinDialog(layout::firmwareWindow, profile.language, parent), profile_(profile), dialogs_(dialogs) {
    profile_.notifyWindow = this;
    versionBox_ = makeEdit(kVersionBoxNumber, layout::firmwareVersionBox);
    pathBox_ = makeEdit(kPathBoxNumber, layout::firmwarePathBox);
}

CTarnDialogFirmwareUpdate::~CTarnDialogFirmwareUpdate() {
    if (worker_.joinable()) {
        // Only when the window is torn down from outside (the program ends):
        // stop at the next packet rather than finish the whole image.
        profile_.device.requestCancel();
        worker_.join();
        profile_.device.clearCancelRequest();
    }
    if (profile_.notifyWindow == this)
        profile_.notifyWindow = nullptr;
}

QLineEdit* CTarnDialogFirmwareUpdate::makeEdit(int controlNumber, const layout::Rect& place) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("edit%1").arg(controlNumber));
    edit->setGeometry(toQRect(place));
    EditLook::apply(*edit);
    // Read-only line edits draw no caret, also while they hold the focus;
    // the text can still be selected and copied.
    edit->setReadOnly(true);
    return edit;
}

void CTarnDialogFirmwareUpdate::controlClicked(SkinControl& control) {
    // The keyboard takes one operation at a time: nothing but the running
    // download until its outcome has been shown.
    if (downloading_)
        return;
    switch (control.id) {
    case kGetVersion:
        readVersion();
        break;
    case kOpen:
        chooseFile();
        break;
    case kUpdate:
        if (keepKeyboardContents())
            startDownload();
        break;
    case kClose:
    case kCancel:
        percent_ = 0;
        reject();
        break;
    default:
        break;
    }
}

void CTarnDialogFirmwareUpdate::readVersion() {
    wchar_t text[64] = {};
    if (profile_.device.ReadKeyboardVersion(text)) {
        text[63] = L'\0';
        versionBox_->setText(QString::fromWCharArray(text));
        return;
    }
    const std::wstring message =
        profile_.inLanguage(L"Failed on reading keyboard version infomation", L"读取键盘版本失败");
    if (!message.empty())
        dialogs_.messageBox(this, message);
}

void CTarnDialogFirmwareUpdate::chooseFile() {
    SystemDialogs::FileRequest request;
    request.hideReadOnly = true;
    request.overwritePrompt = true;
    if (const std::optional<std::wstring> path = dialogs_.openFileName(this, request))
        chosenPath_ = *path;
    pathBox_->setText(QString::fromStdWString(chosenPath_));
}

bool CTarnDialogFirmwareUpdate::keepKeyboardContents() {
    // Without a file nothing is sent: the download says so at once.
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::path(chosenPath_), error))
        return true;
    KeyboardBackup backup;
    const int kept = CTarnDialogProgress::keepKeyboardContents(profile_, dialogs_, this, backup, waits_);
    if (kept == CTarnDialogProgress::Succeeded || kept == CTarnDialogProgress::Cancelled)
        return kept == CTarnDialogProgress::Succeeded;
    // A broken firmware is what a download repairs, and such a keyboard may
    // not answer reads: the download stays possible, after a question.
    const wchar_t* english = L"The keyboard's settings could not be read and will not be kept. Download the firmware anyway?";
    std::wstring question = kept == CTarnDialogProgress::BackupNotSaved
                                ? profile_.inLanguage(L"The keyboard's settings could not be saved in %1 and will not "
                                                      L"be kept. Download the firmware anyway?",
                                                      L"无法将键盘的设置保存到 %1，它们将不会被保存。仍要下载固件吗？")
                                : profile_.inLanguage(english, L"无法读取键盘的设置，它们将不会被保存。仍要下载固件吗？");
    if (question.empty())
        question = english;
    if (const std::size_t at = question.find(L"%1"); at != std::wstring::npos)
        question.replace(at, 2, KeyboardBackup::folder().wstring());
    return dialogs_.messageBox(this, question, SystemDialogs::Buttons::YesNo, SystemDialogs::Icon::Question) ==
           SystemDialogs::Answer::Yes;
}

void CTarnDialogFirmwareUpdate::startDownload() {
    joinWorker();
    profile_.firmwarePath = chosenPath_;
    profile_.notifyWindow = this;
    profile_.device.clearCancelRequest();
    downloading_ = true;
    worker_ = std::thread([&profile = profile_] {
        const Outcome outcome = downloadFirmware(profile);
        if (MessageWindow* window = profile.notifyWindow)
            window->postMessage(hwi_msg::kDone, static_cast<std::uintptr_t>(outcome), 0);
    });
    percent_ = 1;
    update();
}

CTarnDialogFirmwareUpdate::Outcome CTarnDialogFirmwareUpdate::downloadFirmware(KeyboardProfile& profile) {
    const std::filesystem::path path(profile.firmwarePath);
    std::error_code error;
    // An empty path, a folder or a missing file: nothing to open.
    if (path.empty() || !std::filesystem::is_regular_file(path, error))
        return FileNotOpened;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return FileNotOpened;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size < 0 || !file)
        return FileNotOpened;
    if (size >= INT_MAX)
        return NoBuffer;

    std::vector<char> image;
    try {
        image.resize(static_cast<std::size_t>(size) + 1);  // zero-terminated text
    } catch (const std::bad_alloc&) {
        return NoBuffer;
    }
    if (!file.read(image.data(), size))
        return FileNotOpened;
    image[static_cast<std::size_t>(size)] = '\0';

    return profile.device.WriteFirmwareToKeyboard(image.data(), static_cast<int>(size), profile.notifyWindow)
               ? Downloaded
               : DownloadFailed;
}

void CTarnDialogFirmwareUpdate::messageReceived(unsigned message, std::uintptr_t wParam, std::intptr_t) {
    if (message == hwi_msg::kProgress) {
        percent_ = static_cast<int>(std::min<std::uintptr_t>(wParam, kProgressScale) * 100 / kProgressScale);
        update(toQRect(layout::firmwareBar));
    } else if (message == hwi_msg::kDone) {
        finishDownload(static_cast<int>(wParam));
    }
}

void CTarnDialogFirmwareUpdate::finishDownload(int outcome) {
    // The worker posts done as its last act: the join is immediate.
    joinWorker();
    const std::wstring text = outcomeText(outcome, profile_.language);
    if (!text.empty())
        dialogs_.messageBox(this, text, SystemDialogs::Buttons::Ok,
                            outcome == Downloaded ? SystemDialogs::Icon::Information : SystemDialogs::Icon::None);
    downloading_ = false;
}

void CTarnDialogFirmwareUpdate::joinWorker() {
    if (worker_.joinable())
        worker_.join();
}

void CTarnDialogFirmwareUpdate::done(int result) {
    if (downloading_)
        return;
    CSkinDialog::done(result);
}

QColor CTarnDialogFirmwareUpdate::captionColor(const SkinControl& control) const {
    return control.active ? kActiveCaption : kCaption;
}

void CTarnDialogFirmwareUpdate::paintWindow(QPainter& painter) {
    paintControls(painter);
    const int width = std::clamp(percent_, 0, 100) * layout::firmwareBar.width() / 100;
    if (width <= 0)
        return;
    const QRect bar(layout::firmwareBar.left, layout::firmwareBar.top, width, layout::firmwareBar.height());
    const SkinImage& fill = skinSet().active;
    if (fill.isNull())
        painter.fillRect(bar, kPlainBar);
    else
        fill.draw(painter, bar, bar);
}

void CTarnDialogFirmwareUpdate::keyPressEvent(QKeyEvent* event) {
    // Enter ends the window as the standard OK, Esc (QDialog's) as cancel;
    // done() holds both back while a download runs.
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier
        && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        accept();
        return;
    }
    CSkinDialog::keyPressEvent(event);
}
