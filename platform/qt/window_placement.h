// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>

class QWidget;

namespace wexal {

// Where a window's frame (title bar included) goes in a screen's available area: centred where
// it fits. Along an axis where the frame is larger than the area it starts at the area's left
// or top edge instead, so that the title bar stays on the screen and the window can still be
// moved and closed with the mouse.
QPoint centredFrameTopLeft(QSize frame, const QRect& available);

// A frame that stands where it is moved the least to lie in the area; where it is larger than
// the area, its left or top edge lies on the area's, with the same aim as above.
QPoint frameTopLeftInside(const QRect& frame, const QRect& available);

// Keeps a top-level window placed by one of the rules above while its window manager frames it.
// The frame's size is known only once the window manager has framed the window, and it may
// publish it (X11: _NET_FRAME_EXTENTS) late and in several steps, with or without moving the
// window. So the extents are read again on every move and every property change of the window,
// and every change of them places the window anew, whatever the order of these events, until
// someone else moves the window: from then on the place is the user's. Without a window
// manager that publishes extents (or without X11) the window is placed once.
class WindowPlacement final : public QObject, private QAbstractNativeEventFilter {
public:
    enum class Rule { Centred, Inside };

    WindowPlacement(QWidget& window, Rule rule);
    ~WindowPlacement() override;
    WindowPlacement(const WindowPlacement&) = delete;
    WindowPlacement& operator=(const WindowPlacement&) = delete;

    // Places the window now by its rule and follows its frame from here on.
    void place();
    // False once the window was moved by someone else.
    bool following() const { return following_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void frameMayHaveChanged();
    QMargins margins() const;

    QWidget& window_;
    Rule rule_;
    QMargins placedMargins_;
    QPoint placedAt_;
    bool following_ = false;
    bool confirmed_ = false;  // it has stood where it was placed
    QTimer frameCheck_;  // once the events at hand are through
};

}  // namespace wexal
