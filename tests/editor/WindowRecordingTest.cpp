// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// Recording where no grab sees the keys: the choice of the path, and the keys
// taken from the editor's own window, with their own times, acting on nothing.
#include <QApplication>
#include <QKeyEvent>

#include "KeyMapEditorFixture.h"
#include "editor/KeyMapWindowLayout.h"

namespace {

using Editor = CTarnDialogKeyMapSettings;

TEST(RecordingPathTest, TheGrabRunsOnlyWhereItCanSeeTheKeys) {
    const auto path = [](const char* platform, const char* session, const char* wayland, const char* display,
                         const char* forced = "") {
        return recordingPathFor({platform, session, wayland, display, forced});
    };
    EXPECT_EQ(path("xcb", "x11", "", ":0"), RecordingPath::Hook);
    EXPECT_EQ(path("windows", "", "", "", "window"), RecordingPath::Hook);
    EXPECT_EQ(path("wayland", "wayland", "wayland-1", ":0"), RecordingPath::Window);
    EXPECT_EQ(path("xcb", "", "wayland-0", ":0"), RecordingPath::Window);  // XWayland
    EXPECT_EQ(path("xcb", "x11", "", ""), RecordingPath::Window);
    EXPECT_EQ(path("xcb", "x11", "", ":0", "window"), RecordingPath::Window);
    EXPECT_EQ(path("xcb", "wayland", "", ":0", "grab"), RecordingPath::Hook);
}

class WindowRecordingTest : public KeyMapEditorFixture {
protected:
    void SetUp() override {
        KeyMapEditorFixture::SetUp();
        qputenv(RecordingSession::kForceVariable, "window");
    }
    void TearDown() override { qunsetenv(RecordingSession::kForceVariable); }

    // A key typed in the window: X11 and Wayland give its evdev code + 8.
    void typeInWindow(int evdevCode, Qt::Key key, bool press) {
        QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, {}, evdevCode + 8, 0, 0);
        event.setTimestamp(time += press ? 40 : 15);
        QCoreApplication::sendEvent(QApplication::focusWidget(), &event);
        QCoreApplication::sendPostedEvents();
    }
    static QImage tipArea(Editor& editor) {
        const layout::Rect& r = layout::keyMapRecordingTip;
        return editor.grab().toImage().copy(r.left, r.top, r.width(), r.height());
    }
    quint64 time = 0xFFFFFFC0u;  // the stamps wrap around to 0 on the way
};

TEST_F(WindowRecordingTest, KeysTypedInTheWindowAreRecordedWithTheirTimesAndNoneActs) {
    auto editor = openEditor();
    click(*editor, Editor::kFirstTab + 1);
    click(*editor, Editor::kNewMacro);
    click(*editor, Editor::kRecordMacro);  // ends the rename
    const QImage tipBefore = tipArea(*editor);
    click(*editor, Editor::kRecordMacro);
    ASSERT_EQ(editor->recordingPath(), RecordingPath::Window);
    EXPECT_NE(tipArea(*editor), tipBefore);  // the window says where to type

    // Enter, Escape, Tab, Space (evdev code, Qt key, virtual key); the keypad 4
    // with NumLock off is the arrow.
    const std::tuple<int, Qt::Key, int> keys[] = {{28, Qt::Key_Return, 13}, {1, Qt::Key_Escape, 27},
                                                  {15, Qt::Key_Tab, 9}, {57, Qt::Key_Space, 32}, {75, Qt::Key_Left, 37}};
    std::vector<std::wstring> expected;
    for (const auto& [evdev, key, vk] : keys)
        for (int release : {0, KeyRecorder::kReleaseFlag}) {
            typeInWindow(evdev, key, !release);
            if (!expected.empty())
                expected.push_back(release ? L"<15 ms>" : L"<40 ms>");
            expected.push_back(profile->actionItemName(vk + release, true));
        }
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->macros().sequence().items, expected);

    // Stopped, the filter is gone: the tip with it, and Escape cancels again.
    click(*editor, Editor::kRecordMacro);
    EXPECT_EQ(tipArea(*editor), tipBefore);
    typeInWindow(1, Qt::Key_Escape, true);
    EXPECT_FALSE(editor->isVisible());

    // The page-1 capture takes Enter as the key, not as OK.
    editor = openEditor();
    click(*editor, Editor::kCapture);
    typeInWindow(28, Qt::Key_Return, true);
    EXPECT_EQ(editor->capturedCode(), 13);
    EXPECT_TRUE(editor->isVisible());
}

}  // namespace
