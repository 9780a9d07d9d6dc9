// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/map_box.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

namespace wexal {

MapBox::MapBox(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void MapBox::drawLine(QPointF from, QPointF to) {
    if (traces_.isNull()) return;
    QPainter painter(&traces_);
    painter.setPen(QPen(Qt::black, penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(from, to);
    // Only the line's neighbourhood needs repainting; several updates coalesce into one paint.
    const qreal margin = penWidth_ / 2.0 + 2;
    update(QRectF(from, to).normalized().adjusted(-margin, -margin, margin, margin).toAlignedRect());
}

void MapBox::cls() {
    traces_.fill(Qt::transparent);
    update();
}

void MapBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), traces_, event->rect());
}

// A new size keeps what was drawn so far; the layout only changes it with the screen.
void MapBox::resizeEvent(QResizeEvent* event) {
    if (traces_.size() == event->size()) return;
    QImage grown(event->size(), QImage::Format_ARGB32_Premultiplied);
    grown.fill(Qt::transparent);
    if (!traces_.isNull()) QPainter(&grown).drawImage(0, 0, traces_);
    traces_ = std::move(grown);
}

}  // namespace wexal
