// The firmware update window with the simulated keyboard: version read, file
// choice, downloads of sound and broken images, and the window's refusal of
// everything else while a download runs.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "HidPlatform.h"
#include "IntelHexRecord.h"
#include "SimulatedHidPlatform.h"
#include "SimulatedKeyboard.h"
#include "jobs/CTarnDialogFirmwareUpdate.h"
#include "jobs/FirmwareWindowLayout.h"
#include "jobs/KeyboardBackup.h"
#include "profile/KeyboardProfile.h"
#include "support/FakeSystemDialogs.h"
#include "support/KeyboardFocus.h"

namespace {

const std::wstring kDownloadedEn =
    L"The Firmware is downloaded successfully.\r\n"
    L"Please keep the USB plug in until three indicator lights flash simultaneously.\r\n"
    L"Then firmware updated completely,pleased unplug the USB and plug in.";

// An extended-address record, dataLines data records and the end record.
std::vector<std::string> firmwareLines(int dataLines) {
    std::vector<std::string> lines{intelHexRecord(4, 0, {0x08, 0x00})};
    for (int i = 0; i < dataLines; ++i) {
        std::vector<int> data(16);
        for (int j = 0; j < 16; ++j)
            data[static_cast<std::size_t>(j)] = (i * 16 + j) & 0xFF;
        lines.push_back(intelHexRecord(0, i * 16, data));
    }
    lines.push_back(intelHexRecord(1, 0, {}));
    return lines;
}

QPoint centreOf(int id) {
    for (const layout::Row& row : layout::firmwareWindowRows)
        if (row.id == id)
            return QPoint((row.rect.left + row.rect.right) / 2, (row.rect.top + row.rect.bottom) / 2);
    return {};
}

class FirmwareWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        keyboard = std::make_shared<hwi::SimulatedKeyboard>(path("keyboard.state"));
        keyboard->plugIn();
        hwi::setHidPlatform(std::make_unique<hwi::SimulatedHidPlatform>(keyboard));
        profile = std::make_unique<KeyboardProfile>();
        profile->buildNameTables();
        ASSERT_TRUE(profile->device.__createDev());
    }

    void TearDown() override {
        profile.reset();
        hwi::setHidPlatform(nullptr);
    }

    std::string path(const char* name) const { return dir.filePath(QString::fromLatin1(name)).toStdString(); }

    std::wstring writeFile(const char* name, const std::vector<std::string>& lines, const char* ending) {
        const std::string file = path(name);
        std::ofstream out(file, std::ios::binary);
        for (const std::string& line : lines)
            out << line << ending;
        return std::wstring(file.begin(), file.end());
    }

    std::unique_ptr<CTarnDialogFirmwareUpdate> openWindow() {
        auto window = std::make_unique<CTarnDialogFirmwareUpdate>(*profile, dialogs);
        window->setJobWaits({std::chrono::milliseconds(10), std::chrono::milliseconds(10)});
        window->show();
        return window;
    }

    static void click(CTarnDialogFirmwareUpdate& window, int id) {
        QTest::mouseClick(&window, Qt::LeftButton, {}, centreOf(id));
    }

    // Opens the file and starts its download.
    static void download(CTarnDialogFirmwareUpdate& window, FakeSystemDialogs& dialogs, const std::wstring& file) {
        dialogs.queueOpenFile(file);
        click(window, CTarnDialogFirmwareUpdate::kOpen);
        click(window, CTarnDialogFirmwareUpdate::kUpdate);
    }

    static bool waitForOutcome(CTarnDialogFirmwareUpdate& window) {
        return QTest::qWaitFor([&window] { return !window.downloading(); }, 20000);
    }

    QTemporaryDir dir;
    std::shared_ptr<hwi::SimulatedKeyboard> keyboard;
    std::unique_ptr<KeyboardProfile> profile;
    FakeSystemDialogs dialogs;
};

TEST_F(FirmwareWindowTest, GetVersionShowsTheKeyboardsTextOrTheFailureBox) {
    auto window = openWindow();
    click(*window, CTarnDialogFirmwareUpdate::kGetVersion);
    EXPECT_EQ(window->versionBox()->text().toStdString(), keyboard->versionText());
    EXPECT_TRUE(window->versionBox()->isReadOnly());
    EXPECT_TRUE(dialogs.messages().empty());

    keyboard->stopAnswering(50);
    click(*window, CTarnDialogFirmwareUpdate::kGetVersion);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0], L"Failed on reading keyboard version infomation");

    profile->language = "zh-CN";
    click(*window, CTarnDialogFirmwareUpdate::kGetVersion);
    ASSERT_EQ(dialogs.messages().size(), 2u);
    EXPECT_EQ(dialogs.messages()[1], L"读取键盘版本失败");
}

