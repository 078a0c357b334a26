// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "editor/CTarnDialogKeyMapSettings.h"

#include <algorithm>
#include <climits>
#include <optional>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolTip>

#include "editor/KeyMapWindowLayout.h"
#include "editor/MacroEdits.h"
#include "editor/RecordingKeyFilter.h"
#include "profile/KeyboardProfile.h"
#include "shell/AppResources.h"
#include "shell/CSkinScrollBar.h"
#include "shell/EditLook.h"
#include "shell/MainWindowLayout.h"
#include "shell/SystemDialogs.h"

namespace {

using layout::keymap::PageEmulate;
using layout::keymap::PageFunction;
using layout::keymap::PageMacro;
using layout::keymap::PageMouse;
using layout::keymap::PageMultimedia;
using layout::keymap::PagePower;
using layout::keymap::PageUniCombo;

constexpr int kComboRows = 6;
constexpr int kListRows = 9;
constexpr int kFnHwCode = 156;       // the FN key: set in both layers at once
constexpr int kEventCodeMask = 511;  // the low 9 bits of an event code name the key
constexpr int kScrollBarSkin = 138;
constexpr int kMenuTip = 269;      // the macro page's tip row
constexpr int kTipFontSize = 12;   // two lines fit the tip area

// The tooltip's colours: blue text on yellow.
const QColor kTooltipText(0, 0, 255);
const QColor kTooltipBase(255, 255, 0);

QRect toQRect(const layout::Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

// The mode OK stores on icon pages 4..7.
int iconPageMode(int page) {
    switch (page) {
    case PageMultimedia: return ModeMultimedia;
    case PageMouse: return ModeMouse;
    case PageFunction: return ModeFunction;
    case PagePower: return ModePower;
    default: return ModeNotSet;
    }
}

bool hasItems(const ActionList& list) {
    return !list.items.empty();
}

void showAndEnable(QWidget* widget, bool shown, bool enabled) {
    widget->setVisible(shown);
    widget->setEnabled(enabled);
}

void placeBar(CSkinScrollBar* bar, const layout::Rect& place) {
    bar->setGeometry(place.left, place.top, bar->cellSize(), place.height());
}

// A bar over a list of `count` items shown `rows` at a time, at its start.
CSkinScrollBar::ScrollInfo barFor(int count, int rows) {
    return {0, count + rows - 1, rows, 0};
}

int itemCount(const ActionList& list) {
    return static_cast<int>(list.items.size());
}

// The mouse actions of the macro rows' menu, by HW code.
constexpr int kMouseLeft = 130;
constexpr int kMouseRight = 131;
constexpr int kMouseMiddle = 132;
constexpr int kWheelUpCode = 133;
constexpr int kWheelDownCode = 134;

}  // namespace

struct CTarnDialogKeyMapSettings::SequencePage {
    int page;
    int newButton;
    int deleteButton;
    int recordButton;
    int recordCaption;
    int stopCaption;
    int firstNameRow;
    int firstSequenceRow;  // 0: the sequence is not a column of rows
    int rows;
    KeyRecorder::Target target;
    const wchar_t* nameEn;  // a new entry's offered name
    const wchar_t* nameZh;
};

const CTarnDialogKeyMapSettings::SequencePage* CTarnDialogKeyMapSettings::sequencePage(int page) {
    static constexpr SequencePage pages[] = {
        {PageUniCombo, kNewCombo, kDeleteCombo, kRecordCombo, 159, 160, kFirstComboNameRow, 0, kComboRows,
         KeyRecorder::Target::Combo, L"New Combo %d", L"组合键%d"},
        {PageMacro, kNewMacro, kRemoveMacro, kRecordMacro, 267, 268, kFirstMacroNameRow, kFirstMacroActionRow,
         kListRows, KeyRecorder::Target::Macro, L"New Macro %d", L"宏定义%d"},
        {PageEmulate, kNewEmulation, kRemoveEmulation, kRecordEmulation, 352, 353, kFirstEmulationNameRow,
         kFirstEmulationKeyRow, kListRows, KeyRecorder::Target::Emulation, L"New Emu %d", L"模拟击键%d"},
    };
    for (const SequencePage& candidate : pages)
        if (candidate.page == page)
            return &candidate;
    return nullptr;
}

SequenceLibrary& CTarnDialogKeyMapSettings::libraryOf(const SequencePage& page) {
    return page.page == PageUniCombo ? combos_ : page.page == PageMacro ? macros_ : emulations_;
}

CTarnDialogKeyMapSettings::CTarnDialogKeyMapSettings(KeyboardProfile& profile, SystemDialogs& dialogs,
                                                     QWidget* parent)
    : CSkinDialog(layout::keyMapWindow, profile.language, parent),
      profile_(profile),
      dialogs_(dialogs),
      slot_(KeyboardProfile::slot(profile.currentKey, profile.currentLevel)),
      recorder_(profile),
      combos_(profile.predefinedCombo, kComboRows),
      macros_(profile.predefinedMacro, kListRows),
      emulations_(profile.predefinedEmu, kListRows),
      history_(workingCopies()) {
    setWindowTitle(QString::fromWCharArray(SystemDialogs::kProgramName));
    if (profile.currentKey < 1 || profile.currentKey > KeyboardProfile::kKeyCount || profile.currentLevel < 0
        || profile.currentLevel > 1)
        slot_ = -1;  // no key to edit: OK then writes nothing

    tooltipTimer_ = new QTimer(this);
    tooltipTimer_->setSingleShot(true);
    tooltipTimer_->setInterval(kTooltipDelayMs);
    connect(tooltipTimer_, &QTimer::timeout, this, &CTarnDialogKeyMapSettings::showTooltip);

    loopEdit_ = new QLineEdit(this);
    delayEdit_ = new QLineEdit(this);
    renameEdit_ = new QLineEdit(this);
    for (QLineEdit* edit : {loopEdit_, delayEdit_, renameEdit_})
        EditLook::apply(*edit);
    loopEdit_->setGeometry(toQRect(layout::keyMapLoopEdit));
    delayEdit_->setGeometry(toQRect(layout::keyMapDelayEdit));
    connect(loopEdit_, &QLineEdit::textEdited, this, &CTarnDialogKeyMapSettings::loopEdited);
    connect(renameEdit_, &QLineEdit::editingFinished, this, &CTarnDialogKeyMapSettings::commitRename);
    comboKeysBox_ = new QPlainTextEdit(this);
    EditLook::apply(*comboKeysBox_);
    comboKeysBox_->setGeometry(toQRect(layout::keyMapComboKeysBox));
    comboKeysBox_->setReadOnly(true);
    comboKeysBox_->setTabChangesFocus(true);  // in the window's Tab chain, never taking Tab
    // The box only shows the keys: never a caret, also while it has the focus.
    comboKeysBox_->setCursorWidth(0);
    comboKeysBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    comboKeysBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    libraryBar_ = new CSkinScrollBar(Qt::Vertical, this);
    sequenceBar_ = new CSkinScrollBar(Qt::Vertical, this);
    for (CSkinScrollBar* bar : {libraryBar_, sequenceBar_}) {
        bar->setSkin(AppResources::current().skinImage(kScrollBarSkin));
        connect(bar, &CSkinScrollBar::scrollRequested, this,
                [this, bar](int request, int position) { scrolled(bar, request, position); });
    }

    const int mode = slot_ >= 0 ? profile.modes[static_cast<std::size_t>(slot_)] : ModeNotSet;
    const int hwCode = slot_ >= 0 ? profile.hwCodes[static_cast<std::size_t>(slot_)] : 0;
    const ActionList* sequence = slot_ >= 0 ? &profile.sequences[static_cast<std::size_t>(slot_)] : nullptr;
    int firstPage = PageUniCombo;
    switch (mode) {
    case ModeSingle:
        setSingleKeyMode(true);
        if (hwCode >= 0 && hwCode < KeyboardProfile::kCodeTableSize)
            capturedCode_ = profile.hwToCode[static_cast<std::size_t>(hwCode)];
        break;
    case ModeCombo:
        setSingleKeyMode(false);
        showKeySequence(combos_, *sequence);
        break;
    case ModeMacro:
        showKeySequence(macros_, *sequence);
        firstPage = PageMacro;
        break;
    case ModeEmulation:
        showKeySequence(emulations_, *sequence);
        firstPage = PageEmulate;
        break;
    case ModeMultimedia:
    case ModeMouse:
    case ModeFunction:
    case ModePower:
        firstPage = PageMultimedia + (mode - ModeMultimedia);
        selected(firstPage) = hwCode;
        break;
    default:
        setSingleKeyMode(true);
        break;
    }
    switchPage(firstPage);
    history_.reset(workingCopies());
}

CTarnDialogKeyMapSettings::~CTarnDialogKeyMapSettings() {
    // The hook must never outlive the window it posts to.
    if (recorder_.isRecording())
        releaseKeys();
    // The base hides the window after this part is gone, taking the focus
    // from an edit: nothing may answer that any more.
    for (QLineEdit* edit : {loopEdit_, delayEdit_, renameEdit_})
        edit->disconnect(this);
    if (tooltipIcon_ >= 0)
        QToolTip::hideText();
}

void CTarnDialogKeyMapSettings::showKeySequence(SequenceLibrary& library, const ActionList& sequence) {
    if (!hasItems(sequence))
        return;
    // A key read from the keyboard, or opened from a file whose library
    // lacks its sequence, still opens on its own sequence: as an entry named
    // after the key, which reaches the profile's library only through OK.
    const bool chinese = profile_.language == "zh-CN";
    const std::wstring layer = L"L" + std::to_wstring(profile_.currentLevel + 1);
    const std::wstring name = layout::keyLegend(profile_.currentKey, chinese)
                              + (chinese ? L"（" + layer + L"）" : L" (" + layer + L")");
    library.showOrAdd(sequence, name);
}

void CTarnDialogKeyMapSettings::done(int result) {
    if (recorder_.isRecording())
        stopRecording();
    CSkinDialog::done(result);
}

int CTarnDialogKeyMapSettings::selectedCode(int page) const {
    return page >= PageMultimedia && page <= PagePower ? selectedCodes_[static_cast<std::size_t>(page - PageMultimedia)]
                                                       : -1;
}

int& CTarnDialogKeyMapSettings::selected(int page) {
    return selectedCodes_[static_cast<std::size_t>(std::clamp(page, int{PageMultimedia}, int{PagePower}) - PageMultimedia)];
}

// ---- Pages ------------------------------------------------------------------

bool CTarnDialogKeyMapSettings::isShown(const SkinControl& control) const {
    return control.isLive() && (control.id < 100 || control.id / 100 == page_);
}

void CTarnDialogKeyMapSettings::switchPage(int page) {
    page_ = std::clamp(page, 1, kPageCount);
    const int background = layout::keymap::pageBackground(page_);
    setSkinSet(AppResources::current().skinSet(background, background + 1, background + 2));

    const bool sequencePage = page_ == PageMacro || page_ == PageEmulate;
    showAndEnable(loopEdit_, sequencePage, sequencePage);
    showAndEnable(delayEdit_, page_ == PageMacro, false);
    showAndEnable(renameEdit_, false, false);
    showAndEnable(comboKeysBox_, page_ == PageUniCombo, page_ == PageUniCombo);
    syncBars(BarStart::BothAtTop);
    if (page_ == PageUniCombo) {
        placeBar(libraryBar_, layout::keyMapComboBar);
        placeBar(sequenceBar_, layout::keyMapComboSequenceBar);
    } else {
        placeBar(libraryBar_, layout::keyMapLibraryBar);
        placeBar(sequenceBar_, layout::keyMapSequenceBar);
    }
    libraryBar_->setVisible(page_ <= PageEmulate);
    sequenceBar_->setVisible(sequencePage);

    tooltipIcon_ = -1;
    tooltipText_.clear();
    tooltipTimer_->stop();
    QToolTip::hideText();
    update();
}

// What the window shows is derived from its state at every paint.
void CTarnDialogKeyMapSettings::refreshRows(int firstRow, int rows, const ActionList& list) {
    for (int i = 0; i < rows; ++i) {
        if (SkinControl* row = controlById(firstRow + i)) {
            row->captions[profile_.language] = list.itemText(i);
            row->active = i == list.cursorPos;
        }
    }
}

void CTarnDialogKeyMapSettings::refreshPage() {
    if (page_ == PageUniCombo) {
        if (SkinControl* name = controlById(kCapturedKeyName))
            name->captions[profile_.language] = profile_.actionItemName(capturedCode_, false);
        refreshRows(kFirstComboNameRow, kComboRows, combos_.names());
        std::wstring keys;
        for (const std::wstring& item : combos_.sequence().items)
            keys += (keys.empty() ? L"" : L" + ") + item;
        const QString shown = QString::fromStdWString(keys);
        if (comboKeysBox_->toPlainText() != shown)
            comboKeysBox_->setPlainText(shown);
    }
    if (const SequencePage* sequence = sequencePage(page_); sequence && sequence->firstSequenceRow > 0) {
        const SequenceLibrary& library = libraryOf(*sequence);
        refreshRows(sequence->firstNameRow, sequence->rows, library.names());
        refreshRows(sequence->firstSequenceRow, sequence->rows, library.sequence());
        const int value = page_ == PageMacro ? library.sequence().cycles : library.sequence().delay;
        if (loopEdit_->text() != QString::number(value))
            loopEdit_->setText(QString::number(value));
        if (SkinControl* autoInterval = controlById(kAutoInterval); autoInterval && page_ == PageMacro)
            autoInterval->active = library.sequence().isAutoInterval;
    }
    if (page_ >= PageMultimedia) {
        const int chosen = selectedCode(page_);
        for (SkinControl& control : controls())
            if (isShown(control) && isIcon(control.id))
                control.active = control.auxIndex == chosen;
    }
}

void CTarnDialogKeyMapSettings::paintWindow(QPainter& painter) {
    refreshPage();
    const bool windowPath = recorder_.isRecording() && recordingPath_ == RecordingPath::Window;
    if (SkinControl* menuTip = controlById(kMenuTip))
        menuTip->captionVisible = !windowPath;
    paintControls(painter);
    if (windowPath)
        paintWindowPathTip(painter);
}

// Where the recording cannot see the desktop's keys, the tip area below the
// buttons says so; on the macro page in place of the menu's tip.
void CTarnDialogKeyMapSettings::paintWindowPathTip(QPainter& painter) {
    const SkinControl* menuTip = controlById(kMenuTip);
    painter.setPen(menuTip ? menuTip->textColor : QColor(Qt::white));
    painter.setFont(AppResources::current().fontTable[kTipFontSize]);
    painter.drawText(toQRect(layout::keyMapRecordingTip), Qt::AlignCenter | Qt::TextWordWrap,
                     QString::fromStdWString(profile_.inLanguage(kWindowPathTipEn, kWindowPathTipZh)));
}

// ---- Clicks ------------------------------------------------------------------

SkinControl* CTarnDialogKeyMapSettings::recordAt(QPoint point) {
    for (SkinControl& control : controls())
        if (isShown(control) && control.rect.contains(point.x(), point.y()))
            return &control;
    return nullptr;
}

void CTarnDialogKeyMapSettings::leftButtonReleased(QPoint point) {
    clicked(recordAt(point));
}

void CTarnDialogKeyMapSettings::activateControl(SkinControl& control) {
    activatingByKey_ = true;
    clicked(&control);
    activatingByKey_ = false;
}

void CTarnDialogKeyMapSettings::clicked(const SkinControl* hit) {
    const int id = hit ? hit->id : -1;
    // A click anywhere first ends what is open: the delay edit (unless the
    // click closes it), the rename, a recording. The rename and a single-key
    // or combo recording let the click go on only to OK or Cancel.
    if (delayEditActive_ && id != kDelayToggle)
        abandonDelayEdit();
    if (renameActive_) {
        commitRename();
        if (id != kOk && id != kCancel) {
            update();
            return;
        }
    }
    if (recorder_.isRecording()) {
        const bool mayGoOn = stopRecording();
        if (!mayGoOn || (id != kOk && id != kCancel)) {
            settle();
            update();
            return;
        }
    }
    act(id);
    settle();
    update();
}

void CTarnDialogKeyMapSettings::act(int id) {
    if (id >= kFirstTab && id < kFirstTab + kPageCount) {
        switchPage(id - kFirstTab + 1);
        return;
    }
    if (isIcon(id)) {
        if (SkinControl* icon = controlById(id))
            toggleIcon(*icon);
        return;
    }
    switch (id) {
    case kClear:
        clearPage();
        break;
    case kOk:
        confirm();
        break;
    case kCancel:
    case kClose:
        reject();
        break;
    case kSingleRadio:
    case kComboRadio:
        setSingleKeyMode(!singleKeyMode_);
        break;
    case kCapture:
        if (singleKeyMode_)
            startCapture();
        break;
    default:
        actOnSequencePage(id);
        break;
    }
}

void CTarnDialogKeyMapSettings::actOnSequencePage(int id) {
    const SequencePage* page = sequencePage(page_);
    // The combo half of page 1 answers only in combo mode.
    if (!page || (page_ == PageUniCombo && singleKeyMode_))
        return;
    SequenceLibrary& library = libraryOf(*page);
    if (id == page->newButton)
        newEntry(*page);
    else if (id == page->deleteButton)
        deleteEntry(*page);
    else if (id == page->recordButton && library.entryCount() > 0)
        startRecording(*page);
    else if (id >= page->firstNameRow && id < page->firstNameRow + page->rows)
        nameRowClicked(*page, id - page->firstNameRow);
    else if (page->firstSequenceRow > 0 && id >= page->firstSequenceRow && id < page->firstSequenceRow + page->rows)
        actionRowClicked(*page, id - page->firstSequenceRow);
    else if (id == kAutoInterval && page_ == PageMacro) {
        ActionList& macro = macros_.sequence();
        MacroEdits::setAutoInterval(macro, !macro.isAutoInterval);
        MacroEdits::trimToLimit(macro);
        macros_.storeBack();
        syncBars(BarStart::Keep);
    } else if (id == kDelayToggle && page_ == PageMacro) {
        toggleDelayEdit();
    }
}

// ---- Page 1: single key ----------------------------------------------------------

void CTarnDialogKeyMapSettings::setSingleKeyMode(bool single) {
    singleKeyMode_ = single;
    for (int id : {kSingleRadio, kSingleCaption})
        if (SkinControl* control = controlById(id))
            control->active = single;
    for (int id : {kComboRadio, kComboCaption})
        if (SkinControl* control = controlById(id))
            control->active = !single;
}

void CTarnDialogKeyMapSettings::setRecordLook(int button, int caption, int stopCaption, bool on) {
    if (SkinControl* control = controlById(button))
        control->active = on;
    if (SkinControl* control = controlById(caption))
        control->captionVisible = !on;
    if (SkinControl* control = controlById(stopCaption))
        control->captionVisible = on;
}

void CTarnDialogKeyMapSettings::startCapture() {
    setRecordLook(kCapture, kCaptureCaption, kCaptureStopCaption, true);
    recorder_.start(KeyRecorder::Target::SingleKey, nullptr);
    takeKeys();
}

void CTarnDialogKeyMapSettings::takeKeys() {
    recordingPath_ = recordingPathFor(RecordingSession::current(QGuiApplication::platformName().toStdString()));
    keyFilter_ = std::make_unique<RecordingKeyFilter>(*this, recordingPath_);
    // Keys go to the window itself, not to an edit (nor an input method).
    setFocus();
    if (recordingPath_ == RecordingPath::Hook)
        InstallHook(this);
    // Started from the keyboard: no key can stop it, so time does.
    if (activatingByKey_)
        restartCountDown();
}

void CTarnDialogKeyMapSettings::releaseKeys() {
    UninstallHook();
    keyFilter_.reset();
    if (countDown_)
        countDown_->stop();
    stopSecondsLeft_ = 0;
    showCountDown();
}

void CTarnDialogKeyMapSettings::restartCountDown() {
    if (!countDown_)
        countDown_ = ControlTimer::createQtTimer();
    stopSecondsLeft_ = kKeyboardStopSeconds;
    countDown_->start(1000, true, [this] { countDownTick(); });
    showCountDown();
}

void CTarnDialogKeyMapSettings::countDownTick() {
    if (--stopSecondsLeft_ > 0) {
        showCountDown();
        return;
    }
    stopRecording();
    settle();
    update();
}

// The running recording's Stop caption carries the seconds left; the table's
// captions come back when the count-down ends.
void CTarnDialogKeyMapSettings::showCountDown() {
    if (SkinControl* shown = countDownCaption_ >= 0 ? controlById(countDownCaption_) : nullptr) {
        shown->captions = stopCaptions_;
        updateControl(*shown);
    }
    countDownCaption_ = -1;
    if (stopSecondsLeft_ <= 0)
        return;
    const KeyRecorder::Target target = recorder_.target();
    const SequencePage* page = target == KeyRecorder::Target::Combo   ? sequencePage(PageUniCombo)
                               : target == KeyRecorder::Target::Macro ? sequencePage(PageMacro)
                               : target == KeyRecorder::Target::Emulation ? sequencePage(PageEmulate)
                                                                          : nullptr;
    SkinControl* caption = controlById(page ? page->stopCaption : kCaptureStopCaption);
    if (!caption)
        return;
    countDownCaption_ = caption->id;
    stopCaptions_ = caption->captions;
    for (auto& [language, text] : caption->captions)
        text += L" (" + std::to_wstring(stopSecondsLeft_) + L")";
    updateControl(*caption);
}

bool CTarnDialogKeyMapSettings::stopRecording() {
    const KeyRecorder::Target target = recorder_.target();
    releaseKeys();
    recorder_.stop();
    if (target == KeyRecorder::Target::SingleKey) {
        setRecordLook(kCapture, kCaptureCaption, kCaptureStopCaption, false);
        return true;
    }
    const int page = target == KeyRecorder::Target::Combo   ? PageUniCombo
                     : target == KeyRecorder::Target::Macro ? PageMacro
                                                            : PageEmulate;
    const SequencePage& recorded = *sequencePage(page);
    libraryOf(recorded).storeBack();
    setRecordLook(recorded.recordButton, recorded.recordCaption, recorded.stopCaption, false);
    return target == KeyRecorder::Target::Combo;
}

void CTarnDialogKeyMapSettings::startRecording(const SequencePage& page) {
    ActionList& sequence = libraryOf(page).sequence();
    // A macro keeps its repeat count and interval mode, an emulation its pace.
    const ActionList before = sequence;
    sequence.clearList();
    if (page.target == KeyRecorder::Target::Macro) {
        sequence.cycles = before.cycles;
        sequence.isAutoInterval = before.isAutoInterval;
    } else if (page.target == KeyRecorder::Target::Emulation) {
        sequence.delay = before.delay;
    }
    syncBars(BarStart::Keep);
    setRecordLook(page.recordButton, page.recordCaption, page.stopCaption, true);
    recorder_.start(page.target, &sequence);
    takeKeys();
}

void CTarnDialogKeyMapSettings::captureKey(const KeyRecorder::Outcome& event) {
    if (!event.newPress)
        return;
    const int code = event.code;
    const int hw = code >= 0 ? profile_.codeToHw[static_cast<std::size_t>(code & kEventCodeMask)] : -1;
    const int mappedBack =
        hw >= 0 && hw < KeyboardProfile::kCodeTableSize ? profile_.hwToCode[static_cast<std::size_t>(hw)] : -1;
    capturedCode_ = code < 0 || hw < 0 ? -1 : mappedBack;
    if (SkinControl* name = controlById(kCapturedKeyName))
        updateControl(*name);
    // A key the keyboard has no position for.
    if (capturedCode_ != code)
        dialogs_.messageBox(this, L"a=" + std::to_wstring(code) + L", b=" + std::to_wstring(hw) + L", c="
                                      + std::to_wstring(mappedBack));
}

void CTarnDialogKeyMapSettings::messageReceived(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message != hwi_msg::kKeyEvent || !recorder_.isRecording())
        return;
    const KeyRecorder::Outcome event = recorder_.keyEvent(wParam, lParam, messageTime());
    if (stopSecondsLeft_ > 0)
        restartCountDown();
    if (recorder_.target() == KeyRecorder::Target::SingleKey) {
        captureKey(event);
    } else if (event.itemsAdded > 0) {
        syncBars(BarStart::Keep);
        update();
    }
}

