// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "sim/escape.h"

class QWidget;

namespace wexal::analysis {

// "Zeitlupe": the robber walks at a chosen pace, one ordinary single step per tick, so the main
// window draws every trace and moves the robber as "Einzelschritt" does. At each exit it pauses,
// then starts the next escape as "Neustart" does. Any click on the main window and any key stop
// it (that click or key does nothing else). The timer is this feature's own; the main window
// has none.
class Zeitlupe final : public QObject {
    Q_OBJECT

public:
    static constexpr int kSlowest = 1;   // steps a second
    static constexpr int kFastest = 20;
    static constexpr int kPauseMs = 1000;  // at an exit, at least one step's time

    // What a tick does: a step of the running escape, or a new escape once one has ended.
    struct Commands {
        std::function<void()> step;
        std::function<void()> restart;
    };

    explicit Zeitlupe(Escape& escape, QObject* parent = nullptr);

    // The steps and restarts as the main window's buttons do them, and the window whose
    // clicks stop the walk. Until then the escape's own commands, and no window.
    void attach(Commands commands, QWidget* mainWindow);

    void start();
    void stop();
    bool isRunning() const { return running_; }
    int pace() const { return pace_; }
    void setPace(int stepsPerSecond);

    // How late each tick came, in milliseconds behind the time it was due (for the benchmark).
    std::function<void(double lateMs)> onTick;

signals:
    void runningChanged(bool running);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tick();
    void arm(std::int64_t dueMs);
    bool stops(QObject* watched, const QEvent* event) const;

    Escape& escape_;
    Commands commands_;
    QWidget* mainWindow_ = nullptr;
    QTimer timer_;
    QElapsedTimer clock_;
    std::int64_t dueMs_ = 0;  // when the armed tick should come, on clock_
    static constexpr int kStartPace = 5;  // steps a second until the user chooses
    int pace_ = kStartPace;
    bool running_ = false;
};

}  // namespace wexal::analysis
