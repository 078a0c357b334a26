// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The main window against the simulated keyboard, offscreen: opening, the
// on-screen keyboard, every command, the device jobs with their messages,
// and the end of the program when the keyboard goes away.
#include <filesystem>
#include <fstream>

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QStyleHints>

#include "MainWindowFixture.h"
#include "UrlRecorder.h"
#include "shell/MainWindowLayout.h"
#include "shell/TrayIcon.h"

namespace {

namespace fs = std::filesystem;

using MainWindowTest = MainWindowFixture;

const QColor kPlainActive(150, 64, 0);  // key fill of the plain look (no artwork)

bool drawnActive(const QImage& image, QPoint point) {
    return image.pixelColor(point) == kPlainActive;
}

std::vector<std::wstring> texts(std::initializer_list<const wchar_t*> list) {
    return std::vector<std::wstring>(list.begin(), list.end());
}

// ---- Opening --------------------------------------------------------------------

TEST_F(MainWindowTest, WithoutKeyboardSaysSoAndNeverShows) {
    simulator.keyboard->unplug();
    auto window = openWindow();
    EXPECT_FALSE(window->isConnected());
    EXPECT_EQ(dialogs.messages(), texts({L"Keyboard is not connected!"}));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(window->exec(), QDialog::Accepted);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_FALSE(window->isVisible());

    // A simulated keyboard that cannot serve says why.
    fs::create_directory(simulator.keyboard->stateFile());
    dialogs.clear();
    window = openWindow();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].rfind(L"Keyboard is not connected!\n\n", 0), 0u);
    EXPECT_NE(dialogs.messages()[0].find(L"directory"), std::wstring::npos);
}

// Found but refusing to open (no permission, or held elsewhere) is told
// apart from missing, in the language the window opens in.
TEST_F(MainWindowTest, KeyboardThatCannotBeOpenedSaysWhyAndNeverShows) {
    simulator.keyboard->refuseOpen();
    auto window = openWindow();
    profile->language = "zh-CN";
    EXPECT_FALSE(openWindow()->isConnected());
    EXPECT_EQ(dialogs.messages(),
              texts({L"The keyboard was found but cannot be opened. To see why, and the fix, run this in a terminal:\n"
                     L"velkorondrix-ctl doctor",
                     L"已找到键盘，但无法打开。要查看原因和解决方法，请在终端中运行：\nvelkorondrix-ctl doctor"}));
    EXPECT_EQ(dialogs.requests().back().icon, SystemDialogs::Icon::Exclamation);
    EXPECT_EQ(window->exec(), QDialog::Accepted);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, StartsEmptyOnLevelZeroWithEveryKeyPlain) {
    profile->modes[KeyboardProfile::slot(20, 0)] = ModeSingle;
    profile->modes[KeyboardProfile::slot(20, 1)] = ModeSingle;
    profile->currentLevel = 1;
    auto window = openWindow();

    EXPECT_TRUE(dialogs.requests().empty());
    EXPECT_EQ(profile->currentLevel, 0);
    EXPECT_FALSE(window->controlById(CTarnDlg::kLayer)->active);
    EXPECT_FALSE(window->controlById(CTarnDlg::kLanguage)->active);
    EXPECT_EQ(window->controls().size(), 130u);

    const QImage image = window->grab().toImage();
    for (const SkinControl& control : window->controls()) {
        if (control.keyId <= 0)
            continue;
        EXPECT_FALSE(control.active) << "key " << control.keyId;
        EXPECT_FALSE(drawnActive(image, centreOf(control))) << "key " << control.keyId;
    }
}

// ---- Keys and layers -------------------------------------------------------------