// ---- Icon pages -----------------------------------------------------------------

CSkinDialog::ControlAccess CTarnDialogKeyMapSettings::controlAccess(const SkinControl& control) const {
    using Role = ControlAccess::Role;
    ControlAccess access = CSkinDialog::controlAccess(control);
    const int id = control.id;
    if (id >= kFirstTab && id < kFirstTab + kPageCount) {
        access.role = Role::Tab;
        access.on = id - kFirstTab + 1 == page_;
    } else if (id == kSingleRadio || id == kComboRadio) {
        access.role = Role::Toggle;
        access.on = singleKeyMode_ == (id == kSingleRadio);
    } else if (id == kAutoInterval || id == kDelayToggle) {
        access.role = Role::Toggle;
    } else if (isIcon(id)) {
        // The mouse rows are named by the labels on them.
        access.role = Role::Icon;
        access.on = control.auxIndex == selectedCode(id / 100);
    } else if (id == 103 || id == 301) {
        access.role = Role::Label;  // the pictures behind "Press a key:" and "Delay"
    }
    return access;
}

bool CTarnDialogKeyMapSettings::isIcon(int id) {
    return (id >= 401 && id <= 418) || (id >= 502 && id <= 511) || (id >= 601 && id <= 628)
           || (id >= 701 && id <= 703);
}

