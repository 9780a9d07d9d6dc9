// The escape's operations on the real controls, and the layout pass.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "ui/figures.h"
#include "ui/layout.h"
#include "ui/map_box.h"
#include "ui/wexal.h"

namespace wexal {

QPoint Wexal::toDevice(double left, double top) const {
    return {layout::toPixels(left, logicalDpiX()), layout::toPixels(top, logicalDpiY())};
}

// Sets every position, size and table font size for the screen and fills the node
// coordinates. It never reads or changes the window's own size.
void Wexal::layoutWindow(NodeCoordinates& nodeX, NodeCoordinates& nodeY) {
    const layout::Pass pass = layout::computePass(runtime_.screenSize());
    for (const layout::Placement& p : pass.controls) {
        QWidget* w = control(QString::fromStdString(p.name));
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
    for (int i = 0; i < network::kBarrierCount; ++i) {
        const layout::MarkPlacement& m = pass.marks[i];
        line1_[i]->setEnds(toDevice(m.x1, m.y1), toDevice(m.x2, m.y2));
    }
    for (int n = 1; n <= network::kLastNode; ++n) {
        nodeX[n] = pass.nodeX[n];
        nodeY[n] = pass.nodeY[n];
    }
    moveRobber();
}

// Before the first step the robber waits at the bank's design place; afterwards it stays
// where the escape last put it, whatever the layout does.
void Wexal::moveRobber() {
    const QPointF place = robberPlaced_ ? robberPlace_ : robberDesignPlace_;
    imgBrammler_->move(toDevice(place.x(), place.y()));
}

void Wexal::setRobberPosition(float left, float top) {
    robberPlace_ = QPointF(left, top);
    robberPlaced_ = true;
    moveRobber();
}

int Wexal::checkValue(int index) const {
    switch (check1_.at(index)->checkState()) {
        case Qt::Unchecked: return 0;
        case Qt::Checked: return 1;
        case Qt::PartiallyChecked: return 2;
    }
    return 0;
}

bool Wexal::optionSelected(Option option) const {
    return (option == Option::Ja ? option1_ : option2_)->isChecked();
}

void Wexal::setMarkVisible(int index, bool visible) { line1_.at(index)->setVisible(visible); }

std::string Wexal::boxText(Box box) const { return boxes_.at(boxIndex(box))->text().toStdString(); }

// A text longer than its box shows its beginning, as a fresh box does.
void Wexal::setBoxText(Box box, const std::string& text) {
    QLineEdit* edit = boxes_.at(boxIndex(box));
    edit->setText(QString::fromStdString(text));
    edit->setCursorPosition(0);
}

Rgb Wexal::boxColor(Box box) const {
    const QColor c = boxes_.at(boxIndex(box))->palette().color(QPalette::Base);
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

void Wexal::setBoxColor(Box box, Rgb color) {
    QLineEdit* edit = boxes_.at(boxIndex(box));
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, QColor(color.r, color.g, color.b));
    edit->setPalette(palette);
}

void Wexal::setPenWidth(int pixels) { picBox_->setPenWidth(pixels); }

void Wexal::drawLine(float x1, float y1, float x2, float y2) {
    picBox_->drawLine(toDevice(x1, y1), toDevice(x2, y2));
}

}  // namespace wexal
