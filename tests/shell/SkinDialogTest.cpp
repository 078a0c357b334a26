#include <gtest/gtest.h>

#include <thread>

#include <QCoreApplication>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QThread>

#include "shell/AppResources.h"
#include "shell/CSkinDialog.h"
#include "shell/SkinColours.h"

namespace {

using layout::Kind;

// Button 1 and button 2 overlap in [40,50) x [20,30); 3 is a label; 4 has id
// 0 and covers everything, so it must never count.
constexpr layout::Row kRows[] = {
    {1, {10, 10, 50, 30}, L"One", L"一", Kind::Button},
    {2, {40, 20, 80, 40}, L"Two", nullptr, Kind::Button, -1, true},
    {3, {10, 50, 90, 70}, L"Label", L"标签", Kind::Label},
    {0, {0, 0, 100, 80}, L"Nothing", L"无", Kind::Label},
    {5, {60, 2, 90, 8}, nullptr, nullptr, Kind::Key, 42},
};
constexpr layout::Window kWindow{"test", 901, 902, 903, 120, 90, {255, 0, 0}, 8, kRows};

const QColor kBackground(40, 40, 40);
const QColor kHover(0, 120, 0);
const QColor kActive(0, 0, 200);
const QColor kKey(255, 0, 0);

QImage filled(QColor colour) {
    QImage image(100, 80, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class TestDialog : public CSkinDialog {
public:
    using CSkinDialog::CSkinDialog;
    std::vector<int> clicks;
    std::vector<std::tuple<unsigned, std::uintptr_t, std::intptr_t>> messages;
    bool onGuiThread = true;

protected:
    void controlClicked(SkinControl& control) override { clicks.push_back(control.id); }
    void messageReceived(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override {
        messages.emplace_back(message, wParam, lParam);
        onGuiThread = onGuiThread && QThread::currentThread() == qApp->thread();
    }
};

class SkinDialogTest : public ::testing::Test {
protected:
    SkinDialogTest() {
        resources.createDrawingObjects();
        QImage background = filled(kBackground);
        for (int x = 0; x < 5; ++x)
            for (int y = 0; y < 5; ++y)
                background.setPixel(x, y, kKey.rgb());
        resources.setBitmap(901, background);
        resources.setBitmap(902, filled(kHover));
        resources.setBitmap(903, filled(kActive));
        AppResources::install(&resources);
    }
    ~SkinDialogTest() override { AppResources::install(nullptr); }

    void mouse(CSkinDialog& dialog, QEvent::Type type, QPoint at) {
        QMouseEvent event(type, QPointF(at), QPointF(dialog.mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &event);
    }
    void click(CSkinDialog& dialog, QPoint at) {
        mouse(dialog, QEvent::MouseButtonPress, at);
        mouse(dialog, QEvent::MouseButtonRelease, at);
    }
    static QColor pixel(QWidget& widget, int x, int y) { return QColor(widget.grab().toImage().pixel(x, y)); }
    // Whether anything but the background shows inside a rectangle.
    static bool drawnOn(QWidget& widget, QRect area) {
        const QImage shot = widget.grab().toImage();
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (QColor(shot.pixel(x, y)) != kBackground)
                    return true;
        return false;
    }

    AppResources resources;
    std::string language = "en-US";
};

TEST(SkinControlTest, RecordsFromTheLayoutKeepDefaultsAndTableOrder) {
    const auto controls = SkinControl::fromLayout(kWindow);
    ASSERT_EQ(controls.size(), 8u);
    EXPECT_EQ(controls[1].id, 2);
    EXPECT_TRUE(controls[1].showCaption);
    EXPECT_EQ(controls[1].captions.count("zh-CN"), 0u);
    EXPECT_EQ(controls[1].caption("zh-CN"), L"");
    EXPECT_TRUE(controls[2].isLabel);
    EXPECT_FALSE(controls[0].isLabel);
    EXPECT_EQ(controls[4].keyId, 42);
    EXPECT_TRUE(controls[4].captions.empty());

    const SkinControl& unused = controls[7];
    EXPECT_EQ(unused.id, -1);
    EXPECT_EQ(unused.rect.left, -1);
    EXPECT_EQ(unused.rect.bottom, -1);
    EXPECT_EQ(unused.textColor, QColor(200, 200, 200));
    EXPECT_EQ(unused.activeTextColor, QColor(200, 200, 200));
    EXPECT_EQ(unused.keyId, -1);
    EXPECT_EQ(unused.auxIndex, -1);
    EXPECT_EQ(unused.textFormat, 1);
    EXPECT_EQ(unused.fontIndex, 13);
    EXPECT_TRUE(unused.captionVisible);
    EXPECT_FALSE(unused.active || unused.isLabel || unused.showCaption || unused.hovered);
}

TEST_F(SkinDialogTest, FrameTakesTheBackgroundSizeCentredOnThePrimaryScreen) {
    TestDialog dialog(kWindow, language);
    EXPECT_EQ(dialog.size(), QSize(100, 80));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(dialog.pos(), QPoint((screen.width() - 100) / 2, (screen.height() - 80) / 2));
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);

    const QRegion shape = dialog.keyColourRegion();
    EXPECT_FALSE(shape.contains(QPoint(2, 2)));
    EXPECT_TRUE(shape.contains(QPoint(5, 2)));
    EXPECT_TRUE(shape.contains(QPoint(99, 79)));
    // Painted, the colour key shows what lies behind (a translucent window);
    // everything else stays opaque.
    EXPECT_TRUE(dialog.testAttribute(Qt::WA_TranslucentBackground));
    const QImage painted = dialog.grab().toImage();
    EXPECT_EQ(qAlpha(painted.pixel(2, 2)), 0);
    EXPECT_EQ(painted.pixelColor(5, 2), kBackground);
    EXPECT_EQ(painted.pixelColor(99, 79), kBackground);
}

TEST_F(SkinDialogTest, HitTestingSetsHoverAndNeverHitsLabels) {
    TestDialog dialog(kWindow, language);
    auto& controls = dialog.controls();

    EXPECT_EQ(dialog.hitTestControls({45, 25}), CSkinDialog::HitArea::Client);
    EXPECT_TRUE(controls[0].hovered);
    EXPECT_TRUE(controls[1].hovered);
    EXPECT_EQ(dialog.lastMousePos(), QPoint(45, 25));

    EXPECT_EQ(dialog.hitTestControls({20, 60}), CSkinDialog::HitArea::Caption);  // the label
    EXPECT_FALSE(controls[0].hovered || controls[1].hovered || controls[2].hovered);
    EXPECT_FALSE(controls[3].hovered);
    EXPECT_EQ(dialog.lastMousePos(), QPoint(20, 60));

    EXPECT_EQ(dialog.hitTestControls({95, 40}), CSkinDialog::HitArea::RightEdge);
    EXPECT_EQ(dialog.hitTestControls({50, 75}), CSkinDialog::HitArea::BottomEdge);
    EXPECT_EQ(dialog.hitTestControls({97, 77}), CSkinDialog::HitArea::BottomRightCorner);
}

TEST_F(SkinDialogTest, ClickGoesToTheEarliestControlUnderTheRelease) {
    TestDialog dialog(kWindow, language);
    EXPECT_EQ(dialog.controlAt({45, 25}), 0);
    EXPECT_EQ(dialog.controlAt({70, 35}), 1);
    EXPECT_EQ(dialog.controlAt({20, 60}), -1);  // label
    EXPECT_EQ(dialog.controlAt({95, 75}), -1);  // only the id-0 record

    click(dialog, {45, 25});
    click(dialog, {70, 35});
    click(dialog, {20, 60});  // drags the window instead
    click(dialog, {3, 78});
    EXPECT_EQ(dialog.clicks, (std::vector<int>{1, 2}));

    // A press that started a drag gives no click, wherever it ends.
    mouse(dialog, QEvent::MouseButtonPress, {20, 60});
    mouse(dialog, QEvent::MouseButtonRelease, {15, 15});
    EXPECT_EQ(dialog.clicks.size(), 2u);
}

TEST_F(SkinDialogTest, PaintingCopiesActiveAndHoverRectangles) {
    TestDialog dialog(kWindow, language);
    EXPECT_EQ(pixel(dialog, 12, 12), kBackground);

    dialog.controls()[0].active = true;
    EXPECT_EQ(pixel(dialog, 12, 12), kActive);
    EXPECT_EQ(pixel(dialog, 49, 29), kActive);
    EXPECT_EQ(pixel(dialog, 50, 12), kBackground);  // right edge is exclusive

    dialog.hitTestControls({75, 38});
    EXPECT_EQ(pixel(dialog, 78, 22), kHover);
    EXPECT_EQ(pixel(dialog, 41, 28), kHover);  // the later record is drawn over the earlier
    dialog.hitTestControls({20, 60});  // over the label: no hover look
    EXPECT_EQ(pixel(dialog, 78, 22), kBackground);
    EXPECT_EQ(pixel(dialog, 20, 52), kBackground);
}

TEST_F(SkinDialogTest, CaptionsFollowTheLanguageAndAMissingOneDrawsNothing) {
    TestDialog dialog(kWindow, language);
    EXPECT_TRUE(drawnOn(dialog, QRect(10, 50, 80, 20)));  // the label
    EXPECT_TRUE(drawnOn(dialog, QRect(40, 20, 40, 20)));   // button 2 shows its caption
    EXPECT_FALSE(drawnOn(dialog, QRect(10, 10, 30, 10)));  // button 1 does not

    language = "zh-CN";
    EXPECT_TRUE(drawnOn(dialog, QRect(10, 50, 80, 20)));
    EXPECT_FALSE(drawnOn(dialog, QRect(40, 20, 40, 20)));
    dialog.controls()[2].captionVisible = false;
    EXPECT_FALSE(drawnOn(dialog, QRect(10, 50, 80, 20)));
}

TEST_F(SkinDialogTest, WithoutArtworkTheWindowHasItsFallbackSizeAndPlainLook) {
    AppResources::install(nullptr);
    TestDialog dialog(kWindow, language);
    EXPECT_FALSE(dialog.skinSet().hasBackground());
    EXPECT_EQ(dialog.size(), QSize(120, 90));
    EXPECT_TRUE(dialog.keyColourRegion().isEmpty());
    const QColor idle = pixel(dialog, 12, 12);
    dialog.controls()[0].active = true;
    EXPECT_NE(pixel(dialog, 12, 12), idle);
    click(dialog, {20, 20});
    EXPECT_EQ(dialog.clicks, (std::vector<int>{1}));
}

TEST_F(SkinDialogTest, PostedMessagesArriveQueuedOnTheGuiThread) {
    TestDialog dialog(kWindow, language);
    std::thread worker([&] {
        dialog.postMessage(1127, 75, 0);
        dialog.postMessage(1128, 0, -1);
    });
    worker.join();
    EXPECT_TRUE(dialog.messages.empty());
    QCoreApplication::sendPostedEvents(&dialog);
    ASSERT_EQ(dialog.messages.size(), 2u);
    EXPECT_EQ(dialog.messages[0], std::make_tuple(1127u, std::uintptr_t{75}, std::intptr_t{0}));
    EXPECT_EQ(dialog.messages[1], std::make_tuple(1128u, std::uintptr_t{0}, std::intptr_t{-1}));
    EXPECT_TRUE(dialog.onGuiThread);
}

}  // namespace

namespace {

// A keyboard's corner: two staggered rows of keys, a label between them, a
// button below and an edit at the right of the button.
constexpr layout::Row kKeyRows[] = {
    {11, {10, 60, 30, 80}, L"Z", nullptr, Kind::Key, 44},
    {12, {30, 60, 50, 80}, L"X", nullptr, Kind::Key, 45},
    {13, {5, 30, 25, 50}, L"A", nullptr, Kind::Key, 30},
    {14, {25, 30, 45, 50}, L"S", nullptr, Kind::Key, 31},
    {15, {45, 30, 65, 50}, L"D", nullptr, Kind::Key, 32},
    {16, {0, 52, 100, 58}, L"Label", nullptr, Kind::Label},
    {17, {10, 85, 40, 95}, L"OK", nullptr, Kind::Button},
};
constexpr layout::Window kKeysWindow{"keys", 0, 0, 0, 120, 100, {255, 0, 0}, 7, kKeyRows};

QRgb accentRgb() { return qRgb(skin::accent.r, skin::accent.g, skin::accent.b); }

void press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(widget, key, modifiers);
}

}  // namespace

// Tab walks records and child edits in reading order and wraps, Shift+Tab
// goes back, the arrows go by geometry, Space is the click, and the ring is
// drawn in the accent colour with a logical-pixel pen at 1x and 2x.
TEST_F(SkinDialogTest, KeyboardFocusWalksReadingOrderAndSpaceClicks) {
    const std::string language = "en-US";
    TestDialog dialog(kKeysWindow, language);
    auto* edit = new QLineEdit(&dialog);
    edit->setGeometry(60, 85, 40, 10);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QSignalSpy changes(&dialog, &CSkinDialog::focusedControlChanged);
    const auto id = [&] { return dialog.focusedControlIndex() < 0 ? -1 : dialog.controls()[std::size_t(dialog.focusedControlIndex())].id; };

    std::vector<int> order;
    for (int i = 0; i < 7; ++i) {
        press(QApplication::focusWidget() ? QApplication::focusWidget() : &dialog, Qt::Key_Tab);
        order.push_back(QApplication::focusWidget() == edit ? 0 : id());
    }
    EXPECT_EQ(order, (std::vector<int>{13, 14, 15, 11, 12, 17, 0}));
    EXPECT_EQ(dialog.focusedControlIndex(), -1);  // the edit has it
    press(edit, Qt::Key_Tab);                      // wraps to the first record
    EXPECT_EQ(id(), 13);
    EXPECT_TRUE(dialog.hasFocus());
    press(&dialog, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), edit);
    press(edit, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(id(), 17);
    EXPECT_GE(changes.size(), 9);
    EXPECT_EQ(changes.last().at(0).toInt(), dialog.focusedControlIndex());

    // By geometry: Up from X is S (right above it), Left from S is A, Down
    // from A is Z, Right from Z is X, Down from X the OK button; the label
    // is never a stop, and an arrow with nothing that way stays.
    dialog.setFocusedControlIndex(1);
    const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Up, 14}, {Qt::Key_Left, 13}, {Qt::Key_Left, 13},
                                             {Qt::Key_Down, 11}, {Qt::Key_Right, 12}, {Qt::Key_Down, 17}};
    for (const auto& [arrow, expected] : steps) {
        press(&dialog, arrow);
        EXPECT_EQ(id(), expected) << arrow;
    }

