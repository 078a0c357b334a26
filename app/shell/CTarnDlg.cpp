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
#include <QTimer>
#include <QUrl>

#include <velkorondrix/HidPlatform.h>
#include "editor/CTarnDialogKeyMapSettings.h"
#include "jobs/CTarnDialogFirmwareUpdate.h"
#include "jobs/CTarnDialogProgress.h"
#include "jobs/KeyboardBackup.h"
#include "jobs/KeyboardComparison.h"
#include "profile/KeyboardProfile.h"
#include "profile/UserStateFolder.h"
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

void removeAutosave() {
    std::error_code ignored;
    std::filesystem::remove(CTarnDlg::autosavePath(), ignored);
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
    profile_.markSaved();
    history_.reset(profile_.content());
    autosaveTimer_ = new QTimer(this);
    autosaveTimer_->setSingleShot(true);
    autosaveTimer_->setInterval(kAutosaveDelayMs);
    connect(autosaveTimer_, &QTimer::timeout, this, &CTarnDlg::autosave);
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

    if (connected_)
        offerRecovery();
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
    // Every way out passes here; an unplug has asked already.
    if (!closing_ && !changesMayGo(true))
        return;
    closing_ = true;
    autosaveTimer_->stop();
    removeAutosave();
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
        settle();
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
        if (!changesMayGo(true))
            return;
        // A new, empty profile, as at the start: nothing in it is unsaved.
        profile_.resetToDefaults();
        profile_.markSaved();
        update();
        break;
    case kWriteKeys:
        writeKeys();
        break;
    case kLightSet: {
        CTarnDialogBkLightSettings backlight(profile_, dialogs_, this);
        backlight.setJobWaits(waits_);
        backlight.exec();
        break;
    }
    case kReadAll:
        if (!changesMayGo(true))
            return;
        runJob(DeviceJob::ReadAll);
        update();
        break;
    case kFirmware: {
        CTarnDialogFirmwareUpdate firmware(profile_, dialogs_, this);
        firmware.setJobWaits(waits_);
        firmware.exec();
        break;
    }
    case kLayer:
        switchLayer(control);
        break;
    default:
        break;
    }
    settle();
}

CSkinDialog::ControlAccess CTarnDlg::controlAccess(const SkinControl& control) const {
    ControlAccess access = CSkinDialog::controlAccess(control);
    if (control.keyId > 0) {
        // A key's look says whether it is assigned; its summary says how.
        access.on = false;
        QString summary = QString::fromStdWString(SummaryBox::layerSummaryText(profile_, control.keyId, profile_.currentLevel));
        access.description = summary.trimmed().toStdWString();  // "Not set" has nothing after it
    } else if (control.id == kLanguage || control.id == kLayer) {
        access.role = ControlAccess::Role::Toggle;
    }
    return access;
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

bool CTarnDlg::saveProfileFile() {
    const std::optional<std::wstring> path = dialogs_.saveFileName(this, profileFileRequest());
    const bool saved = path && profile_.saveProfile(std::filesystem::path(*path));
    if (path && !saved)
        tell(profile_.inLanguage(L"Can't save profile file", L"保存配置文件失败"), SystemDialogs::Icon::Exclamation);
    if (saved) {
        profile_.markSaved();
        autosave();
    }
    update();
    return saved;
}

void CTarnDlg::openProfileFile() {
    if (!changesMayGo(true))
        return;
    const std::optional<std::wstring> path = dialogs_.openFileName(this, profileFileRequest());
    // A failed load leaves the profile as it was.
    if (path && !profile_.loadProfile(std::filesystem::path(*path)))
        tell(profile_.inLanguage(L"Can't open profile file", L"打开配置文件失败"), SystemDialogs::Icon::Exclamation);
    else if (path)
        profile_.markSaved();
    update();
}

bool CTarnDlg::changesMayGo(bool mayCancel) {
    if (!profile_.hasUnsavedChanges())
        return true;
    const SystemDialogs::Answer answer = dialogs_.messageBox(
        this, profile_.inLanguage(L"Save the changes to the profile first?", L"是否先保存对配置的更改？"),
        mayCancel ? SystemDialogs::Buttons::SaveDiscardCancel : SystemDialogs::Buttons::SaveDiscard,
        SystemDialogs::Icon::Question);
    if (answer == SystemDialogs::Answer::Save)
        return saveProfileFile() || !mayCancel;
    return answer == SystemDialogs::Answer::Discard || !mayCancel;
}

void CTarnDlg::settle() {
    if (closing_ || !history_.settle(profile_.content()))
        return;
    autosaveTimer_->start();
}

void CTarnDlg::undoStep(UndoKey key) {
    const ProfileContent now = profile_.content();
    const std::optional<ProfileContent> state = key == UndoKey::Undo ? history_.undo(now) : history_.redo(now);
    if (!state)
        return;
    // Only the profile: the keyboard changes by an explicit write alone.
    profile_.setContent(*state);
    autosaveTimer_->start();
    update();
}

std::filesystem::path CTarnDlg::autosavePath() {
    const std::filesystem::path folder = userStateFolder();
    return folder.empty() ? folder : folder / "autosave.pro";
}

void CTarnDlg::autosave() {
    // A job may be writing the profile: its end settles and keeps it.
    if (jobRunning_) {
        autosaveTimer_->start();
        return;
    }
    autosaveTimer_->stop();
    const std::filesystem::path path = autosavePath();
    if (path.empty())
        return;
    if (!profile_.hasUnsavedChanges()) {
        removeAutosave();
        return;
    }
    // Written as Save writes; a failure costs only this copy, so it is not
    // worth a message in the middle of the work.
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    profile_.saveProfile(path);
}

void CTarnDlg::offerRecovery() {
    const std::filesystem::path path = autosavePath();
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error))
        return;
    const SystemDialogs::Answer answer = dialogs_.messageBox(
        this,
        profile_.inLanguage(L"Restore the work from the last session, which did not end normally?",
                            L"是否恢复上次未正常结束时的工作？"),
        SystemDialogs::Buttons::YesNo, SystemDialogs::Icon::Question);
    if (answer != SystemDialogs::Answer::Yes) {
        removeAutosave();
        return;
    }
    // Restored as unsaved changes: the profile was marked at its empty start.
    if (!profile_.loadProfile(path))
        tell(profile_.inLanguage(L"Can't open profile file", L"打开配置文件失败"), SystemDialogs::Icon::Exclamation);
    settle();
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
        // What the keyboard holds is now what this run read or wrote.
        keyboardKnown_ = KeyboardContents::of(profile_);
        tell(L"OK!", SystemDialogs::Icon::Information);
    } else if (result == CTarnDialogProgress::Failed && job == DeviceJob::ReadAll) {
        tell(profile_.inLanguage(L"Failed to read from the keyboard!", L"读取键盘失败！"),
             SystemDialogs::Icon::Exclamation);
    } else if (result != CTarnDialogProgress::Cancelled) {
        tell(CTarnDialogProgress::failureText(profile_, result, job, progress.differences()),
             SystemDialogs::Icon::Exclamation);
    }
}

