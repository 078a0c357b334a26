// The key assignment editor: the modal window in which one key slot (the
// profile's currentKey and currentLevel) gets its assignment. Seven pages:
// single keys and combos, macros, emulations, and the keyboard's multimedia,
// mouse, keyboard/backlight and power functions. The window works on copies;
// only OK writes the slot and the current page's library into the profile.
#pragma once

#include <array>
#include <string>

#include "editor/KeyRecorder.h"
#include "editor/SequenceLibrary.h"
#include "shell/CSkinDialog.h"

class CSkinScrollBar;
class KeyboardProfile;
class QLineEdit;
class QPlainTextEdit;
class QTimer;
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

protected:
    bool isShown(const SkinControl& control) const override;
    void leftButtonReleased(QPoint clientPoint) override;
    void hoverChanged() override;
    void messageReceived(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void paintWindow(QPainter& painter) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The record a click belongs to: the first shown one, labels included.
    SkinControl* recordAt(QPoint clientPoint);
    void act(int id);
    void refreshPage();

    // Page 1.
    void setSingleKeyMode(bool single);
    void startCapture();
    void captureKey(const KeyRecorder::Outcome& event);
    // Stops whatever recording runs; true when the click that stopped it may
    // still act on OK or Cancel.
    bool stopRecording();
    void setRecordLook(int button, int caption, int stopCaption, bool on);

    // Icon pages.
    static bool isIcon(int id);
    static bool hasTooltip(int id);
    void toggleIcon(SkinControl& icon);
    int& selected(int page);

    void clearPage();
    void confirm();
    void showTooltip();

    std::wstring byLanguage(const wchar_t* english, const wchar_t* chinese) const;

    KeyboardProfile& profile_;
    SystemDialogs& dialogs_;
    int slot_;
    int page_ = 1;
    bool singleKeyMode_ = true;
    int capturedCode_ = -1;
    std::array<int, 4> selectedCodes_{-1, -1, -1, -1};  // pages 4..7
    KeyRecorder recorder_;
    SequenceLibrary combos_;
    SequenceLibrary macros_;
    SequenceLibrary emulations_;

    QLineEdit* loopEdit_ = nullptr;    // children of the window
    QLineEdit* delayEdit_ = nullptr;
    QLineEdit* renameEdit_ = nullptr;
    QPlainTextEdit* comboKeysBox_ = nullptr;
    CSkinScrollBar* libraryBar_ = nullptr;
    CSkinScrollBar* sequenceBar_ = nullptr;
    QTimer* tooltipTimer_ = nullptr;
    int tooltipIcon_ = -1;
    QString tooltipText_;
};
