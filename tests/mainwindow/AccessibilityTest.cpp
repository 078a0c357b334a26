// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// What assistive technology sees of the main window and the key editor,
// through Qt's accessibility API: roles, names in both languages, states,
// and the events sent when something changes.
#include <QAccessible>
#include <QLineEdit>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>

#include "MainWindowFixture.h"
#include "editor/CTarnDialogKeyMapSettings.h"
#include "profile/KeyboardProfile.h"
#include "shell/CSkinScrollBar.h"

namespace {

using Editor = CTarnDialogKeyMapSettings;
using State = QAccessible::State;
QString zh(const wchar_t* text) { return QString::fromWCharArray(text); }

// The first shown child with this name and role, else the first hidden one.
QAccessibleInterface* named(QAccessibleInterface* window, const QString& name, QAccessible::Role role) {
    QAccessibleInterface* found = nullptr;
    for (int i = 0; i < window->childCount(); ++i)
        if (QAccessibleInterface* c = window->child(i); c->role() == role && c->text(QAccessible::Name) == name
                                                        && (!found || (found->state().invisible && !c->state().invisible)))
            found = c;
    return found;
}

void press(QAccessibleInterface* control) {
    ASSERT_TRUE(control && control->actionInterface());
    control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

// Each event as "type name", with the state that changed for state changes.
QString said(QAccessible::Event type, const QString& name, const char* changed = "") {
    return QString("%1 %2 %3").arg(int(type)).arg(name, changed);
}
QStringList heard;

void listen(QAccessibleEvent* event) {
    QAccessibleInterface* target = event->accessibleInterface();
    const State s = event->type() == QAccessible::StateChanged
                        ? static_cast<QAccessibleStateChangeEvent*>(event)->changedStates() : State();
    heard << said(event->type(), target ? target->text(QAccessible::Name) : QString(),
                  s.invisible ? "invisible" : s.checked ? "checked" : s.pressed ? "pressed" : "");
}

class AccessibilityTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        qunsetenv("DISPLAY");  // no recording may grab a real desktop's keyboard
        QAccessible::installUpdateHandler(&listen);
        // What a screen reader appearing on the desktop does.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        ASSERT_TRUE(QAccessible::isActive());
    }
    void TearDown() override { QAccessible::installUpdateHandler(nullptr); }

    std::unique_ptr<Editor> openEditor() {
        auto editor = std::make_unique<Editor>(*profile, dialogs);
        editor->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        return editor;
    }
    // Paints the window, which announces what changed; forgets what was heard before.
    static void settle(QWidget& window, bool forget = false) { window.repaint(), forget ? heard.clear() : void(); }
};

TEST_F(AccessibilityTest, MainWindowControlsHaveRolesNamesStatesAndPlaces) {
    auto window = openWindow();
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(window.get());
    EXPECT_EQ(tree->role(), QAccessible::Dialog);
    EXPECT_EQ(tree->text(QAccessible::Name), "VelkorOndrix");
    EXPECT_EQ(tree->childCount(), 12 + 108 + 10 + 1);  // commands, keys, labels, the summary box
    QAccessibleInterface* writeKeys = named(tree, "WriteKeys", QAccessible::Button);
    ASSERT_NE(writeKeys, nullptr);
    const QRect place = writeKeys->rect();
    EXPECT_EQ(place, QRect(window->mapToGlobal(QPoint(330, 95)), QSize(100, 35)));
    EXPECT_EQ(tree->childAt(place.center().x(), place.center().y()), writeKeys);
    EXPECT_EQ(tree->child(tree->indexOfChild(writeKeys)), writeKeys);
    // A key: its legend, and what it does on the shown layer.
    QAccessibleInterface* esc = named(tree, "Esc", QAccessible::Button);
    ASSERT_NE(esc, nullptr);
    EXPECT_EQ(esc->text(QAccessible::Description), "Not set");
    profile->modes[KeyboardProfile::slot(1, 1)] = ModeMultimedia;
    profile->hwCodes[KeyboardProfile::slot(1, 1)] = 111;
    QAccessibleInterface* layer = named(tree, "Show LevelDn", QAccessible::CheckBox);
    press(layer);
    EXPECT_TRUE(layer->state().checked);
    EXPECT_TRUE(esc->text(QAccessible::Description).startsWith("Multimedia"));
    // The language switch names the other language; then all speaks Chinese.
    QAccessibleInterface* language = named(tree, zh(L"简体中文"), QAccessible::CheckBox);
    EXPECT_FALSE(language->state().checked);
    press(language);
    EXPECT_TRUE(language->state().checked);
    EXPECT_EQ(language->text(QAccessible::Name), "English");
    EXPECT_EQ(writeKeys->text(QAccessible::Name), zh(L"写入按键"));
    EXPECT_TRUE(esc->text(QAccessible::Description).startsWith(zh(L"多媒体键")));
    EXPECT_NE(named(tree, zh(L"退出"), QAccessible::Button), nullptr);  // a picture named by its tooltip
    window->setEnabled(false);  // as under a modal window
    EXPECT_TRUE(writeKeys->state().disabled);
    window->setEnabled(true);
}

