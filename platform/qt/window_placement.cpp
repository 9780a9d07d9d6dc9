// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/window_placement.h"

#include <xcb/xcb.h>

#include <algorithm>

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace wexal {
namespace {

// A move within this many pixels of the place given is that place: scaled screens round
// positions both ways.
constexpr int kRoundingSlack = 2;  // pixels

// One axis of centredFrameTopLeft.
int centredStart(int start, int available, int size) {
    return size > available ? start : start + (available - size) / 2;
}

// One axis of frameTopLeftInside.
int insideStart(int position, int start, int available, int size) {
    return size > available ? start : std::clamp(position, start, start + available - size);
}

}  // namespace

QPoint centredFrameTopLeft(QSize frame, const QRect& available) {
    return {centredStart(available.x(), available.width(), frame.width()),
            centredStart(available.y(), available.height(), frame.height())};
}

QPoint frameTopLeftInside(const QRect& frame, const QRect& available) {
    return {insideStart(frame.x(), available.x(), available.width(), frame.width()),
            insideStart(frame.y(), available.y(), available.height(), frame.height())};
}

WindowPlacement::WindowPlacement(QWidget& window, Rule rule)
    : QObject(&window), window_(window), rule_(rule) {
    frameCheck_.setSingleShot(true);
    frameCheck_.setInterval(0);
    connect(&frameCheck_, &QTimer::timeout, this, &WindowPlacement::frameMayHaveChanged);
    window_.installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowPlacement::~WindowPlacement() = default;  // the native filter removes itself

QMargins WindowPlacement::margins() const {
    const QRect frame = window_.frameGeometry();
    const QRect client = window_.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

void WindowPlacement::place() {
    const QScreen* screen = window_.screen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    const QRect frame = window_.frameGeometry();
    placedAt_ = rule_ == Rule::Centred ? centredFrameTopLeft(frame.size(), available)
                                       : frameTopLeftInside(frame, available);
    placedMargins_ = margins();
    following_ = true;
    // A top-level widget's move places its frame's top-left corner.
    if (window_.pos() != placedAt_)
        window_.move(placedAt_);
}

// Moves come from the window manager framing the window, from place() and from the user. A
// change of the frame asks for a new place; a move elsewhere with the frame as it was is the
// user's. While the window is still unframed, no move can be told apart, so none ends the
// following.
void WindowPlacement::frameMayHaveChanged() {
    if (!following_ || !window_.isVisible() || window_.windowState() != Qt::WindowNoState)
        return;
    const QMargins now = margins();
    if (now != placedMargins_) {
        place();
    } else if (!now.isNull() && (window_.pos() - placedAt_).manhattanLength() > kRoundingSlack) {
        following_ = false;
    }
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Move)
        frameMayHaveChanged();
    return QObject::eventFilter(watched, event);
}

// X11 tells of new frame extents by a property change alone, often after the last move of the
// framing. Qt reads the property anew only after this filter has passed the event on, so the
// check waits for the event loop.
bool WindowPlacement::nativeEventFilter(const QByteArray& eventType, void* message,
                                        qintptr* /*result*/) {
    if (!following_ || frameCheck_.isActive() || eventType != "xcb_generic_event_t")
        return false;
    const WId id = window_.internalWinId();
    if (id == 0)
        return false;
    constexpr std::uint8_t kSentByClient = 0x80;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    xcb_window_t changed = XCB_NONE;
    switch (event->response_type & ~kSentByClient) {
        case XCB_PROPERTY_NOTIFY:
            changed = static_cast<const xcb_property_notify_event_t*>(message)->window;
            break;
        case XCB_REPARENT_NOTIFY:
            changed = static_cast<const xcb_reparent_notify_event_t*>(message)->window;
            break;
        default:
            return false;
    }
    if (changed != id)
        return false;
    frameCheck_.start();
    return false;
}

}  // namespace wexal