    press(&dialog, Qt::Key_Space);
    dialog.setFocusedControlIndex(2);
    press(&dialog, Qt::Key_Space);
    EXPECT_EQ(dialog.clicks, (std::vector<int>{17, 13}));

    // The ring at 1x: on the rectangle's edge pixels, not in its middle.
    const QImage shot = dialog.grab().toImage();
    EXPECT_EQ(shot.pixel(5, 30), accentRgb());
    EXPECT_EQ(shot.pixel(6, 49), accentRgb());
    EXPECT_NE(shot.pixel(15, 40), accentRgb());
    EXPECT_NE(shot.pixel(30, 40), accentRgb());  // the neighbour has none
    // At 2x the same logical ring is four device pixels wide.
    QImage doubled(dialog.size() * 2, QImage::Format_ARGB32_Premultiplied);
    doubled.setDevicePixelRatio(2);
    doubled.fill(Qt::black);
    dialog.render(&doubled);
    for (int inside = 0; inside < 4; ++inside)
        EXPECT_EQ(doubled.pixel(10 + inside, 70), accentRgb()) << inside;
    EXPECT_NE(doubled.pixel(10 + 5, 70), accentRgb());

    dialog.setFocusedControlIndex(99);  // out of range: no ring at all
    EXPECT_EQ(dialog.focusedControlIndex(), -1);
    EXPECT_NE(dialog.grab().toImage().pixel(5, 30), accentRgb());
}
