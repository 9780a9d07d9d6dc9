// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/window_placement.h"

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

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

// The frame's extents. On X11 as the window manager publishes them (_NET_FRAME_EXTENTS, in
// device pixels), none where it publishes none: Qt's own frame margins guess from the window
// tree where the property is missing, and guess wrong while a resize is on its way. Elsewhere
// as the platform reports them.
QMargins WindowPlacement::margins() const {
    const QWindow* handle = window_.windowHandle();
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    const WId id = window_.internalWinId();
    // The offscreen platform answers as X11 too, without a connection of its own.
    if (QGuiApplication::platformName() != QLatin1String("xcb") || x11 == nullptr ||
        x11->connection() == nullptr) {
        return handle != nullptr ? handle->frameMargins() : QMargins();
    }
    if (id == 0) return {};
    xcb_connection_t* connection = x11->connection();
    static const xcb_atom_t extents = [connection] {
        constexpr std::string_view kName = "_NET_FRAME_EXTENTS";
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
            xcb_intern_atom_reply(
                connection,
                xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(kName.size()), kName.data()),
                nullptr),
            &std::free);
        return atom ? atom->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    }();
    if (extents == XCB_ATOM_NONE) return {};
    constexpr std::uint32_t kSides = 4;  // left, right, top, bottom
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, static_cast<xcb_window_t>(id), extents,
                                                XCB_ATOM_CARDINAL, 0, kSides),
                               nullptr),
        &std::free);
    constexpr int kBits = 32;
    if (!reply || reply->format != kBits || xcb_get_property_value_length(reply.get()) !=
                                                static_cast<int>(kSides * sizeof(std::uint32_t))) {
        return {};
    }
    const auto* side = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    const qreal ratio = window_.devicePixelRatioF();
    const auto logical = [ratio](std::uint32_t pixels) { return qRound(pixels / ratio); };
    return {logical(side[0]), logical(side[2]), logical(side[1]), logical(side[3])};
}

void WindowPlacement::place() {
    const QScreen* screen = window_.screen();
    if (screen == nullptr) return;
    const QRect available = screen->availableGeometry();
    // Read once: the window manager may publish its extents between two reads.
    placedMargins_ = margins();
    const QRect frame = window_.geometry().marginsAdded(placedMargins_);
    placedAt_ = rule_ == Rule::Centred ? centredFrameTopLeft(frame.size(), available)
                                       : frameTopLeftInside(frame, available);
    following_ = true;
    confirmed_ = false;
    // Both place the frame's top-left corner.
    if (QWindow* handle = window_.windowHandle()) {
        handle->setFramePosition(placedAt_);
    } else {
        window_.move(placedAt_);
    }
}

// Moves come from the window manager framing the window, from place() and from the user. A
// change of the frame asks for a new place. Once the window has stood where it was placed, a
// move elsewhere with the frame as it was is the user's; until then a move may be one the
// window manager made before it saw the place asked for, and while the window is unframed no
// move can be told apart at all.
void WindowPlacement::frameMayHaveChanged() {
    if (!following_ || !window_.isVisible() || window_.windowState() != Qt::WindowNoState) return;
    const QMargins now = margins();
    if (now != placedMargins_) {
        place();
        return;
    }
    if (now.isNull()) return;
    const QPoint frameTopLeft = window_.geometry().topLeft() - QPoint(now.left(), now.top());
    if ((frameTopLeft - placedAt_).manhattanLength() <= kRoundingSlack) {
        confirmed_ = true;
    } else if (confirmed_) {
        following_ = false;
    }
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Move) frameMayHaveChanged();
    return QObject::eventFilter(watched, event);
}

// X11 tells of new frame extents by a property change alone, often after the last move of the
// framing. Qt reads the property anew only after this filter has passed the event on, so the
// check waits for the event loop.
bool WindowPlacement::nativeEventFilter(const QByteArray& eventType, void* message,
                                        qintptr* /*result*/) {
    if (!following_ || frameCheck_.isActive() || eventType != "xcb_generic_event_t") return false;
    const WId id = window_.internalWinId();
    if (id == 0) return false;
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
        default: return false;
    }
    if (changed != id) return false;
    frameCheck_.start();
    return false;
}

}  // namespace wexal
