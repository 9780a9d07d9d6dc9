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
    virtual void refresh() = 0;                  // on the refresh tick, when the escape changed, while shown
    virtual void applyTextScale(double /*scale*/) {}  // projector view; widget fonts follow the window font, pages scale what does not (chart fonts, painted text)
};