bool CTarnDialogKeyMapSettings::hasTooltip(int id) {
    return isIcon(id) && id / 100 != PageMouse;
}

void CTarnDialogKeyMapSettings::toggleIcon(SkinControl& icon) {
    // The painter lights the icon whose code is the page's choice.
    selected(page_) = icon.active ? -1 : icon.auxIndex;
    refreshPage();
}

// ---- OK, Cancel, Clear ----------------------------------------------------------------

void CTarnDialogKeyMapSettings::clearPage() {
    if (page_ == PageUniCombo) {
        capturedCode_ = -1;
        combos_.clear();
    } else if (page_ == PageMacro) {
        macros_.clear();
    } else if (page_ == PageEmulate) {
        emulations_.clear();
    } else {
        selected(page_) = -1;
        return;
    }
    syncBars(BarStart::BothAtTop);
}

void CTarnDialogKeyMapSettings::confirm() {
    if (slot_ >= 0) {
        const auto slot = static_cast<std::size_t>(slot_);
        int& mode = profile_.modes[slot];
        mode = ModeNotSet;
        // The old HW code and sequence stay stored and are ignored while
        // the slot is not set.
        const auto assignSequence = [&](const ActionList& sequence, int sequenceMode) {
            if (hasItems(sequence)) {
                profile_.sequences[slot] = sequence;
                mode = sequenceMode;
            }
        };
        switch (page_) {
        case PageUniCombo:
            if (singleKeyMode_) {
                const int hw = capturedCode_ >= 0
                                   ? profile_.codeToHw[static_cast<std::size_t>(capturedCode_ & kEventCodeMask)]
                                   : 0;
                if (hw > 0) {
                    profile_.hwCodes[slot] = hw;
                    mode = ModeSingle;
                }
            } else {
                assignSequence(combos_.sequence(), ModeCombo);
            }
            profile_.predefinedCombo = combos_.names();
            break;
        case PageMacro:
            assignSequence(macros_.sequence(), ModeMacro);
            profile_.predefinedMacro = macros_.names();
            break;
        case PageEmulate:
            assignSequence(emulations_.sequence(), ModeEmulation);
            profile_.predefinedEmu = emulations_.names();
            break;
        default:
            if (const int code = selectedCode(page_); code >= 1) {
                profile_.hwCodes[slot] = code;
                mode = iconPageMode(page_);
                if (page_ == PageFunction && code == kFnHwCode) {
                    const auto other =
                        static_cast<std::size_t>(KeyboardProfile::slot(profile_.currentKey, 1 - profile_.currentLevel));
                    profile_.hwCodes[other] = kFnHwCode;
                    profile_.modes[other] = ModeFunction;
                }
            }
            break;
        }
    }
    update();
    accept();
}

