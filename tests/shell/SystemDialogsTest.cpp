// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QTimer>

#include "shell/QtSystemDialogs.h"
#include "shell/QtTranslation.h"
#include "support/FakeSystemDialogs.h"

namespace {

TEST(SystemDialogsTest, WindowsFilterBecomesQtFilter) {
    EXPECT_EQ(QtSystemDialogs::qtFilter(L"pro(*.pro)|*.pro|All Files(*.*)|*.*||"),
              QStringLiteral("pro(*.pro);;All Files(*.*)"));
    EXPECT_EQ(QtSystemDialogs::qtFilter(L"Text|*.txt;*.log||"), QStringLiteral("Text (*.txt *.log)"));
    EXPECT_EQ(QtSystemDialogs::qtFilter(L""), QString());
}

TEST(SystemDialogsTest, FakeRecordsRequestsAndAnswersPerKindInOrder) {
    FakeSystemDialogs dialogs;
    dialogs.queueAnswer(SystemDialogs::Answer::Yes);
    dialogs.queueSaveFile(L"/tmp/a.pro");
    dialogs.queueColor(QColor(1, 2, 3));
    dialogs.queueMenuChoice(1137);

    SystemDialogs& asked = dialogs;
    EXPECT_EQ(asked.messageBox(nullptr, L"OK!", SystemDialogs::Buttons::YesNo, SystemDialogs::Icon::Exclamation),
              SystemDialogs::Answer::Yes);
    SystemDialogs::FileRequest file;
    file.filter = L"pro(*.pro)|*.pro||";
    file.defaultExtension = L"pro";
    EXPECT_EQ(asked.saveFileName(nullptr, file), std::optional<std::wstring>(L"/tmp/a.pro"));
    EXPECT_EQ(asked.chooseColor(nullptr, Qt::black), std::optional<QColor>(QColor(1, 2, 3)));
    EXPECT_EQ(asked.popupMenu(nullptr, {5, 6}, {{L"Left Click", 0, {{L"Click", 1137, {}}}}}), 1137);
    EXPECT_TRUE(dialogs.allAnswersUsed());
    EXPECT_EQ(dialogs.unanswered(), 0);

    // Unscripted requests get the answer of a dismissed dialog and are counted.
    EXPECT_EQ(asked.messageBox(nullptr, L"Keyboard is not connected!"), SystemDialogs::Answer::Ok);
    EXPECT_EQ(asked.openFileName(nullptr, file), std::nullopt);
    EXPECT_EQ(dialogs.unanswered(), 2);

    ASSERT_EQ(dialogs.requests().size(), 6u);
    const auto boxes = dialogs.requestsOf(FakeSystemDialogs::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, L"VelkorOndrix");
    EXPECT_EQ(boxes[0].icon, SystemDialogs::Icon::Exclamation);
    EXPECT_EQ(dialogs.messages(), (std::vector<std::wstring>{L"OK!", L"Keyboard is not connected!"}));
    EXPECT_EQ(dialogs.requests()[1].file.defaultExtension, L"pro");
    EXPECT_EQ(dialogs.requests()[2].initialColor, QColor(Qt::black));
    EXPECT_EQ(dialogs.requests()[3].position, QPoint(5, 6));
    EXPECT_EQ(dialogs.requests()[3].menu.front().children.front().command, 1137);
}

TEST(SystemDialogsTest, QtDialogsWearTheSkinsDarkPaletteInFusionWithTheirTextsKept) {
    QtSystemDialogs::useSkinStyle();
    EXPECT_EQ(QApplication::style()->name(), QStringLiteral("fusion"));
    const QColor dark = QtSystemDialogs::skinPalette().color(QPalette::Window);
    EXPECT_LT(dark.lightness(), 60);
    for (const char* language : {"en-US", "zh-CN"}) {
        QtTranslation::follow(language);
        const auto box = QtSystemDialogs::makeMessageBox(nullptr, L"OK!\r", SystemDialogs::Buttons::Ok,
                                                         SystemDialogs::Icon::Information, {});
        box->show();
        EXPECT_EQ(box->text(), QStringLiteral("OK!"));
        // Room for the whole title beside the title bar's icon and buttons.
        const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
        EXPECT_GE(box->width(), 2 * title.horizontalAdvance(QStringLiteral("VelkorOndrix"))) << language;
        const auto file = QtSystemDialogs::makeFileDialog(nullptr, {L"pro(*.pro)|*.pro||", L"pro", {}, true, true}, true);
        EXPECT_TRUE(file->testOption(QFileDialog::DontUseNativeDialog));
        const auto menu = QtSystemDialogs::makeMenu(nullptr, {{L"Left Click", 0, {{L"Click", 1137, {}}}}});
        QMenu* sub = menu->actions().constFirst()->menu();
        ASSERT_NE(sub, nullptr);
        for (const QWidget* dialog : std::initializer_list<const QWidget*>{box.get(), file.get(), sub})
            EXPECT_EQ(dialog->palette().color(QPalette::Window), dark);
    }
    QtTranslation::follow("en-US");
}

TEST(SystemDialogsTest, SaveQuestionOffersDontSaveInTheLanguageShownAndAClosedBoxDropsNothing) {
    QtSystemDialogs qtDialogs;
    SystemDialogs& dialogs = qtDialogs;
    for (const char* language : {"en-US", "zh-CN"}) {
        QtTranslation::follow(language);
        QString discardText;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            discardText = box->button(QMessageBox::Discard)->text();
            box->button(QMessageBox::Discard)->click();
        });
        EXPECT_EQ(dialogs.messageBox(nullptr, L"?", SystemDialogs::Buttons::SaveDiscardCancel),
                  SystemDialogs::Answer::Discard);
        EXPECT_EQ(discardText, std::string(language) == "zh-CN" ? QStringLiteral("不保存")
                                                                 : QStringLiteral("Don't Save"));
    }
    QtTranslation::follow("en-US");
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(dialogs.messageBox(nullptr, L"?", SystemDialogs::Buttons::SaveDiscardCancel),
              SystemDialogs::Answer::Cancel);
}

}  // namespace
