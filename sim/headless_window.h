#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/runtime.h"
#include "sim/window_ops.h"

namespace wexal {

// The window's controls held in memory: what a test or a batch run needs to drive escapes and
// read their results without a display. Its controls start as the real window's do.
class HeadlessWindow final : public WindowOps {
public:
    struct Line {
        float x1, y1, x2, y2;
        int penWidth;
    };
    // imgBrammler's design height (1/1440 inch) on the design screen.
    static constexpr float kRobberDesignLeft = 1920;
    static constexpr float kRobberDesignTop = 840;
    static constexpr float kRobberDesignHeight = 612;

    explicit HeadlessWindow(ScreenSize screen = kDesignScreen);

    void layoutWindow(NodeCoordinates& nodeX, NodeCoordinates& nodeY) override;
    int checkValue(int index) const override { return checks.at(index); }
    bool optionSelected(Option option) const override {
        return option == Option::Ja ? optionJa : !optionJa;
    }
    void setMarkVisible(int index, bool visible) override { markVisible.at(index) = visible; }
    std::string boxText(Box box) const override;
    void setBoxText(Box box, const std::string& text) override;
    double boxNumber(Box box) const override;
    void setBoxNumber(Box box, double value) override;
    Rgb boxColor(Box box) const override { return colors.at(boxIndex(box)); }
    void setBoxColor(Box box, Rgb color) override { colors.at(boxIndex(box)) = color; }
    void setPenWidth(int pixels) override { penWidth = pixels; }
    void drawLine(float x1, float y1, float x2, float y2) override;
    float robberHeight() const override { return robberHeight_; }
    void setRobberPosition(float left, float top) override {
        robberLeft = left;
        robberTop = top;
        robberPlaced_ = true;
    }

    // Erases the drawn traces (the map's background stays).
    void clearLines() { lines.clear(); }

    // The controls, as the program's start-up finds them: barriers 0, 2, 3, 5, 7 on, "nein".
    std::array<int, network::kBarrierCount> checks{1, 0, 1, 1, 0, 1, 0, 1};
    bool optionJa = false;  // one of the two options is always selected
    std::array<bool, network::kBarrierCount> markVisible{};
    std::array<Rgb, kBoxCount> colors{};
    int penWidth = 1;
    std::vector<Line> lines;
    bool keepLines = true;      // batch runs switch this off to keep memory flat
    std::size_t linesDrawn = 0;
    float robberLeft = 0;
    float robberTop = 0;

private:
    // A box keeps the number it was last given and writes its text only when the text is
    // read: batch runs finish millions of escapes and read the boxes once.
    struct BoxContent {
        std::string text = "0";
        double number = 0;
        bool textIsCurrent = true;
    };
    mutable std::array<BoxContent, kBoxCount> boxes_{};
    ScreenSize screen_;
    float robberHeight_ = kRobberDesignHeight;
    bool robberPlaced_ = false;
};

}  // namespace wexal