bool CTarnDialogKeyMapSettings::eventFilter(QObject* watched, QEvent* event) {
    // Enter in an edit never reaches the window's OK: it commits a rename,
    // and the Loop and Delay edits take their value as it is typed.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter)
            && (watched == renameEdit_ || watched == loopEdit_ || watched == delayEdit_)) {
            if (watched == renameEdit_)
                commitRename();
            return true;
        }
    }
    return CSkinDialog::eventFilter(watched, event);
}

void CTarnDialogKeyMapSettings::hideEvent(QHideEvent* event) {
    // Hidden by the program, not minimised or on another desktop.
    if (!event->spontaneous() && recorder_.isRecording()) {
        stopRecording();
        update();
    }
    CSkinDialog::hideEvent(event);
}

void CTarnDialogKeyMapSettings::settle() {
    if (!recorder_.isRecording())
        history_.settle(workingCopies());
}

void CTarnDialogKeyMapSettings::undoStep(UndoKey key) {
    // A recording takes every key; an open edit ends first, as a click ends it.
    if (recorder_.isRecording())
        return;
    if (delayEditActive_)
        abandonDelayEdit();
    commitRename();
    const WorkingCopies now = workingCopies();
    const std::optional<WorkingCopies> state = key == UndoKey::Undo ? history_.undo(now) : history_.redo(now);
    if (!state)
        return;
    combos_ = state->combos;
    macros_ = state->macros;
    emulations_ = state->emulations;
    capturedCode_ = state->capturedCode;
    syncBars(BarStart::Keep);
    update();
}

