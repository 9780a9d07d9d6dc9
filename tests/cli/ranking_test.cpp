// SPDX-License-Identifier: GPL-3.0-or-later
// The ranking of --rank: a case worked out by hand, the ends K = 0 and K = 8, and what must
// hold for every K under both options.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>

#include "cli/ranking.h"

namespace wexal::cli {
namespace {

std::vector<std::string> barriersOf(const Ranking& ranking) {
    std::vector<std::string> texts;
    for (const RankedSetting& entry : ranking.entries) texts.push_back(barriersText(entry.setting));
    return texts;
}

// "nein", one barrier on: the robber is caught exactly when he leaves by that barrier's exit,
// so P(caught) = P(exit of box i) under the wiring of that one setting.
// Barrier 5 off (every i but 5): the lists of 4 and 5 bypass node 6. 1 -> 2 or 3 (1/2 each);
// 2 -> 9, 11, 4 and 3 -> 10, 5, 7 (1/3 each, never straight back); 4 (from 2) -> 5, 13 (1/2);
// 5 (from 3) -> 4, 8, 12 (1/3); 5 (from 4) -> 8, 12 (1/2); 4 (from 5) -> 13 only. So
//   boxes 0..3 (exits 9, 10, 11, 7): 1/2 * 1/3 = 1/6 = 12/72,
//   box 4 (exit 13): 1/2 * 1/3 * 1/2 + 1/2 * 1/3 * 1/3 = 1/12 + 1/18 = 5/36 = 10/72,
//   boxes 6, 7 (exits 12, 8): 1/2 * 1/3 * 1/2 * 1/2 + 1/2 * 1/3 * 1/3 = 1/24 + 1/18 = 7/72.
// Barrier 5 on alone: node 6 is an exit; 4 (from 2) -> 6, 13 and 5 (from 3) -> 6, 8, 12, so
//   box 5 (exit 6): 1/2 * 1/3 * 1/2 + 1/2 * 1/3 * 1/3 = 5/36 = 10/72.
// Barriers 0..3 win together with 1/6; the lowest, barrier 0, is first. Barrier 4 ties with 5
// at 5/36 only because switching 5 off sends 4's robbers from 5 to 13: with 5 on, exit 13
// gets just 1/12.
TEST(Ranking, OneBarrierUnderNeinAsWorkedOutByHand) {
    const Ranking ranking = rankSettings(1, false);
    EXPECT_EQ(ranking.barriersOn, 1);
    EXPECT_FALSE(ranking.turnBack);
    const std::vector<std::string> order{"10000000", "01000000", "00100000", "00010000",
                                         "00001000", "00000100", "00000010", "00000001"};
    const std::array<const char*, 8> caught{"1/6",  "1/6",  "1/6",  "1/6",
                                            "5/36", "5/36", "7/72", "7/72"};
    ASSERT_EQ(barriersOf(ranking), order);
    for (std::size_t r = 0; r < order.size(); ++r) {
        EXPECT_EQ(ranking.entries[r].caught, mpq_class(caught[r])) << order[r];
        EXPECT_EQ(ranking.entries[r].escaped, 1 - mpq_class(caught[r])) << order[r];
        EXPECT_FALSE(ranking.entries[r].setting.turnBack);
    }
}

struct End {
    int barriersOn;
    const char* barriers;
    const char* caught;
};

TEST(Ranking, NoBarrierAndEveryBarrierAreOneSettingEach) {
    for (bool turnBack : {false, true}) {
        for (const End& end : {End{0, "00000000", "0"}, End{8, "11111111", "1"}}) {
            const Ranking ranking = rankSettings(end.barriersOn, turnBack);
            ASSERT_EQ(ranking.entries.size(), 1u) << end.barriersOn;
            EXPECT_EQ(barriersText(ranking.entries[0].setting), end.barriers);
            EXPECT_EQ(ranking.entries[0].setting.turnBack, turnBack);
            EXPECT_EQ(ranking.entries[0].caught, mpq_class(end.caught));
            EXPECT_EQ(ranking.entries[0].escaped, 1 - mpq_class(end.caught));
        }
    }
}

// Every setting with K barriers once, the most caught first, equal chances as 0/1 texts in
// descending order, and caught and escaped together certain.
TEST(Ranking, EveryKListsEachSettingOnceInOrder) {
    constexpr std::array<std::size_t, 9> kChoose{1, 8, 28, 56, 70, 56, 28, 8, 1};
    for (bool turnBack : {false, true}) {
        for (int k = 0; k <= 8; ++k) {
            SCOPED_TRACE(std::to_string(k) + (turnBack ? " ja" : " nein"));
            const Ranking ranking = rankSettings(k, turnBack);
            const std::vector<std::string> texts = barriersOf(ranking);
            EXPECT_EQ(texts.size(), kChoose[static_cast<std::size_t>(k)]);
            EXPECT_EQ(std::set<std::string>(texts.begin(), texts.end()).size(), texts.size());
            for (std::size_t r = 0; r < texts.size(); ++r) {
                EXPECT_EQ(std::count(texts[r].begin(), texts[r].end(), '1'), k) << texts[r];
                EXPECT_EQ(ranking.entries[r].caught + ranking.entries[r].escaped, 1) << texts[r];
                if (r == 0) continue;
                const mpq_class& before = ranking.entries[r - 1].caught;
                EXPECT_GE(before, ranking.entries[r].caught) << texts[r];
                if (before == ranking.entries[r].caught) {
                    EXPECT_GT(texts[r - 1], texts[r]);
                }
            }
        }
    }
}

}  // namespace
}  // namespace wexal::cli
