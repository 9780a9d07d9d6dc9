#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The street network of Tremmelin: which streets leave each junction, in which order, which
// places end an escape and which counter box belongs to which exit.
namespace wexal::network {

inline constexpr int kLastNode = 14;      // nodes are 1..14; 0 means "no node"
inline constexpr int kLastJunction = 6;   // nodes 1..6 have a list of streets
inline constexpr int kMaxStreets = 4;     // longest list
inline constexpr int kBarrierCount = 8;   // light barriers, check boxes, marks, counter boxes
inline constexpr int kBarrier6 = 5;       // the light barrier on node 6, which rewires 4 and 5
inline constexpr int kStartNode = 1;      // the bank

// One junction's list of streets. The last entry leads back toward the bank (or is the node
// itself for 1 and 6); an entry equal to its own node never moves the robber.
struct StreetList {
    int count;
    std::array<int, kMaxStreets> to;
};

// The wiring through node 6, as at start-up.
inline constexpr std::array<StreetList, kLastJunction + 1> kThroughNode6 = {{
    {0, {}},
    {3, {2, 3, 1}},
    {4, {9, 11, 4, 1}},
    {4, {10, 5, 7, 1}},
    {3, {6, 13, 2}},
    {4, {6, 8, 12, 3}},
    {3, {4, 5, 6}},
}};

// With barrier 5 off node 6 is bypassed: only the first entries of 4 and 5 differ.
inline constexpr StreetList kDirect4 = {3, {5, 13, 2}};
inline constexpr StreetList kDirect5 = {4, {4, 8, 12, 3}};
// The junctions whose lists barrier 5 switches, with their lists while node 6 is bypassed.
struct Rewiring {
    int node;
    StreetList direct;
};
inline constexpr std::array<Rewiring, 2> kBypassNode6 = {{{4, kDirect4}, {5, kDirect5}}};

// Exit node -> counter box index (entries for non-exits are never read).
inline constexpr std::array<std::int16_t, kLastNode + 1> kExitCounter = {
    0, 0, 0, 0, 0, 0,  // 0..5: no exits
    5,                 // 6: light barrier 5's place
    3, 7, 0, 1, 2, 6, 4,
    0,                 // 14: never reached
};

// Counter box index -> its exit node (the inverse of kExitCounter).
inline constexpr std::array<int, kBarrierCount> kExitOfBox = {9, 10, 11, 7, 13, 6, 12, 8};

inline constexpr int kFirstStreetEnd = 7;   // nodes 7..13 end every escape
inline constexpr int kLastStreetEnd = 13;
inline constexpr int kBarrier5Node = 6;     // ends an escape while light barrier 5 is on

constexpr bool isExit(int node, bool barrier5On) {
    return (node >= kFirstStreetEnd && node <= kLastStreetEnd) ||
           (node == kBarrier5Node && barrier5On);
}

// Where each node lies on the map, in 1/1440 inch on the design screen (12288 x 9216).
struct MapPoint {
    double x;
    double y;
};
inline constexpr std::array<MapPoint, kLastNode + 1> kNodeDesign = {{
    {0, 0},  // unused
    {1920, 1080}, {600, 1080}, {3360, 1080}, {600, 2520}, {3360, 2520}, {1920, 2520},
    {3720, 1080}, {3360, 3540}, {600, 0}, {3360, 0}, {0, 1080}, {3840, 2520},
    {600, 3640}, {3360, 3640},
}};

// The nodes' places for a screen: design x times scaleX, design y times scaleY. Entry 0
// is left alone.
using NodePlaces = std::array<float, kNodeDesign.size()>;
inline void scaleNodes(double scaleX, double scaleY, NodePlaces& nodeX, NodePlaces& nodeY) {
    for (std::size_t n = 1; n < kNodeDesign.size(); ++n) {
        nodeX[n] = static_cast<float>(kNodeDesign[n].x * scaleX);
        nodeY[n] = static_cast<float>(kNodeDesign[n].y * scaleY);
    }
}

}  // namespace wexal::network
