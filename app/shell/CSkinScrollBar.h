// A scroll bar drawn entirely from one skin sheet (bitmap 138). It keeps its
// own range, page and position but never moves itself: every user action is
// a request to the owner (scrollRequested), which answers with
// setScrollInfo, as a list view does with its scroll bar.
#pragma once

#include <memory>

#include <QImage>
#include <QWidget>

#include "shell/ControlTimer.h"
#include "shell/ScrollBarSkin.h"
#include "shell/SkinImage.h"

class CSkinScrollBar : public QWidget {
    Q_OBJECT
public:
    // The sheet is 9 x 3 cells of kCellSize x kCellSize pixels. Columns 0..3:
    // first arrow, second arrow, thumb, track of a vertical bar; 4..7 the same
    // for a horizontal bar; column 8 unused. Rows: normal, hovered, pressed.
    // The cell size is read from the sheet (width / 9); this is the size the
    // artwork is made with and the bar's thickness without artwork.
    static constexpr int kCellSize = 16;
    static constexpr int kSheetColumns = 9;
    static constexpr int kSheetRows = 3;
    static constexpr int kDelayMs = 500;   // press to first repeat
    static constexpr int kRepeatMs = 100;  // between repeats
    static_assert(kCellSize == layout::scrollBarCell && kSheetColumns == layout::scrollBarColumns
                      && kSheetRows == layout::scrollBarRows,
                  "the scroll bar and its artwork must agree on the sheet");
    static constexpr int kMinThumb = 6;
    static constexpr int kThumbCap = 3;    // thumb end caps copied, middle tiled

    // Hit parts; the numbers double as the requests to the owner.
    enum Part { PartNone = -1, PartFirstArrow = 0, PartSecondArrow = 1,
                PartTrackBefore = 2, PartTrackAfter = 3, PartThumb = 5 };
    enum Request { LineUp = 0, LineDown = 1, PageUp = 2, PageDown = 3,
                   ThumbPosition = 4, ThumbTrack = 5 };
    enum Look { LookNormal = 0, LookHovered = 1, LookPressed = 2 };

    struct ScrollInfo {
        int minimum = 0;
        int maximum = 0;
        int page = 0;
        int position = 0;
        friend bool operator==(const ScrollInfo&, const ScrollInfo&) = default;
    };

    // Extents along the bar, in pixels from its start.
    struct Layout {
        int length = 0;      // L
        int track = 0;       // T
        int thumb = 0;       // t; 0 = no thumb
        int arrow = 0;       // a
        int thumbStart = 0;  // a + g
        int thumbEnd() const { return thumbStart + thumb; }
    };

    explicit CSkinScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr,
                            std::unique_ptr<ControlTimer> timer = nullptr);
    ~CSkinScrollBar() override;

    Qt::Orientation orientation() const { return orientation_; }

    // Attaching the sheet sets the cell size and the bar's thickness.
    void setSkin(const SkinImage& sheet);
    int cellSize() const { return cell_; }

    void setScrollInfo(const ScrollInfo& info, bool redraw = true);
    ScrollInfo scrollInfo() const { return info_; }
    // Grows (or shrinks) the maximum by delta, keeping the position in range.
    void adjustRange(int delta);
    // The greatest position the owner may scroll to.
    int maxPosition() const;

    Layout partLayout() const;
    int hitPart(QPoint point) const;
    QRect partRect(int part) const;
    int dragPosition() const { return dragPos_; }
    int pressedPart() const { return pressedPart_; }
    int hoveredPart() const { return hoveredPart_; }

signals:
    // position: the new position for ThumbTrack/ThumbPosition, otherwise the
    // current one.
    void scrollRequested(int request, int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Up/Down (Left/Right across a horizontal bar) step a line, Page Up and
    // Page Down a page, Home and End go to the ends.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int along(QPoint point) const;
    int across(QPoint point) const;
    int barLength() const;
    int span() const;
    QRect spanRect(int from, int to) const;
    void handleMove(QPoint point);
    void onTimer();
    void request(int part, int position);
    Look lookOf(int part) const;
    void paintPart(QPainter& painter, int part, const QRect& target) const;
    void paintPlain(QPainter& painter, int part, const QRect& target) const;

    Qt::Orientation orientation_;
    std::unique_ptr<ControlTimer> timer_;
    SkinImage sheet_;
    int cell_ = kCellSize;
    ScrollInfo info_;
    int dragPos_ = -1;
    bool dragging_ = false;
    int pressAlong_ = 0;        // press point along the bar, for dragging
    int dragStartPos_ = 0;      // position at the press
    int pressedPart_ = PartNone;
    bool repeating_ = false;    // the 500 ms delay has passed
    bool leftPressed_ = false;  // the mouse is outside the pressed part
    int hoveredPart_ = PartNone;
    QPoint lastMouse_{-1, -1};
};
