#include "sim/headless_window.h"

#include "sim/network.h"

namespace wexal {

HeadlessWindow::HeadlessWindow(ScreenSize screen) : screen_(screen) {
    texts.fill("0");
    colors.fill(Rgb{255, 255, 255});
    colors[boxIndex(Box::Text2)] = Rgb{192, 255, 192};
}

// The map part of the window's layout: node coordinates and the robber's size follow the
// screen exactly as on the real window.
void HeadlessWindow::layoutWindow(NodeCoordinates& nodeX, NodeCoordinates& nodeY) {
    const double scaleX = screen_.width / 12288.0;
    const double scaleY = screen_.height / 9216.0;
    for (int n = 1; n <= network::kLastNode; ++n) {
        nodeX[n] = static_cast<float>(network::kNodeDesign[n].x * scaleX);
        nodeY[n] = static_cast<float>(network::kNodeDesign[n].y * scaleY);
    }
    robberHeight_ = static_cast<float>(kRobberDesignHeight * scaleY);
    // Until the first step or restart the robber waits at the bank's design place.
    if (!robberPlaced_) {
        robberLeft = static_cast<float>(kRobberDesignLeft * scaleX);
        robberTop = static_cast<float>(kRobberDesignTop * scaleY);
    }
}

void HeadlessWindow::drawLine(float x1, float y1, float x2, float y2) {
    ++linesDrawn;
    if (keepLines) lines.push_back({x1, y1, x2, y2, penWidth});
}

}  // namespace wexal
