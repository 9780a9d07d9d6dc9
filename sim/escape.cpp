#include "sim/escape.h"

#include <algorithm>
#include <cmath>

#include "platform/palette.h"

namespace wexal {

namespace nw = network;

void Escape::formLoad() {
    window_.layoutWindow(state.nodeX, state.nodeY);
    resetTraceCounts();
    readNoReturnFromOptions();
    state.attempts = 0;

    for (int i = 0; i < nw::kBarrierCount; ++i) showBarrier(i);
    window_.setBoxColor(Box::Text5, paletteColor(palette::kYellow));
    window_.setBoxColor(Box::Text6, paletteColor(palette::kYellow));

    for (int n = 1; n <= nw::kLastJunction; ++n) {
        state.exitCount[n] = nw::kThroughNode6[n].count;
        for (int k = 1; k <= state.exitCount[n]; ++k) {
            state.neighbour[n][k] = nw::kThroughNode6[n].to[k - 1];
        }
    }
    state.exitCounter = nw::kExitCounter;
    state.startNode = nw::kStartNode;
    state.currentNode = state.startNode;
}

// Two separate tests, so a greyed box (2) changes neither mark nor colour.
void Escape::showBarrier(int index) {
    if (window_.checkValue(index) == 1) {
        window_.setMarkVisible(index, true);
        window_.setBoxColor(counterBox(index), paletteColor(palette::kYellow));
    }
    if (window_.checkValue(index) == 0) {
        window_.setMarkVisible(index, false);
        window_.setBoxColor(counterBox(index), paletteColor(palette::kWhite));
    }
}

void Escape::resetTraceCounts() {
    for (int a = 1; a <= nw::kLastNode; ++a) {
        for (int b = 1; b <= nw::kLastNode; ++b) state.traceCount[a][b] = 1;
    }
}

void Escape::readNoReturnFromOptions() {
    if (window_.optionSelected(Option::Ja)) state.noReturn = 0;
    if (window_.optionSelected(Option::Nein)) state.noReturn = 1;
}

int Escape::penWidthFor(std::int64_t traceCount) {
    return static_cast<int>(std::clamp<std::int64_t>(traceCount, 1, kMaxPenWidth));
}

// Draws positions in the current node's list until one is admissible: never the node
// itself, and under "nein" never the node the robber just came from.
void Escape::drawChoice() {
    const int here = state.currentNode;
    for (;;) {
        random_.reseedFromClock();
        state.choiceRange = state.exitCount[here] - state.noReturn;
        const float r = random_.nextRandom();
        state.choiceIndex = static_cast<int>(std::floor(static_cast<float>(state.choiceRange) * r)) + 1;
        // A float product can round up to choiceRange itself for r just below 1.
        state.choiceIndex = std::min(state.choiceIndex, state.choiceRange);
        state.candidateNode = state.neighbour[here][state.choiceIndex];
        if (state.candidateNode == here) continue;
        if (window_.optionSelected(Option::Nein) && state.candidateNode == state.previousNode) {
            continue;
        }
        return;
    }
}

void Escape::stepEscape() {
    drawChoice();
    const int from = state.currentNode;
    const int to = state.candidateNode;

    window_.setPenWidth(penWidthFor(state.traceCount[from][to]));
    window_.drawLine(state.nodeX[from] + kTraceOffset, state.nodeY[from] + kTraceOffset,
                     state.nodeX[to] + kTraceOffset, state.nodeY[to] + kTraceOffset);
    ++state.traceCount[from][to];

    state.previousNode = from;
    state.currentNode = to;
    placeRobber();

    // The barrier's state decides this step's end and rewires 4 and 5 for the next step.
    if (window_.checkValue(nw::kBarrier6) == 1) {
        state.escapeOver = nw::isExit(to, true);
        wireLowerStreet(true);
    }
    if (window_.checkValue(nw::kBarrier6) == 0) {
        state.escapeOver = nw::isExit(to, false);
        wireLowerStreet(false);
    }
    if (state.escapeOver) {
        state.currentNode = 0;
        finishEscape();
    }
}

void Escape::wireLowerStreet(bool throughNode6) {
    for (const auto& [node, direct] : nw::kBypassNode6) {
        const nw::StreetList& streets = throughNode6 ? nw::kThroughNode6[node] : direct;
        state.exitCount[node] = streets.count;
        for (int k = 1; k <= streets.count; ++k) state.neighbour[node][k] = streets.to[k - 1];
    }
}

void Escape::placeRobber() {
    const float height = window_.robberHeight();
    window_.setRobberPosition(state.nodeX[state.currentNode],
                              state.nodeY[state.currentNode] - height / kRobberRaiseDivisor);
}

void Escape::restartEscape() {
    readNoReturnFromOptions();
    // Every escape is an independent trial from the bank: the last escape's final junction
    // must not steer the first step of the next one under "nein".
    state.previousNode = 0;
    state.currentNode = state.startNode;
    placeRobber();
}

}  // namespace wexal
