// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QLineF>
#include <QWidget>

#include "ui/control_table.h"

namespace wexal {

// A filled rectangle with a border drawn inside its bounds: the blocks of the map.
class ShapeFigure final : public QWidget {
    Q_OBJECT

public:
    ShapeFigure(const controls::ShapeStyle& style, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    controls::ShapeStyle style_;
};

// A straight line between two points of its parent: a light-barrier mark. It occupies the
// line's bounding box and lets clicks through to what lies below.
class LineFigure final : public QWidget {
    Q_OBJECT

public:
    LineFigure(const controls::LineStyle& style, QWidget* parent);
    void setEnds(QPointF from, QPointF to);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
    int width_;
    QLineF ends_;
};

}  // namespace wexal
