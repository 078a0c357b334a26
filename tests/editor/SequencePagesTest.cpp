// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The editor's sequence pages: library entries, recording from key events,
// the macro edits, the right-click menu, the list views and their scroll
// bars; and a recorded macro travelling into the simulated keyboard and back.
#include <QLineEdit>
#include <QPlainTextEdit>

#include "KeyMapEditorFixture.h"
#include "MainWindowFixture.h"
#include "shell/CSkinScrollBar.h"

namespace {

using Editor = CTarnDialogKeyMapSettings;
using SequencePagesTest = KeyMapEditorFixture;
using Items = std::vector<std::wstring>;

void typeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

TEST_F(SequencePagesTest, LibraryEntriesAreCreatedRenamedSelectedAndDeleted) {
    profile->language = "zh-CN";
    auto editor = openEditor();
    click(*editor, Editor::kFirstTab + 1);
    click(*editor, Editor::kNewMacro);
    ASSERT_TRUE(editor->isRenaming());
    EXPECT_EQ(editor->renameEdit()->text(), QStringLiteral("宏定义1"));
    EXPECT_EQ(editor->renameEdit()->geometry().topLeft(), QPoint(37, 114));
    QTest::keyClick(editor->renameEdit(), Qt::Key_Return);  // commits; the window stays open
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(editor->isRenaming());
    click(*editor, Editor::kNewMacro);
    EXPECT_EQ(editor->renameEdit()->text(), QStringLiteral("宏定义2"));
    editor->renameEdit()->clear();
    click(*editor, Editor::kFirstTab);  // any click commits, and does nothing else
    EXPECT_EQ(editor->page(), 2);
    EXPECT_EQ(editor->macros().names().items, (Items{L"宏定义1", L""}));
    EXPECT_EQ(editor->libraryBar()->scrollInfo().maximum, 2 + 8);

    // A click loads an entry, a second one on it renames it.
    click(*editor, Editor::kFirstMacroNameRow);
    EXPECT_EQ(editor->macros().loadedEntry(), 0);
    EXPECT_FALSE(editor->isRenaming());
    click(*editor, Editor::kFirstMacroNameRow + 5);  // no entry there
    EXPECT_EQ(editor->macros().loadedEntry(), 0);
    click(*editor, Editor::kFirstMacroNameRow);
    EXPECT_TRUE(editor->isRenaming());
    typeInto(editor->renameEdit(), QStringLiteral("Mine"));
    click(*editor, Editor::kRemoveMacro);  // commits the rename only
    EXPECT_EQ(editor->macros().names().items, (Items{L"Mine", L""}));
    click(*editor, Editor::kRemoveMacro);
    EXPECT_EQ(editor->macros().names().items, (Items{L""}));

    // The combo half answers only in combo mode.
    click(*editor, Editor::kFirstTab);
    click(*editor, Editor::kNewCombo);
    EXPECT_EQ(editor->combos().entryCount(), 0);
    click(*editor, Editor::kComboRadio);
    click(*editor, Editor::kNewCombo);
    EXPECT_EQ(editor->combos().entryCount(), 1);
}

TEST_F(SequencePagesTest, RecordingFillsTheEntryAndOnlyOkOrCancelGoOnAfterACombo) {
    auto editor = openEditor();
    click(*editor, Editor::kComboRadio);
    click(*editor, Editor::kRecordCombo);  // nothing to record into yet
    EXPECT_FALSE(editor->recorder().isRecording());
    click(*editor, Editor::kNewCombo);
    click(*editor, 103);  // a click on anything ends the rename
    click(*editor, Editor::kRecordCombo);
    ASSERT_TRUE(editor->recorder().isRecording());
    for (int vk : {162, 164, 46})
        tap(*editor, vk);
    editor->grab();
    EXPECT_EQ(editor->comboKeysBox()->toPlainText(), QStringLiteral("Left CONTROL + Left Alt + DEL"));
    click(*editor, Editor::kOk);
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(mode(43), ModeCombo);
    EXPECT_EQ(profile->predefinedCombo.children[0].items, (Items{L"Left CONTROL", L"Left Alt", L"DEL"}));

    // A macro's or an emulation's stop swallows the click, OK included.
    editor = openEditor();
    click(*editor, Editor::kFirstTab + 2);
    click(*editor, Editor::kNewEmulation);
    click(*editor, Editor::kRecordEmulation);  // ends the rename
    click(*editor, Editor::kRecordEmulation);
    tap(*editor, 'Q');
    click(*editor, Editor::kOk);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_FALSE(editor->recorder().isRecording());
    EXPECT_EQ(editor->emulations().names().children[0].items, Items{L"Q"});
    typeInto(editor->loopEdit(), QStringLiteral("7000"));
    EXPECT_EQ(editor->loopEdit()->text(), QStringLiteral("6000"));
    click(*editor, Editor::kOk);
    EXPECT_EQ(mode(43), ModeEmulation);
    EXPECT_EQ(profile->sequences[KeyboardProfile::slot(43, 0)].delay, 6000);
}

TEST_F(SequencePagesTest, MacroEditsStoreBackIntoTheLoadedEntryWhereverTheHighlightIs) {
    ActionList library = listOf({L"M1", L"M2", L"M3"});
    library.children[0] = listOf({L"A Down", L"<120 ms>", L"A UP"});
    library.children[2] = listOf({L"Z Down"});
    profile->predefinedMacro = library;
    mode(43) = ModeMacro;
    auto editor = openEditor();
    ASSERT_EQ(editor->macros().loadedEntry(), 0);

    // Scroll the library's highlight to M3, then edit: M1 changes, M3 not.
    emit editor->libraryBar()->scrollRequested(CSkinScrollBar::ThumbTrack, 2);
    EXPECT_EQ(editor->macros().names().viewStartAt + editor->macros().names().cursorPos, 2);
    typeInto(editor->loopEdit(), QStringLiteral("0"));
    EXPECT_EQ(editor->loopEdit()->text(), QStringLiteral("1"));
    typeInto(editor->loopEdit(), QStringLiteral("999"));
    EXPECT_EQ(editor->loopEdit()->text(), QStringLiteral("250"));

    // The delay edit: nothing on an event, the pause's digits on a pause,
    // the typed value clamped to what the keyboard holds.
    click(*editor, Editor::kDelayToggle);
    EXPECT_FALSE(editor->isEditingDelay());
    click(*editor, Editor::kFirstMacroActionRow + 1);
    click(*editor, Editor::kDelayToggle);
    ASSERT_TRUE(editor->isEditingDelay());
    EXPECT_EQ(editor->delayEdit()->text(), QStringLiteral("120"));
    typeInto(editor->delayEdit(), QStringLiteral("70000"));
    click(*editor, Editor::kDelayToggle);
    EXPECT_FALSE(editor->isEditingDelay());
    EXPECT_EQ(editor->macros().names().children[0].items[1], L"<65535 ms>");
    click(*editor, Editor::kAutoInterval);
    click(*editor, Editor::kAutoInterval);
    const ActionList& m1 = editor->macros().names().children[0];
    EXPECT_EQ(m1.items, (Items{L"A Down", L"<0 ms>", L"A UP"}));
    EXPECT_EQ(m1.cycles, 250);
    EXPECT_EQ(editor->macros().names().children[2].items, Items{L"Z Down"});

    // Another click while the delay edit is open leaves the item as it was.
    click(*editor, Editor::kFirstMacroActionRow + 1);
    click(*editor, Editor::kDelayToggle);
    typeInto(editor->delayEdit(), QStringLiteral("5"));
    click(*editor, Editor::kFirstMacroActionRow);
    EXPECT_FALSE(editor->isEditingDelay());
    EXPECT_EQ(editor->macros().sequence().items[1], L"<0 ms>");
}

TEST_F(SequencePagesTest, RightClickMenuInsertsMouseActionsAndDeletesPairs) {
    profile->language = "zh-CN";
    ActionList library = listOf({L"M"});
    library.children[0] = listOf({L"A Down", L"<10 ms>", L"A UP"});
    profile->predefinedMacro = library;
    mode(43) = ModeMacro;
    auto editor = openEditor();
    const QPoint emptyRow = centreOf(*editor, Editor::kFirstMacroActionRow + 5);
    QTest::mouseClick(editor.get(), Qt::RightButton, {}, emptyRow);
    EXPECT_TRUE(dialogs.requestsOf(FakeSystemDialogs::Kind::Menu).empty());

    dialogs.queueMenuChoice(Editor::kLeftClick);
    QTest::mouseClick(editor.get(), Qt::RightButton, {}, centreOf(*editor, Editor::kFirstMacroActionRow + 2));
    const auto menus = dialogs.requestsOf(FakeSystemDialogs::Kind::Menu);
    ASSERT_EQ(menus.size(), 1u);
    ASSERT_EQ(menus[0].menu.size(), 5u);
    EXPECT_EQ(menus[0].menu[0].text, L"鼠标左键");
    EXPECT_EQ(menus[0].menu[0].children[2].text, L"点击");
    EXPECT_EQ(menus[0].menu[4].text, L"删除");
    EXPECT_EQ(editor->macros().names().children[0].items,
              (Items{L"A Down", L"<10 ms>", L"Mouse Key Left", L"<0 ms>", L"Mouse Key Left", L"<0 ms>", L"A UP"}));

    dialogs.queueMenuChoice(Editor::kDeleteItem);
    QTest::mouseClick(editor.get(), Qt::RightButton, {}, centreOf(*editor, Editor::kFirstMacroActionRow + 6));
    EXPECT_EQ(editor->macros().names().children[0].items,
              (Items{L"A Down", L"<10 ms>", L"Mouse Key Left", L"<0 ms>", L"Mouse Key Left"}));
    EXPECT_EQ(editor->sequenceBar()->scrollInfo().maximum, 5 + 8);
}

TEST_F(SequencePagesTest, ListViewsScrollWithTheirBarsAndShowTheRowsItemsAndHighlight) {
    auto editor = openEditor();
    click(*editor, Editor::kFirstTab + 1);
    click(*editor, Editor::kNewMacro);
    click(*editor, Editor::kRecordMacro);  // ends the rename
    click(*editor, Editor::kRecordMacro);
    for (int i = 0; i < 5; ++i)
        tap(*editor, 'A' + i);  // 19 items: the view follows the last
    const ActionList& macro = editor->macros().sequence();
    ASSERT_EQ(macro.items.size(), 19u);
    EXPECT_EQ(macro.viewStartAt, 10);
    EXPECT_EQ(macro.cursorPos, 8);
    EXPECT_EQ(editor->sequenceBar()->scrollInfo().maximum, 19 + 8);
    key(*editor, 'F', false);
    editor->grab();
    EXPECT_EQ(editor->controlById(Editor::kFirstMacroActionRow + 8)->caption("en-US"), L"F Down");
    EXPECT_TRUE(editor->controlById(Editor::kFirstMacroActionRow + 8)->active);
    EXPECT_TRUE(drawnActive(*editor, Editor::kFirstMacroActionRow + 8));

    CSkinScrollBar& bar = *editor->sequenceBar();
    emit bar.scrollRequested(CSkinScrollBar::ThumbTrack, 12);
    EXPECT_EQ(macro.viewStartAt, 12);
    EXPECT_EQ(macro.cursorPos, 0);
    emit bar.scrollRequested(CSkinScrollBar::ThumbTrack, 14);
    EXPECT_EQ(macro.viewStartAt, 12);
    EXPECT_EQ(macro.cursorPos, 2);
    emit bar.scrollRequested(CSkinScrollBar::PageUp, 0);
    emit bar.scrollRequested(CSkinScrollBar::LineUp, 0);
    EXPECT_EQ(bar.scrollInfo().position, 4);
    EXPECT_EQ(macro.viewStartAt, 4);
    emit bar.scrollRequested(CSkinScrollBar::ThumbTrack, 500);
    EXPECT_EQ(bar.scrollInfo().position, bar.maxPosition());
    editor->grab();
    EXPECT_EQ(editor->controlById(Editor::kFirstMacroActionRow + 1)->caption("en-US"), L"");  // past the end

    // An empty list keeps its view at the start.
    click(*editor, Editor::kFirstTab + 2);
    emit editor->libraryBar()->scrollRequested(CSkinScrollBar::PageDown, 0);
    EXPECT_EQ(editor->emulations().names().viewStartAt, 0);
}

using RecordedMacroOnTheKeyboard = MainWindowFixture;

TEST_F(RecordedMacroOnTheKeyboard, ARecordedMacroIsWrittenAndReadBack) {
    qunsetenv("DISPLAY");
    auto window = openWindow();
    QTimer::singleShot(0, [] {
        auto* editor = qobject_cast<CTarnDialogKeyMapSettings*>(QApplication::activeModalWidget());
        ASSERT_NE(editor, nullptr);
        KeyMapEditorFixture::click(*editor, Editor::kFirstTab + 1);
        KeyMapEditorFixture::click(*editor, Editor::kNewMacro);
        KeyMapEditorFixture::click(*editor, Editor::kRecordMacro);
        KeyMapEditorFixture::click(*editor, Editor::kRecordMacro);
        KeyMapEditorFixture::tap(*editor, 'K');
        KeyMapEditorFixture::click(*editor, Editor::kOk);  // ends the recording
        KeyMapEditorFixture::click(*editor, Editor::kOk);
    });
    click(*window, keyCentre(*window, 50));
    const int slot = KeyboardProfile::slot(50, 0);
    ASSERT_EQ(profile->modes[slot], ModeMacro);
    ASSERT_EQ(profile->sequences[slot].items.size(), 3u);
    const ActionList recorded = profile->sequences[slot];

    click(*window, CTarnDlg::kWriteKeys);
    dialogs.queueAnswer(SystemDialogs::Answer::Discard);
    click(*window, CTarnDlg::kClear);
    click(*window, CTarnDlg::kReadAll);
    EXPECT_EQ(dialogs.messages(), (Items{L"OK!", L"Save the changes to the profile first?", L"OK!"}));
    EXPECT_EQ(profile->modes[slot], ModeMacro);
    // The keyboard keeps codes and pauses; the press/release names come back bare.
    const auto codes = [this](const ActionList& list) {
        std::vector<int> result;
        for (const std::wstring& item : list.items)
            result.push_back(profile->actionItemToHwCode(item));
        return result;
    };
    EXPECT_EQ(codes(profile->sequences[slot]), codes(recorded));
    EXPECT_EQ(codes(recorded)[0], 50);
}

}  // namespace
