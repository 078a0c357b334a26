// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// What assistive technology sees of the main window and the key editor,
// through Qt's accessibility API: roles, names in both languages, states,
// and the events sent when something changes.
#include <algorithm>

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

// The first shown child with this name and role, else the first hidden one.
QAccessibleInterface* named(QAccessibleInterface* window, const QString& name, QAccessible::Role role) {
    QAccessibleInterface* hidden = nullptr;
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface* child = window->child(i);
        if (child && child->role() == role && child->text(QAccessible::Name) == name) {
            if (!child->state().invisible)
                return child;
            hidden = hidden ? hidden : child;
        }
    }
    return hidden;
}

void press(QAccessibleInterface* control) {
    ASSERT_NE(control, nullptr);
    ASSERT_NE(control->actionInterface(), nullptr);
    control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

struct Heard {
    QAccessible::Event type;
    QString name;
    QAccessible::State changed;
};
std::vector<Heard> heard;

void listen(QAccessibleEvent* event) {
    QAccessibleInterface* target = event->accessibleInterface();
    Heard h{event->type(), target ? target->text(QAccessible::Name) : QString(), {}};
    if (event->type() == QAccessible::StateChanged)
        h.changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
    heard.push_back(h);
}

// The events of one type about a control of this name.
std::vector<Heard> heardAbout(QAccessible::Event type, const QString& name) {
    std::vector<Heard> found;
    std::copy_if(heard.begin(), heard.end(), std::back_inserter(found),
                 [&](const Heard& h) { return h.type == type && h.name == name; });
    return found;
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
        heard.clear();
    }
    void TearDown() override { QAccessible::installUpdateHandler(nullptr); }

    std::unique_ptr<Editor> openEditor() {
        profile->currentKey = 43;
        auto editor = std::make_unique<Editor>(*profile, dialogs);
        editor->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        return editor;
    }
    // Paints the window, which announces what changed.
    static void settle(QWidget& window) {
        window.repaint();
        QCoreApplication::processEvents();
    }
};

TEST_F(AccessibilityTest, MainWindowControlsHaveRolesNamesStatesAndPlaces) {
    auto window = openWindow();
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(window.get());
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->role(), QAccessible::Dialog);
    EXPECT_EQ(tree->text(QAccessible::Name), "VelkorOndrix");
    // 12 commands, 108 keys, 10 labels, then the summary box.
    EXPECT_EQ(tree->childCount(), 131);

    QAccessibleInterface* writeKeys = named(tree, "WriteKeys", QAccessible::Button);
    ASSERT_NE(writeKeys, nullptr);
    EXPECT_EQ(writeKeys->rect(), QRect(window->mapToGlobal(QPoint(330, 95)), QSize(100, 35)));
    EXPECT_EQ(tree->childAt(writeKeys->rect().center().x(), writeKeys->rect().center().y()), writeKeys);
    EXPECT_EQ(tree->child(tree->indexOfChild(writeKeys)), writeKeys);
    EXPECT_EQ(writeKeys->parent(), tree);
    EXPECT_FALSE(writeKeys->state().invisible || writeKeys->state().disabled);
    EXPECT_NE(named(tree, "Exit", QAccessible::Button), nullptr);  // a picture button, named by its tooltip
    EXPECT_NE(named(tree, "WriteKeys", QAccessible::StaticText), nullptr);

    // A key: its legend, and what it does on the shown layer.
    QAccessibleInterface* esc = named(tree, "Esc", QAccessible::Button);
    ASSERT_NE(esc, nullptr);
    EXPECT_TRUE(esc->text(QAccessible::Description).startsWith("Not set"));
    profile->modes[KeyboardProfile::slot(1, 1)] = ModeMultimedia;
    profile->hwCodes[KeyboardProfile::slot(1, 1)] = 111;
    QAccessibleInterface* layer = named(tree, "Show LevelDn", QAccessible::CheckBox);
    ASSERT_NE(layer, nullptr);
    press(layer);
    EXPECT_TRUE(layer->state().checked);
    EXPECT_TRUE(esc->text(QAccessible::Description).startsWith("Multimedia"));

    // The language switch names the other language; afterwards everything
    // speaks Chinese.
    QAccessibleInterface* language = named(tree, QString::fromWCharArray(L"简体中文"), QAccessible::CheckBox);
    ASSERT_NE(language, nullptr);
    EXPECT_FALSE(language->state().checked);
    press(language);
    EXPECT_EQ(profile->language, "zh-CN");
    EXPECT_TRUE(language->state().checked);
    EXPECT_EQ(language->text(QAccessible::Name), "English");
    EXPECT_EQ(writeKeys->text(QAccessible::Name), QString::fromWCharArray(L"写入按键"));
    EXPECT_TRUE(esc->text(QAccessible::Description).startsWith(QString::fromWCharArray(L"多媒体键")));
    EXPECT_NE(named(tree, QString::fromWCharArray(L"退出"), QAccessible::Button), nullptr);

    window->setEnabled(false);  // as while a modal window is open over it
    EXPECT_TRUE(writeKeys->state().disabled);
    window->setEnabled(true);
}

