// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// WriteKeys keeps what the keyboard held, asks before it changes assigned keys
// this run never read or wrote, sends nothing when the keyboard cannot be read,
// and fails when the keyboard does not hold what was sent.
#include <filesystem>

#include "MainWindowFixture.h"
#include "jobs/KeyboardBackup.h"
#include "jobs/KeyboardComparison.h"

namespace {

class KeyboardSafetyTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        std::filesystem::remove_all(KeyboardBackup::folder());
    }

    long questions() const {
        const auto& all = dialogs.requests();
        return std::count_if(all.begin(), all.end(), [](auto& r) { return r.buttons == SystemDialogs::Buttons::YesNo; });
    }
};

TEST_F(KeyboardSafetyTest, WriteKeysKeepsTheKeyboardsContentsAndAsksBeforeChangingUnknownKeys) {
    // Another program (velkorondrix-ctl, say) filled the keyboard before this run.
    auto other = emptyProfile();
    ASSERT_TRUE(other->device.__createDev());
    assignSample(*other);
    ASSERT_TRUE(other->writeKeysToDevice(nullptr) && other->writeLightsToDevice());
    const KeyboardContents held = KeyboardContents::of(*other);
    const std::vector<unsigned char> key9 = simulator.keyboard->keyRecord(8);  // key 9, layer 1: not set
    const long assigned = std::count_if(other->modes.begin(), other->modes.end(), [](int m) { return m != ModeNotSet; });

    auto window = openWindow();
    profile->modes[KeyboardProfile::slot(9, 0)] = ModeSingle;
    profile->hwCodes[KeyboardProfile::slot(9, 0)] = 4;
    dialogs.queueAnswer(SystemDialogs::Answer::No);
    click(*window, CTarnDlg::kWriteKeys);
    ASSERT_EQ(dialogs.requests().size(), 1u);
    const auto& question = dialogs.requests()[0];
    EXPECT_EQ(question.buttons, SystemDialogs::Buttons::YesNo);
    const std::vector<std::filesystem::path> backups = KeyboardBackup::list();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_NE(question.text.find(L" " + std::to_wstring(assigned) + L" assigned keys"), std::wstring::npos)
        << QString::fromStdWString(question.text).toStdString();
    EXPECT_NE(question.text.find(backups[0].wstring()), std::wstring::npos);
    EXPECT_EQ(simulator.keyboard->keyRecord(8), key9);  // No: nothing sent

    auto kept = emptyProfile();  // an ordinary profile holding exactly what the keyboard held
    ASSERT_TRUE(kept->loadProfile(backups[0]));
    EXPECT_EQ(KeyboardContents::of(*kept).keys, held.keys);
    EXPECT_EQ(KeyboardContents::of(*kept).lights, held.lights);

    dialogs.queueAnswer(SystemDialogs::Answer::Yes);
    click(*window, CTarnDlg::kWriteKeys);
    EXPECT_EQ(dialogs.messages().back(), L"OK!");
    EXPECT_NE(simulator.keyboard->keyRecord(8), key9);
    EXPECT_EQ(KeyboardBackup::list().size(), 2u);

    // This run wrote them: no question, also after a ReadAll and an edit.
    profile->modes[KeyboardProfile::slot(9, 0)] = ModeNotSet;
    click(*window, CTarnDlg::kWriteKeys);
    EXPECT_EQ(questions(), 2);
    // Written meanwhile by the other program: asked again.
    ASSERT_TRUE(other->writeKeysToDevice(nullptr));
    dialogs.queueAnswer(SystemDialogs::Answer::No);
    click(*window, CTarnDlg::kWriteKeys);
    EXPECT_EQ(questions(), 3);
    click(*window, CTarnDlg::kReadAll);
    profile->modes[KeyboardProfile::slot(20, 1)] = ModeNotSet;
    click(*window, CTarnDlg::kWriteKeys);
    EXPECT_EQ(questions(), 3);
    EXPECT_EQ(dialogs.messages().back(), L"OK!");
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

TEST_F(KeyboardSafetyTest, NothingIsSentUnlessKeptAndAWriteTheKeyboardDoesNotHoldFails) {
    auto window = openWindow();
    assignSample(*profile);
    simulator.keyboard->dropLinkAfter(1);
    click(*window, CTarnDlg::kWriteKeys);
    EXPECT_EQ(dialogs.messages(), std::vector<std::wstring>{L"Failed to read the keyboard's settings, so they could "
                                                            L"not be kept. Nothing was written."});
    EXPECT_EQ(simulator.keyboard->storedKeyRecords(), 0);
    EXPECT_TRUE(KeyboardBackup::list().empty());

    simulator.keyboard->corruptWrites();
    click(*window, CTarnDlg::kWriteKeys);
    EXPECT_EQ(dialogs.messages().back(),
              L"Writing failed: afterwards, 1 key assignments on the keyboard differ from the profile.");
    EXPECT_EQ(dialogs.messages().size(), 2u);  // no "OK!"
}

}  // namespace