TEST_F(FirmwareWindowTest, TheEditsShowNoCaretWhenFocused) {
    auto window = openWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    for (QLineEdit* edit : {window->versionBox(), window->pathBox()}) {
        edit->clearFocus();
        const QImage unfocused = edit->grab().toImage();
        edit->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([edit] { return edit->hasFocus(); }, 1000));
        // Long enough for a blinking caret to have been drawn at least once.
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(edit->grab().toImage(), unfocused) << i;
            QTest::qWait(100);
        }
    }
}

TEST_F(FirmwareWindowTest, CancellingTheFileDialogKeepsTheEarlierPath) {
    auto window = openWindow();
    dialogs.queueOpenFile(std::wstring(L"/tmp/first.hex"));
    click(*window, CTarnDialogFirmwareUpdate::kOpen);
    // The second time from the keyboard: Tab passes the edits on its way,
    // Space on Open is its click.
    dialogs.queueOpenFile(std::nullopt);
    ASSERT_TRUE(tabTo(*window, CTarnDialogFirmwareUpdate::kOpen));
    QTest::keyClick(window.get(), Qt::Key_Space);

    EXPECT_EQ(window->chosenPath(), L"/tmp/first.hex");
    EXPECT_EQ(window->pathBox()->text(), QStringLiteral("/tmp/first.hex"));
    const auto requests = dialogs.requestsOf(FakeSystemDialogs::Kind::OpenFile);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(requests[0].file.filter.empty());
    EXPECT_TRUE(requests[0].file.defaultExtension.empty());
}

TEST_F(FirmwareWindowTest, UpdateWithoutAFileCannotOpenIt) {
    auto window = openWindow();
    click(*window, CTarnDialogFirmwareUpdate::kUpdate);
    ASSERT_TRUE(waitForOutcome(*window));
    EXPECT_EQ(dialogs.messages(), std::vector<std::wstring>{L"Can't open firmware file"});
    EXPECT_TRUE(profile->firmwarePath.empty());
    EXPECT_FALSE(keyboard->lastFirmware().received);

    // Also a folder is no firmware file.
    profile->language = "zh-CN";
    download(*window, dialogs, std::wstring(dir.path().toStdWString()));
    ASSERT_TRUE(waitForOutcome(*window));
    EXPECT_EQ(dialogs.messages().back(), L"打开固件文件失败");
}

class FirmwareLineEndTest : public FirmwareWindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(FirmwareLineEndTest, ASoundImageFillsTheBarAndIsInstalled) {
    const std::vector<std::string> lines = firmwareLines(40);
    const std::wstring file = writeFile("image.hex", lines, GetParam());
    auto window = openWindow();
    const QPoint barEnd(layout::firmwareBar.right - 2, layout::firmwareBar.top + 10);
    const QRgb emptyBar = window->grab().toImage().pixel(barEnd);

    download(*window, dialogs, file);
    EXPECT_EQ(window->percent(), 1);
    EXPECT_EQ(profile->firmwarePath, file);
    ASSERT_TRUE(waitForOutcome(*window));

    EXPECT_EQ(window->percent(), 100);
    EXPECT_EQ(dialogs.messages(), std::vector<std::wstring>{kDownloadedEn});
    EXPECT_EQ(dialogs.requests().back().icon, SystemDialogs::Icon::Information);
    EXPECT_NE(window->grab().toImage().pixel(barEnd), emptyBar);
    const hwi::SimulatedFirmware firmware = keyboard->lastFirmware();
    EXPECT_TRUE(firmware.installed);
    EXPECT_EQ(firmware.records.size(), lines.size());
    EXPECT_TRUE(window->isVisible());  // the user closes it
}

INSTANTIATE_TEST_SUITE_P(LineEnds, FirmwareLineEndTest, ::testing::Values("\r\n", "\n"));

