// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/runtime.h"

namespace wexal {

// The runtime on a real display: the clock-reseeded generator, Qt's message box, and the
// screen the program's window stands on.
class QtRuntime final : public Runtime {
public:
    QtRuntime() = default;

    // The window whose screen counts; before it is known, the primary screen.
    void attach(QWidget* window) { window_ = window; }

    RandomSource& random() override { return random_; }
    void messageBox(std::string_view text) override;
    void endProgram() override;
    ScreenSize screenSize() const override;

    // What the message box shows for a text: Qt breaks the line again at a carriage return
    // that follows a line feed, which leaves an empty line between every two lines, so the
    // pair is shown as the one line break it stands for. The text handed over is unchanged.
    static QString displayText(std::string_view text);

private:
    ClockRandom random_;
    QPointer<QWidget> window_;
};

}  // namespace wexal
