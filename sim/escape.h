#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>

#include "platform/random_source.h"
#include "sim/network.h"
#include "sim/window_ops.h"

namespace wexal {

// Raised when a result of the statistics is invalid, divides by zero or can no longer be
// counted exactly. The boxes written before it keep their new text.
class ArithmeticError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The state of the simulation, under the names the program's documentation uses.
struct EscapeState {
    using NodeTable = std::array<std::array<std::int64_t, network::kLastNode + 1>,
                                 network::kLastNode + 1>;

    int startNode = 0;
    int currentNode = 0;    // 0: no escape running
    int previousNode = 0;   // 0: no node
    int candidateNode = 0;  // node of the last draw; the end node after the final step
    std::int16_t noReturn = 0;  // 1: option "nein", the robber may not turn back
    bool escapeOver = false;
    int choiceRange = 0;
    int choiceIndex = 0;
    std::int64_t attempts = 0;

    std::array<int, network::kLastJunction + 1> exitCount{};
    std::array<std::array<int, network::kMaxStreets + 1>, network::kLastJunction + 1> neighbour{};
    std::array<std::int16_t, network::kLastNode + 1> exitCounter{};
    NodeTable traceCount{};  // 1 + steps from a to b since the traces were cleared; unlimited
    NodeCoordinates nodeX{};
    NodeCoordinates nodeY{};
};

// The escape procedures on one window's state.
class Escape {
public:
    // Where each trace line starts and ends relative to its nodes' coordinates (map units).
    static constexpr float kTraceOffset = 187;
    // The pen never gets wider than this. traceCount stays exact; beyond about 40 pixels a
    // trace already fills the street between two blocks on any usual screen, and very wide
    // pens make every further line costly to draw after tens of thousands of escapes.
    static constexpr int kMaxPenWidth = 64;
    // The robber's figure stands a third of its height above its node.
    static constexpr float kRobberRaiseDivisor = 3;

    Escape(WindowOps& window, RandomSource& random) : window_(window), random_(random) {}

    // The load sequence: layout, network, option and barriers into state and controls,
    // the robber ready at the bank.
    void formLoad();
    void stepEscape();
    void placeRobber();
    void restartEscape();
    void finishEscape();

    // Puts every trace count back to 1 (the traces themselves belong to the window).
    void resetTraceCounts();
    // Light barrier `index` as its check box says: mark shown and counter box yellow when
    // ticked, mark hidden and box white when not.
    void showBarrier(int index);
    // noReturn from the two option buttons: 0 for "ja", 1 for "nein".
    void readNoReturnFromOptions();

    static int penWidthFor(std::int64_t traceCount);

    EscapeState state;

private:
    void wireLowerStreet(bool throughNode6);
    void drawChoice();

    WindowOps& window_;
    RandomSource& random_;
};

}  // namespace wexal