void CTarnDialogKeyMapSettings::keyPressEvent(QKeyEvent* event) {
    if (const UndoKey key = undoKeyOf(*event); key != UndoKey::None) {
        undoStep(key);
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        accept();  // OK without writing anything
        return;
    }
    CSkinDialog::keyPressEvent(event);  // Escape: Cancel
}

// ---- Pages 1..3: libraries, sequences, edits, menu, scrolling --------------------------

void CTarnDialogKeyMapSettings::newEntry(const SequencePage& page) {
    SequenceLibrary& library = libraryOf(page);
    const std::wstring offered = library.addEntry(profile_.inLanguage(page.nameEn, page.nameZh));
    syncBars(BarStart::SequenceAtTop);
    openRename(page, offered);
}

void CTarnDialogKeyMapSettings::deleteEntry(const SequencePage& page) {
    SequenceLibrary& library = libraryOf(page);
    if (library.entryCount() == 0)
        return;
    library.removeHighlighted();
    syncBars(BarStart::SequenceAtTop);
}

void CTarnDialogKeyMapSettings::nameRowClicked(const SequencePage& page, int row) {
    SequenceLibrary& library = libraryOf(page);
    if (!library.isEntryRow(row))
        return;
    library.storeBack();
    if (row == library.names().cursorPos) {
        openRename(page, library.names().itemText(row));
        return;
    }
    library.highlightRow(row);
    syncBars(BarStart::SequenceAtTop);
}

