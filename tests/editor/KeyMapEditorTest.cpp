// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The key assignment editor window: the page a slot opens on, the icon pages
// with their tooltips, the single-key capture, and what OK, Cancel, Clear,
// Enter and Esc leave in the profile; and the main window opening it.
#include <QToolTip>

#include "KeyMapEditorFixture.h"
#include "MainWindowFixture.h"
#include "shell/SummaryBox.h"

namespace {

using Editor = CTarnDialogKeyMapSettings;
using EditorTest = KeyMapEditorFixture;

constexpr int kPlayPause = 402;
constexpr int kMute = 408;
constexpr int kLeftClickRow = 506;
constexpr int kFn = 613;
constexpr int kKeyboardLock = 602;
constexpr int kSleep = 702;

TEST_F(EditorTest, IconPagesOpenOnTheSlotsChoiceAndOkStoresOrClearsIt) {
    // A multimedia key opens on its page with its icon lit; OK keeps it.
    mode(43) = ModeMultimedia;
    hwCode(43) = 111;
    auto editor = openEditor();
    EXPECT_EQ(editor->page(), 4);
    EXPECT_TRUE(editor->controlById(kPlayPause)->active);
    EXPECT_TRUE(drawnActive(*editor, kPlayPause));
    EXPECT_FALSE(drawnActive(*editor, kMute));
    click(*editor, Editor::kOk);
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(mode(43), ModeMultimedia);
    EXPECT_EQ(hwCode(43), 111);

    // Another icon replaces the choice; clicking it again deselects it and
    // OK then leaves the key not set, its old code kept but unused.
    editor = openEditor();
    click(*editor, kMute);
    EXPECT_EQ(editor->selectedCode(4), 112);
    EXPECT_TRUE(drawnActive(*editor, kMute));
    EXPECT_FALSE(drawnActive(*editor, kPlayPause));
    click(*editor, kMute);
    EXPECT_EQ(editor->selectedCode(4), -1);
    EXPECT_FALSE(drawnActive(*editor, kMute));
    click(*editor, Editor::kOk);
    EXPECT_EQ(mode(43), ModeNotSet);
    EXPECT_EQ(hwCode(43), 111);

    // A page switched to without a choice stores nothing; each page stores
    // its own mode.
    mode(43) = ModeMultimedia;
    editor = openEditor();
    click(*editor, Editor::kFirstTab + 4);
    click(*editor, Editor::kOk);
    EXPECT_EQ(mode(43), ModeNotSet);
    for (auto [page, icon, expectedMode, code] : {std::array{5, kLeftClickRow, int{ModeMouse}, 130},
                                                  std::array{7, kSleep, int{ModePower}, 76}}) {
        editor = openEditor();
        click(*editor, Editor::kFirstTab + page - 1);
        click(*editor, icon);
        click(*editor, Editor::kOk);
        EXPECT_EQ(mode(43), expectedMode);
        EXPECT_EQ(hwCode(43), code);
    }
}

TEST_F(EditorTest, FnIsWrittenIntoBothLayersOfTheKey) {
    mode(60, 1) = ModeMacro;
    auto editor = openEditor(60, 0);
    click(*editor, Editor::kFirstTab + 5);
    click(*editor, kFn);
    click(*editor, Editor::kOk);
    for (int level : {0, 1}) {
        EXPECT_EQ(mode(60, level), ModeFunction) << level;
        EXPECT_EQ(hwCode(60, level), 156) << level;
    }
    // Any other function stays in its own layer.
    editor = openEditor(61, 1);
    click(*editor, Editor::kFirstTab + 5);
    click(*editor, kKeyboardLock);
    click(*editor, Editor::kOk);
    EXPECT_EQ(mode(61, 1), ModeFunction);
    EXPECT_EQ(hwCode(61, 1), 150);
    EXPECT_EQ(mode(61, 0), ModeNotSet);
}

TEST_F(EditorTest, IconTooltipsFollowTheMouseInTheCurrentLanguage) {
    profile->language = "zh-CN";
    auto editor = openEditor();
    click(*editor, Editor::kFirstTab + 5);
    QTest::mouseMove(editor.get(), centreOf(*editor, kKeyboardLock));
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 2000));
    EXPECT_EQ(QToolTip::text(), QStringLiteral("键盘锁"));
    QToolTip::hideText();
    // The mouse rows of page 5 have none; leaving an icon hides the tip.
    click(*editor, Editor::kFirstTab + 4);
    QTest::mouseMove(editor.get(), centreOf(*editor, kLeftClickRow));
    QTest::qWait(Editor::kTooltipDelayMs * 3);
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_TRUE(editor->tooltipText().isEmpty());
}

