#pragma once

#include <gtest/gtest.h>

#include "core/scripted_random.h"
#include "platform/palette.h"
#include "sim/escape.h"
#include "sim/headless_window.h"

namespace wexal::test {

inline const Rgb kYellow{255, 255, 0};
inline const Rgb kWhite{255, 255, 255};

// A freshly loaded program on the headless window, with scripted random numbers.
class EscapeTest : public testing::Test {
protected:
    void SetUp() override { escape.formLoad(); }

    // Runs one step that draws the given positions (each as k of n).
    void stepDrawing(std::vector<float> draws) {
        random.push(std::move(draws));
        escape.stepEscape();
        EXPECT_EQ(random.remaining(), 0u) << "the step drew fewer numbers than scripted";
    }

    EscapeState& s() { return escape.state; }
    std::string text(Box box) const { return window.boxText(box); }

    HeadlessWindow window;
    ScriptedRandom random;
    Escape escape{window, random};
};

}  // namespace wexal::test
