// The backlight settings window: the working copy of the colours, the frames
// painted from it, and what OK, Program, Cancel, Enter and Esc keep of it.
#include <gtest/gtest.h>

#include <memory>

#include <QEvent>
#include <QTemporaryDir>
#include <QTest>

#include "HidPlatform.h"
#include "SimulatedHidPlatform.h"
#include "SimulatedKeyboard.h"
#include "jobs/KeyboardBackup.h"
#include "profile/KeyboardProfile.h"
#include "shell/BacklightWindowLayout.h"
#include "shell/CTarnDialogBkLightSettings.h"
#include "support/FakeSystemDialogs.h"
#include "support/KeyboardFocus.h"

namespace {

using Window = CTarnDialogBkLightSettings;

const layout::Rect& rectOf(int id) {
    for (const layout::Row& row : layout::backlightWindowRows)
        if (row.id == id)
            return row.rect;
    static const layout::Rect none;
    return none;
}

QPoint centreOf(int id) {
    const layout::Rect& r = rectOf(id);
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

int keyButton(int keyId) {
    return 99 + keyId;
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class BacklightWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        keyboard = std::make_shared<hwi::SimulatedKeyboard>(dir.filePath(QStringLiteral("kbd.state")).toStdString());
        keyboard->plugIn();
        hwi::setHidPlatform(std::make_unique<hwi::SimulatedHidPlatform>(keyboard));
        profile = std::make_unique<KeyboardProfile>();
        profile->buildNameTables();
        ASSERT_TRUE(profile->device.__createDev());
        for (int n = 0; n < KeyboardProfile::kLightAreaCount; ++n)
            profile->lightAreas[static_cast<std::size_t>(n)] = {n, 255 - n, (n * 7) % 256};
        original = profile->lightAreas;
    }

    void TearDown() override {
        profile.reset();
        hwi::setHidPlatform(nullptr);
    }

    std::unique_ptr<Window> openWindow() {
        auto window = std::make_unique<Window>(*profile, dialogs);
        window->setJobWaits({std::chrono::milliseconds(10), std::chrono::milliseconds(10)});
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

    static void click(Window& window, int id) {
        QTest::mouseClick(&window, Qt::LeftButton, {}, centreOf(id));
    }

    // The pixel in the middle of the frame's top bar above a key.
    static QColor framePixel(Window& window, int keyId) {
        const layout::Rect& r = rectOf(keyButton(keyId));
        return window.grab().toImage().pixelColor((r.left + r.right) / 2, r.top - 1);
    }

    QTemporaryDir dir;
    std::shared_ptr<hwi::SimulatedKeyboard> keyboard;
    std::unique_ptr<KeyboardProfile> profile;
    CTarnDialogBkLightSettings::Colours original;
    FakeSystemDialogs dialogs;
};

TEST_F(BacklightWindowTest, AKeyClickAsksForItsColourAndRepaintsOnlyOnChange) {
    auto window = openWindow();
    const int key = 20;
    const LightArea before = profile->lightAreas[key];
    EXPECT_EQ(framePixel(*window, key), QColor(before.red, before.green, before.blue));

    // Hover first: the hover change may repaint, the click must not.
    QTest::mouseMove(window.get(), centreOf(keyButton(key)));
    QCoreApplication::processEvents();
    PaintCounter counter;
    window->installEventFilter(&counter);

    dialogs.queueColor(QColor(before.red, before.green, before.blue));
    click(*window, keyButton(key));
    QTest::qWait(50);
    EXPECT_EQ(counter.paints, 0);
    ASSERT_EQ(dialogs.requestsOf(FakeSystemDialogs::Kind::Color).size(), 1u);
    EXPECT_EQ(dialogs.requestsOf(FakeSystemDialogs::Kind::Color)[0].initialColor,
              QColor(before.red, before.green, before.blue));
    EXPECT_EQ(window->workingColours(), original);

    dialogs.queueColor(QColor(12, 34, 56));
    click(*window, keyButton(key));
    EXPECT_TRUE(QTest::qWaitFor([&counter] { return counter.paints > 0; }, 2000));
    EXPECT_EQ(window->workingColours()[key], (LightArea{12, 34, 56}));
    EXPECT_EQ(framePixel(*window, key), QColor(12, 34, 56));

    // A cancelled chooser changes nothing.
    dialogs.queueColor(std::nullopt);
    click(*window, keyButton(key));
    EXPECT_EQ(window->workingColours()[key], (LightArea{12, 34, 56}));
    EXPECT_EQ(profile->lightAreas, original);  // nothing kept before OK
}

TEST_F(BacklightWindowTest, EveryKeyWearsATwoPixelFrameBlackOnesToo) {
    profile->lightAreas.fill(LightArea{});
    profile->lightAreas[1] = {200, 0, 0};
    auto window = openWindow();
    const QImage shot = window->grab().toImage();
    const layout::Rect& esc = rectOf(keyButton(1));
    const QColor red(200, 0, 0);
    for (const QPoint& p : {QPoint(esc.left - 2, esc.top - 2), QPoint(esc.left - 1, esc.bottom + 1),
                            QPoint(esc.right, esc.top + 5), QPoint(esc.right + 1, esc.bottom + 1),
                            QPoint(esc.left + 5, esc.bottom)})
        EXPECT_EQ(shot.pixelColor(p), red) << p.x() << "," << p.y();
    // Just beyond the frame and just inside the key: not the frame colour.
    EXPECT_NE(shot.pixelColor(esc.left - 3, esc.top + 5), red);
    EXPECT_NE(shot.pixelColor(esc.left + 5, esc.top + 5), red);

    const layout::Rect& space = rectOf(keyButton(70));
    EXPECT_EQ(shot.pixelColor(space.left + 40, space.top - 1), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(space.right + 1, space.top + 10), QColor(Qt::black));
}

TEST_F(BacklightWindowTest, SetAllThenCancelOrCloseKeepsTheProfilesColours) {
    for (int closer : {Window::kCancel, Window::kClose}) {
        auto window = openWindow();
        dialogs.queueColor(QColor(0, 0, 255));
        click(*window, Window::kSetAll);
        EXPECT_EQ(dialogs.requestsOf(FakeSystemDialogs::Kind::Color).back().initialColor, QColor(Qt::black));
        for (const LightArea& light : window->workingColours())
            EXPECT_EQ(light, (LightArea{0, 0, 255}));

        click(*window, closer);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(window->result(), QDialog::Rejected);
        EXPECT_EQ(profile->lightAreas, original);
    }
}

TEST_F(BacklightWindowTest, DefaultThenOkStoresBlackEverywhereAndSendsNothing) {
    ASSERT_TRUE(profile->writeLightsToDevice());
    const auto lit = keyboard->lightImage();
    auto window = openWindow();
    click(*window, Window::kDefault);
    EXPECT_TRUE(dialogs.requests().empty());  // no question asked
    EXPECT_EQ(framePixel(*window, 54), QColor(Qt::black));
    click(*window, Window::kOk);

    EXPECT_EQ(window->result(), QDialog::Accepted);
    for (const LightArea& light : profile->lightAreas)
        EXPECT_EQ(light, LightArea{});
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(keyboard->lightImage(), lit);  // the keyboard keeps its colours
}

TEST_F(BacklightWindowTest, EnterAndEscCloseWithoutKeepingTheColours) {
    for (auto key : {Qt::Key_Return, Qt::Key_Escape}) {
        auto window = openWindow();
        click(*window, Window::kDefault);
        QTest::keyClick(window.get(), key);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(window->result(), key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(profile->lightAreas, original);
    }
}

TEST_F(BacklightWindowTest, ProgramKeepsTheColoursAndWritesThemToTheKeyboard) {
    auto window = openWindow();
    dialogs.queueColor(QColor(255, 0, 0));
    click(*window, keyButton(1));
    dialogs.queueColor(QColor(1, 2, 3));
    click(*window, keyButton(108));
    click(*window, Window::kProgram);  // runs the progress window to its end

    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(dialogs.messages(), std::vector<std::wstring>{L"OK!"});
    EXPECT_EQ(dialogs.requests().back().icon, SystemDialogs::Icon::Information);
    EXPECT_EQ(profile->lightAreas[1], (LightArea{255, 0, 0}));
    EXPECT_EQ(profile->lightAreas[108], (LightArea{1, 2, 3}));
    const auto image = keyboard->lightImage();
    for (int k = 1; k <= KeyboardProfile::kKeyCount; ++k) {
        const LightArea& light = profile->lightAreas[static_cast<std::size_t>(k)];
        ASSERT_EQ(image[static_cast<std::size_t>(3 * (k - 1))], light.red) << "key " << k;
        ASSERT_EQ(image[static_cast<std::size_t>(3 * (k - 1) + 1)], light.green) << "key " << k;
        ASSERT_EQ(image[static_cast<std::size_t>(3 * (k - 1) + 2)], light.blue) << "key " << k;
    }
}

TEST_F(BacklightWindowTest, AFailedProgramSaysSoAndStillKeepsTheColours) {
    profile->language = "zh-CN";
    auto window = openWindow();
    click(*window, Window::kDefault);
    // The backup reads 10 reports from this keyboard; the write fails midway.
    keyboard->dropLinkAfter(13);
    click(*window, Window::kProgram);

    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(dialogs.messages(), std::vector<std::wstring>{L"写入键盘失败！"});
    for (const LightArea& light : profile->lightAreas)
        EXPECT_EQ(light, LightArea{});
}

TEST_F(BacklightWindowTest, ProgramKeepsTheKeyboardsColoursAndFailsWhenTheyDoNotTake) {
    std::filesystem::remove_all(KeyboardBackup::folder());
    keyboard->corruptWrites();
    auto window = openWindow();
    click(*window, Window::kProgram);
    EXPECT_EQ(dialogs.messages(), std::vector<std::wstring>{L"Writing failed: afterwards, 1 key colours on the "
                                                            L"keyboard differ from the profile."});
    EXPECT_EQ(KeyboardBackup::list().size(), 1u);
}

}  // namespace

// Keys alone: Down goes by geometry, Space on a key asks for its colour as a
// click does, Tab reaches OK and Space on it keeps the colours.
TEST_F(BacklightWindowTest, KeysAloneGiveAKeyItsColourAndReachOk) {
    auto window = openWindow();
    ASSERT_TRUE(tabTo(*window, keyButton(2)));  // F1
    QTest::keyClick(window.get(), Qt::Key_Down);
    EXPECT_EQ(focusedId(*window), keyButton(16));  // 2, below it
    dialogs.queueColor(QColor(9, 8, 7));
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_EQ(window->workingColours()[16], (LightArea{9, 8, 7}));
    ASSERT_TRUE(tabTo(*window, Window::kOk));
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(profile->lightAreas[16], (LightArea{9, 8, 7}));
}
