// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// Unsaved work in the main window: the question before it would go, and the
// autosave offered back after a run that did not end normally.
#include <filesystem>

#include "MainWindowFixture.h"
#include "shell/TrayIcon.h"

namespace fs = std::filesystem;

namespace {

using Answer = SystemDialogs::Answer;
using Buttons = SystemDialogs::Buttons;
const std::wstring kQuestion = L"Save the changes to the profile first?";

class UnsavedWorkTest : public MainWindowFixture {
protected:
    bool holdsProfile(const fs::path& file) {
        auto saved = emptyProfile();
        return saved->loadProfile(file) && saved->content() == profile->content();
    }
};

TEST_F(UnsavedWorkTest, EveryWayOutAsksOnlyWithUnsavedChanges) {
    const std::vector<std::pair<const char*, std::function<void(CTarnDlg&)>>> ways = {
        {"Enter", [](CTarnDlg& w) { QTest::keyClick(&w, Qt::Key_Return); }},
        {"Esc", [](CTarnDlg& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
        {"close button", [](CTarnDlg& w) { w.close(); }},
        {"exit command", [](CTarnDlg& w) { click(w, CTarnDlg::kExit); }},
        {"tray Exit", [this](CTarnDlg& w) {
             dialogs.queueMenuChoice(CTarnDlg::kTrayMenuExit);
             w.trayMessage(TrayIcon::kIconId, TrayIcon::kRightButtonUp);
         }}};
    const fs::path file = simulator.folder / "kept.pro";
    for (const auto& [name, close] : ways) {
        SCOPED_TRACE(name);
        dialogs.clear();
        auto window = openWindow();
        close(*window);  // nothing unsaved: gone at once, nothing asked
        EXPECT_FALSE(window->isVisible());
        EXPECT_TRUE(dialogs.messages().empty());

        window = openWindow();
        assignSample(*profile);
        dialogs.queueAnswer(Answer::Cancel);
        close(*window);
        EXPECT_TRUE(window->isVisible());
        dialogs.queueAnswer(Answer::Save);
        dialogs.queueSaveFile(std::nullopt);  // the file dialog cancelled
        close(*window);
        EXPECT_TRUE(window->isVisible());
        dialogs.queueAnswer(Answer::Save);
        dialogs.queueSaveFile(file.wstring());
        close(*window);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(dialogs.messages(), std::vector<std::wstring>(3, kQuestion));
        EXPECT_TRUE(holdsProfile(file));
        fs::remove(file);

        window = openWindow();
        assignSample(*profile);
        dialogs.queueAnswer(Answer::Discard);
        close(*window);
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(fs::exists(file));
        EXPECT_TRUE(dialogs.allAnswersUsed());
    }
}

TEST_F(UnsavedWorkTest, OpenReadAllAndClearAskBeforeReplacingChangesInTheShownLanguage) {
    const fs::path other = simulator.folder / "other.pro";
    ASSERT_TRUE(emptyProfile()->saveProfile(other));
    auto window = openWindow();
    click(*window, CTarnDlg::kLanguage);
    for (int command : {CTarnDlg::kOpen, CTarnDlg::kReadAll, CTarnDlg::kClear}) {
        SCOPED_TRACE(command);
        dialogs.clear();
        assignSample(*profile);
        const ProfileContent changed = profile->content();
        dialogs.queueAnswer(Answer::Cancel);
        click(*window, command);
        EXPECT_EQ(profile->content(), changed);
        ASSERT_EQ(dialogs.requests().size(), 1u);
        EXPECT_EQ(dialogs.requests()[0].text, L"是否先保存对配置的更改？");
        EXPECT_EQ(dialogs.requests()[0].buttons, Buttons::SaveDiscardCancel);

        dialogs.queueAnswer(Answer::Discard);
        dialogs.queueOpenFile(other.wstring());
        click(*window, command);
        EXPECT_FALSE(profile->content() == changed);
        EXPECT_FALSE(profile->hasUnsavedChanges());  // the keyboard and the file were empty
    }
}

TEST_F(UnsavedWorkTest, UnplugWithChangesOffersSaveThenEnds) {
    const fs::path file = simulator.folder / "rescued.pro";
    auto window = openWindow();
    CTarnDlg& w = *window;
    assignSample(*profile);
    dialogs.queueAnswer(Answer::Ok);
    dialogs.queueAnswer(Answer::Save);
    dialogs.queueSaveFile(file.wstring());
    runWindow(w, {{50, [this] { simulator.keyboard->unplug(); }}});
    ASSERT_EQ(dialogs.messages(), (std::vector<std::wstring>{L"Keyboard is not connected", kQuestion}));
    EXPECT_EQ(dialogs.requests()[1].buttons, Buttons::SaveDiscard);
    EXPECT_TRUE(holdsProfile(file));
    EXPECT_FALSE(fs::exists(CTarnDlg::autosavePath()));
}

TEST_F(UnsavedWorkTest, WorkOfARunThatDidNotEndNormallyIsOfferedBack) {
    const fs::path kept = CTarnDlg::autosavePath();
    auto window = openWindow();
    window->autosave();
    EXPECT_FALSE(fs::exists(kept));  // nothing unsaved, nothing kept
    assignSample(*profile);
    click(*window, CTarnDlg::kLayer);
    window->autosave();
    ASSERT_TRUE(fs::exists(kept));
    const ProfileContent work = profile->content();
    window.reset();  // the run ends without closing its window

    dialogs.queueAnswer(Answer::Yes);
    window = openWindow();
    EXPECT_EQ(dialogs.messages(),
              std::vector<std::wstring>{L"Restore the work from the last session, which did not end normally?"});
    EXPECT_EQ(profile->content(), work);
    EXPECT_TRUE(profile->hasUnsavedChanges());
    dialogs.queueAnswer(Answer::Discard);
    click(*window, CTarnDlg::kExit);  // a normal end removes it
    EXPECT_FALSE(fs::exists(kept));

    window = openWindow();
    assignSample(*profile);
    window->autosave();
    window.reset();
    dialogs.clear();
    dialogs.queueAnswer(Answer::No);
    window = openWindow();
    EXPECT_EQ(dialogs.messages().size(), 1u);
    EXPECT_FALSE(fs::exists(kept));
    EXPECT_FALSE(profile->hasUnsavedChanges());
}

}  // namespace