void CTarnDlg::writeKeys() {
    KeyboardBackup backup;
    jobRunning_ = true;
    const int kept = CTarnDialogProgress::keepKeyboardContents(profile_, dialogs_, this, backup, waits_);
    jobRunning_ = false;
    if (closing_ || kept == CTarnDialogProgress::Cancelled)
        return;
    if (kept != CTarnDialogProgress::Succeeded) {
        tell(CTarnDialogProgress::failureText(profile_, kept, DeviceJob::ReadBackup), SystemDialogs::Icon::Exclamation);
        return;
    }

    const KeyboardComparison change = KeyboardComparison::compare(KeyboardContents::of(profile_), backup.contents());
    std::optional<KeyboardComparison> sinceKnown;
    if (keyboardKnown_)
        sinceKnown = KeyboardComparison::compare(*keyboardKnown_, backup.contents());
    const int unknown = change.assignedUnknown(sinceKnown ? &*sinceKnown : nullptr);
    if (unknown > 0) {
        const wchar_t* english =
            L"Writing will change or clear %1 assigned keys that the keyboard holds and that this program has not "
            L"read or written. The keyboard's settings have just been kept in:\n%2\n\nWrite anyway?";
        std::wstring question = profile_.inLanguage(
            english, L"写入将更改或清除键盘中 %1 个已设置的按键，本程序未曾读取或写入过它们。键盘的设置刚刚已保存在：\n%2\n\n"
                     L"仍要写入吗？");
        // A question about losing keys is never left unasked.
        if (question.empty())
            question = english;
        question.replace(question.find(L"%1"), 2, std::to_wstring(unknown));
        question.replace(question.find(L"%2"), 2, backup.path().wstring());
        if (dialogs_.messageBox(this, question, SystemDialogs::Buttons::YesNo, SystemDialogs::Icon::Question) !=
            SystemDialogs::Answer::Yes)
            return;
    }
    runJob(DeviceJob::WriteKeys);
}

void CTarnDlg::openHelp() {
    const QString manual = helpFilePath(AppResources::dataFolder(QCoreApplication::applicationDirPath()));
    // A missing file, or a desktop with nothing to open it with, would
    // otherwise leave the click without any answer.
    if (QFileInfo::exists(manual) && QDesktopServices::openUrl(QUrl::fromLocalFile(manual)))
        return;
    const std::wstring path = QDir::toNativeSeparators(manual).toStdWString();
    tell(profile_.inLanguage(L"The manual could not be opened.\nOpen this file in a web browser:\n\n",
                             L"无法打开使用说明书。\n请用网页浏览器打开此文件：\n\n")
             + path,
         SystemDialogs::Icon::Information);
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
    changesMayGo(false);
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
        // The editor's own done() ends a recording, so the keyboard is not
        // held while the messages that follow wait for it.
        if (auto* editor = qobject_cast<CTarnDialogKeyMapSettings*>(window); editor && editor->isVisible())
            editor->done(Rejected);
        else if (dialog && dialog != this && dialog->isVisible())
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
        summary_->refresh(profile_, keyUnderMouse() > 0 ? keyUnderMouse() : focusedKey());
}

int CTarnDlg::focusedKey() const {
    const int index = focusedControlIndex();
    return index >= 0 ? controls()[static_cast<std::size_t>(index)].keyId : 0;
}

void CTarnDlg::keyPressEvent(QKeyEvent* event) {
    if (const UndoKey key = undoKeyOf(*event); key != UndoKey::None) {
        undoStep(key);
        return;
    }
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
