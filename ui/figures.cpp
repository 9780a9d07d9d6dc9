// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/figures.h"

#include <QPainter>
#include <QPalette>

#include "ui/colour.h"

namespace wexal {

ShapeFigure::ShapeFigure(const controls::ShapeStyle& style, QWidget* parent)
    : QWidget(parent), style_(style) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeFigure::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    QColor border = palette().color(QPalette::WindowText);
    if (style_.border) border = toQColor(*style_.border);
    if (style_.activeBorder) border = palette().color(QPalette::Active, QPalette::Mid);
    const qreal w = style_.borderWidth;
    const QRectF inside = QRectF(rect()).adjusted(w / 2, w / 2, -w / 2, -w / 2);
    painter.setPen(QPen(border, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(toQColor(style_.fill));
    if (style_.rounded) {
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal radius = std::min(width(), height()) / 6.0;
        painter.drawRoundedRect(inside, radius, radius);
    } else {
        painter.drawRect(inside);
    }
}

LineFigure::LineFigure(const controls::LineStyle& style, QWidget* parent)
    : QWidget(parent), color_(toQColor(style.colour)), width_(style.width) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineFigure::setEnds(QPointF from, QPointF to) {
    ends_ = QLineF(from, to);
    const qreal half = width_ / 2.0 + 1;
    setGeometry(QRectF(from, to).normalized().adjusted(-half, -half, half, half).toAlignedRect());
    update();
}

void LineFigure::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(QPen(color_, width_, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(ends_.translated(-pos()));
}

}  // namespace wexal
