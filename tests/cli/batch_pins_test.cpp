// SPDX-License-Identifier: GPL-3.0-or-later
// Seeded runs pinned to the numbers they gave when recorded: everything wexal-sim prints of a
// run follows from these, so a faster batch loop must reproduce them exactly, on any number of
// threads.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <string>

#include "cli/batch_run.h"

namespace wexal::cli {
namespace {

struct Pin {
    std::uint64_t seed;
    const char* barriers;
    bool turnBack;
    std::int64_t escapes;
    std::array<std::int64_t, network::kBarrierCount> counts;
    std::int64_t succeeded;
    std::int64_t steps;
    std::int64_t stepsSquared;
    std::uint64_t historyDigest;
};

void PrintTo(const Pin& pin, std::ostream* os) {
    *os << "seed " << pin.seed << ", " << pin.barriers << ", " << (pin.turnBack ? "ja" : "nein");
}

// FNV-1a over the stride and every point, byte by byte.
std::uint64_t historyDigest(const ShareHistory& history) {
    std::uint64_t digest = 14695981039346656037ULL;
    auto fold = [&digest](std::int64_t value) {
        for (int shift = 0; shift < 64; shift += 8) {
            digest ^= (static_cast<std::uint64_t>(value) >> shift) & 0xffU;
            digest *= 1099511628211ULL;
        }
    };
    fold(history.stride());
    for (const ShareHistory::Point& p : history.points()) {
        fold(p.escapes);
        fold(p.succeeded);
    }
    return digest;
}

// Seed s runs 1 + 379 s^2 escapes, up to a little over two blocks; odd seeds with the start
// barriers, even ones with their complement, where barrier 5 is off and node 6 bypassed.
// clang-format off
const Pin kPins[] = {
    { 1, "10110101", false,    380, {62, 65, 68, 58, 35, 45, 25, 22}, 125, 887, 2155, 0x351134dc992eef04},
    { 2, "01001010", false,   1517, {259, 235, 249, 254, 230, 0, 151, 139}, 901, 3764, 10138, 0x80fdd18281c2d70f},
    { 3, "10110101", false,   3412, {570, 568, 540, 602, 285, 444, 204, 199}, 1057, 7956, 19308, 0x0ca840b5c68f21de},
    { 4, "01001010", false,   6065, {997, 1075, 1003, 980, 849, 0, 592, 569}, 3549, 15008, 40386, 0xa7236d2aeda599bf},
    { 5, "10110101", false,   9476, {1495, 1597, 1603, 1611, 738, 1366, 518, 548}, 2853, 22122, 53754, 0xbc40303a268d3306},
    { 6, "01001010", false,  13645, {2240, 2320, 2343, 2252, 1911, 0, 1294, 1285}, 8120, 33591, 89707, 0x1befff245f632fa8},
    { 7, "10110101", false,  18572, {3169, 3128, 3128, 3000, 1643, 2524, 969, 1011}, 5740, 43291, 105023, 0x2934ef80fa38cca3},
    { 8, "01001010", false,  24257, {4005, 4055, 4018, 4133, 3325, 0, 2286, 2435}, 14591, 59898, 160624, 0x7937ab6c7d12c8bf},
    { 9, "10110101", false,  30700, {5102, 5132, 5032, 5049, 2561, 4232, 1760, 1832}, 9453, 71785, 174725, 0x47bbb8eabcc3a459},
    {10, "01001010", false,  37901, {6410, 6307, 6301, 6122, 5370, 0, 3686, 3705}, 22538, 93846, 252390, 0x7e986646290d6eab},
    {11, "10110101", false,  45860, {7623, 7611, 7656, 7778, 3856, 6279, 2532, 2525}, 13999, 106912, 259400, 0xd0d77d772ecbd28a},
    {12, "01001010", false,  54577, {9098, 9116, 9046, 9150, 7565, 0, 5257, 5345}, 32639, 134911, 362273, 0x816c3c13e6e5e0cf},
    {13, "10110101", false,  64052, {10651, 10684, 10710, 10727, 5372, 8803, 3645, 3460}, 19701, 149384, 362608, 0x274316ae1040bd9d},
    {14, "01001010", false,  74285, {12276, 12313, 12281, 12450, 10496, 0, 7207, 7262}, 44269, 183819, 493953, 0x1999207a59598951},
    {15, "10110101", false,  85276, {14085, 14129, 14241, 14256, 7056, 11947, 4790, 4772}, 25975, 199117, 483929, 0xe444a68ce3f97e23},
    {16, "01001010", false,  97025, {16178, 16223, 16163, 16175, 13499, 0, 9403, 9384}, 57900, 239865, 644233, 0x9c4095a6cd5c64e9},
    {17, "10110101", false, 109532, {18401, 18315, 18272, 18200, 9114, 15244, 6058, 5928}, 33487, 255408, 619848, 0x08ccb883b2c6c177},
    {18, "01001010", false, 122797, {20718, 20467, 20505, 20340, 17017, 0, 11840, 11910}, 73473, 303374, 814114, 0x678515177275fa44},
    {19, "10110101", false, 136820, {22794, 22719, 22706, 22733, 11473, 19066, 7686, 7643}, 41878, 319508, 776620, 0xff2e03f2b629daae},
    {20, "01001010", false, 151601, {25131, 25425, 25369, 25229, 21005, 0, 14774, 14668}, 90397, 374584, 1005184, 0x512d0e50ebb93be9},
    { 1, "10110101", true,     380, {81, 58, 74, 68, 18, 44, 20, 17}, 96, 1293, 5799, 0xfac0aaf3e402b772},
    { 2, "01001010", true,    1517, {316, 270, 316, 283, 142, 0, 90, 100}, 1015, 5164, 24124, 0x980e4f2ed1b161bb},
    { 3, "10110101", true,    3412, {631, 625, 672, 638, 172, 348, 174, 152}, 971, 11076, 46490, 0x23b9a31473402f82},
    { 4, "01001010", true,    6065, {1229, 1154, 1194, 1156, 516, 0, 403, 413}, 3992, 21109, 102179, 0x336440870769ebb7},
    { 5, "10110101", true,    9476, {1783, 1694, 1707, 1750, 615, 1021, 479, 427}, 2788, 30724, 129738, 0xee568818e2e0fa57},
    { 6, "01001010", true,   13645, {2656, 2510, 2715, 2563, 1233, 0, 959, 1009}, 8943, 47526, 225144, 0xdf9666fd8bb9fe41},
    { 7, "10110101", true,   18572, {3536, 3432, 3508, 3309, 1092, 2037, 828, 830}, 5352, 59691, 247847, 0x4e3b0ed3dd2c5cac},
    { 8, "01001010", true,   24257, {4802, 4660, 4733, 4655, 2100, 0, 1651, 1656}, 15846, 84257, 399313, 0x5ec86cbce9bf4289},
    { 9, "10110101", true,   30700, {5755, 5548, 5782, 5555, 1909, 3265, 1432, 1454}, 8889, 99038, 412864, 0x96c788e19cb2b81e},
    {10, "01001010", true,   37901, {7492, 7095, 7474, 7157, 3446, 0, 2561, 2676}, 24799, 131361, 618709, 0x1a7abc1a31f16aae},
    {11, "10110101", true,   45860, {8438, 8381, 8602, 8381, 2882, 4991, 2060, 2125}, 13323, 147586, 614122, 0x2f7224301a519dc6},
    {12, "01001010", true,   54577, {10466, 10549, 10608, 10562, 4775, 0, 3816, 3801}, 35437, 190232, 903390, 0x6b9a5aeab8915906},
    {13, "10110101", true,   64052, {11917, 11613, 11951, 11797, 4079, 6888, 2850, 2957}, 18542, 205664, 852690, 0x53807f1fe5ff5c04},
    {14, "01001010", true,   74285, {14371, 14086, 14528, 14340, 6724, 0, 5139, 5097}, 48336, 258059, 1221991, 0x3f61989dda0cb9cf},
    {15, "10110101", true,   85276, {16058, 15379, 15932, 15493, 5266, 9148, 3947, 4053}, 24592, 275398, 1150798, 0x5a03474147c9429c},
    {16, "01001010", true,   97025, {19125, 18530, 18891, 18314, 8637, 0, 6751, 6777}, 63107, 336736, 1590658, 0xb09472a4afb78ac8},
    {17, "10110101", true,  109532, {20557, 19988, 20565, 19862, 6896, 11753, 4992, 4919}, 31876, 351374, 1456576, 0x0b4297550bd6785c},
    {18, "01001010", true,  122797, {23850, 23651, 24025, 23326, 10749, 0, 8588, 8608}, 79809, 424941, 1999445, 0x836af6df0c30a5b0},
    {19, "10110101", true,  136820, {25585, 24966, 25601, 24938, 8485, 14623, 6368, 6254}, 39819, 440554, 1833810, 0x2bcb10e5cb40588d},
    {20, "01001010", true,  151601, {29791, 29051, 29057, 28896, 13556, 0, 10591, 10659}, 98403, 527501, 2501683, 0x885477a077dce896},
};
// clang-format on

class PinnedRun : public testing::TestWithParam<Pin> {};

TEST_P(PinnedRun, GivesTheRecordedNumbersOnOneTwoAndThreeThreads) {
    const Pin& pin = GetParam();
    Setting setting;
    for (std::size_t i = 0; i < setting.barriers.size(); ++i)
        setting.barriers[i] = pin.barriers[i] == '1';
    setting.turnBack = pin.turnBack;
    for (int threads : {1, 2, 3}) {
        const BatchResult run = runBatch(setting, pin.escapes, pin.seed, threads);
        EXPECT_EQ(run.escapes, pin.escapes) << threads << " threads";
        EXPECT_EQ(run.counts, pin.counts) << threads << " threads";
        EXPECT_EQ(run.succeeded, pin.succeeded) << threads << " threads";
        EXPECT_EQ(run.failed, pin.escapes - pin.succeeded) << threads << " threads";
        EXPECT_EQ(run.steps, pin.steps) << threads << " threads";
        EXPECT_EQ(run.stepsSquared, pin.stepsSquared) << threads << " threads";
        EXPECT_EQ(historyDigest(run.shareHistory), pin.historyDigest) << threads << " threads";
    }
}

INSTANTIATE_TEST_SUITE_P(Recorded, PinnedRun, testing::ValuesIn(kPins), [](const auto& row) {
    return std::string(row.param.turnBack ? "ja" : "nein") + "_seed" +
           std::to_string(row.param.seed);
});

}  // namespace
}  // namespace wexal::cli