void CTarnDialogKeyMapSettings::actionRowClicked(const SequencePage& page, int row) {
    ActionList& sequence = libraryOf(page).sequence();
    if (static_cast<long long>(sequence.viewStartAt) + row < itemCount(sequence) && row != sequence.cursorPos)
        sequence.cursorPos = row;
}

void CTarnDialogKeyMapSettings::openRename(const SequencePage& page, const std::wstring& text) {
    const SkinControl* row = controlById(page.firstNameRow + libraryOf(page).names().cursorPos);
    if (!row)
        return;
    renameEdit_->setGeometry(toQRect(row->rect));
    renameEdit_->setText(QString::fromStdWString(text));
    renameEdit_->selectAll();
    showAndEnable(renameEdit_, true, true);
    renameEdit_->setFocus();
    renameActive_ = true;
}

void CTarnDialogKeyMapSettings::commitRename() {
    if (!renameActive_)
        return;
    // First: hiding the edit takes its focus, which commits once more.
    renameActive_ = false;
    const QRect place = renameEdit_->geometry();
    if (const SequencePage* page = sequencePage(page_)) {
        for (int row = 0; row < page->rows; ++row) {
            const SkinControl* record = controlById(page->firstNameRow + row);
            if (record && toQRect(record->rect) == place) {
                libraryOf(*page).names().setOrAppendItem(row, renameEdit_->text().toStdWString());
                break;
            }
        }
    }
    showAndEnable(renameEdit_, false, false);
    settle();
    update();
}

