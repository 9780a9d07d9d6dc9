// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "sim/network.h"

// Where each node of Tremmelin lies on the map, in design units (1/1440 inch) of the map's own
// coordinates on the 12288 x 9216 design screen: x grows to the right, y downwards. The main
// window scales them to its picture box; the Auswertung draws its labelled map from them.
namespace wexal::places {

struct NodePlace {
    double x;
    double y;
};

inline constexpr network::NodeArray<NodePlace> kNodes = {{
    {0, 0},  // no node
    {1920, 1080}, {600, 1080}, {3360, 1080}, {600, 2520}, {3360, 2520}, {1920, 2520},
    {3720, 1080}, {3360, 3540}, {600, 0}, {3360, 0}, {0, 1080}, {3840, 2520},
    {600, 3640}, {3360, 3640},
}};

// The exits in the order a finger follows them around the map, clockwise from the top left:
// 9 and 10 along the top, 7 and 12 down the right, 8, 6 and 13 back along the bottom, 11 on
// the left. Tables, charts, the worksheet and wexal-sim's text list the exits in this order.
inline constexpr std::array<int, network::kBarrierCount> kExitsAroundTheMap = {9, 10, 7, 12, 8, 6, 13, 11};

// The counter boxes in that order: row r of a table shows box kBoxesAroundTheMap[r].
inline constexpr std::array<int, network::kBarrierCount> kBoxesAroundTheMap = [] {
    std::array<int, network::kBarrierCount> boxes{};
    std::size_t r = 0;  // a range-for: cppcheck 2.10 misreads "r < boxes.size()" here as a template
    for (int node : kExitsAroundTheMap) boxes[r++] = network::kBoxOfExit[node];
    return boxes;
}();
static_assert([] {
    std::array<bool, network::kBarrierCount> seen{};
    for (int node : kExitsAroundTheMap) {
        const int box = network::kBoxOfExit[node];
        if (network::kExitOfBox[box] != node || seen[box]) return false;  // not an exit, or twice
        seen[box] = true;
    }
    return true;
}());

}  // namespace wexal::places
