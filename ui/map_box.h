// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

namespace wexal {

// The map picBox: a light grey surface with the run-time traces on a canvas of their own, so
// they survive being covered, lie below every control placed on the map, and can be erased
// without touching those controls.
class MapBox final : public QWidget {
    Q_OBJECT

public:
    explicit MapBox(QWidget* parent = nullptr);

    void setPenWidth(int pixels) { penWidth_ = pixels; }
    // A straight line between two points in pixels of this widget.
    void drawLine(QPointF from, QPointF to);
    // Erases everything drawn at run time; the background and the controls stay.
    void cls();
    const QImage& traces() const { return traces_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage traces_;
    int penWidth_ = 1;
};

}  // namespace wexal