TEST_F(MainWindowTest, KeyAssignedOnlyInLevelOneLightsAfterTheLayerSwitch) {
    const fs::path file = simulator.folder / "key20.pro";
    {
        auto source = emptyProfile();
        source->modes[KeyboardProfile::slot(20, 1)] = ModeSingle;
        source->hwCodes[KeyboardProfile::slot(20, 1)] = 43;
        ASSERT_TRUE(source->saveProfile(file));
    }
    auto window = openWindow();
    dialogs.queueOpenFile(file.wstring());
    click(*window, CTarnDlg::kOpen);
    ASSERT_EQ(profile->modes[KeyboardProfile::slot(20, 1)], ModeSingle);

    QImage image = window->grab().toImage();
    EXPECT_FALSE(window->controlById(99 + 20)->active);
    EXPECT_FALSE(drawnActive(image, keyCentre(*window, 20)));

    click(*window, CTarnDlg::kLayer);
    EXPECT_EQ(profile->currentLevel, 1);
    EXPECT_TRUE(window->controlById(CTarnDlg::kLayer)->active);
    image = window->grab().toImage();
    EXPECT_TRUE(window->controlById(99 + 20)->active);
    EXPECT_TRUE(drawnActive(image, keyCentre(*window, 20)));
    EXPECT_FALSE(drawnActive(image, keyCentre(*window, 21)));
}

