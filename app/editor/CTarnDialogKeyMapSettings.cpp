#include "editor/CTarnDialogKeyMapSettings.h"

#include <algorithm>

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimer>
#include <QToolTip>

#include "editor/KeyMapWindowLayout.h"
#include "profile/KeyboardProfile.h"
#include "shell/AppResources.h"
#include "shell/CSkinScrollBar.h"
#include "shell/EditLook.h"
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

}  // namespace

CTarnDialogKeyMapSettings::CTarnDialogKeyMapSettings(KeyboardProfile& profile, SystemDialogs& dialogs,
                                                     QWidget* parent)
    : CSkinDialog(layout::keyMapWindow, profile.language, parent),
      profile_(profile),
      dialogs_(dialogs),
      slot_(KeyboardProfile::slot(profile.currentKey, profile.currentLevel)),
      recorder_(profile),
      combos_(profile.predefinedCombo, kComboRows),
      macros_(profile.predefinedMacro, kListRows),
      emulations_(profile.predefinedEmu, kListRows) {
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
    comboKeysBox_ = new QPlainTextEdit(this);
    EditLook::apply(*comboKeysBox_);
    comboKeysBox_->setGeometry(toQRect(layout::keyMapComboKeysBox));
    comboKeysBox_->setReadOnly(true);
    // The box only shows the keys: never a caret, also while it has the focus.
    comboKeysBox_->setCursorWidth(0);
    comboKeysBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    comboKeysBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    libraryBar_ = new CSkinScrollBar(Qt::Vertical, this);
    sequenceBar_ = new CSkinScrollBar(Qt::Vertical, this);
    for (CSkinScrollBar* bar : {libraryBar_, sequenceBar_})
        bar->setSkin(AppResources::current().bitmap(kScrollBarSkin));

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
        if (hasItems(*sequence))
            combos_.showEntryLike(*sequence);
        break;
    case ModeMacro:
        if (hasItems(*sequence))
            macros_.showEntryLike(*sequence);
        firstPage = PageMacro;
        break;
    case ModeEmulation:
        if (hasItems(*sequence))
            emulations_.showEntryLike(*sequence);
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
}

CTarnDialogKeyMapSettings::~CTarnDialogKeyMapSettings() {
    // The hook must never outlive the window it posts to.
    if (recorder_.isRecording())
        UninstallHook();
    if (tooltipIcon_ >= 0)
        QToolTip::hideText();
}

int CTarnDialogKeyMapSettings::selectedCode(int page) const {
    return page >= PageMultimedia && page <= PagePower ? selectedCodes_[static_cast<std::size_t>(page - PageMultimedia)]
                                                       : -1;
}

int& CTarnDialogKeyMapSettings::selected(int page) {
    return selectedCodes_[static_cast<std::size_t>(std::clamp(page, int{PageMultimedia}, int{PagePower}) - PageMultimedia)];
}

std::wstring CTarnDialogKeyMapSettings::byLanguage(const wchar_t* english, const wchar_t* chinese) const {
    if (profile_.language == "zh-CN")
        return chinese;
    if (profile_.language == "en-US")
        return english;
    return {};
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
    if (page_ == PageUniCombo) {
        libraryBar_->setScrollInfo(barFor(combos_.entryCount(), kComboRows));
        placeBar(libraryBar_, layout::keyMapComboBar);
        placeBar(sequenceBar_, layout::keyMapComboSequenceBar);
        libraryBar_->show();
        sequenceBar_->hide();
    } else if (sequencePage) {
        const SequenceLibrary& library = page_ == PageMacro ? macros_ : emulations_;
        libraryBar_->setScrollInfo(barFor(library.entryCount(), kListRows));
        sequenceBar_->setScrollInfo(barFor(static_cast<int>(library.sequence().items.size()), kListRows));
        placeBar(libraryBar_, layout::keyMapLibraryBar);
        placeBar(sequenceBar_, layout::keyMapSequenceBar);
        libraryBar_->show();
        sequenceBar_->show();
    } else {
        libraryBar_->hide();
        sequenceBar_->hide();
    }

    tooltipIcon_ = -1;
    tooltipText_.clear();
    tooltipTimer_->stop();
    QToolTip::hideText();
    update();
}

// What the window shows is derived from its state at every paint.
void CTarnDialogKeyMapSettings::refreshPage() {
    const std::string& language = profile_.language;
    if (page_ == PageUniCombo) {
        if (SkinControl* name = controlById(kCapturedKeyName))
            name->captions[language] = profile_.actionItemName(capturedCode_, false);
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
    paintControls(painter);
}

// ---- Clicks ------------------------------------------------------------------

SkinControl* CTarnDialogKeyMapSettings::recordAt(QPoint point) {
    for (SkinControl& control : controls())
        if (isShown(control) && control.rect.contains(point.x(), point.y()))
            return &control;
    return nullptr;
}

void CTarnDialogKeyMapSettings::leftButtonReleased(QPoint point) {
    const SkinControl* hit = recordAt(point);
    const int id = hit ? hit->id : -1;
    // A click anywhere ends a running recording first; only a single key or
    // a combo lets that click go on to OK or Cancel.
    if (recorder_.isRecording()) {
        const bool mayGoOn = stopRecording();
        if (!mayGoOn || (id != kOk && id != kCancel)) {
            update();
            return;
        }
    }
    act(id);
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
        break;
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
    InstallHook(this);
}

bool CTarnDialogKeyMapSettings::stopRecording() {
    const KeyRecorder::Target target = recorder_.target();
    UninstallHook();
    recorder_.stop();
    setRecordLook(kCapture, kCaptureCaption, kCaptureStopCaption, false);
    return target == KeyRecorder::Target::SingleKey || target == KeyRecorder::Target::Combo;
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
    const KeyRecorder::Outcome event = recorder_.keyEvent(wParam, lParam);
    if (recorder_.target() == KeyRecorder::Target::SingleKey)
        captureKey(event);
}

// ---- Icon pages -----------------------------------------------------------------

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
    const int rows = page_ == PageUniCombo ? kComboRows : kListRows;
    for (CSkinScrollBar* bar : {libraryBar_, sequenceBar_})
        bar->setScrollInfo(barFor(0, rows));
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

void CTarnDialogKeyMapSettings::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (focusWidget() == loopEdit_ || focusWidget() == delayEdit_))
        return;  // the edits take their value as it is typed
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        accept();  // OK without writing anything
        return;
    }
    CSkinDialog::keyPressEvent(event);  // Escape: Cancel
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
