// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The key assignment editor: the modal window in which one key slot (the
// profile's currentKey and currentLevel) gets its assignment. Seven pages:
// single keys and combos, macros, emulations, and the keyboard's multimedia,
// mouse, keyboard/backlight and power functions. The window works on copies;
// only OK writes the slot and the current page's library into the profile.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>

#include "editor/KeyRecorder.h"
#include "jobs/RecordingPath.h"
#include "editor/SequenceLibrary.h"
#include "profile/UndoHistory.h"
#include "shell/CSkinDialog.h"
#include "shell/ControlTimer.h"
#include "shell/UndoKeys.h"

class CSkinScrollBar;
class KeyboardProfile;
class QLineEdit;
class QPlainTextEdit;
class QTimer;
class RecordingKeyFilter;
class SystemDialogs;

class CTarnDialogKeyMapSettings : public CSkinDialog {
    Q_OBJECT
public:
    // Controls of every page.
    static constexpr int kClear = 87;
    static constexpr int kOk = 88;
    static constexpr int kCancel = 89;
    static constexpr int kFirstTab = 90;  // 90..96: pages 1..7
    static constexpr int kClose = 97;
    // Page 1, single key.
    static constexpr int kSingleRadio = 101;
    static constexpr int kComboRadio = 102;
    static constexpr int kCapture = 104;
    static constexpr int kSingleCaption = 151;
    static constexpr int kComboCaption = 152;
    static constexpr int kCaptureCaption = 154;
    static constexpr int kCaptureStopCaption = 155;
    static constexpr int kCapturedKeyName = 158;
    // Pages 1..3: libraries and sequences.
    static constexpr int kNewCombo = 105;
    static constexpr int kDeleteCombo = 106;
    static constexpr int kRecordCombo = 107;
    static constexpr int kFirstComboNameRow = 121;
    static constexpr int kAutoInterval = 202;
    static constexpr int kDelayToggle = 203;
    static constexpr int kNewMacro = 205;
    static constexpr int kRemoveMacro = 206;
    static constexpr int kRecordMacro = 207;
    static constexpr int kFirstMacroNameRow = 221;
    static constexpr int kFirstMacroActionRow = 241;
    static constexpr int kRecordEmulation = 302;
    static constexpr int kNewEmulation = 305;
    static constexpr int kRemoveEmulation = 306;
    static constexpr int kFirstEmulationNameRow = 321;
    static constexpr int kFirstEmulationKeyRow = 341;
    // The macro rows' right-click menu.
    enum MenuCommand {
        kLeftPress = 1135, kLeftRelease, kLeftClick,
        kRightPress, kRightRelease, kRightClick,
        kMiddlePress, kMiddleRelease, kMiddleClick,
        kWheelUp, kWheelDown,
        kDeleteItem = 1147,
    };
    static constexpr int kMaxLoop = 250;
    // A recording started from the keyboard cannot be stopped by a key (it
    // records them all): it stops this long after its last key, counting
    // down in its Stop caption.
    static constexpr int kKeyboardStopSeconds = 5;
    static constexpr int kMaxEmulationDelay = 6000;

    static constexpr int kPageCount = 7;
    static constexpr int kTooltipDelayMs = 100;

    // Opens for the slot profile.currentKey x 2 + profile.currentLevel.
    CTarnDialogKeyMapSettings(KeyboardProfile& profile, SystemDialogs& dialogs, QWidget* parent = nullptr);
    ~CTarnDialogKeyMapSettings() override;

    int page() const { return page_; }
    void switchPage(int page);
    int slot() const { return slot_; }

    // What the window holds (tests and screenshots look at it).
    bool singleKeyMode() const { return singleKeyMode_; }
    int capturedCode() const { return capturedCode_; }
    // The code chosen on icon page 4..7, -1 for none.
    int selectedCode(int page) const;
    const KeyRecorder& recorder() const { return recorder_; }
    KeyRecorder& recorder() { return recorder_; }
    const SequenceLibrary& combos() const { return combos_; }
    const SequenceLibrary& macros() const { return macros_; }
    const SequenceLibrary& emulations() const { return emulations_; }

    QLineEdit* loopEdit() const { return loopEdit_; }
    QLineEdit* delayEdit() const { return delayEdit_; }
    QLineEdit* renameEdit() const { return renameEdit_; }
    QPlainTextEdit* comboKeysBox() const { return comboKeysBox_; }
    CSkinScrollBar* libraryBar() const { return libraryBar_; }
    CSkinScrollBar* sequenceBar() const { return sequenceBar_; }

    // The text the icon tooltip shows or is about to show; empty for none.
    const QString& tooltipText() const { return tooltipText_; }
    bool isRenaming() const { return renameActive_; }
    bool isEditingDelay() const { return delayEditActive_; }
    // The count-down of a recording started from the keyboard: seconds left
    // until it stops, 0 when none runs.
    int stopSecondsLeft() const { return stopSecondsLeft_; }
    // The count-down's one-second tick; tests move it by hand.
    void setCountDownTimer(std::unique_ptr<ControlTimer> timer) { countDown_ = std::move(timer); }
    // How the running (or last) recording takes its keys.
    RecordingPath recordingPath() const { return recordingPath_; }
    // What the tip area says while a recording takes its keys from this window.
    static constexpr const wchar_t* kWindowPathTipEn =
        L"Type the keys in this window: keys typed elsewhere are not recorded.";
    static constexpr const wchar_t* kWindowPathTipZh = L"请在本窗口中按键：在其他窗口中的按键不会被录制。";