TEST_F(MainWindowTest, KeyButtonSelectsTheKeyAndTheBackgroundDoesNothing) {
    auto window = openWindow();
    // The key's editor opens; leave it with Cancel.
    QTimer::singleShot(0, [] {
        if (auto* editor = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            editor->reject();
    });
    click(*window, keyCentre(*window, 20));
    EXPECT_EQ(profile->currentKey, 20);

    // Between Esc (ends at x 95) and F1 (starts at x 147), and between rows.
    const auto modesBefore = profile->modes;
    for (QPoint background : {QPoint(120, 190), QPoint(300, 215), QPoint(900, 90)}) {
        click(*window, background);
        EXPECT_EQ(profile->currentKey, 20);
        EXPECT_EQ(profile->currentLevel, 0);
        EXPECT_EQ(profile->language, "en-US");
    }
    EXPECT_EQ(profile->modes, modesBefore);
    EXPECT_TRUE(dialogs.requests().empty());
    EXPECT_TRUE(window->isVisible());
}

// ---- Language, Clear --------------------------------------------------------------

TEST_F(MainWindowTest, LanguageSwitchTwiceReturnsToEnglishWithTheLabelsAtOnce) {
    auto window = openWindow();
    const SkinControl& saveLabel = *window->controlById(70);
    const QRect labelArea(saveLabel.rect.left, saveLabel.rect.top, saveLabel.rect.width(), saveLabel.rect.height());
    const QImage english = window->grab(labelArea).toImage();

    // Qt's own texts, such as the buttons of message boxes, follow.
    const auto cancelText = [] { return QDialogButtonBox(QDialogButtonBox::Cancel).buttons().front()->text(); };
    EXPECT_EQ(cancelText(), QStringLiteral("Cancel"));

    click(*window, CTarnDlg::kLanguage);
    EXPECT_EQ(profile->language, "zh-CN");
    EXPECT_TRUE(window->controlById(CTarnDlg::kLanguage)->active);
    EXPECT_EQ(window->controlById(65)->caption(profile->language), L"English");
    EXPECT_NE(window->grab(labelArea).toImage(), english);
    EXPECT_EQ(cancelText(), QStringLiteral("取消"));

    click(*window, CTarnDlg::kLanguage);
    EXPECT_EQ(profile->language, "en-US");
    EXPECT_FALSE(window->controlById(CTarnDlg::kLanguage)->active);
    EXPECT_EQ(window->grab(labelArea).toImage(), english);
    EXPECT_EQ(cancelText(), QStringLiteral("Cancel"));
}

TEST_F(MainWindowTest, ClearEmptiesTheProfileButKeepsLayerAndLanguage) {
    auto window = openWindow();
    click(*window, CTarnDlg::kLayer);
    click(*window, CTarnDlg::kLanguage);
    assignSample(*profile);
    profile->markSaved();  // as if opened: Clear asks nothing

    click(*window, CTarnDlg::kClear);
    for (int mode : profile->modes)
        EXPECT_EQ(mode, ModeNotSet);
    EXPECT_TRUE(profile->lightAreas[1] == LightArea{});
    EXPECT_EQ(profile->currentLevel, 1);
    EXPECT_TRUE(window->controlById(CTarnDlg::kLayer)->active);
    EXPECT_EQ(profile->language, "zh-CN");
    EXPECT_TRUE(dialogs.requests().empty());
}

// ---- Save and Open --------------------------------------------------------------

TEST_F(MainWindowTest, FileDialogsAskForProfileFiles) {
    auto window = openWindow();
    assignSample(*profile);
    const fs::path file = simulator.folder / "saved.pro";
    dialogs.queueSaveFile(file.wstring());
    click(*window, CTarnDlg::kSave);
    dialogs.queueOpenFile(std::nullopt);
    click(*window, CTarnDlg::kOpen);

    const auto saves = dialogs.requestsOf(FakeSystemDialogs::Kind::SaveFile);
    const auto opens = dialogs.requestsOf(FakeSystemDialogs::Kind::OpenFile);
    ASSERT_EQ(saves.size(), 1u);
    ASSERT_EQ(opens.size(), 1u);
    for (const auto& request : {saves[0], opens[0]}) {
        EXPECT_EQ(request.file.filter, L"pro(*.pro)|*.pro|All Files(*.*)|*.*||");
        EXPECT_EQ(request.file.defaultExtension, L"pro");
        EXPECT_TRUE(request.file.initialName.empty());
        EXPECT_TRUE(request.file.overwritePrompt);
        EXPECT_TRUE(request.file.hideReadOnly);
    }
    EXPECT_TRUE(dialogs.messages().empty());

    auto reloaded = emptyProfile();
    ASSERT_TRUE(reloaded->loadProfile(file));
    EXPECT_EQ(reloaded->modes, profile->modes);
}

TEST_F(MainWindowTest, FailedSaveAndOpenSaySoInTheLanguageShown) {
    auto window = openWindow();
    const fs::path nowhere = simulator.folder / "no such folder" / "x.pro";
    const fs::path garbage = simulator.folder / "garbage.pro";
    std::ofstream(garbage) << "this is not a profile";
    // A profile cut short, and one that must not be overwritten.
    const fs::path cut = simulator.folder / "cut.pro";
    const fs::path readOnly = simulator.folder / "read-only.pro";
    ASSERT_TRUE(profile->saveProfile(cut));
    fs::resize_file(cut, fs::file_size(cut) / 2);
    ASSERT_TRUE(profile->saveProfile(readOnly));
    fs::permissions(readOnly, fs::perms::owner_read);
    assignSample(*profile);
    profile->markSaved();
    const auto modesBefore = profile->modes;

    dialogs.queueSaveFile(nowhere.wstring());
    click(*window, CTarnDlg::kSave);
    dialogs.queueOpenFile(garbage.wstring());
    click(*window, CTarnDlg::kOpen);
    EXPECT_EQ(profile->modes, modesBefore);

    click(*window, CTarnDlg::kLanguage);
    dialogs.queueSaveFile(readOnly.wstring());
    click(*window, CTarnDlg::kSave);
    dialogs.queueOpenFile(cut.wstring());
    click(*window, CTarnDlg::kOpen);
    EXPECT_EQ(profile->modes, modesBefore);

    EXPECT_EQ(dialogs.messages(), texts({L"Can't save profile file", L"Can't open profile file",
                                         L"保存配置文件失败", L"打开配置文件失败"}));
}

// ---- Device jobs ----------------------------------------------------------------

TEST_F(MainWindowTest, WriteKeysThenReadAllRoundTripsThroughTheKeyboard) {
    auto window = openWindow();
    assignSample(*profile);
    profile->markSaved();
    const auto written = profile->modes;

    click(*window, CTarnDlg::kWriteKeys);
    EXPECT_EQ(dialogs.messages(), texts({L"OK!"}));
    EXPECT_EQ(dialogs.requests().back().icon, SystemDialogs::Icon::Information);
    EXPECT_GT(simulator.keyboard->storedKeyRecords(), 0);
    EXPECT_EQ(runningProgress(), nullptr);

    click(*window, CTarnDlg::kClear);
    click(*window, CTarnDlg::kReadAll);
    EXPECT_EQ(dialogs.messages(), texts({L"OK!", L"OK!"}));
    EXPECT_EQ(profile->modes, written);
    EXPECT_EQ(profile->hwCodes[KeyboardProfile::slot(20, 1)], 4);
    EXPECT_EQ(profile->notifyWindow, nullptr);
}

TEST_F(MainWindowTest, LinkDroppedMidWriteShowsTheFailureInEitherLanguage) {
    simulator.keyboard->dropLinkAfter(30);
    auto window = openWindow();
    assignSample(*profile);
    click(*window, CTarnDlg::kWriteKeys);
    EXPECT_EQ(dialogs.messages(), texts({L"Failed to write to the keyboard!"}));
    EXPECT_EQ(simulator.keyboard->storedKeyRecords(), 0);

    click(*window, CTarnDlg::kLanguage);
    simulator.keyboard->dropLinkAfter(30);  // a link of its own again: the backup before the write is read
    click(*window, CTarnDlg::kWriteKeys);
    EXPECT_EQ(dialogs.messages(), texts({L"Failed to write to the keyboard!", L"写入键盘失败！"}));
}

TEST_F(MainWindowTest, LinkDroppedMidReadLeavesTheProfileUnchanged) {
    {
        auto writer = emptyProfile();
        ASSERT_TRUE(writer->device.__createDev());
        assignSample(*writer);
        ASSERT_TRUE(writer->writeKeysToDevice(nullptr));
    }
    simulator.keyboard->dropLinkAfter(20);
    auto window = openWindow();
    profile->modes[KeyboardProfile::slot(60, 0)] = ModeSingle;
    profile->markSaved();
    const auto before = profile->modes;

    click(*window, CTarnDlg::kReadAll);
    EXPECT_EQ(dialogs.messages(), texts({L"Failed to read from the keyboard!"}));
    EXPECT_EQ(profile->modes, before);

    click(*window, CTarnDlg::kLanguage);
    click(*window, CTarnDlg::kReadAll);
    EXPECT_EQ(dialogs.messages(), texts({L"Failed to read from the keyboard!", L"读取键盘失败！"}));
    EXPECT_EQ(profile->modes, before);
}

TEST_F(MainWindowTest, CancelDuringReadClosesWithoutMessageOrChange) {
    simulator.keyboard->stopAnswering();
    auto window = openWindow();
    profile->modes[KeyboardProfile::slot(60, 0)] = ModeSingle;
    profile->markSaved();
    const auto before = profile->modes;

    bool cancelled = false;
    QTimer::singleShot(300, window.get(), [&] {
        if (CTarnDialogProgress* progress = runningProgress()) {
            click(*progress, QPoint(282, 218));
            cancelled = true;
        }
    });
    click(*window, CTarnDlg::kReadAll);
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(runningProgress(), nullptr);
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(profile->modes, before);
    EXPECT_FALSE(profile->device.cancelRequested());
}

// ---- Ways out -----------------------------------------------------------------

TEST_F(MainWindowTest, EnterEscAndExitEachCloseTheWindow) {
    const std::vector<std::pair<const char*, std::function<void(CTarnDlg&)>>> ways = {
        {"Enter", [](CTarnDlg& w) { QTest::keyClick(&w, Qt::Key_Return); }},
        {"keypad Enter", [](CTarnDlg& w) { QTest::keyClick(&w, Qt::Key_Enter, Qt::KeypadModifier); }},
        {"Esc", [](CTarnDlg& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"exit command", [](CTarnDlg& w) { click(w, CTarnDlg::kExit); }},
    };
    for (const auto& [name, close] : ways) {
        SCOPED_TRACE(name);
        auto window = openWindow();
        CTarnDlg& w = *window;
        runWindow(w, {{100, [&w, &close] { close(w); }}});
        EXPECT_FALSE(w.isVisible());
    }
    EXPECT_TRUE(dialogs.requests().empty());
}

TEST_F(MainWindowTest, PullingTheCableEndsTheProgram) {
    auto window = openWindow();
    window->deviceChanged();  // the keyboard is still there: nothing happens
    EXPECT_TRUE(dialogs.requests().empty());
    runWindow(*window, {{200, [this] { simulator.keyboard->unplug(); }}});
    EXPECT_EQ(dialogs.messages(), texts({L"Keyboard is not connected"}));
    EXPECT_EQ(dialogs.requests()[0].caption, L"VelkorOndrix");
}

TEST_F(MainWindowTest, PullingTheCableWhileHiddenInTheTrayEndsTheProgram) {
    auto window = openWindow();
    window->trayIcon().setAvailable(true);
    CTarnDlg& w = *window;
    bool hidden = false;
    runWindow(w, {{100, [&] { click(w, CTarnDlg::kHideToTray); hidden = !w.isVisible() && w.trayIcon().isShown(); }},
                  {300, [this] { simulator.keyboard->unplug(); }}});
    EXPECT_TRUE(hidden);
    EXPECT_FALSE(w.trayIcon().isShown());
    EXPECT_EQ(dialogs.messages(), texts({L"Keyboard is not connected"}));
}

TEST_F(MainWindowTest, PullingTheCableDuringAJobStopsItThenEndsTheProgram) {
    simulator.keyboard->stopAnswering();
    auto window = openWindow();
    CTarnDlg& w = *window;
    bool jobWasRunning = false;
    runWindow(w, {{100, [&] { click(w, CTarnDlg::kReadAll); }},
                  {400, [&] {
                       jobWasRunning = runningProgress() != nullptr && runningProgress()->workerRunning();
                       simulator.keyboard->unplug();
                   }}});
    EXPECT_TRUE(jobWasRunning);
    EXPECT_EQ(runningProgress(), nullptr);
    EXPECT_EQ(profile->notifyWindow, nullptr);
    EXPECT_EQ(dialogs.messages(), texts({L"Keyboard is not connected"}));
}

// ---- Help -------------------------------------------------------------------

TEST_F(MainWindowTest, HelpOpensTheCompiledHelpOrElseTheManualBesideTheProgram) {
    const QString folder = QString::fromStdString(simulator.folder.string());
    EXPECT_EQ(CTarnDlg::helpFilePath(folder), folder + "/VelkorOndrix.html");
    std::ofstream(simulator.folder / "VelkorOndrix.chm") << "help";
    EXPECT_EQ(CTarnDlg::helpFilePath(folder), folder + "/VelkorOndrix.chm");

    auto desktop = std::make_unique<UrlRecorder>();
    auto window = openWindow();
    click(*window, CTarnDlg::kHelp);
    ASSERT_EQ(desktop->opened.size(), 1);
    const QString manual = CTarnDlg::helpFilePath(QCoreApplication::applicationDirPath());
    EXPECT_EQ(desktop->opened[0].toLocalFile(), manual);
    EXPECT_TRUE(dialogs.messages().empty());

    // Nothing on the desktop opens files (offscreen): a message says where it is.
    desktop.reset();
    click(*window, CTarnDlg::kHelp);
    click(*window, CTarnDlg::kLanguage);
    click(*window, CTarnDlg::kHelp);
    const std::vector<std::wstring> shown = dialogs.messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[0].starts_with(L"The manual could not be opened."));
    EXPECT_TRUE(shown[1].starts_with(L"无法打开使用说明书。"));
    for (const std::wstring& text : shown)
        EXPECT_TRUE(text.ends_with(L"\n" + QDir::toNativeSeparators(manual).toStdWString()));
    EXPECT_TRUE(window->isVisible());
}

}  // namespace

