#include "ScreenshotCatalogue.h"

#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QPainter>
#include <QTimer>

#include "editor/CTarnDialogKeyMapSettings.h"
#include "editor/KeyMapWindowLayout.h"
#include "jobs/CTarnDialogFirmwareUpdate.h"
#include "jobs/CTarnDialogProgress.h"
#include "jobs/FirmwareWindowLayout.h"
#include "jobs/ProgressWindowLayout.h"
#include "profile/KeyboardProfile.h"
#include "shell/AppResources.h"
#include "shell/BacklightWindowLayout.h"
#include "shell/CSkinDialog.h"
#include "shell/CSkinScrollBar.h"
#include "shell/CTarnDialogBkLightSettings.h"
#include "shell/CTarnDlg.h"
#include "shell/MainWindowLayout.h"
#include "shell/QtSystemDialogs.h"
#include "shell/QtTranslation.h"

namespace {

// The bare skinned window of a layout table: its background and captions,
// and once more with every control active, to review the artwork.
void addBase(std::vector<ScreenshotEntry>& entries, const layout::Window& table) {
    const std::string name = std::string(table.name) + "-base";
    entries.push_back({name, [&table](ScreenshotContext& context) -> std::unique_ptr<QWidget> {
                           return std::make_unique<CSkinDialog>(table, context.profile.language);
                       }});
    entries.push_back({name + "-active", [&table](ScreenshotContext& context) -> std::unique_ptr<QWidget> {
                           auto window = std::make_unique<CSkinDialog>(table, context.profile.language);
                           for (SkinControl& control : window->controls())
                               control.active = true;
                           return window;
                       }});
}

// The backlight window with a rainbow across the keys, black ones left in.
std::unique_ptr<QWidget> backlightWithColours(ScreenshotContext& context) {
    for (int k = 1; k < KeyboardProfile::kLightAreaCount; ++k) {
        const QColor hue = k % 9 == 0 ? QColor(Qt::black) : QColor::fromHsv((k * 11) % 360, 220, 255);
        context.profile.lightAreas[static_cast<std::size_t>(k)] = {hue.red(), hue.green(), hue.blue()};
    }
    return std::make_unique<CTarnDialogBkLightSettings>(context.profile, context.dialogs);
}

// The firmware window part-way through a download.
std::unique_ptr<QWidget> firmwareDownloading(ScreenshotContext& context) {
    auto window = std::make_unique<CTarnDialogFirmwareUpdate>(context.profile, context.dialogs);
    window->versionBox()->setText(QStringLiteral("VO108 1.0.1"));
    window->pathBox()->setText(QStringLiteral("/home/user/firmware/VO108-1.0.2.hex"));
    window->postMessage(hwi_msg::kProgress, 95, 0);
    QCoreApplication::sendPostedEvents(window.get());
    return window;
}

// The main window with a few keys assigned in the shown layer and the mouse
// resting on one of them, so the summary box shows its text.
std::unique_ptr<QWidget> mainWithKeys(ScreenshotContext& context) {
    auto window = std::make_unique<CTarnDlg>(context.profile, context.dialogs);
    constexpr int keys[] = {1, 20, 29, 30, 43, 70, 88, 89, 90, 91};
    for (int keyId : keys) {
        context.profile.modes[static_cast<std::size_t>(KeyboardProfile::slot(keyId, 0))] = ModeSingle;
        context.profile.hwCodes[static_cast<std::size_t>(KeyboardProfile::slot(keyId, 0))] = 43;
    }
    const SkinControl& key20 = *window->controlById(99 + 20);
    window->hitTestControls(QPoint(key20.rect.left + 10, key20.rect.top + 10));
    return window;
}

// The progress window of a key write, part-way.
std::unique_ptr<QWidget> progressPartWay(ScreenshotContext& context) {
    auto window = std::make_unique<CTarnDialogProgress>(context.profile, context.dialogs, 1);
    window->postMessage(hwi_msg::kProgress, 130, 0);
    QCoreApplication::sendPostedEvents(window.get());
    return window;
}

// Both scroll bars on a dark panel, to review the cell sheet (bitmap 138).
std::unique_ptr<QWidget> scrollBars(ScreenshotContext&) {
    auto panel = std::make_unique<QWidget>();
    panel->resize(220, 150);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, AppResources::current().darkBrush.color());
    panel->setPalette(palette);
    const SkinImage& sheet = AppResources::current().skinImage(138);
    auto* vertical = new CSkinScrollBar(Qt::Vertical, panel.get());
    vertical->setGeometry(10, 10, 50, 130);
    vertical->setSkin(sheet);
    vertical->setScrollInfo({0, 20, 6, 5});
    auto* horizontal = new CSkinScrollBar(Qt::Horizontal, panel.get());
    horizontal->setGeometry(50, 60, 160, 50);
    horizontal->setSkin(sheet);
    horizontal->setScrollInfo({0, 5, 6, 0});  // page covers the range: no thumb
    return panel;
}

