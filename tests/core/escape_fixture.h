// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/scripted_random.h"
#include "escape_test_access.h"
#include "sim/escape.h"

namespace wexal::test {

// What the escape told its view, one line per event.
class EventLog final : public EscapeObserver {
public:
    void streetTaken(int from, int to, int penWidth) override {
        add("street " + std::to_string(from) + "->" + std::to_string(to) + " pen " + std::to_string(penWidth));
    }
    void robberPlaced(int node) override { add("robber " + std::to_string(node)); }
    void escapeCounted(int exit, bool caught) override {
        add("counted " + std::to_string(exit) + (caught ? " caught" : " succeeded"));
    }
    void countersCleared() override { add("counters cleared"); }
    void tracesCleared() override { add("traces cleared"); }
    void barrierShown(int index, bool on) override {
        add("barrier " + std::to_string(index) + (on ? " on" : " off"));
    }
    std::vector<std::string> take() { return std::exchange(events_, {}); }

private:
    void add(std::string event) { events_.push_back(std::move(event)); }
    std::vector<std::string> events_;
};

// A fresh escape in the start setting, with scripted random numbers and an event log.
class EscapeTest : public testing::Test {
protected:
    EscapeTest() { escape.addObserver(&log); }

    // Runs one step that draws the given positions (each as k of n).
    void stepDrawing(std::vector<float> draws) {
        random.push(std::move(draws));
        escape.singleStep();
        EXPECT_EQ(random.remaining(), 0u) << "the step drew fewer numbers than scripted";
    }
    // The node of the running escape, 0 when none runs.
    int currentNode() const { return escape.isRunning() ? escape.robberNode() : 0; }

    ScriptedRandom random;
    EventLog log;
    Escape escape{random};
};

}  // namespace wexal::test