namespace {

TEST_F(MainWindowTest, DoubleClickOnAKeyOpensOneEditorThatStaysWhereItOpened) {
    auto window = openWindow();
    int moves = 0;
    QTimer::singleShot(0, [&] {
        auto* editor = qobject_cast<CSkinDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        QObject::connect(editor, &CSkinDialog::windowMoveRequested, [&] { ++moves; });
        // The second press of the double click lands on the new editor's
        // background, and the hand shakes a little less than a drag.
        const QPoint title(150, 20);
        QTest::mousePress(editor, Qt::LeftButton, {}, title);
        QTest::mouseMove(editor, title + QPoint(1, 1));
        QTest::mouseRelease(editor, Qt::LeftButton, {}, title + QPoint(1, 1));
        EXPECT_EQ(moves, 0);
        // A real drag still moves it, once.
        const QPoint far = title + QPoint(QGuiApplication::styleHints()->startDragDistance() + 2, 0);
        QTest::mousePress(editor, Qt::LeftButton, {}, title);
        QTest::mouseMove(editor, far);
        QTest::mouseRelease(editor, Qt::LeftButton, {}, far);
        EXPECT_EQ(moves, 1);
        editor->reject();
    });
    click(*window, keyCentre(*window, 43));  // the first click of the double click
    EXPECT_EQ(moves, 1);
}

}  // namespace
