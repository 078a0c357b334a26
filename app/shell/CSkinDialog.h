// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The common ground of every skinned window: a frameless modal dialog drawn
// from its skin set, with a fixed array of SkinControl records for hit areas
// and captions, dragged by any point outside its controls, and receiving
// posted window messages on the GUI thread.
//
// A window derives from it, passes its layout table and the language it
// shows, and overrides controlClicked (and messageReceived, paintWindow,
// captionColor where it needs to).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>
#include <QRect>
#include <QRegion>

#include <velkorondrix/VelkorOndrix_HWI.h>
#include "shell/LayoutRow.h"
#include "shell/SkinControl.h"
#include "shell/SkinSet.h"

class QPainter;

class CSkinDialog : public QDialog, public MessageWindow {
    Q_OBJECT
public:
    // The answer of hitTestControls. The windows have a fixed size, so the
    // edges and the corner drag like the caption does.
    enum class HitArea { Client, Caption, RightEdge, BottomEdge, BottomRightCorner };
    static constexpr int kEdge = 6;

    // language is read at every paint (the main window switches it live).
    // The skin set and controls come from the table and AppResources::current().
    CSkinDialog(const layout::Window& table, const std::string& language, QWidget* parent = nullptr);
    ~CSkinDialog() override;

    // MessageWindow: thread-safe, queued; handled by messageReceived.
    void postMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void postKeyMessage(std::uintptr_t wParam, std::intptr_t lParam, std::uint32_t time) override;

    // Updates hover flags and the last mouse position (client coordinates).
    HitArea hitTestControls(QPoint clientPoint);
    // The whole skinned paint: background, active/hover rectangles, captions.
    void paintControls(QPainter& painter);
    // Click lookup: index of the first live non-label record containing the
    // point, -1 when none does.
    int controlAt(QPoint clientPoint) const;

    std::vector<SkinControl>& controls() { return controls_; }
    const std::vector<SkinControl>& controls() const { return controls_; }
    SkinControl* controlById(int id);
    const layout::Window& table() const { return *table_; }
    const std::string& language() const { return language_; }
    const SkinSet& skinSet() const { return skins_; }
    // Replaces the pictures (the key editor switches sets per page) and
    // redoes the window's size and shape.
    void setSkinSet(SkinSet skins);
    QColor transparentColor() const;
    // The window shape: everything but the pixels of the transparent colour;
    // empty when there is no background.
    QRegion keyColourRegion() const;
    QPoint lastMousePos() const { return lastMouse_; }
    // Repaints the records' rectangles.
    void updateControl(const SkinControl& control);
    // Forgets the mouse position and every hover mark: the pointer left the
    // window or went into one of its child controls.
    void clearHover();

    // How assistive technology sees a record (SkinDialogAccessible shows
    // it): a window adjusts the base's answer for its own controls.
    struct ControlAccess {
        enum class Role { Button, Toggle, Tab, ListRow, Key, Icon, Label };
        Role role = Role::Button;
        bool on = false;  // a pressed button, checked toggle or icon, selected tab or row
        bool available = true;
        std::wstring name;  // in the window's language
        std::wstring description;
    };
    // By the record's kind and look, named by its caption, its tooltip or
    // the caption drawn on it.
    virtual ControlAccess controlAccess(const SkinControl& control) const;
    // A transfer's progress in percent; -1 in a window without one.
    virtual int progressPercent() const { return -1; }
    bool isControlShown(const SkinControl& control) const { return isShown(control); }
    // What a mouse click at the record's centre does.
    void pressControl(const SkinControl& control);

    // The keyboard focus among the records: an index into controls(), -1
    // when none has it (nothing chosen yet, or a child widget has the focus).
    int focusedControlIndex() const { return focused_; }
    // Moves the focus ring (an index that is out of range clears it),
    // repaints and emits focusedControlChanged when it moved.
    void setFocusedControlIndex(int index);
    // Whether the keyboard can focus a record now: shown, live, no label.
    bool isFocusable(const SkinControl& control) const;
    // The window's Tab chain in reading order: focusable records and the
    // child widgets that take Tab focus, sorted by their top and then left.
    struct FocusStop {
        int control = -1;          // index into controls(), or -1
        QWidget* widget = nullptr;  // a child widget when control is -1
        QRect rect;
    };
    std::vector<FocusStop> focusChain() const;

signals:
    // The window asks the window system to move it with the pointer: the
    // background was dragged.
    void windowMoveRequested();
    void focusedControlChanged(int index);

protected:
    // A left-button release on a control (the click lookup's answer).
    virtual void controlClicked(SkinControl& control);
    // A left or right button released where it was pressed inside the
    // client area (no window drag). The left one runs the click lookup.
    virtual void leftButtonReleased(QPoint clientPoint);
    virtual void rightButtonReleased(QPoint clientPoint);
    // Whether a record takes part in hit-testing, painting and clicks now;
    // every live record by default (the key editor shows one page at a time).
    virtual bool isShown(const SkinControl& control) const;
    // The last mouse position changed (moved, left the window, or went into
    // a child control).
    virtual void hoverChanged() {}
    // A posted message, on the GUI thread.
    virtual void messageReceived(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // Inside messageReceived: the window system's time of the key event
    // being handled, when it came with one (ms, wrapping at 2^32).
    std::optional<std::uint32_t> messageTime() const { return messageTime_; }
    // Space on the focused record: what a left click on it does. By default
    // controlClicked; windows that dispatch clicks by point override it.
    virtual void activateControl(SkinControl& control);
    // The record an arrow key moves the focus to from the record at index
    // (-1 for none): the nearest focusable record in that direction,
    // measured between the rectangles' centres with the sideways distance
    // counting double, so Up from a key goes to the key right above it.
    virtual int arrowTarget(int index, Qt::Key arrow) const;
    // Draws the focus ring around the focused record; the paint event's step
    // after paintWindow.
    void paintFocusRing(QPainter& painter);

    // Caption colour of a record; the record's own colours by default.
    virtual QColor captionColor(const SkinControl& control) const;
    // The window's paint step; paintControls by default. Overrides usually
    // call the base and then draw their own parts on top.
    virtual void paintWindow(QPainter& painter);

    // Frame set-up: size to the background (or the table's fallback size),
    // colour-key mask, centred on the primary screen.
    void setUpFrame();
    // Size and window shape from the current background.
    void setUpShape();
    // Makes the colour-key pixels of the background transparent (the
    // window is translucent); the paint event's last step.
    void clearKeyColourArea(QPainter& painter);

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Child controls take the mouse moves when the pointer enters them, and
    // the window then gets no leave event: each child reports its enter.
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Tab and Shift+Tab walk focusChain(), from a child widget as well,
    // wrapping at its ends.
    bool focusNextPrevChild(bool next) override;
    // Space activates the focused record, the arrows move the focus, the
    // menu key (or Shift+F10) right-clicks it; Enter and Escape keep
    // QDialog's meanings (windows override them first).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintPlain(QPainter& painter);
    void drawCaption(QPainter& painter, const SkinControl& control);

    const layout::Window* table_;
    const std::string& language_;
    std::vector<SkinControl> controls_;
    SkinSet skins_;
    QPoint lastMouse_{-1, -1};
    std::optional<std::uint32_t> messageTime_;
    bool dragPress_ = false;  // the press was outside the controls: no click
    // Where a left press on the background was, until the pointer has moved
    // far enough from it to start the window move.
    std::optional<QPoint> dragFrom_;
    QRegion keyColourArea_;  // the background's colour-key pixels
    int focused_ = -1;
};