TEST_F(AccessibilityTest, EditorPagesShowTheirOwnControlsInBothLanguages) {
    auto editor = openEditor();
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(editor.get());
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->text(QAccessible::Name), "Key Settings");
    EXPECT_NE(named(tree, "Close", QAccessible::Button), nullptr);

    // One control that only its page shows, per page.
    const std::vector<std::pair<QString, QAccessible::Role>> ofPage = {
        {"Uniques", QAccessible::CheckBox},  {"Macro List", QAccessible::StaticText},
        {"Emu List", QAccessible::StaticText}, {"Play/Pause", QAccessible::Button},
        {"Move Left", QAccessible::Button},    {"Win Lock", QAccessible::Button},
        {"Sleep", QAccessible::Button},
    };
    const QStringList tabs = {"Uni/Combo", "Macro", "Emulate", "Multimedia", "Mouse", "Function", "Power"};
    for (int page = 1; page <= Editor::kPageCount; ++page) {
        SCOPED_TRACE(page);
        press(named(tree, tabs[page - 1], QAccessible::PageTab));
        EXPECT_EQ(editor->page(), page);
        for (int other = 1; other <= Editor::kPageCount; ++other) {
            EXPECT_EQ(named(tree, tabs[other - 1], QAccessible::PageTab)->state().selected, other == page);
            QAccessibleInterface* control = named(tree, ofPage[other - 1].first, ofPage[other - 1].second);
            ASSERT_NE(control, nullptr) << ofPage[other - 1].first.toStdString();
            EXPECT_EQ(control->state().invisible, other != page);
        }
    }

    press(named(tree, "Uni/Combo", QAccessible::PageTab));
    EXPECT_TRUE(named(tree, "Uniques", QAccessible::CheckBox)->state().checked);
    EXPECT_FALSE(named(tree, "Combo", QAccessible::CheckBox)->state().checked);

    // A new macro: its name on the first, selected row of the list; the list's
    // scroll bar with its value.
    press(named(tree, "Macro", QAccessible::PageTab));
    press(named(tree, "New", QAccessible::Button));
    QTest::keyClick(editor->renameEdit(), Qt::Key_Return);  // keeps the offered name
    settle(*editor);
    const QString macroName = QString::fromStdWString(editor->macros().names().itemText(0));
    ASSERT_FALSE(macroName.isEmpty());
    QAccessibleInterface* row = named(tree, macroName, QAccessible::ListItem);
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(row->state().selected);
    QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(editor->libraryBar());
    EXPECT_EQ(bar->role(), QAccessible::ScrollBar);
    EXPECT_GE(tree->indexOfChild(bar), 0);
    ASSERT_NE(bar->valueInterface(), nullptr);
    EXPECT_EQ(bar->valueInterface()->currentValue().toInt(), editor->libraryBar()->scrollInfo().position);

    profile->language = "zh-CN";
    EXPECT_EQ(tree->text(QAccessible::Name), QString::fromWCharArray(L"按键设置面板"));
    QAccessibleInterface* media = named(tree, QString::fromWCharArray(L"多媒体"), QAccessible::PageTab);
    press(media);
    QAccessibleInterface* play = named(tree, QString::fromWCharArray(L"播放/暂停"), QAccessible::Button);
    ASSERT_NE(play, nullptr);
    press(play);
    EXPECT_TRUE(play->state().checked);
    EXPECT_EQ(editor->selectedCode(4), 111);
}

TEST_F(AccessibilityTest, PageSwitchSelectionRecordingFocusAndNewAssignmentAreAnnounced) {
    auto editor = openEditor();
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(editor.get());
    settle(*editor);
    heard.clear();

    press(named(tree, "Multimedia", QAccessible::PageTab));
    settle(*editor);
    EXPECT_EQ(heardAbout(QAccessible::Selection, "Multimedia").size(), 1u);
    auto shown = heardAbout(QAccessible::StateChanged, "Play/Pause");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].changed.invisible);

    heard.clear();
    press(named(tree, "Play/Pause", QAccessible::Button));
    settle(*editor);
    auto chosen = heardAbout(QAccessible::StateChanged, "Play/Pause");
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_TRUE(chosen[0].changed.checked);

    // Recording: the record button is pressed and says "Stop Rec", then
    // back again.
    press(named(tree, "Uni/Combo", QAccessible::PageTab));
    settle(*editor);
    heard.clear();
    QAccessibleInterface* record = named(tree, "Record", QAccessible::Button);
    press(record);
    settle(*editor);
    ASSERT_TRUE(editor->recorder().isRecording());
    EXPECT_EQ(heardAbout(QAccessible::NameChanged, "Stop Rec").size(), 1u);
    auto started = heardAbout(QAccessible::StateChanged, "Stop Rec");
    ASSERT_FALSE(started.empty());
    EXPECT_TRUE(started[0].changed.pressed);
    EXPECT_TRUE(record->state().pressed);
    heard.clear();
    press(record);
    settle(*editor);
    EXPECT_FALSE(editor->recorder().isRecording());
    EXPECT_EQ(heardAbout(QAccessible::NameChanged, "Record").size(), 1u);
    EXPECT_FALSE(record->state().pressed);

    // The keyboard focus moves to OK.
    const auto& controls = editor->controls();
    const auto ok = std::find_if(controls.begin(), controls.end(), [](const SkinControl& c) { return c.id == Editor::kOk; });
    heard.clear();
    editor->setFocusedControlIndex(static_cast<int>(ok - controls.begin()));
    EXPECT_EQ(heardAbout(QAccessible::Focus, "OK").size(), 1u);
    EXPECT_EQ(tree->focusChild(), named(tree, "OK", QAccessible::Button));
    EXPECT_TRUE(tree->focusChild()->state().focused);
    editor.reset();

    // A key's new assignment changes its description.
    auto window = openWindow();
    settle(*window);
    heard.clear();
    profile->modes[KeyboardProfile::slot(1, 0)] = ModeMultimedia;
    profile->hwCodes[KeyboardProfile::slot(1, 0)] = 111;
    window->update();
    settle(*window);
    EXPECT_EQ(heardAbout(QAccessible::DescriptionChanged, "Esc").size(), 1u);
    EXPECT_TRUE(heardAbout(QAccessible::DescriptionChanged, "F1").empty());
}

}  // namespace
