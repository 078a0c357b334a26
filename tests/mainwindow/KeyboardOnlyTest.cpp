// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT

// The program used with the keyboard alone: every key event carries the scan
// code a real keyboard gives under X11 and Wayland, goes to the widget with
// the focus, and no mouse event is ever sent.
#include <QKeyEvent>

#include "MainWindowFixture.h"
#include "editor/CTarnDialogKeyMapSettings.h"
#include "editor/KeyMapWindowLayout.h"
#include "jobs/RecordingPath.h"
#include "support/KeyboardFocus.h"

namespace {

using Editor = CTarnDialogKeyMapSettings;

// evdev codes of the keys used
constexpr int kSpace = 57, kRight = 106, kUp = 103, kCtrl = 29, kC = 46;

class KeyboardOnlyTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        // The editor records the keys typed in its window, as under Wayland.
        qputenv(RecordingSession::kForceVariable, "window");
    }
    void TearDown() override { qunsetenv(RecordingSession::kForceVariable); }

    static inline QWidget* mainWindow = nullptr;

    static void send(QEvent::Type type, Qt::Key key, int evdev, Qt::KeyboardModifiers modifiers) {
        // The offscreen platform leaves the main window active under a modal
        // one: the keys go where the window on top has its focus.
        QWidget* top = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : mainWindow;
        QWidget* target = top->focusWidget() ? top->focusWidget() : top;
        QKeyEvent event(type, key, modifiers, static_cast<quint32>(evdev + 8), 0, 0);
        QCoreApplication::sendEvent(target, &event);
        QCoreApplication::sendPostedEvents();
    }
    static void type(Qt::Key key, int evdev, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        send(QEvent::KeyPress, key, evdev, modifiers);
        send(QEvent::KeyRelease, key, evdev, modifiers);
    }
    static Editor* openedEditor() {
        auto* editor = qobject_cast<Editor*>(QApplication::activeModalWidget());
        return editor && QTest::qWaitForWindowExposed(editor) ? editor : nullptr;
    }
};

TEST_F(KeyboardOnlyTest, PlayPauseAndARecordedComboReachTheKeyboardWithKeysAlone) {
    auto window = openWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    mainWindow = window.get();
    constexpr int kPlayKey = 43, kComboKey = 44;

    // Key 43: the multimedia page, Right along the icon row to Play/Pause, OK.
    ASSERT_TRUE(tabTo(*window, 99 + kPlayKey));
    bool playDone = false;
    QTimer::singleShot(0, window.get(), [&] {
        Editor* editor = openedEditor();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(tabTo(*editor, Editor::kFirstTab + layout::keymap::PageMultimedia - 1));
        type(Qt::Key_Space, kSpace);
        EXPECT_EQ(editor->page(), layout::keymap::PageMultimedia);
        ASSERT_TRUE(tabTo(*editor, 401));
        type(Qt::Key_Right, kRight);
        EXPECT_EQ(focusedId(*editor), 402);
        type(Qt::Key_Space, kSpace);
        EXPECT_EQ(editor->selectedCode(layout::keymap::PageMultimedia), 111);
        ASSERT_TRUE(tabTo(*editor, Editor::kOk));
        type(Qt::Key_Space, kSpace);
        playDone = true;
    });
    type(Qt::Key_Space, kSpace);
    ASSERT_TRUE(playDone);
    EXPECT_EQ(profile->modes[KeyboardProfile::slot(kPlayKey, 0)], ModeMultimedia);

    // Key 44, one key further on: Up and Down by geometry come back to it.
    ASSERT_TRUE(tabTo(*window, 99 + kComboKey));
    type(Qt::Key_Up, kUp);
    EXPECT_NE(focusedId(*window), 99 + kComboKey);
    type(Qt::Key_Down, 108);
    EXPECT_EQ(focusedId(*window), 99 + kComboKey);

    // The editors run inside the Space that opens them.
    // A combo: combo mode, a new entry (its name edit takes the focus and
    // Tab commits it), a recording of Ctrl+C that stops by itself after
    // the count-down, OK.
    bool comboDone = false;
    QTimer::singleShot(0, window.get(), [&] {
        Editor* editor = openedEditor();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(tabTo(*editor, Editor::kComboRadio));
        type(Qt::Key_Space, kSpace);
        ASSERT_TRUE(tabTo(*editor, Editor::kNewCombo));
        type(Qt::Key_Space, kSpace);
        EXPECT_TRUE(editor->isRenaming());
        ASSERT_TRUE(tabTo(*editor, Editor::kRecordCombo));
        EXPECT_FALSE(editor->isRenaming());
        type(Qt::Key_Space, kSpace);
        ASSERT_TRUE(editor->recorder().isRecording());
        send(QEvent::KeyPress, Qt::Key_Control, kCtrl, Qt::ControlModifier);
        send(QEvent::KeyPress, Qt::Key_C, kC, Qt::ControlModifier);
        send(QEvent::KeyRelease, Qt::Key_C, kC, Qt::ControlModifier);
        send(QEvent::KeyRelease, Qt::Key_Control, kCtrl, Qt::NoModifier);
        // Tab and Space are recorded too, never acting.
        EXPECT_EQ(editor->stopSecondsLeft(), Editor::kKeyboardStopSeconds);
        EXPECT_EQ(editor->controlById(160)->caption("en-US"), L"Stop Rec (5)");
        EXPECT_EQ(editor->controlById(160)->caption("zh-CN"), L"停止录制 (5)");
        QTest::qWait(1500);
        EXPECT_TRUE(editor->recorder().isRecording());
        EXPECT_EQ(editor->controlById(160)->caption("en-US"), L"Stop Rec (4)");
        EXPECT_TRUE(QTest::qWaitFor([&] { return !editor->recorder().isRecording(); }, 5000));
        EXPECT_EQ(editor->controlById(160)->caption("en-US"), L"Stop Rec");
        EXPECT_EQ(editor->combos().sequence().items.size(), 2u);
        ASSERT_TRUE(tabTo(*editor, Editor::kOk));
        type(Qt::Key_Space, kSpace);
        comboDone = true;
    });
    type(Qt::Key_Space, kSpace);
    ASSERT_TRUE(comboDone);
    EXPECT_EQ(profile->modes[KeyboardProfile::slot(kComboKey, 0)], ModeCombo);

    ASSERT_TRUE(tabTo(*window, CTarnDlg::kWriteKeys));
    type(Qt::Key_Space, kSpace);
    ASSERT_EQ(dialogs.messages(), std::vector<std::wstring>{L"OK!"});

    // What the simulated keyboard holds now, read into a profile of its own.
    auto read = emptyProfile();
    ASSERT_TRUE(profile->readKeysFromDevice(nullptr, *read));
    const int play = KeyboardProfile::slot(kPlayKey, 0);
    const int combo = KeyboardProfile::slot(kComboKey, 0);
    EXPECT_EQ(read->modes[play], ModeMultimedia);
    EXPECT_EQ(read->hwCodes[play], 111);
    EXPECT_EQ(read->modes[combo], ModeCombo);
    EXPECT_EQ(read->sequences[combo].items, profile->sequences[combo].items);
    EXPECT_EQ(read->sequences[combo].items.size(), 2u);
}

}  // namespace
