// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "platform/headless_runtime.h"
#include "ui/wexal.h"

namespace wexal::test {

// An XGA screen at 96 dpi: 1024 x 768 pixels, 15 units a pixel, both factors 1.25.
inline constexpr ScreenSize kXga{15360, 11520};

// The real window on a runtime whose screen, random numbers and message box the test controls.
struct WindowUnderTest {
    explicit WindowUnderTest(std::unique_ptr<RandomSource> random = std::make_unique<SeededRandom>(7),
                             ScreenSize screen = kXga)
        : runtime(std::move(random), screen), window(runtime) {}

    // The window or the control with this object name ("Wexal", "cmdEinzel", "Text1(3)", ...),
    // as a user's tool finds it; nullptr if there is none.
    template <class T = QWidget>
    T* get(const QString& name) const {
        if (name == window.objectName()) return qobject_cast<T*>(window.control(controls::Id::Wexal));
        return window.findChild<T*>(name);
    }
    QString text(const QString& box) const { return get<QLineEdit>(box)->text(); }
    void click(const QString& button) const { QTest::mouseClick(get<QAbstractButton>(button), Qt::LeftButton); }
    // The node of the running escape, 0 when none runs.
    int currentNode() const { return window.escape().isRunning() ? window.escape().robberNode() : 0; }
    bool show() {
        window.showCentred();
        return QTest::qWaitForWindowActive(&window);
    }

    HeadlessRuntime runtime;
    Wexal window;
};

}  // namespace wexal::test