    // The working copies, as undo and redo step through them.
    struct WorkingCopies {
        SequenceLibrary combos;
        SequenceLibrary macros;
        SequenceLibrary emulations;
        int capturedCode;
        friend bool operator==(const WorkingCopies&, const WorkingCopies&) = default;
    };
    WorkingCopies workingCopies() const { return {combos_, macros_, emulations_, capturedCode_}; }

    ControlAccess controlAccess(const SkinControl& control) const override;

public slots:
    // However the window closes, a recording ends with it: the keyboard is
    // never left grabbed by a window that is gone.
    void done(int result) override;

protected:
    bool isShown(const SkinControl& control) const override;
    void leftButtonReleased(QPoint clientPoint) override;
    void rightButtonReleased(QPoint clientPoint) override;
    // Space on a record: the click on it, by the record rather than a point.
    void activateControl(SkinControl& control) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hoverChanged() override;
    void messageReceived(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void paintWindow(QPainter& painter) override;
    void keyPressEvent(QKeyEvent* event) override;
    // However the window goes (Cancel, the main window closing it on an
    // unplug), no recording and no keyboard grab outlives it.
    void hideEvent(QHideEvent* event) override;

private:
    struct SequencePage;  // the controls of one of the pages 1..3
    static const SequencePage* sequencePage(int page);
    SequenceLibrary& libraryOf(const SequencePage& page);

    // The record a click belongs to: the first shown one, labels included.
    SkinControl* recordAt(QPoint clientPoint);
    // A left click on a record (nullptr: on no record).
    void clicked(const SkinControl* hit);
    void act(int id);
    void actOnSequencePage(int id);
    void refreshPage();
    void refreshRows(int firstRow, int rows, const ActionList& list);

    void showKeySequence(SequenceLibrary& library, const ActionList& sequence);

    // Page 1.
    void setSingleKeyMode(bool single);
    void startCapture();
    void captureKey(const KeyRecorder::Outcome& event);
    // Stops whatever recording runs; true when the click that stopped it may
    // still act on OK or Cancel.
    bool stopRecording();
    void setRecordLook(int button, int caption, int stopCaption, bool on);
    // Where the keys of a starting recording come from, and letting go of
    // them again.
    void takeKeys();
    void releaseKeys();
    // The count-down (re)starts at every key of a keyboard-started recording.
    void restartCountDown();
    void countDownTick();
    void showCountDown();
    void paintWindowPathTip(QPainter& painter);

    // Pages 1..3.
    void newEntry(const SequencePage& page);
    void deleteEntry(const SequencePage& page);
    void nameRowClicked(const SequencePage& page, int row);
    void actionRowClicked(const SequencePage& page, int row);
    void startRecording(const SequencePage& page);
    void openRename(const SequencePage& page, const std::wstring& text);
    void commitRename();
    void toggleDelayEdit();
    void abandonDelayEdit();
    void loopEdited(const QString& text);
    void menuCommand(int command);
    void scrolled(CSkinScrollBar* bar, int request, int trackPosition);
    // The bars' ranges follow the shown lists; a newly shown list starts at
    // the top.
    enum class BarStart { Keep, SequenceAtTop, BothAtTop };
    void syncBars(BarStart start);

    // Icon pages.
    static bool isIcon(int id);
    static bool hasTooltip(int id);
    void toggleIcon(SkinControl& icon);
    int& selected(int page);

    // After each edit: one undo step when the working copies changed. A
    // recording is one step, from its start to its end.
    void settle();
    void undoStep(UndoKey key);

    void clearPage();
    void confirm();
    void showTooltip();


    KeyboardProfile& profile_;
    SystemDialogs& dialogs_;
    int slot_;
    int page_ = 1;
    bool singleKeyMode_ = true;
    int capturedCode_ = -1;
    std::array<int, 4> selectedCodes_{-1, -1, -1, -1};  // pages 4..7
    KeyRecorder recorder_;
    RecordingPath recordingPath_ = RecordingPath::Hook;
    std::unique_ptr<RecordingKeyFilter> keyFilter_;  // while recording
    SequenceLibrary combos_;
    SequenceLibrary macros_;
    SequenceLibrary emulations_;
    UndoHistory<WorkingCopies> history_;

    QLineEdit* loopEdit_ = nullptr;    // children of the window
    QLineEdit* delayEdit_ = nullptr;
    QLineEdit* renameEdit_ = nullptr;
    QPlainTextEdit* comboKeysBox_ = nullptr;
    CSkinScrollBar* libraryBar_ = nullptr;
    CSkinScrollBar* sequenceBar_ = nullptr;
    QTimer* tooltipTimer_ = nullptr;
    int tooltipIcon_ = -1;
    QString tooltipText_;
    bool renameActive_ = false;
    bool delayEditActive_ = false;
    int menuRow_ = -1;  // the action row that was right-clicked
    bool activatingByKey_ = false;  // inside a Space activation
    std::unique_ptr<ControlTimer> countDown_;
    int stopSecondsLeft_ = 0;
    int countDownCaption_ = -1;  // the Stop caption showing the seconds
    std::map<std::string, std::wstring> stopCaptions_;  // its captions before
};