TEST_F(EditorTest, CapturedKeyIsStoredAsASingleKeyAndUnmappedOnesAreReported) {
    mode(43) = ModeSingle;
    hwCode(43) = 1;  // ESC
    auto editor = openEditor();
    EXPECT_EQ(editor->page(), 1);
    EXPECT_TRUE(editor->singleKeyMode());
    EXPECT_EQ(editor->capturedCode(), 27);
    editor->grab();
    EXPECT_EQ(editor->controlById(Editor::kCapturedKeyName)->caption("en-US"), L"ESC");

    click(*editor, Editor::kCapture);
    ASSERT_TRUE(editor->recorder().isRecording());
    EXPECT_TRUE(drawnActive(*editor, Editor::kCapture));
    EXPECT_TRUE(editor->controlById(Editor::kCaptureStopCaption)->captionVisible);
    EXPECT_FALSE(editor->controlById(Editor::kCaptureCaption)->captionVisible);
    tap(*editor, 'A');
    editor->grab();
    EXPECT_EQ(editor->capturedCode(), 65);
    EXPECT_EQ(editor->controlById(Editor::kCapturedKeyName)->caption("en-US"), L"A");
    EXPECT_TRUE(dialogs.messages().empty());
    // The click on OK ends the capture and still acts.
    click(*editor, Editor::kOk);
    EXPECT_FALSE(editor->recorder().isRecording());
    EXPECT_EQ(editor->result(), QDialog::Accepted);
    EXPECT_EQ(mode(43), ModeSingle);
    EXPECT_EQ(hwCode(43), 43);

    // A key without a keyboard position: said, and OK stores nothing. Any
    // other click only ends the capture.
    editor = openEditor();
    click(*editor, Editor::kCapture);
    tap(*editor, 16);  // Shift of neither side
    EXPECT_EQ(dialogs.messages(), std::vector<std::wstring>{L"a=16, b=0, c=0"});
    click(*editor, Editor::kFirstTab + 3);
    EXPECT_EQ(editor->page(), 1);
    EXPECT_FALSE(editor->recorder().isRecording());
    editor->grab();
    EXPECT_EQ(editor->controlById(Editor::kCapturedKeyName)->caption("en-US"), L"-- --");
    click(*editor, Editor::kOk);
    EXPECT_EQ(mode(43), ModeNotSet);

    // In combo mode the record button of the single key does nothing.
    editor = openEditor();
    click(*editor, Editor::kComboRadio);
    EXPECT_FALSE(editor->singleKeyMode());
    EXPECT_TRUE(editor->controlById(Editor::kComboCaption)->active);
    click(*editor, Editor::kCapture);
    EXPECT_FALSE(editor->recorder().isRecording());
}