// The keyboard's settings are kept first; a keyboard that cannot answer
// reads still takes a download, after a question.
TEST_F(FirmwareWindowTest, ADownloadKeepsTheSettingsFirstOrAsksWhenTheyCannotBeRead) {
    std::filesystem::remove_all(KeyboardBackup::folder());
    const std::wstring file = writeFile("image.hex", firmwareLines(4), "\n");
    auto window = openWindow();
    keyboard->stopAnswering(50);
    dialogs.queueAnswer(SystemDialogs::Answer::No);
    download(*window, dialogs, file);
    EXPECT_EQ(dialogs.messages(), std::vector<std::wstring>{L"The keyboard's settings could not be read and will "
                                                            L"not be kept. Download the firmware anyway?"});
    EXPECT_EQ(dialogs.requests().back().buttons, SystemDialogs::Buttons::YesNo);
    EXPECT_FALSE(keyboard->lastFirmware().received);

    profile->language = "zh-CN";
    dialogs.queueAnswer(SystemDialogs::Answer::Yes);
    click(*window, CTarnDialogFirmwareUpdate::kUpdate);
    EXPECT_EQ(dialogs.messages()[1], L"无法读取键盘的设置，它们将不会被保存。仍要下载固件吗？");
    ASSERT_TRUE(waitForOutcome(*window));
    // Yes went on to the download, which this silent keyboard does not take either.
    EXPECT_EQ(dialogs.messages().back(), L"固件下载失败!");
    EXPECT_TRUE(KeyboardBackup::list().empty());

    keyboard->clearFault();
    click(*window, CTarnDialogFirmwareUpdate::kUpdate);
    ASSERT_TRUE(waitForOutcome(*window));
    EXPECT_EQ(KeyboardBackup::list().size(), 1u);
    EXPECT_TRUE(keyboard->lastFirmware().installed);
}

TEST_F(FirmwareWindowTest, ABrokenImageFailsAndSendsNothing) {
    std::vector<std::string> lines = firmwareLines(10);
    lines[5][lines[5].size() - 1] ^= 1;  // wrong checksum half-way
    const std::wstring broken = writeFile("broken.hex", lines, "\r\n");
    const std::wstring text = writeFile("notes.txt", {"not a firmware image"}, "\n");
    const std::wstring empty = writeFile("empty.hex", {}, "");

    auto window = openWindow();
    for (const std::wstring& file : {broken, text, empty}) {
        download(*window, dialogs, file);
        ASSERT_TRUE(waitForOutcome(*window));
        EXPECT_EQ(dialogs.messages().back(), L"Firmware download failed.");
    }
    EXPECT_EQ(dialogs.messages().size(), 3u);
    EXPECT_TRUE(keyboard->lastFirmware().records.empty());
}

TEST_F(FirmwareWindowTest, NothingButTheDownloadRunsUntilItsOutcomeIsShown) {
    const std::wstring file = writeFile("image.hex", firmwareLines(200), "\r\n");
    auto window = openWindow();
    download(*window, dialogs, file);
    ASSERT_TRUE(window->downloading());

    // No event has been handled yet, so the done message cannot have arrived.
    dialogs.queueOpenFile(std::wstring(L"/tmp/other.hex"));
    for (int id : {CTarnDialogFirmwareUpdate::kGetVersion, CTarnDialogFirmwareUpdate::kOpen,
                   CTarnDialogFirmwareUpdate::kUpdate, CTarnDialogFirmwareUpdate::kCancel,
                   CTarnDialogFirmwareUpdate::kClose})
        click(*window, id);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    QTest::keyClick(window.get(), Qt::Key_Return);
    window->close();

    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->versionBox()->text().isEmpty());
    EXPECT_EQ(window->chosenPath(), file);
    EXPECT_EQ(dialogs.requestsOf(FakeSystemDialogs::Kind::OpenFile).size(), 1u);

    ASSERT_TRUE(waitForOutcome(*window));
    EXPECT_EQ(dialogs.messages(), std::vector<std::wstring>{kDownloadedEn});  // one download only
    EXPECT_EQ(keyboard->lastFirmware().records.size(), 202u);

    click(*window, CTarnDialogFirmwareUpdate::kCancel);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Rejected);
}

TEST_F(FirmwareWindowTest, ClosingTheProgramDuringADownloadEndsTheWorkerFirst) {
    const std::wstring file = writeFile("image.hex", firmwareLines(2000), "\r\n");
    auto window = openWindow();
    download(*window, dialogs, file);
    ASSERT_TRUE(window->downloading());
    window.reset();  // joins the worker

    EXPECT_EQ(profile->notifyWindow, nullptr);
    EXPECT_FALSE(profile->device.cancelRequested());
    // The facade is free again for the next user.
    wchar_t version[64] = {};
    EXPECT_TRUE(profile->device.ReadKeyboardVersion(version));
}

}  // namespace
