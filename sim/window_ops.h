#pragma once

#include <array>
#include <string>

#include "platform/number_text.h"
#include "platform/palette.h"
#include "sim/network.h"

namespace wexal {

// The text boxes the simulation reads and writes: Text1(0..7) are the exit counters,
// Text2..Text6 the statistics row.
enum class Box : int { Text2 = network::kBarrierCount, Text3, Text4, Text5, Text6 };
inline constexpr int kBoxCount = static_cast<int>(Box::Text6) + 1;
constexpr Box counterBox(int index) { return static_cast<Box>(index); }
constexpr int boxIndex(Box box) { return static_cast<int>(box); }

// The two option buttons of "Hin-und-her möglich".
enum class Option { Ja /* Option1 */, Nein /* Option2 */ };

using NodeCoordinates = std::array<float, network::kLastNode + 1>;  // picBox units

// Everything the escape needs of its window. The Qt window implements it on its controls;
// HeadlessWindow implements it in memory for tests and batch runs.
class WindowOps {
public:
    virtual ~WindowOps() = default;

    // Places every control for the screen and fills the node coordinates 1..14.
    virtual void layoutWindow(NodeCoordinates& nodeX, NodeCoordinates& nodeY) = 0;

    // Check1(index): 0 not ticked, 1 ticked, 2 greyed.
    virtual int checkValue(int index) const = 0;
    virtual bool optionSelected(Option option) const = 0;
    // Line1(index), the barrier mark on the map.
    virtual void setMarkVisible(int index, bool visible) = 0;

    virtual std::string boxText(Box box) const = 0;
    virtual void setBoxText(Box box, const std::string& text) = 0;
    // The number a box shows, read and written through its text. A window may keep the
    // number itself, as long as the text it shows stays numberToText of it and the number
    // read back is textToNumber of that text.
    virtual double boxNumber(Box box) const { return textToNumber(boxText(box)); }
    virtual void setBoxNumber(Box box, double value) { setBoxText(box, numberToText(value)); }

    virtual Rgb boxColor(Box box) const = 0;
    virtual void setBoxColor(Box box, Rgb color) = 0;

    // The map's pen (pixels) and a straight trace line in map coordinates.
    virtual void setPenWidth(int pixels) = 0;
    virtual void drawLine(float x1, float y1, float x2, float y2) = 0;

    // The robber figure imgBrammler.
    virtual float robberHeight() const = 0;
    virtual void setRobberPosition(float left, float top) = 0;
};

}  // namespace wexal
