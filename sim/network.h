// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>

// The street network of Tremmelin: which streets leave each junction, in which order, which
// places end an escape and which counter box belongs to which exit.
namespace wexal::network {

inline constexpr int kLastNode = 14;      // nodes are 1..14; 0 means "no node"
inline constexpr int kLastJunction = 6;   // nodes 1..6 have a list of streets
inline constexpr int kMaxStreets = 4;     // longest list
inline constexpr int kBarrierCount = 8;   // light barriers, check boxes, marks, counter boxes
inline constexpr int kStartNode = 1;      // the bank

// A value for every node 0..14, indexed by the node itself (entry 0 stands for "no node").
template <class T>
using NodeArray = std::array<T, kLastNode + 1>;

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

// Counter box index -> the exit it counts. Index i also names light barrier i, its check box
// Check1(i) and its mark Line1(i).
inline constexpr std::array<int, kBarrierCount> kExitOfBox = {9, 10, 11, 7, 13, 6, 12, 8};

// Light barrier 5 guards node 6. While it is off, node 6 is no exit and the streets of 4 and 5
// bypass it; every step rewires them after its barrier's state.
inline constexpr int kRewiringBarrier = 5;
inline constexpr int kRewiredNode = kExitOfBox[kRewiringBarrier];

// The lists of 4 and 5 while node 6 is bypassed: only their first entries differ.
struct Rewiring {
    int node;
    StreetList direct;
};
inline constexpr std::array<Rewiring, 2> kBypass = {{{4, {3, {5, 13, 2}}}, {5, {4, {4, 8, 12, 3}}}}};

// Exit node -> counter box index, the inverse of kExitOfBox (entries for non-exits are 0 and
// never read).
inline constexpr NodeArray<int> kBoxOfExit = [] {
    NodeArray<int> box{};
    for (int i = 0; i < kBarrierCount; ++i) box[kExitOfBox[i]] = i;
    return box;
}();
static_assert([] {
    for (int i = 0; i < kBarrierCount; ++i) {
        if (kBoxOfExit[kExitOfBox[i]] != i) return false;  // two boxes for one exit
    }
    return true;
}());

// The lists a junction has under the given wiring of 4 and 5.
constexpr const StreetList& streetsAt(int node, bool throughNode6) {
    if (!throughNode6) {
        for (const Rewiring& r : kBypass) {
            if (r.node == node) return r.direct;
        }
    }
    return kThroughNode6[static_cast<std::size_t>(node)];
}

// Nodes 7..13 end every escape, node 6 only while its light barrier is on.
constexpr bool isExit(int node, bool rewiringBarrierOn) {
    constexpr int kFirstStreetEnd = 7;
    constexpr int kLastStreetEnd = 13;
    return (node >= kFirstStreetEnd && node <= kLastStreetEnd) ||
           (node == kRewiredNode && rewiringBarrierOn);
}

}  // namespace wexal::network
