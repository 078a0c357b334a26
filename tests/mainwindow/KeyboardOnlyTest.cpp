// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The program with keys alone (with the scan codes of X11 and Wayland), no mouse.
#include <QKeyEvent>

#include "MainWindowFixture.h"
#include "editor/CTarnDialogKeyMapSettings.h"
#include "editor/KeyMapWindowLayout.h"
#include "jobs/RecordingPath.h"
#include "support/KeyboardFocus.h"

namespace {

using Editor = CTarnDialogKeyMapSettings;
using KeyboardOnlyTest = MainWindowFixture;

// To the focus of the window on top (offscreen, the main window stays active).
void send(QWidget* main, QEvent::Type type, Qt::Key key, int evdev, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* top = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : main;
    QKeyEvent event(type, key, modifiers, static_cast<quint32>(evdev + 8), 0, 0);
    QCoreApplication::sendEvent(top->focusWidget() ? top->focusWidget() : top, &event);
    QCoreApplication::sendPostedEvents();
}

void spaceOpening(QWidget* main, std::function<void(Editor&)> steps) {
    bool ran = false;  // the editor runs inside the Space that opens it
    QTimer::singleShot(0, main, [&] {
        auto* editor = qobject_cast<Editor*>(QApplication::activeModalWidget());
        ASSERT_TRUE(editor && QTest::qWaitForWindowExposed(editor));
        steps(*editor);
        ran = true;
    });
    send(main, QEvent::KeyPress, Qt::Key_Space, 57);
    EXPECT_TRUE(ran);
}

void tabAndSpace(CSkinDialog& window, int id) {
    ASSERT_TRUE(tabTo(window, id)) << id;
    QTest::keyClick(&window, Qt::Key_Space);
}
TEST_F(KeyboardOnlyTest, KeysAloneGiveKeysPlayPauseAndARecordedComboAndWriteThem) {
    qputenv(RecordingSession::kForceVariable, "window");  // the keys typed in the editor, as under Wayland
    auto window = openWindow();
    constexpr int kPlayKey = 43, kComboKey = 44, kStop = 160;  // the combo's Stop caption

    ASSERT_TRUE(tabTo(*window, 99 + kPlayKey));
    spaceOpening(window.get(), [](Editor& editor) {
        tabAndSpace(editor, Editor::kFirstTab + layout::keymap::PageMultimedia - 1);
        ASSERT_TRUE(tabTo(editor, 401));
        QTest::keyClick(&editor, Qt::Key_Right);  // along the icon row
        QTest::keyClick(&editor, Qt::Key_Space);
        EXPECT_EQ(editor.selectedCode(layout::keymap::PageMultimedia), 111);  // Play/Pause
        tabAndSpace(editor, Editor::kOk);
    });

    QTest::keyClick(window.get(), Qt::Key_Right);  // the next key by geometry
    ASSERT_EQ(focusedId(*window), 99 + kComboKey);
    spaceOpening(window.get(), [&](Editor& editor) {
        tabAndSpace(editor, Editor::kComboRadio);
        tabAndSpace(editor, Editor::kNewCombo);  // its name edit takes the focus; Tab commits it
        tabAndSpace(editor, Editor::kRecordCombo);
        ASSERT_TRUE(editor.recorder().isRecording());
        send(window.get(), QEvent::KeyPress, Qt::Key_Control, 29, Qt::ControlModifier);
        send(window.get(), QEvent::KeyPress, Qt::Key_C, 46, Qt::ControlModifier);
        send(window.get(), QEvent::KeyRelease, Qt::Key_C, 46, Qt::ControlModifier);
        send(window.get(), QEvent::KeyRelease, Qt::Key_Control, 29);
        EXPECT_EQ(editor.controlById(kStop)->caption("zh-CN"), L"停止录制 (5)");
        QTest::qWait(1500);
        EXPECT_EQ(editor.controlById(kStop)->caption("en-US"), L"Stop Rec (4)");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !editor.recorder().isRecording(); }, 5000));
        EXPECT_EQ(editor.controlById(kStop)->caption("en-US"), L"Stop Rec");
        tabAndSpace(editor, Editor::kOk);
    });

    tabAndSpace(*window, CTarnDlg::kWriteKeys);
    ASSERT_EQ(dialogs.messages(), std::vector<std::wstring>{L"OK!"});
    auto read = emptyProfile();
    ASSERT_TRUE(profile->readKeysFromDevice(nullptr, *read));
    const int play = KeyboardProfile::slot(kPlayKey, 0), combo = KeyboardProfile::slot(kComboKey, 0);
    EXPECT_EQ(std::tuple(read->modes[play], read->hwCodes[play], read->modes[combo]),
              std::tuple(ModeMultimedia, 111, ModeCombo));
    EXPECT_EQ(read->sequences[combo].items.size(), 2u);  // Ctrl, C
    qunsetenv(RecordingSession::kForceVariable);
}

}  // namespace
