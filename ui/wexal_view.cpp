// SPDX-License-Identifier: GPL-3.0-or-later
// The window as the escape's view: the layout pass, and the escape's news rendered into the
// map, the robber figure, the barrier marks and the boxes.
#include <QLabel>
#include <QLineEdit>

#include "platform/number_text.h"
#include "ui/colour.h"
#include "ui/figures.h"
#include "ui/layout.h"
#include "ui/map_box.h"
#include "ui/wexal.h"

namespace wexal {

namespace {

using controls::kTraceOffset;
// The robber's figure stands a third of its height above its node.
constexpr float kRobberRaiseDivisor = 3;

// A text longer than its box shows its beginning, as a fresh box does.
void setBoxText(QLineEdit* box, const QString& text) {
    box->setText(text);
    box->setCursorPosition(0);
}

QString numberText(std::int64_t value) {
    return QString::fromStdString(numberToText(static_cast<double>(value)));
}

}  // namespace

QPoint Wexal::toDevice(double left, double top) const {
    return {layout::toPixels(left, logicalDpiX()), layout::toPixels(top, logicalDpiY())};
}

QPointF Wexal::nodePlace(int node) const {
    const auto n = static_cast<std::size_t>(node);
    return {nodeX_.at(n), nodeY_.at(n)};
}

// Sets every position, size and table font size for the screen and the node places. It never
// reads or changes the window's own size.
void Wexal::layoutWindow() {
    const layout::Pass pass = layout::computePass(runtime_.screenSize());
    for (const layout::Placement& p : pass.controls) {
        QWidget* w = control(p.id);
        const QPoint topLeft = toDevice(p.left, p.top);
        if (p.width && p.height) {
            const QPoint size = toDevice(*p.width, *p.height);
            w->setGeometry(topLeft.x(), topLeft.y(), size.x(), size.y());
        } else {
            w->move(topLeft);
        }
        if (p.fontSize) {
            QFont font = w->font();
            font.setPointSizeF(*p.fontSize);
            w->setFont(font);
        }
        if (w == imgBrammler_) {
            robberSize_ = QSizeF(*p.width, *p.height);
            robberDesignPlace_ = QPointF(p.left, p.top);
        }
    }
    for (std::size_t i = 0; i < line1_.size(); ++i) {
        const layout::MarkPlacement& m = pass.marks[i];
        line1_[i]->setEnds(toDevice(m.x1, m.y1), toDevice(m.x2, m.y2));
    }
    for (std::size_t n = 1; n < nodeX_.size(); ++n) {
        nodeX_[n] = pass.nodeX[n];
        nodeY_[n] = pass.nodeY[n];
    }
    moveRobber();
}

// Before the first step the robber waits at the bank's design place; afterwards it stays
// where the escape last put it, whatever the layout does.
void Wexal::moveRobber() {
    const QPointF place = robberPlaced_ ? robberPlace_ : robberDesignPlace_;
    imgBrammler_->move(toDevice(place.x(), place.y()));
}

void Wexal::streetTaken(int from, int to, int penWidth) {
    const auto a = static_cast<std::size_t>(from);
    const auto b = static_cast<std::size_t>(to);
    picBox_->setPenWidth(penWidth);
    picBox_->drawLine(toDevice(nodeX_[a] + kTraceOffset, nodeY_[a] + kTraceOffset),
                      toDevice(nodeX_[b] + kTraceOffset, nodeY_[b] + kTraceOffset));
}

// The figure's left edge on the node, its top a third of its height above it.
void Wexal::robberPlaced(int node) {
    const auto n = static_cast<std::size_t>(node);
    const auto height = static_cast<float>(robberSize_.height());
    robberPlace_ = QPointF(nodeX_[n], nodeY_[n] - height / kRobberRaiseDivisor);
    robberPlaced_ = true;
    moveRobber();
}

// A counter box that has not counted since the last clearing keeps the text "0" without the
// blank that numbers get.
void Wexal::showCounts() {
    if (!countsStale_) return;
    countsStale_ = false;
    setBoxText(attemptsBox_, numberText(escape_.attempts()));
    for (int i = 0; i < network::kBarrierCount; ++i) {
        const std::int64_t count = escape_.exitCount(i);
        setBoxText(text1_[static_cast<std::size_t>(i)], count == 0 ? QStringLiteral("0") : numberText(count));
    }
    const Statistics& s = escape_.statistics();
    setBoxText(failedBox_, numberText(s.failed));
    setBoxText(succeededBox_, numberText(s.succeeded));
    setBoxText(succeededPercentBox_, QString::fromStdString(numberToText(s.succeededPercent)));
    setBoxText(failedPercentBox_, QString::fromStdString(numberToText(s.failedPercent)));
}

// The attempts box shows the number 0, the others their design text.
void Wexal::countersCleared() {
    countsStale_ = false;
    setBoxText(attemptsBox_, numberText(0));
    for (QLineEdit* box : text1_) setBoxText(box, QStringLiteral("0"));
    for (QLineEdit* box : {succeededBox_, succeededPercentBox_, failedBox_, failedPercentBox_}) {
        setBoxText(box, QStringLiteral("0"));
    }
}

void Wexal::tracesCleared() { picBox_->cls(); }

// The mark on the map, and the counter box yellow while its exit is guarded.
void Wexal::barrierShown(int index, bool on) {
    const auto i = static_cast<std::size_t>(index);
    line1_.at(i)->setVisible(on);
    QPalette palette = text1_.at(i)->palette();
    palette.setColor(QPalette::Base, toQColor(paletteColor(on ? palette::kYellow : palette::kWhite)));
    text1_[i]->setPalette(palette);
}

}  // namespace wexal
