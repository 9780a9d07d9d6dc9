// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/zeitlupe.h"

#include <algorithm>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace wexal::analysis {
namespace {

constexpr int kMillisecondsPerSecond = 1000;

}  // namespace

Zeitlupe::Zeitlupe(Escape& escape, QObject* parent)
    : QObject(parent),
      escape_(escape),
      commands_{[this] { escape_.singleStep(); }, [this] { escape_.restart(); }} {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Zeitlupe::tick);
}

void Zeitlupe::attach(Commands commands, QWidget* mainWindow) {
    commands_ = std::move(commands);
    mainWindow_ = mainWindow;
}

void Zeitlupe::setPace(int stepsPerSecond) { pace_ = std::clamp(stepsPerSecond, kSlowest, kFastest); }

void Zeitlupe::start() {
    if (running_) return;
    running_ = true;
    QCoreApplication::instance()->installEventFilter(this);
    clock_.start();
    arm(0);  // the first step at once
    emit runningChanged(true);
}

void Zeitlupe::stop() {
    if (!running_) return;
    running_ = false;
    timer_.stop();
    QCoreApplication::instance()->removeEventFilter(this);
    emit runningChanged(false);
}

void Zeitlupe::arm(std::int64_t dueMs) {
    dueMs_ = dueMs;
    timer_.start(static_cast<int>(std::max<std::int64_t>(0, dueMs_ - clock_.elapsed())));
}

// Each tick is due one step's time after the last was due, not after it came: a late tick
// does not delay the ones after it.
void Zeitlupe::tick() {
    if (!running_) return;
    constexpr double kNanosecondsPerMillisecond = 1e6;
    if (onTick) onTick(static_cast<double>(clock_.nsecsElapsed()) / kNanosecondsPerMillisecond - static_cast<double>(dueMs_));
    const std::int64_t step = kMillisecondsPerSecond / pace_;
    if (escape_.isRunning()) {
        commands_.step();
        arm(dueMs_ + (escape_.isRunning() ? step : std::max<std::int64_t>(kPauseMs, step)));
    } else {
        commands_.restart();
        arm(dueMs_ + step);
    }
}

// A click on the main window, or a key anywhere in the program.
bool Zeitlupe::stops(QObject* watched, const QEvent* event) const {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            const auto* widget = qobject_cast<const QWidget*>(watched);
            return mainWindow_ != nullptr && widget != nullptr && widget->window() == mainWindow_;
        }
        default:
            return false;
    }
}

// The key or click that stops the walk is used up: no shortcut, button or access key acts on
// it, so every command afterwards does what it always does.
bool Zeitlupe::eventFilter(QObject* watched, QEvent* event) {
    if (!running_ || !stops(watched, event)) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();  // no shortcut: the key comes as a key press, and stops the walk there
        return true;
    }
    stop();
    return true;
}

}  // namespace wexal::analysis
