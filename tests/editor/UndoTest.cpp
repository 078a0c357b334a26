// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// Undo and redo: inside the key editor over its working copies, and in the
// main window over the profile, step by step, never touching the keyboard.
#include <fstream>
#include <sstream>

#include "KeyMapEditorFixture.h"
#include "MainWindowFixture.h"

namespace {

using Editor = CTarnDialogKeyMapSettings;
using EditorUndoTest = KeyMapEditorFixture;
using MainWindowUndoTest = MainWindowFixture;

std::string contentsOf(const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void undo(QWidget& window) { QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier); }
void redo(QWidget& window, bool shiftZ = false) {
    if (shiftZ)
        QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    else
        QTest::keyClick(&window, Qt::Key_Y, Qt::ControlModifier);
}

TEST_F(EditorUndoTest, EachEditIsOneStepAndAutoIntervalOffGetsTheMeasuredDelaysBack) {
    auto editor = openEditor();
    KeyMapEditorFixture::click(*editor, Editor::kFirstTab + 1);
    click(*editor, Editor::kNewMacro);
    click(*editor, Editor::kRecordMacro);  // ends the rename: New and its name
    click(*editor, Editor::kRecordMacro);
    key(*editor, 'K', false);
    QTest::qWait(40);
    key(*editor, 'K', true);
    click(*editor, Editor::kRecordMacro);
    const ActionList recorded = editor->macros().sequence();
    ASSERT_EQ(recorded.items.size(), 3u);
    ASSERT_NE(recorded.items[1], L"<0 ms>");

    click(*editor, Editor::kAutoInterval);
    click(*editor, Editor::kAutoInterval);
    EXPECT_EQ(editor->macros().sequence().items[1], L"<0 ms>");
    undo(*editor);
    undo(*editor);
    EXPECT_EQ(editor->macros().sequence().items, recorded.items);
    EXPECT_FALSE(editor->macros().sequence().isAutoInterval);
    undo(*editor);  // the whole recording
    EXPECT_TRUE(editor->macros().sequence().items.empty());
    EXPECT_EQ(editor->macros().entryCount(), 1);
    undo(*editor);  // the name
    undo(*editor);  // New
    EXPECT_EQ(editor->macros().entryCount(), 0);
    undo(*editor);  // nothing more
    redo(*editor);
    redo(*editor, true);
    redo(*editor);
    EXPECT_EQ(editor->macros().sequence().items, recorded.items);
    EXPECT_EQ(editor->macros().names().items, (std::vector<std::wstring>{L"New Macro 1"}));

    // A new edit ends the redo steps; Delete is undone like the rest.
    undo(*editor);
    click(*editor, Editor::kRemoveMacro);
    redo(*editor);
    EXPECT_EQ(editor->macros().entryCount(), 0);
    undo(*editor);
    EXPECT_EQ(editor->macros().entryCount(), 1);
    click(*editor, Editor::kOk);
    EXPECT_EQ(profile->predefinedMacro.items, (std::vector<std::wstring>{L"New Macro 1"}));
}

TEST_F(MainWindowUndoTest, EditorOkClearAndReadAllAreStepsAndUndoLeavesTheKeyboardAlone) {
    qunsetenv("DISPLAY");
    auto window = openWindow();
    const auto pickIcon = [](int page, int icon) {
        QTimer::singleShot(0, [=] {
            auto* editor = qobject_cast<Editor*>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            KeyMapEditorFixture::click(*editor, Editor::kFirstTab + page - 1);
            KeyMapEditorFixture::click(*editor, icon);
            KeyMapEditorFixture::click(*editor, Editor::kOk);
        });
    };
    const int slot30 = KeyboardProfile::slot(30, 0);
    const int slot31 = KeyboardProfile::slot(31, 0);
    pickIcon(4, 402);
    click(*window, keyCentre(*window, 30));
    pickIcon(4, 408);
    click(*window, keyCentre(*window, 31));
    ASSERT_EQ(profile->modes[slot31], ModeMultimedia);
    click(*window, CTarnDlg::kWriteKeys);
    const std::string keyboardBefore = contentsOf(simulator.keyboard->stateFile());
    dialogs.queueAnswer(SystemDialogs::Answer::Discard);
    click(*window, CTarnDlg::kClear);
    click(*window, CTarnDlg::kLanguage);  // not a step
    click(*window, CTarnDlg::kLayer);     // nor this
    ASSERT_EQ(profile->modes[slot30], ModeNotSet);

    undo(*window);  // Clear
    EXPECT_EQ(profile->modes[slot31], ModeMultimedia);
    EXPECT_TRUE(profile->hasUnsavedChanges());
    undo(*window);  // the second OK
    EXPECT_EQ(profile->modes[slot31], ModeNotSet);
    EXPECT_EQ(profile->modes[slot30], ModeMultimedia);
    click(*window, CTarnDlg::kLayer);
    window->grab();
    EXPECT_TRUE(window->controlById(99 + 30)->active);
    EXPECT_FALSE(window->controlById(99 + 31)->active);
    redo(*window, true);
    redo(*window);
    EXPECT_EQ(profile->modes[slot30], ModeNotSet);
    EXPECT_EQ(contentsOf(simulator.keyboard->stateFile()), keyboardBefore);

    click(*window, CTarnDlg::kReadAll);
    EXPECT_EQ(profile->modes[slot31], ModeMultimedia);
    undo(*window);
    EXPECT_EQ(profile->modes[slot31], ModeNotSet);
    EXPECT_EQ(window->history().undoCount(), 3u);
}

}  // namespace