void CTarnDialogKeyMapSettings::toggleDelayEdit() {
    ActionList& macro = macros_.sequence();
    SkinControl* toggle = controlById(kDelayToggle);
    if (!toggle)
        return;
    if (!delayEditActive_) {
        const std::optional<std::wstring> digits = MacroEdits::pauseDigits(macro.itemText(macro.cursorPos));
        if (!digits)
            return;
        delayEdit_->setText(QString::fromStdWString(*digits));
        toggle->active = true;
        delayEdit_->setEnabled(true);
        delayEdit_->setFocus();
    } else {
        // The keyboard holds a pause in 16 bits.
        const int ms = MacroEdits::typedNumber(delayEdit_->text().toStdWString(), 0, MacroEdits::kMaxPauseMs);
        macro.setOrAppendItem(macro.cursorPos, MacroEdits::pauseText(ms));
        macros_.storeBack();
        toggle->active = false;
        delayEdit_->clear();
        delayEdit_->setEnabled(false);
    }
    delayEditActive_ = toggle->active;
}

void CTarnDialogKeyMapSettings::abandonDelayEdit() {
    if (SkinControl* toggle = controlById(kDelayToggle))
        toggle->active = false;
    delayEdit_->clear();
    delayEditActive_ = false;
}

void CTarnDialogKeyMapSettings::loopEdited(const QString& text) {
    const bool macroPage = page_ == PageMacro;
    if (!macroPage && page_ != PageEmulate)
        return;
    const int typed = MacroEdits::typedNumber(text.toStdWString(), INT_MIN, INT_MAX);
    // Out of range: the edit shows the bound it was clamped to. A pace below
    // zero means nothing to the keyboard either.
    const int value = macroPage ? std::clamp(typed, 1, kMaxLoop) : std::clamp(typed, 0, kMaxEmulationDelay);
    if (value != typed)
        loopEdit_->setText(QString::number(value));
    SequenceLibrary& library = macroPage ? macros_ : emulations_;
    (macroPage ? library.sequence().cycles : library.sequence().delay) = value;
    library.storeBack();
    settle();
}

void CTarnDialogKeyMapSettings::rightButtonReleased(QPoint point) {
    if (page_ != PageMacro || recorder_.isRecording())
        return;
    const SkinControl* hit = recordAt(point);
    const int row = hit ? hit->id - kFirstMacroActionRow : -1;
    const ActionList& macro = macros_.sequence();
    if (row < 0 || row >= kListRows || static_cast<long long>(macro.viewStartAt) + row >= itemCount(macro))
        return;
    menuRow_ = hit->id;
    const auto item = [this](const wchar_t* en, const wchar_t* zh, int command) {
        return SystemDialogs::MenuItem{profile_.inLanguage(en, zh), command, {}};
    };
    const auto buttonMenu = [&](const wchar_t* en, const wchar_t* zh, int press) {
        return SystemDialogs::MenuItem{profile_.inLanguage(en, zh), 0,
                                       {item(L"Press", L"按下", press), item(L"Release", L"释放", press + 1),
                                        item(L"Click", L"点击", press + 2)}};
    };
    if (profile_.language != "en-US" && profile_.language != "zh-CN")
        return;  // the menu has texts in these two languages only
    const std::vector<SystemDialogs::MenuItem> menu{
        buttonMenu(L"Left Click", L"鼠标左键", kLeftPress),
        buttonMenu(L"Right Click", L"鼠标右键", kRightPress),
        buttonMenu(L"Middle Click", L"鼠标中键", kMiddlePress),
        {profile_.inLanguage(L"Wheel", L"滚轮"), 0, {item(L"Up", L"前翻", kWheelUp), item(L"Down", L"后翻", kWheelDown)}},
        item(L"Deleta", L"删除", kDeleteItem),
    };
    if (const int command = dialogs_.popupMenu(this, mapToGlobal(point), menu))
        menuCommand(command);
}

