#include "sim/headless_window.h"

#include "platform/number_text.h"
#include "sim/network.h"

namespace wexal {

HeadlessWindow::HeadlessWindow(ScreenSize screen) : screen_(screen) {
    colors.fill(paletteColor(palette::kWhite));
    colors[boxIndex(Box::Text2)] = kStatsGreen;
}

// The map part of the window's layout: node coordinates and the robber's size follow the
// screen exactly as on the real window.
void HeadlessWindow::layoutWindow(NodeCoordinates& nodeX, NodeCoordinates& nodeY) {
    const double scaleX = screen_.width / kDesignScreen.width;
    const double scaleY = screen_.height / kDesignScreen.height;
    network::scaleNodes(scaleX, scaleY, nodeX, nodeY);
    robberHeight_ = static_cast<float>(kRobberDesignHeight * scaleY);
    // Until the first step or restart the robber waits at the bank's design place.
    if (!robberPlaced_) {
        robberLeft = static_cast<float>(kRobberDesignLeft * scaleX);
        robberTop = static_cast<float>(kRobberDesignTop * scaleY);
    }
}

std::string HeadlessWindow::boxText(Box box) const {
    BoxContent& content = boxes_.at(boxIndex(box));
    if (!content.textIsCurrent) {
        content.text = numberToText(content.number);
        content.textIsCurrent = true;
    }
    return content.text;
}

void HeadlessWindow::setBoxText(Box box, const std::string& text) {
    boxes_.at(boxIndex(box)) = {text, 0, true};
}

void HeadlessWindow::setBoxNumber(Box box, double value) {
    boxes_.at(boxIndex(box)) = {{}, value, false};
}

// The kept number is what its text reads back as whenever the text holds it exactly.
// Anything else goes the long way through the text.
double HeadlessWindow::boxNumber(Box box) const {
    const BoxContent& content = boxes_.at(boxIndex(box));
    if (!content.textIsCurrent && isWrittenExactly(content.number)) return content.number;
    return textToNumber(boxText(box));
}

void HeadlessWindow::drawLine(float x1, float y1, float x2, float y2) {
    ++linesDrawn;
    if (keepLines) lines.push_back({x1, y1, x2, y2, penWidth});
}

}  // namespace wexal