// The key editor for key 43 ("A") of layer 0, holding `mode` and `hwCode`,
// on `page` (0: the page the mode opens on).
std::unique_ptr<CTarnDialogKeyMapSettings> keyEditor(ScreenshotContext& context, int mode, int hwCode, int page = 0) {
    KeyboardProfile& profile = context.profile;
    profile.currentKey = 43;
    profile.currentLevel = 0;
    const auto slot = static_cast<std::size_t>(KeyboardProfile::slot(43, 0));
    profile.modes[slot] = mode;
    profile.hwCodes[slot] = hwCode;
    auto editor = std::make_unique<CTarnDialogKeyMapSettings>(profile, context.dialogs);
    if (page > 0)
        editor->switchPage(page);
    return editor;
}

ActionList listOf(std::initializer_list<std::wstring> items) {
    ActionList list;
    for (const std::wstring& item : items)
        list.setOrAppendItem(static_cast<int>(list.items.size()), item);
    list.viewStartAt = 0;
    list.cursorPos = 0;
    return list;
}

// Libraries of several entries in the language shown, each page opened on a
// key that holds one of them: a combo, a macro longer than its view (scrolled
// to its end), an emulation.
std::unique_ptr<QWidget> keyEditorWithLibraries(ScreenshotContext& context, int mode) {
    KeyboardProfile& p = context.profile;
    const bool zh = p.language == "zh-CN";
    const auto names = [zh](const wchar_t* en, const wchar_t* zhName, int n) {
        return (zh ? std::wstring(zhName) : std::wstring(en) + L" ") + std::to_wstring(n);
    };
    p.predefinedCombo = listOf({L"Copy", L"Paste", zh ? L"任务管理器" : L"Task Manager", L"Undo"});
    p.predefinedCombo.children[0] = listOf({L"Left CONTROL", L"C"});
    p.predefinedCombo.children[1] = listOf({L"Left CONTROL", L"V"});
    p.predefinedCombo.children[2] = listOf({L"Left CONTROL", L"Left SHIFT", L"ESC"});
    p.predefinedMacro = listOf({names(L"Macro", L"宏定义", 1), names(L"Macro", L"宏定义", 2), L"Login", L"Burst"});
    ActionList macro;
    macro.sizeOfView = 9;
    macro.cycles = 3;
    for (const wchar_t* key : {L"H", L"E", L"L", L"L", L"O"}) {
        for (const wchar_t* direction : {L" Down", L" UP"}) {
            if (!macro.items.empty())
                macro.setOrAppendItem(static_cast<int>(macro.items.size()), L"<" + std::to_wstring(40 + 5 * static_cast<int>(macro.items.size())) + L" ms>");
            macro.setOrAppendItem(static_cast<int>(macro.items.size()), key + std::wstring(direction));
        }
    }
    p.predefinedMacro.children[1] = macro;
    p.predefinedEmu = listOf({names(L"Emu", L"模拟击键", 1), L"Signature", L"Ping"});
    p.predefinedEmu.children[1] = listOf({L"T", L"H", L"A", L"N", L"K"});
    p.predefinedEmu.children[1].delay = 50;
    const ActionList& sequence = mode == ModeCombo   ? p.predefinedCombo.children[2]
                                 : mode == ModeMacro ? p.predefinedMacro.children[1]
                                                     : p.predefinedEmu.children[1];
    p.sequences[static_cast<std::size_t>(KeyboardProfile::slot(43, 0))] = sequence;
    return keyEditor(context, mode, 0);
}

void addKeyEditorPages(std::vector<ScreenshotEntry>& entries) {
    for (int page = 1; page <= CTarnDialogKeyMapSettings::kPageCount; ++page)
        entries.push_back({"keymap-page" + std::to_string(page), [page](ScreenshotContext& context) -> std::unique_ptr<QWidget> {
                               return keyEditor(context, ModeNotSet, 0, page);
                           }});
}

// A tooltip is a window of its own: drawn into the picture where it shows.
std::unique_ptr<QWidget> withTooltip(std::unique_ptr<CSkinDialog> window, QPoint hover) {
    window->show();
    window->hitTestControls(hover);
    QEventLoop wait;
    QTimer::singleShot(CTarnDialogKeyMapSettings::kTooltipDelayMs * 3, &wait, &QEventLoop::quit);
    wait.exec();
    QImage picture = window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("QTipLabel") && widget->isVisible()) {
            QPainter painter(&picture);
            painter.drawPixmap(widget->pos() - window->pos(), widget->grab());
        }
    }
    auto label = std::make_unique<QLabel>();
    label->setPixmap(QPixmap::fromImage(picture));
    label->resize(picture.size());
    return label;
}

// Qt's own dialogs as the program dresses them, with Qt's texts in the
// language shown.
template <typename Dialog>
std::unique_ptr<QWidget> shown(std::unique_ptr<Dialog> dialog) {
    dialog->show();
    return dialog;
}