void CTarnDialogKeyMapSettings::menuCommand(int command) {
    ActionList& macro = macros_.sequence();
    const int row = menuRow_ - kFirstMacroActionRow;
    const auto insert = [&](int hwCode, int times) {
        for (int i = 0; i < times; ++i)
            MacroEdits::insertAction(macro, row, profile_.hwCodeName(hwCode));
    };
    switch (command) {
    case kLeftPress: case kLeftRelease: insert(kMouseLeft, 1); break;
    case kLeftClick: insert(kMouseLeft, 2); break;
    case kRightPress: case kRightRelease: insert(kMouseRight, 1); break;
    case kRightClick: insert(kMouseRight, 2); break;
    case kMiddlePress: case kMiddleRelease: insert(kMouseMiddle, 1); break;
    case kMiddleClick: insert(kMouseMiddle, 2); break;
    case kWheelUp: insert(kWheelUpCode, 1); break;
    case kWheelDown: insert(kWheelDownCode, 1); break;
    case kDeleteItem: MacroEdits::deleteAction(macro, row); break;
    default: return;
    }
    MacroEdits::trimToLimit(macro);
    macros_.storeBack();
    syncBars(BarStart::Keep);
    settle();
    update();
}

void CTarnDialogKeyMapSettings::syncBars(BarStart start) {
    const SequencePage* page = sequencePage(page_);
    if (!page)
        return;
    const SequenceLibrary& library = libraryOf(*page);
    const auto sync = [](CSkinScrollBar* bar, int count, int rows, bool fromTheTop) {
        CSkinScrollBar::ScrollInfo info = barFor(count, rows);
        info.position = fromTheTop ? 0 : bar->scrollInfo().position;
        bar->setScrollInfo(info);
        bar->adjustRange(0);  // keeps the position within the new range
    };
    sync(libraryBar_, library.entryCount(), page->rows, start == BarStart::BothAtTop);
    sync(sequenceBar_, itemCount(library.sequence()), page->rows, start != BarStart::Keep);
}

void CTarnDialogKeyMapSettings::scrolled(CSkinScrollBar* bar, int request, int trackPosition) {
    const SequencePage* page = sequencePage(page_);
    if (!page || (bar == sequenceBar_ && page->firstSequenceRow == 0))
        return;
    CSkinScrollBar::ScrollInfo info = bar->scrollInfo();
    switch (request) {
    case CSkinScrollBar::LineUp: --info.position; break;
    case CSkinScrollBar::LineDown: ++info.position; break;
    case CSkinScrollBar::PageUp: info.position -= info.page; break;
    case CSkinScrollBar::PageDown: info.position += info.page; break;
    case CSkinScrollBar::ThumbTrack: info.position = trackPosition; break;
    default: break;
    }
    info.position = std::clamp(info.position, info.minimum, std::max(info.minimum, bar->maxPosition()));
    bar->setScrollInfo(info);
    // Scrolling moves the highlight; only a click on a name row loads it.
    SequenceLibrary& library = libraryOf(*page);
    (bar == libraryBar_ ? library.names() : library.sequence()).selectIndex(info.position);
    update();
}

// ---- Tooltip ---------------------------------------------------------------------

void CTarnDialogKeyMapSettings::hoverChanged() {
    const QPoint mouse = lastMousePos();
    int icon = -1;
    for (const SkinControl& control : controls()) {
        if (isShown(control) && hasTooltip(control.id) && control.rect.contains(mouse.x(), mouse.y())) {
            icon = control.id;
            break;
        }
    }
    if (icon == tooltipIcon_)
        return;
    tooltipIcon_ = icon;
    tooltipTimer_->stop();
    QToolTip::hideText();
    const SkinControl* control = icon > 0 ? controlById(icon) : nullptr;
    tooltipText_ = control ? QString::fromStdWString(control->tooltips.count(profile_.language)
                                                         ? control->tooltips.at(profile_.language)
                                                         : std::wstring())
                           : QString();
    if (!tooltipText_.isEmpty())
        tooltipTimer_->start();
}

void CTarnDialogKeyMapSettings::showTooltip() {
    const SkinControl* control = tooltipIcon_ > 0 ? controlById(tooltipIcon_) : nullptr;
    if (!control || tooltipText_.isEmpty())
        return;
    QPalette colours = QToolTip::palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::ToolTipText, kTooltipText);
        colours.setColor(group, QPalette::ToolTipBase, kTooltipBase);
    }
    QToolTip::setPalette(colours);
    const QRect area = toQRect(control->rect);
    QToolTip::showText(mapToGlobal(area.bottomLeft() + QPoint(0, 4)), tooltipText_, this, area);
}