TEST_F(AccessibilityTest, EditorPagesShowTheirOwnControlsInBothLanguages) {
    auto editor = openEditor();
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(editor.get());
    EXPECT_EQ(tree->text(QAccessible::Name), "Key Settings");
    // Per page, a control that only it shows.
    const std::vector<std::pair<QString, QAccessible::Role>> ofPage = {
        {"Uniques", QAccessible::CheckBox},    {"Macro List", QAccessible::StaticText},
        {"Emu List", QAccessible::StaticText}, {"Play/Pause", QAccessible::Button},
        {"Move Left", QAccessible::Button},    {"Win Lock", QAccessible::Button}, {"Sleep", QAccessible::Button},
    };
    const QStringList tabs = {"Uni/Combo", "Macro", "Emulate", "Multimedia", "Mouse", "Function", "Power"};
    for (int page = 1; page <= Editor::kPageCount; ++page) {
        press(named(tree, tabs[page - 1], QAccessible::PageTab));
        EXPECT_EQ(editor->page(), page);
        for (int other = 1; other <= Editor::kPageCount; ++other) {
            SCOPED_TRACE(testing::Message() << "page " << page << ", control of page " << other);
            EXPECT_EQ(named(tree, tabs[other - 1], QAccessible::PageTab)->state().selected, other == page);
            QAccessibleInterface* control = named(tree, ofPage[other - 1].first, ofPage[other - 1].second);
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(control->state().invisible, other != page);
        }
    }
    // A new macro names the first, selected row of its list; the list's bar has its value.
    press(named(tree, "Macro", QAccessible::PageTab));
    press(named(tree, "New", QAccessible::Button));
    QTest::keyClick(editor->renameEdit(), Qt::Key_Return);  // keeps the offered name
    settle(*editor);
    const QString macroName = QString::fromStdWString(editor->macros().names().itemText(0));
    QAccessibleInterface* row = named(tree, macroName, QAccessible::ListItem);
    ASSERT_TRUE(!macroName.isEmpty() && row);
    EXPECT_TRUE(row->state().selected);
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(editor->libraryBar());
    ASSERT_TRUE(bar->role() == QAccessible::ScrollBar && bar->valueInterface());
    EXPECT_EQ(bar->valueInterface()->currentValue().toInt(), editor->libraryBar()->scrollInfo().position);
    profile->language = "zh-CN";
    EXPECT_EQ(tree->text(QAccessible::Name), zh(L"按键设置面板"));
    press(named(tree, zh(L"多媒体"), QAccessible::PageTab));
    QAccessibleInterface* play = named(tree, zh(L"播放/暂停"), QAccessible::Button);
    press(play);
    EXPECT_TRUE(play->state().checked);
    EXPECT_EQ(editor->selectedCode(4), 111);
}

TEST_F(AccessibilityTest, PageSwitchSelectionRecordingFocusAndNewAssignmentAreAnnounced) {
    auto editor = openEditor();
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(editor.get());
    settle(*editor, true);
    press(named(tree, "Multimedia", QAccessible::PageTab));
    settle(*editor);
    EXPECT_EQ(heard.count(said(QAccessible::Selection, "Multimedia")), 1);
    EXPECT_EQ(heard.count(said(QAccessible::StateChanged, "Play/Pause", "invisible")), 1);
    settle(*editor, true);
    press(named(tree, "Play/Pause", QAccessible::Button));
    settle(*editor);
    EXPECT_EQ(heard.count(said(QAccessible::StateChanged, "Play/Pause", "checked")), 1);
    // Recording: the record button is pressed and says "Stop Rec", then back.
    press(named(tree, "Uni/Combo", QAccessible::PageTab));
    settle(*editor, true);
    EXPECT_TRUE(named(tree, "Uniques", QAccessible::CheckBox)->state().checked);
    QAccessibleInterface* record = named(tree, "Record", QAccessible::Button);
    press(record);
    settle(*editor);
    ASSERT_TRUE(editor->recorder().isRecording());
    EXPECT_EQ(heard.count(said(QAccessible::NameChanged, "Stop Rec")), 1);
    EXPECT_EQ(heard.count(said(QAccessible::StateChanged, "Stop Rec", "pressed")), 1);
    settle(*editor, true);
    press(record);
    settle(*editor);
    EXPECT_FALSE(editor->recorder().isRecording());
    EXPECT_EQ(heard.count(said(QAccessible::NameChanged, "Record")), 1);
    // The keyboard focus moves to OK.
    editor->setFocusedControlIndex(static_cast<int>(editor->controlById(Editor::kOk) - editor->controls().data()));
    EXPECT_EQ(heard.count(said(QAccessible::Focus, "OK")), 1);
    EXPECT_EQ(tree->focusChild(), named(tree, "OK", QAccessible::Button));
    EXPECT_TRUE(tree->focusChild()->state().focused);
    editor.reset();
    // A key's new assignment changes its description, and no other key's.
    auto window = openWindow();
    settle(*window, true);
    profile->modes[KeyboardProfile::slot(1, 0)] = ModeMultimedia;
    profile->hwCodes[KeyboardProfile::slot(1, 0)] = 111;
    settle(*window);
    EXPECT_EQ(heard.count(said(QAccessible::DescriptionChanged, "Esc")), 1);
    EXPECT_EQ(heard.count(said(QAccessible::DescriptionChanged, "F1")), 0);
}

}  // namespace