void addQtDialogs(std::vector<ScreenshotEntry>& entries) {
    using Dialogs = QtSystemDialogs;
    const auto inLanguage = [](ScreenshotContext& context, const wchar_t* en, const wchar_t* zh) {
        QtTranslation::follow(context.profile.language);
        return context.profile.inLanguage(en, zh);
    };
    entries.push_back({"dialog-message", [=](ScreenshotContext& c) {
                           const std::wstring text = inLanguage(c, L"Failed to write to the keyboard!", L"写入键盘失败！");
                           return shown(Dialogs::makeMessageBox(nullptr, text, SystemDialogs::Buttons::Ok,
                                                                   SystemDialogs::Icon::Exclamation, {}));
                       }});
    entries.push_back({"dialog-question", [=](ScreenshotContext& c) {
                           const std::wstring text = inLanguage(c, L"Delete this macro?", L"删除这个宏？");
                           return shown(Dialogs::makeMessageBox(nullptr, text, SystemDialogs::Buttons::YesNoCancel,
                                                                   SystemDialogs::Icon::Question, {}));
                       }});
    entries.push_back({"dialog-file", [=](ScreenshotContext& c) {
                           inLanguage(c, L"", L"");
                           const SystemDialogs::FileRequest request{L"pro(*.pro)|*.pro|All Files(*.*)|*.*||", L"pro",
                                                                    L"profile.pro", true, true};
                           return shown(Dialogs::makeFileDialog(nullptr, request, true));
                       }});
    entries.push_back({"dialog-colour", [=](ScreenshotContext& c) {
                           inLanguage(c, L"", L"");
                           return shown(Dialogs::makeColorDialog(nullptr, QColor(255, 111, 0)));
                       }});
    entries.push_back({"dialog-menu", [=](ScreenshotContext& c) {
                           const std::vector<SystemDialogs::MenuItem> items{
                               {inLanguage(c, L"Insert a delay", L"插入延时"), 1, {}},
                               {inLanguage(c, L"Mouse", L"鼠标"), 0,
                                {{inLanguage(c, L"Left click", L"左键单击"), 2, {}}, {L"…", 3, {}}}},
                               {inLanguage(c, L"Delete", L"删除"), 4, {}}};
                           auto menu = Dialogs::makeMenu(nullptr, items);
                           menu->setActiveAction(menu->actions().constFirst());
                           return shown(std::move(menu));
                       }});
}

}  // namespace

std::vector<ScreenshotEntry> screenshotCatalogue() {
    std::vector<ScreenshotEntry> entries;
    for (const layout::Window* table :
         {&layout::mainWindow, &layout::backlightWindow, &layout::progressWindow, &layout::firmwareWindow})
        addBase(entries, *table);
    entries.push_back({"scrollbars", scrollBars});
    entries.push_back({"backlight", &backlightWithColours});
    entries.push_back({"firmware", &firmwareDownloading});
    entries.push_back({"main", [](ScreenshotContext& context) -> std::unique_ptr<QWidget> {
                           return std::make_unique<CTarnDlg>(context.profile, context.dialogs);
                       }});
    entries.push_back({"main-keys", &mainWithKeys});
    entries.push_back({"progress", &progressPartWay});
    addKeyEditorPages(entries);
    for (const auto& [name, mode] : {std::pair{"keymap-combos", ModeCombo}, std::pair{"keymap-macros", ModeMacro},
                                     std::pair{"keymap-emulations", ModeEmulation}})
        entries.push_back({name, [mode = mode](ScreenshotContext& context) { return keyEditorWithLibraries(context, mode); }});
    entries.push_back({"keymap-playpause", [](ScreenshotContext& context) -> std::unique_ptr<QWidget> {
                           return keyEditor(context, ModeMultimedia, 111);  // opens on page 4
                       }});
    // The keyboard focus ring: on a key of the main window, on an icon of the
    // key editor.
    entries.push_back({"main-focus", [](ScreenshotContext& context) -> std::unique_ptr<QWidget> {
                           auto window = std::make_unique<CTarnDlg>(context.profile, context.dialogs);
                           const SkinControl* key = window->controlById(99 + 43);
                           window->setFocusedControlIndex(static_cast<int>(key - window->controls().data()));
                           return window;
                       }});
    entries.push_back({"keymap-focus", [](ScreenshotContext& context) -> std::unique_ptr<QWidget> {
                           std::unique_ptr<CSkinDialog> editor = keyEditor(context, ModeMultimedia, 111);
                           const SkinControl* icon = editor->controlById(403);
                           editor->setFocusedControlIndex(static_cast<int>(icon - editor->controls().data()));
                           return editor;
                       }});
    entries.push_back({"keymap-tooltip", [](ScreenshotContext& context) -> std::unique_ptr<QWidget> {
                           std::unique_ptr<CSkinDialog> editor = keyEditor(context, ModeNotSet, 0, layout::keymap::PageFunction);
                           const SkinControl& lock = *editor->controlById(602);
                           return withTooltip(std::move(editor), QPoint(lock.rect.left + 10, lock.rect.top + 10));
                       }});
    addQtDialogs(entries);
    return entries;
}
