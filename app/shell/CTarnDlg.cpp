// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/CTarnDlg.h"

#include <filesystem>

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QUrl>

#include <velkorondrix/HidPlatform.h>
#include "editor/CTarnDialogKeyMapSettings.h"
#include "jobs/CTarnDialogFirmwareUpdate.h"
#include "jobs/CTarnDialogProgress.h"
#include "profile/KeyboardProfile.h"
#include "shell/AppResources.h"
#include "shell/CTarnDialogBkLightSettings.h"
#include "shell/DeviceChangeWatcher.h"
#include "shell/MainWindowLayout.h"
#include "shell/ProgramIcon.h"
#include "shell/QtTranslation.h"
#include "shell/SummaryBox.h"
#include "shell/TrayIcon.h"

namespace {

// A simulated keyboard set up wrongly is not listed: the reason, on a line
// of its own, or nothing.
std::wstring simulatorProblem() {
    const std::string problem = hwi::hidPlatform().problem();
    return problem.empty() ? std::wstring() : L"\n\n" + QString::fromStdString(problem).toStdWString();
}

}  // namespace

CTarnDlg::CTarnDlg(KeyboardProfile& profile, SystemDialogs& dialogs, QWidget* parent)
    : CSkinDialog(layout::mainWindow, profile.language, parent), profile_(profile), dialogs_(dialogs) {
    // The frame and the 130 controls are the base's; the rest of the
    // opening runs even without a keyboard, but the window is never shown.
    QtTranslation::follow(profile_.language);
    connected_ = profile_.device.__createDev();
    if (!connected_) {
        // A keyboard that is there but refuses to open (no permission on
        // its device, or held by another program) is not a missing one.
        if (profile_.device.DetectDevice())
            tell(profile_.inLanguage(L"The keyboard was found but cannot be opened. To see why, and the fix, run "
                                     L"this in a terminal:\nvelkorondrix-ctl doctor",
                                     L"已找到键盘，但无法打开。要查看原因和解决方法，请在终端中运行：\n"
                                     L"velkorondrix-ctl doctor"),
                 SystemDialogs::Icon::Exclamation);
        else
            dialogs_.messageBox(this, L"Keyboard is not connected!" + simulatorProblem());
        setResult(Accepted);
    }
    setWindowIcon(programIcon());
    setWindowTitle(QString::fromWCharArray(SystemDialogs::kProgramName));

    profile_.currentLevel = 0;
    profile_.resetToDefaults();
    // The switches show what the profile holds.
    if (SkinControl* language = controlById(kLanguage))
        language->active = profile_.language == "zh-CN";

    tray_ = new TrayIcon(*this, programIcon(), this);

    summary_ = new SummaryBox(this);
    const layout::Rect& box = layout::mainSummaryBox;
    summary_->setGeometry(box.left, box.top, box.width(), box.height());
    summary_->refresh(profile_, 0);

    watcher_ = new DeviceChangeWatcher(this);
    connect(watcher_, &DeviceChangeWatcher::deviceChanged, this, &CTarnDlg::deviceChanged);
}

CTarnDlg::~CTarnDlg() = default;

int CTarnDlg::exec() {
    if (!connected_ || closing_)
        return result();
    show();
    QEventLoop loop;
    loop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    loop_ = nullptr;
    return result();
}

void CTarnDlg::done(int result) {
    closing_ = true;
    tray_->remove();
    QDialog::done(result);
    if (loop_)
        loop_->exit();
}

QIcon CTarnDlg::programIcon() {
    return ProgramIcon::icon();
}

QString CTarnDlg::helpFilePath(const QString& programFolder) {
    const QDir folder(programFolder);
    const QString compiled = folder.filePath(QLatin1String(kHelpFileName));
    return QFileInfo::exists(compiled) ? compiled : folder.filePath(QLatin1String(kManualFileName));
}

SystemDialogs::FileRequest CTarnDlg::profileFileRequest() {
    SystemDialogs::FileRequest request;
    request.filter = kProfileFilter;
    request.defaultExtension = L"pro";
    request.overwritePrompt = true;
    request.hideReadOnly = true;
    return request;
}

void CTarnDlg::tell(const std::wstring& text, SystemDialogs::Icon icon) {
    if (!text.empty())
        dialogs_.messageBox(this, text, SystemDialogs::Buttons::Ok, icon);
}

void CTarnDlg::controlClicked(SkinControl& control) {
    if (control.keyId > 0) {
        editKey(control.keyId);
        return;
    }
    switch (control.id) {
    case kLanguage:
        switchLanguage(control);
        break;
    case kHelp:
        openHelp();
        break;
    case kHideToTray:
        hideToTray();
        break;
    case kExit:
        done(Rejected);
        break;
    case kSave:
        saveProfileFile();
        break;
    case kOpen:
        openProfileFile();
        break;
    case kClear:
        profile_.resetToDefaults();
        update();
        break;
    case kWriteKeys:
        runJob(DeviceJob::WriteKeys);
        break;
    case kLightSet: {
        CTarnDialogBkLightSettings backlight(profile_, dialogs_, this);
        backlight.exec();
        break;
    }
    case kReadAll:
        runJob(DeviceJob::ReadAll);
        update();
        break;
    case kFirmware: {
        CTarnDialogFirmwareUpdate firmware(profile_, dialogs_, this);
        firmware.exec();
        break;
    }
    case kLayer:
        switchLayer(control);
        break;
    default:
        break;
    }
}

void CTarnDlg::editKey(int keyId) {
    profile_.currentKey = keyId;
    CTarnDialogKeyMapSettings editor(profile_, dialogs_, this);
    editor.exec();
    // OK or not, the keyboard shows what the profile holds now.
    update();
}

