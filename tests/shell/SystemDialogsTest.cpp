// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "shell/QtSystemDialogs.h"
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

}  // namespace
