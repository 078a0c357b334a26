// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include "shell/CSkinScrollBar.h"
#include "support/ManualControlTimer.h"

namespace {

using Bar = CSkinScrollBar;

struct Sent {
    int request;
    int position;
    int at;  // ms on the bar's clock
    friend bool operator==(const Sent&, const Sent&) = default;
};

// A bar with its owner: the owner scrolls like a list does, by a line or a
// page per request, and records every request with the time it came.
class ScrollBarTest : public ::testing::Test {
protected:
    void make(Qt::Orientation orientation, QSize size, Bar::ScrollInfo info) {
        auto timer = std::make_unique<ManualControlTimer>();
        clock = timer.get();
        bar = std::make_unique<Bar>(orientation, nullptr, std::move(timer));
        bar->resize(size);
        bar->setScrollInfo(info);
        QObject::connect(bar.get(), &Bar::scrollRequested, [this](int request, int position) {
            sent.push_back({request, position, clock->now()});
            if (!ownerScrolls)
                return;
            Bar::ScrollInfo now = bar->scrollInfo();
            switch (request) {
            case Bar::LineUp: now.position -= 1; break;
            case Bar::LineDown: now.position += 1; break;
            case Bar::PageUp: now.position -= now.page; break;
            case Bar::PageDown: now.position += now.page; break;
            case Bar::ThumbPosition: now.position = position; break;
            default: break;
            }
            now.position = std::clamp(now.position, now.minimum, bar->maxPosition());
            bar->setScrollInfo(now);
        });
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
        QMouseEvent event(type, QPointF(at), QPointF(bar->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(bar.get(), &event);
    }
    void press(QPoint at) { mouse(QEvent::MouseButtonPress, at); }
    void move(QPoint at) { mouse(QEvent::MouseMove, at); }
    void release(QPoint at) { mouse(QEvent::MouseButtonRelease, at); }

    std::vector<int> times() const {
        std::vector<int> at;
        for (const Sent& s : sent)
            at.push_back(s.at);
        return at;
    }

    std::unique_ptr<Bar> bar;
    ManualControlTimer* clock = nullptr;
    std::vector<Sent> sent;
    bool ownerScrolls = true;
};

// A vertical bar 96 long with 16-pixel cells: track 64.
constexpr QSize kTall{16, 96};

TEST_F(ScrollBarTest, ThumbLengthAndPlaceFollowPageAndPosition) {
    make(Qt::Vertical, kTall, {0, 20, 6, 0});
    auto lay = bar->partLayout();
    EXPECT_EQ(lay.track, 64);
    EXPECT_EQ(lay.arrow, 16);
    EXPECT_EQ(lay.thumb, 6 * 64 / 21);
    EXPECT_EQ(lay.thumbStart, 16);

    bar->setScrollInfo({0, 20, 6, 15});  // the last position: thumb meets the second arrow
    lay = bar->partLayout();
    EXPECT_EQ(lay.thumbEnd(), 96 - 16);

    bar->setScrollInfo({0, 20, 6, 7});
    EXPECT_EQ(bar->partLayout().thumbStart, 16 + (64 - 18) * 7 / 15);

    bar->setScrollInfo({0, 999, 1, 0});  // tiny page: the thumb keeps 6 pixels
    EXPECT_EQ(bar->partLayout().thumb, Bar::kMinThumb);
}

TEST_F(ScrollBarTest, HitPartsAlongAndAcrossTheBar) {
    make(Qt::Vertical, kTall, {0, 20, 6, 0});  // thumb [16, 34)
    EXPECT_EQ(bar->hitPart({8, 0}), Bar::PartFirstArrow);
    EXPECT_EQ(bar->hitPart({8, 15}), Bar::PartFirstArrow);
    EXPECT_EQ(bar->hitPart({8, 16}), Bar::PartThumb);
    EXPECT_EQ(bar->hitPart({8, 33}), Bar::PartThumb);
    EXPECT_EQ(bar->hitPart({8, 34}), Bar::PartTrackAfter);
    EXPECT_EQ(bar->hitPart({8, 80}), Bar::PartSecondArrow);
    EXPECT_EQ(bar->hitPart({16, 50}), Bar::PartNone);
    EXPECT_EQ(bar->hitPart({8, 96}), Bar::PartNone);
    bar->setScrollInfo({0, 20, 6, 15});
    EXPECT_EQ(bar->hitPart({8, 40}), Bar::PartTrackBefore);

    make(Qt::Horizontal, {96, 16}, {0, 20, 6, 0});
    EXPECT_EQ(bar->hitPart({0, 8}), Bar::PartFirstArrow);
    EXPECT_EQ(bar->hitPart({20, 8}), Bar::PartThumb);
    EXPECT_EQ(bar->hitPart({90, 8}), Bar::PartSecondArrow);
    EXPECT_EQ(bar->hitPart({50, 16}), Bar::PartNone);
}

TEST_F(ScrollBarTest, PageCoveringTheRangeLeavesNoThumbAndTracksMeetInTheMiddle) {
    make(Qt::Vertical, kTall, {0, 5, 6, 0});
    const auto lay = bar->partLayout();
    EXPECT_EQ(lay.thumb, 0);
    EXPECT_EQ(lay.thumbStart, 16 + 32);
    EXPECT_EQ(bar->hitPart({8, 47}), Bar::PartTrackBefore);
    EXPECT_EQ(bar->hitPart({8, 48}), Bar::PartTrackAfter);
    EXPECT_TRUE(bar->partRect(Bar::PartThumb).isEmpty());

    bar->setScrollInfo({0, 3, 6, 0});  // a page larger than the range: no thumb either
    EXPECT_EQ(bar->partLayout().thumb, 0);
}

TEST_F(ScrollBarTest, BarShorterThanTwoCellsShowsOnlyHalvedArrows) {
    make(Qt::Vertical, {16, 20}, {0, 20, 6, 0});
    const auto lay = bar->partLayout();
    EXPECT_EQ(lay.track, 0);
    EXPECT_EQ(lay.thumb, 0);
    EXPECT_EQ(lay.arrow, 10);
    EXPECT_EQ(bar->hitPart({8, 9}), Bar::PartFirstArrow);
    EXPECT_EQ(bar->hitPart({8, 10}), Bar::PartSecondArrow);
    EXPECT_EQ(bar->partRect(Bar::PartSecondArrow), QRect(0, 10, 16, 10));

    make(Qt::Vertical, {16, 36}, {0, 20, 6, 0});  // a track of 4 pixels has no thumb
    EXPECT_EQ(bar->partLayout().arrow, 16);
    EXPECT_EQ(bar->partLayout().thumb, 0);
}

TEST_F(ScrollBarTest, HoldingSecondArrowRepeatsAfterDelayUntilTheLastPosition) {
    make(Qt::Vertical, kTall, {0, 20, 6, 10});  // last position 15
    press({8, 90});
    EXPECT_EQ(sent, (std::vector<Sent>{{Bar::LineDown, 10, 0}}));
    clock->advance(499);
    EXPECT_EQ(sent.size(), 1u);
    clock->advance(1);
    EXPECT_EQ(sent.size(), 2u);
    clock->advance(2000);
    EXPECT_EQ(times(), (std::vector<int>{0, 500, 600, 700, 800}));
    EXPECT_EQ(bar->scrollInfo().position, 15);
    EXPECT_FALSE(clock->isActive());
    release({8, 90});
}

TEST_F(ScrollBarTest, HoldingSecondArrowWithPageOneStopsAtTheMaximum) {
    make(Qt::Vertical, kTall, {0, 10, 1, 7});
    press({8, 90});
    clock->advance(3000);
    EXPECT_EQ(times(), (std::vector<int>{0, 500, 600}));
    EXPECT_EQ(bar->scrollInfo().position, 10);
}

TEST_F(ScrollBarTest, RepeatsKeepComingWhileTheOwnerDoesNotScroll) {
    ownerScrolls = false;
    make(Qt::Vertical, kTall, {0, 20, 6, 3});
    press({8, 90});
    clock->advance(1000);
    EXPECT_EQ(times(), (std::vector<int>{0, 500, 600, 700, 800, 900, 1000}));
    release({8, 90});
    EXPECT_FALSE(clock->isActive());
    clock->advance(1000);
    EXPECT_EQ(sent.size(), 7u);
}

TEST_F(ScrollBarTest, FirstArrowAtTheMinimumStopsAtTheFirstTick) {
    make(Qt::Vertical, kTall, {0, 20, 6, 0});
    press({8, 2});
    clock->advance(1000);
    EXPECT_EQ(sent, (std::vector<Sent>{{Bar::LineUp, 0, 0}}));
    EXPECT_FALSE(clock->isActive());
}

TEST_F(ScrollBarTest, LeavingThePressedArrowPausesTheRepeat) {
    ownerScrolls = false;
    make(Qt::Vertical, kTall, {0, 20, 6, 3});
    press({8, 90});
    move({8, 50});  // onto the track
    clock->advance(1000);
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_TRUE(clock->isActive());
    move({8, 85});  // back on the arrow
    clock->advance(100);
    EXPECT_EQ(sent.size(), 2u);
}

TEST_F(ScrollBarTest, PagingOnTheTrackStopsWhenTheThumbReachesTheCursor) {
    make(Qt::Vertical, kTall, {0, 20, 6, 0});
    press({8, 78});
    clock->advance(2000);
    EXPECT_EQ(times(), (std::vector<int>{0, 500, 600}));
    EXPECT_EQ(sent.front().request, Bar::PageDown);
    EXPECT_EQ(bar->hitPart({8, 78}), Bar::PartThumb);
    EXPECT_FALSE(clock->isActive());
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenSetsThePosition) {
    ownerScrolls = false;
    make(Qt::Vertical, kTall, {0, 20, 6, 0});  // thumb 18 of a 64 track: 46 pixels for 15 positions
    press({8, 20});
    EXPECT_TRUE(sent.empty());
    EXPECT_FALSE(clock->isActive());
    move({8, 43});
    EXPECT_EQ(sent.back(), (Sent{Bar::ThumbTrack, 23 * 15 / 46, 0}));
    EXPECT_EQ(bar->dragPosition(), 7);
    EXPECT_EQ(bar->partLayout().thumbStart, 16 + 46 * 7 / 15);  // drawn where it is dragged
    move({8, 44});  // same position: nothing new
    EXPECT_EQ(sent.size(), 1u);
    move({8, 400});
    EXPECT_EQ(sent.back(), (Sent{Bar::ThumbTrack, 15, 0}));
    move({8, -400});
    EXPECT_EQ(sent.back(), (Sent{Bar::ThumbTrack, 0, 0}));
    move({8, 60});
    release({8, 60});
    EXPECT_EQ(sent.back().request, Bar::ThumbPosition);
    EXPECT_EQ(sent.back().position, 40 * 15 / 46);
    EXPECT_EQ(bar->dragPosition(), -1);
    EXPECT_EQ(bar->partLayout().thumbStart, 16);  // the owner did not move it
}

TEST_F(ScrollBarTest, DoubleClicksAreSwallowed) {
    make(Qt::Vertical, kTall, {0, 20, 6, 5});
    mouse(QEvent::MouseButtonDblClick, {8, 90});
    release({8, 90});
    EXPECT_TRUE(sent.empty());
    EXPECT_FALSE(clock->isActive());
}

TEST_F(ScrollBarTest, RangeAdjustmentKeepsThePositionInRange) {
    make(Qt::Vertical, kTall, {0, 8, 9, 0});  // an empty list of 9 rows
    bar->adjustRange(5);
    EXPECT_EQ(bar->scrollInfo(), (Bar::ScrollInfo{0, 13, 9, 0}));
    bar->setScrollInfo({0, 13, 9, 5});
    bar->adjustRange(-3);
    EXPECT_EQ(bar->scrollInfo(), (Bar::ScrollInfo{0, 10, 9, 2}));
    bar->adjustRange(-20000);
    EXPECT_EQ(bar->scrollInfo(), (Bar::ScrollInfo{0, 8, 9, 0}));
}

// A sheet whose every cell has its own colour: red = column, green = row.
QImage cellSheet(int cell) {
    QImage sheet(Bar::kSheetColumns * cell, Bar::kSheetRows * cell, QImage::Format_RGB32);
    for (int column = 0; column < Bar::kSheetColumns; ++column)
        for (int row = 0; row < Bar::kSheetRows; ++row)
            QPainter(&sheet).fillRect(column * cell, row * cell, cell, cell, QColor(column * 25, row * 100, 50));
    return sheet;
}

QColor cellColour(int column, int row) {
    return QColor(column * 25, row * 100, 50);
}

TEST_F(ScrollBarTest, SkinSetsCellSizeAndThickness) {
    make(Qt::Vertical, {50, 96}, {0, 20, 6, 0});
    bar->setSkin(cellSheet(10));
    EXPECT_EQ(bar->cellSize(), 10);
    EXPECT_EQ(bar->size(), QSize(10, 96));
    bar->setSkin(QImage());
    EXPECT_EQ(bar->cellSize(), Bar::kCellSize);

    make(Qt::Horizontal, {96, 50}, {0, 20, 6, 0});
    bar->setSkin(cellSheet(12));
    EXPECT_EQ(bar->size(), QSize(96, 12));
}

TEST_F(ScrollBarTest, PaintsEachPartFromItsCellAndLook) {
    make(Qt::Vertical, {10, 100}, {0, 20, 6, 0});
    bar->setSkin(cellSheet(10));  // arrows [0,10) and [90,100); thumb from 10
    auto pixel = [&](int y) { return QColor(bar->grab().toImage().pixel(5, y)); };
    EXPECT_EQ(pixel(5), cellColour(0, 0));
    EXPECT_EQ(pixel(95), cellColour(1, 0));
    EXPECT_EQ(pixel(12), cellColour(2, 0));
    EXPECT_EQ(pixel(60), cellColour(3, 0));

    move({5, 12});
    EXPECT_EQ(pixel(12), cellColour(2, 1));  // hovered thumb
    press({5, 95});
    EXPECT_EQ(pixel(95), cellColour(1, 2));  // pressed arrow
    move({5, 50});
    EXPECT_EQ(pixel(95), cellColour(1, 0));  // pressed but left
    release({5, 50});

    make(Qt::Horizontal, {100, 10}, {0, 20, 6, 0});
    bar->setSkin(cellSheet(10));
    const QImage shot = bar->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(5, 5)), cellColour(4, 0));
    EXPECT_EQ(QColor(shot.pixel(95, 5)), cellColour(5, 0));
    EXPECT_EQ(QColor(shot.pixel(60, 5)), cellColour(7, 0));
}

}  // namespace