void CTarnDlg::switchLanguage(SkinControl& control) {
    profile_.language = control.active ? "en-US" : "zh-CN";
    QtTranslation::follow(profile_.language);
    control.active = !control.active;
    update();
}

void CTarnDlg::switchLayer(SkinControl& control) {
    profile_.currentLevel = 1 - profile_.currentLevel;
    control.active = !control.active;
    update();
}

void CTarnDlg::saveProfileFile() {
    const std::optional<std::wstring> path = dialogs_.saveFileName(this, profileFileRequest());
    if (path && !profile_.saveProfile(std::filesystem::path(*path)))
        tell(profile_.inLanguage(L"Can't save profile file", L"保存配置文件失败"), SystemDialogs::Icon::Exclamation);
    update();
}

void CTarnDlg::openProfileFile() {
    const std::optional<std::wstring> path = dialogs_.openFileName(this, profileFileRequest());
    // A failed load leaves the profile as it was.
    if (path && !profile_.loadProfile(std::filesystem::path(*path)))
        tell(profile_.inLanguage(L"Can't open profile file", L"打开配置文件失败"), SystemDialogs::Icon::Exclamation);
    update();
}

void CTarnDlg::runJob(int job) {
    CTarnDialogProgress progress(profile_, dialogs_, job, this);
    progress.setWaits(waits_);
    jobRunning_ = true;
    const int result = progress.exec();
    jobRunning_ = false;
    // The keyboard went away meanwhile: the window is closing, say nothing.
    if (closing_)
        return;
    if (result == CTarnDialogProgress::Succeeded) {
        tell(L"OK!", SystemDialogs::Icon::Information);
    } else if (result == CTarnDialogProgress::Failed) {
        tell(job == DeviceJob::ReadAll ? profile_.inLanguage(L"Failed to read from the keyboard!", L"读取键盘失败！")
                                       : profile_.inLanguage(L"Failed to write to the keyboard!", L"写入键盘失败！"),
             SystemDialogs::Icon::Exclamation);
    }
}

void CTarnDlg::openHelp() {
    // Whatever the desktop makes of a missing file is all the user sees.
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(helpFilePath(AppResources::dataFolder(QCoreApplication::applicationDirPath()))));
}

void CTarnDlg::hideToTray() {
    if (!tray_->isAvailable()) {
        // Hidden without a tray the window could never come back.
        showMinimized();
        return;
    }
    // While hidden no window is visible; closing a message box or the tray
    // menu then must not count as the last window closing.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    tray_->add();
    hide();
}

bool CTarnDlg::trayMessage(std::uintptr_t iconId, std::uintptr_t mouseMessage) {
    if (iconId != static_cast<std::uintptr_t>(TrayIcon::kIconId))
        return false;
    if (mouseMessage == TrayIcon::kLeftButtonDoubleClick) {
        showNormal();
        raise();
        activateWindow();
        tray_->remove();
    } else if (mouseMessage == TrayIcon::kRightButtonUp) {
        showTrayMenu();
    }
    return true;
}

void CTarnDlg::showTrayMenu() {
    const std::wstring exitText = profile_.inLanguage(L"Exit", L"关闭");
    if (exitText.empty())
        return;
    const int chosen = dialogs_.popupMenu(this, QCursor::pos(), {{exitText, kTrayMenuExit, {}}});
    if (chosen == kTrayMenuExit)
        done(Rejected);
}

void CTarnDlg::messageReceived(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == hwi_msg::kTrayCallback)
        trayMessage(wParam, static_cast<std::uintptr_t>(lParam));
}

void CTarnDlg::deviceChanged() {
    if (!connected_ || closing_ || profile_.device.DetectDevice())
        return;
    closing_ = true;
    // Nothing may use the keyboard or the profile once this window is gone:
    // jobs are stopped and their workers joined before anything is said.
    closeModalWindows();
    dialogs_.messageBox(this, L"Keyboard is not connected");
    done(Rejected);
}

void CTarnDlg::closeModalWindows() {
    while (QWidget* popup = QApplication::activePopupWidget())
        if (!popup->close())
            break;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (auto* progress = qobject_cast<CTarnDialogProgress*>(window); progress && progress->isVisible())
            progress->abortJob();
    }
    for (QWidget* window : windows) {
        auto* dialog = qobject_cast<QDialog*>(window);
        // QDialog's own done(): a window that refuses to close while it is
        // busy still has to go now; its destructor joins its worker.
        if (dialog && dialog != this && dialog->isVisible())
            dialog->QDialog::done(Rejected);
    }
}

int CTarnDlg::keyUnderMouse() const {
    const QPoint mouse = lastMousePos();
    for (const SkinControl& control : controls()) {
        if (control.keyId > 0 && control.isHittable() && control.rect.contains(mouse.x(), mouse.y()))
            return control.keyId;
    }
    return 0;
}

void CTarnDlg::paintWindow(QPainter& painter) {
    if (!jobRunning_) {
        for (SkinControl& control : controls()) {
            if (control.keyId > 0)
                control.active = profile_.modes[static_cast<std::size_t>(
                                     KeyboardProfile::slot(control.keyId, profile_.currentLevel))]
                                 > ModeNotSet;
        }
    }
    paintControls(painter);
    if (!jobRunning_)
        summary_->refresh(profile_, keyUnderMouse());
}

void CTarnDlg::keyPressEvent(QKeyEvent* event) {
    // Enter and Esc are the window's OK and cancel: both end the program.
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            accept();
            return;
        }
        if (event->key() == Qt::Key_Escape) {
            reject();
            return;
        }
    }
    CSkinDialog::keyPressEvent(event);
}
