// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

// One page of the Auswertung. A page gets the escape and the runtime in its constructor, reads
// what it shows from the escape in refresh(), and keeps no count of its own.
class AuswertungPage : public QWidget {
public:
    using QWidget::QWidget;
    virtual QString title() const = 0;           // the tab's caption, German, with & access key if any
    virtual void refresh() = 0;                  // all of it at once: on show, on its tab, before saving
    // The refresh tick's redraw in two halves, a tick apart, so that no one event carries all of
    // a heavy page and a click in the main window waits less. After the first everything the
    // page shows is up to date, but some of its painting may wait for refreshRest(); true then.
    virtual bool refreshFirstHalf() {
        refresh();
        return false;
    }
    virtual void refreshRest() {}
    virtual void applyTextScale(double /*scale*/) {}  // projector view; widget fonts follow the window font, pages scale what does not (chart fonts, painted text)
};