TEST_F(EditorTest, CancelCloseEscapeAndEnterLeaveTheProfileAsItWas) {
    mode(43) = ModePower;
    hwCode(43) = 77;
    profile->predefinedMacro = listOf({L"M1"});
    const auto sameAsBefore = [this] {
        return mode(43) == ModePower && hwCode(43) == 77 && profile->predefinedMacro.items.size() == 1u;
    };
    for (int way = 0; way < 4; ++way) {
        SCOPED_TRACE(way);
        auto editor = openEditor();
        click(*editor, Editor::kFirstTab + 1);
        click(*editor, Editor::kClear);
        EXPECT_TRUE(editor->macros().names().items.empty());
        if (way == 0)
            click(*editor, Editor::kCancel);
        else if (way == 1)
            click(*editor, Editor::kClose);
        else
            QTest::keyClick(editor.get(), way == 2 ? Qt::Key_Escape : Qt::Key_Return);
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(editor->result(), way == 3 ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_TRUE(sameAsBefore());
    }
}

TEST_F(EditorTest, OnlyTheCurrentPagesLibraryIsWrittenBackByOk) {
    profile->predefinedMacro = listOf({L"M1", L"M2"});
    profile->predefinedCombo = listOf({L"C1"});
    // Clear on the macro page, then OK on another page: the macros stay.
    auto editor = openEditor();
    click(*editor, Editor::kFirstTab + 1);
    click(*editor, Editor::kClear);
    click(*editor, Editor::kFirstTab);
    click(*editor, Editor::kOk);
    EXPECT_EQ(profile->predefinedMacro.items.size(), 2u);
    EXPECT_EQ(profile->predefinedCombo.items.size(), 1u);
    // Clear and OK on the macro page: the library is emptied, the key not set.
    mode(43) = ModeMacro;
    editor = openEditor();
    EXPECT_EQ(editor->page(), 2);
    click(*editor, Editor::kClear);
    click(*editor, Editor::kOk);
    EXPECT_TRUE(profile->predefinedMacro.items.empty());
    EXPECT_EQ(mode(43), ModeNotSet);
}

TEST_F(EditorTest, SequenceKeysOpenOnTheLibraryEntryHoldingTheirSequence) {
    ActionList combos = listOf({L"Copy", L"Paste"});
    combos.children[0] = listOf({L"Left CONTROL", L"C"});
    combos.children[1] = listOf({L"Left CONTROL", L"V"});
    profile->predefinedCombo = combos;
    ActionList macros = listOf({L"M1", L"M2", L"M3"});
    macros.children[2] = listOf({L"A Down", L"<30 ms>", L"A UP"});
    profile->predefinedMacro = macros;

    const int slot = KeyboardProfile::slot(43, 0);
    mode(43) = ModeCombo;
    profile->sequences[slot] = listOf({L"Left CONTROL", L"V"});
    auto editor = openEditor();
    EXPECT_EQ(editor->page(), 1);
    EXPECT_FALSE(editor->singleKeyMode());
    EXPECT_EQ(editor->combos().loadedEntry(), 1);
    EXPECT_EQ(editor->combos().sequence().items, combos.children[1].items);

    // A sequence the library lacks (read from the keyboard, or opened from
    // another file) becomes an entry named after the key and layer; only OK
    // puts it into the profile's library, and OK keeps the key as it was.
    const ActionList own = listOf({L"Left CONTROL", L"X"});
    profile->sequences[slot] = own;
    editor = openEditor();
    EXPECT_EQ(editor->combos().loadedEntry(), 2);
    EXPECT_EQ(editor->combos().names().items.back(), L"A (L1)");
    EXPECT_EQ(editor->combos().sequence().items, own.items);
    click(*editor, CTarnDialogKeyMapSettings::kCancel);
    EXPECT_EQ(profile->predefinedCombo.items.size(), 2u);
    editor = openEditor();
    click(*editor, CTarnDialogKeyMapSettings::kOk);
    EXPECT_EQ(mode(43), ModeCombo);
    EXPECT_EQ(profile->sequences[slot].items, own.items);
    EXPECT_EQ(profile->predefinedCombo.items.back(), L"A (L1)");
    EXPECT_EQ(profile->predefinedCombo.children.back().items, own.items);
    profile->language = "zh-CN";
    mode(43, 1) = ModeCombo;
    profile->sequences[KeyboardProfile::slot(43, 1)] = listOf({L"Q"});
    EXPECT_EQ(openEditor(43, 1)->combos().names().items.back(), L"A（L2）");
    profile->language = "en-US";

    mode(43) = ModeMacro;
    profile->sequences[slot] = macros.children[2];
    editor = openEditor();
    EXPECT_EQ(editor->page(), 2);
    EXPECT_EQ(editor->macros().loadedEntry(), 2);
}

// ---- The main window ------------------------------------------------------------

using MainWindowEditsKeys = MainWindowFixture;

TEST_F(MainWindowEditsKeys, AKeyClickOpensItsEditorAndTheKeyboardShowsTheResult) {
    qunsetenv("DISPLAY");
    auto window = openWindow();
    click(*window, CTarnDlg::kLayer);  // the editor edits the shown layer
    bool opened = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* editor = qobject_cast<CTarnDialogKeyMapSettings*>(widget);
            if (!editor || !editor->isVisible())
                continue;
            opened = editor->slot() == KeyboardProfile::slot(30, 1);
            KeyMapEditorFixture::click(*editor, CTarnDialogKeyMapSettings::kFirstTab + 3);
            KeyMapEditorFixture::click(*editor, kPlayPause);
            KeyMapEditorFixture::click(*editor, CTarnDialogKeyMapSettings::kOk);
        }
    });
    click(*window, keyCentre(*window, 30));
    EXPECT_TRUE(opened);
    EXPECT_EQ(profile->currentKey, 30);
    EXPECT_EQ(profile->modes[KeyboardProfile::slot(30, 1)], ModeMultimedia);
    EXPECT_EQ(profile->modes[KeyboardProfile::slot(30, 0)], ModeNotSet);
    window->hitTestControls(keyCentre(*window, 30));
    const QImage shot = window->grab().toImage();
    EXPECT_EQ(shot.pixelColor(keyCentre(*window, 30) + QPoint(0, 12)), KeyMapEditorFixture::kPlainActive);
    EXPECT_NE(window->summaryBox().text().find(L"Multimedia"), std::wstring::npos);

    // Leaving a key for the summary box clears its hover and its summary.
    QTest::mouseMove(window.get(), keyCentre(*window, 31));
    window->grab();
    EXPECT_NE(window->summaryBox().text(), SummaryBox::bannerText(*profile));
    QTest::mouseMove(&window->summaryBox(), QPoint(20, 20));
    QTest::qWait(20);
    window->grab();
    EXPECT_EQ(window->lastMousePos(), QPoint(-1, -1));
    EXPECT_EQ(window->summaryBox().text(), SummaryBox::bannerText(*profile));
}

}  // namespace
