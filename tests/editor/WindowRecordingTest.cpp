// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// Recording where no keyboard grab sees the keys: the choice of the path, the
// keys taken from the editor's own window with their own times, and keys that
// never act while a recording runs.
#include "KeyMapEditorFixture.h"

#include <QApplication>
#include <QKeyEvent>

#include "editor/KeyMapWindowLayout.h"
#include "jobs/RecordingPath.h"

namespace {

using Editor = CTarnDialogKeyMapSettings;
using Items = std::vector<std::wstring>;

TEST(RecordingPathTest, TheGrabRunsOnlyWhereItCanSeeTheKeys) {
    const auto path = [](const char* platform, const char* sessionType, const char* waylandDisplay,
                         const char* display, const char* forced = "") {
        return recordingPathFor({platform, sessionType, waylandDisplay, display, forced});
    };
    EXPECT_EQ(path("xcb", "x11", "", ":0"), RecordingPath::Hook);
    EXPECT_EQ(path("offscreen", "", "", ":5"), RecordingPath::Hook);
    EXPECT_EQ(path("windows", "", "", "", "window"), RecordingPath::Hook);
    EXPECT_EQ(path("wayland", "wayland", "wayland-1", ":0"), RecordingPath::Window);
    EXPECT_EQ(path("xcb", "wayland", "", ":0"), RecordingPath::Window);  // XWayland
    EXPECT_EQ(path("xcb", "", "wayland-0", ":0"), RecordingPath::Window);
    EXPECT_EQ(path("xcb", "x11", "", ""), RecordingPath::Window);
    EXPECT_EQ(path("xcb", "x11", "", ":0", "window"), RecordingPath::Window);
    EXPECT_EQ(path("xcb", "wayland", "", ":0", "grab"), RecordingPath::Hook);
}

TEST(RecordingPathTest, PausesComeFromTheEventsOwnTimesAcrossTheirWrapAround) {
    auto profile = emptyProfile();
    KeyRecorder recorder(*profile);
    KeyRecorder::Clock::time_point now{};
    recorder.setClock([&] { return now; });
    ActionList macro;
    recorder.start(KeyRecorder::Target::Macro, &macro);
    constexpr std::uintptr_t kUp = 0x80000000u;
    // The window got round to the events at times of its own (busy painting).
    const auto event = [&](std::uintptr_t key, std::uint32_t stamp, int handledAfterMs) {
        now += std::chrono::milliseconds(handledAfterMs);
        recorder.keyEvent(key, 0, stamp);
    };
    event('A', 0xFFFFFFF0u, 0);
    event('A' | kUp, 0x00000014u, 90);  // 36 ms, across the wrap
    event('B', 0x00000010u, 2);         // older than the last: no pause
    event('B' | kUp, 0x00000050u, 1);
    recorder.keyEvent('C', 0);  // no stamp: the clock at handling counts
    now += std::chrono::milliseconds(25);
    recorder.keyEvent('C' | kUp, 0, 7);
    EXPECT_EQ(macro.items, (Items{L"A Down", L"<36 ms>", L"A UP", L"<0 ms>", L"B Down", L"<64 ms>", L"B UP",
                                  L"<0 ms>", L"C Down", L"<25 ms>", L"C UP"}));
}

class WindowRecordingTest : public KeyMapEditorFixture {
protected:
    void SetUp() override {
        KeyMapEditorFixture::SetUp();
        qputenv(RecordingSession::kForceVariable, "window");
    }
    void TearDown() override { qunsetenv(RecordingSession::kForceVariable); }

    // A key typed in the window: X11 and Wayland give its evdev code + 8.
    static void typeInWindow(QWidget& window, int evdevCode, Qt::Key key, bool press, quint64 time) {
        QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, key, Qt::NoModifier,
                        static_cast<quint32>(evdevCode + 8), 0, 0);
        event.setTimestamp(time);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
        QCoreApplication::sendEvent(target, &event);
        QCoreApplication::sendPostedEvents();
    }
    static QImage tipArea(Editor& editor) {
        const layout::Rect& r = layout::keyMapRecordingTip;
        return editor.grab().toImage().copy(r.left, r.top, r.width(), r.height());
    }
};

TEST_F(WindowRecordingTest, KeysTypedInTheWindowAreRecordedWithTheirTimesAndNoneActs) {
    auto editor = openEditor();
    click(*editor, Editor::kFirstTab + 1);
    click(*editor, Editor::kNewMacro);
    click(*editor, Editor::kRecordMacro);  // ends the rename
    const QImage tipBefore = tipArea(*editor);
    click(*editor, Editor::kRecordMacro);
    ASSERT_TRUE(editor->recorder().isRecording());
    EXPECT_EQ(editor->recordingPath(), RecordingPath::Window);
    EXPECT_NE(tipArea(*editor), tipBefore);  // the window says where to type

    // Enter, Escape, Tab, Space; the keypad 4 with NumLock off is the arrow.
    const struct { int evdev; Qt::Key key; } keys[] = {
        {28, Qt::Key_Return}, {1, Qt::Key_Escape}, {15, Qt::Key_Tab}, {57, Qt::Key_Space}, {75, Qt::Key_Left}};
    quint64 time = 1000;
    for (const auto& k : keys) {
        typeInWindow(*editor, k.evdev, k.key, true, time += 40);
        typeInWindow(*editor, k.evdev, k.key, false, time += 15);
    }
    EXPECT_TRUE(editor->isVisible());
    Items expected;
    for (int vk : {13, 27, 9, 32, 37}) {
        for (bool release : {false, true}) {
            if (!expected.empty())
                expected.push_back(release ? L"<15 ms>" : L"<40 ms>");
            expected.push_back(profile->actionItemName(vk + (release ? KeyRecorder::kReleaseFlag : 0), true));
        }
    }
    EXPECT_EQ(editor->macros().sequence().items, expected);

    // Stopped, the filter is gone: the tip with it, and Escape cancels again.
    click(*editor, Editor::kRecordMacro);
    EXPECT_EQ(tipArea(*editor), tipBefore);
    typeInWindow(*editor, 1, Qt::Key_Escape, true, time += 40);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(editor->result(), QDialog::Rejected);

    // The page-1 capture takes Enter as the key, not as OK.
    editor = openEditor();
    click(*editor, Editor::kCapture);
    typeInWindow(*editor, 28, Qt::Key_Return, true, 5);
    EXPECT_EQ(editor->capturedCode(), 13);
    EXPECT_TRUE(editor->isVisible());
}

}  // namespace
