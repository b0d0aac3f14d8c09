#include <deque>
#include <map>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "TestCatalog.hpp"

#include "OrrelithCore/SceneChooser.hpp"

using namespace orrelith;
using orrelith::testing::catalogOf;

namespace {

SceneChooser seeded(std::uint64_t seed) {
    return SceneChooser([engine = std::mt19937_64(seed)]() mutable { return engine(); });
}

Settings distinct(bool on) {
    Settings settings;
    settings.distinctAcrossDisplays = on;
    return settings;
}

const std::set<std::string> oneDisplay{"D"};
const std::set<std::string> twoDisplays{"D1", "D2"};
const Catalog ab = catalogOf({"a", "b"});

} // namespace

TEST(SceneChooser, DealsEveryPoolSceneOncePerPassInUniformOrderWithoutRepeatsAcrossPasses) {
    const auto catalog = catalogOf({"a", "b", "c", "d", "e", "f"});
    Settings settings;
    settings.shufflePool = std::vector<std::string>{"a", "b", "c", "d", "e"};
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        auto chooser = seeded(seed);
        std::string previous;
        for (int pass = 0; pass < 5; ++pass) {
            std::set<std::string> dealt;
            for (int call = 0; call < 5; ++call) {
                const auto slug = chooser.next("D", settings, catalog, oneDisplay);
                EXPECT_NE(slug, previous) << "seed " << seed;
                dealt.insert(previous = slug);
            }
            EXPECT_EQ(dealt,
                      std::set<std::string>(settings.shufflePool->begin(), settings.shufflePool->end()));
        }
        EXPECT_EQ(chooser.showing(), (std::map<std::string, std::string>{{"D", previous}}));
    }

    // Pass orders are uniform: a biased draw is drawn again.
    std::map<std::string, int> orders;
    const auto dealThree = [](SceneChooser chooser) {
        std::string order;
        for (int call = 0; call < 3; ++call)
            order += chooser.next("D", Settings(), catalogOf({"a", "b", "c"}), oneDisplay);
        return order;
    };
    for (std::uint64_t seed = 0; seed < 6000; ++seed)
        ++orders[dealThree(seeded(seed))];
    ASSERT_EQ(orders.size(), 6U);
    for (const auto& [order, count] : orders)
        EXPECT_NEAR(count, 1000, 150) << order;
    // 2^64 mod 3 is 1: a 0 drawn for a choice among three must be discarded, not used.
    const auto scripted = [](std::deque<std::uint64_t> draws) {
        return SceneChooser([draws]() mutable {
            const auto draw = draws.front();
            draws.pop_front();
            return draw;
        });
    };
    EXPECT_EQ(dealThree(scripted({0, 4, 1})), dealThree(scripted({4, 1})));
    EXPECT_NE(dealThree(scripted({3, 1})), dealThree(scripted({4, 1})));
}

TEST(SceneChooser, DistinctDisplaysKeepTheirOwnSceneWhenTheOnlyOtherIsTakenOrShareWhenThePoolLeavesNone) {
    for (std::uint64_t seed = 0; seed < 50; ++seed) {
        auto chooser = seeded(seed);
        const auto first = chooser.next("D1", distinct(true), ab, twoDisplays);
        const auto second = chooser.next("D2", distinct(true), ab, twoDisplays);
        EXPECT_NE(first, second);
        EXPECT_EQ(chooser.next("D1", distinct(true), ab, twoDisplays), first);
        EXPECT_EQ(chooser.next("D2", distinct(true), ab, twoDisplays), second);
    }
    auto withoutDistinct = seeded(3);
    withoutDistinct.next("D1", distinct(false), ab, twoDisplays);
    const auto second = withoutDistinct.next("D2", distinct(false), ab, twoDisplays);
    EXPECT_EQ(withoutDistinct.next("D1", distinct(false), ab, twoDisplays), second);

    // When the pool leaves no free scene, the fallbacks.
    auto chooser = seeded(11);
    const auto one = catalogOf({"a"});
    for (int call = 0; call < 3; ++call) {
        EXPECT_EQ(chooser.next("D1", distinct(true), one, twoDisplays), "a");
        EXPECT_EQ(chooser.next("D2", distinct(true), one, twoDisplays), "a");
    }
    std::set<std::string> thirdDisplayGot;
    const std::set<std::string> three{"D1", "D2", "D3"};
    for (std::uint64_t seed = 0; seed < 40; ++seed) {
        auto dealer = seeded(seed);
        dealer.next("D1", distinct(true), ab, three);
        dealer.next("D2", distinct(true), ab, three);
        thirdDisplayGot.insert(dealer.next("D3", distinct(true), ab, three));
    }
    EXPECT_EQ(thirdDisplayGot, (std::set<std::string>{"a", "b"}));
}

TEST(SceneChooser, PinsAreHonouredAndAvoidedByShufflers) {
    const auto catalog = catalogOf({"a", "b", "c", "p"});
    Settings settings;
    settings.displays = {{"D1", DisplayMode::fixed("p")}, {"D3", DisplayMode::fixed("gone")}};
    const std::set<std::string> active{"D1", "D2", "D3"};
    for (std::uint64_t seed = 0; seed < 50; ++seed) {
        auto chooser = seeded(seed);
        for (int tick = 0; tick < 8; ++tick) {
            EXPECT_EQ(chooser.next("D1", settings, catalog, active), "p");
            EXPECT_NE(chooser.next("D2", settings, catalog, active), "p") << "seed " << seed;
            EXPECT_NE(chooser.next("D3", settings, catalog, active), "p")
                << "a pin the catalog lacks shuffles";
        }
    }
}

TEST(SceneChooser, ARestartedDisplayIsComparedWithTheLastDealtSceneAndOneNotRunningBlocksNothing) {
    for (std::uint64_t seed = 0; seed < 50; ++seed) {
        auto chooser = seeded(seed);
        chooser.next("D", Settings(), ab, oneDisplay);
        const auto last = chooser.next("D", Settings(), ab, oneDisplay);
        chooser.release("D");
        EXPECT_TRUE(chooser.showing().empty());
        EXPECT_NE(chooser.next("D", Settings(), ab, oneDisplay), last) << "seed " << seed;
    }
    // Displays that are not running do not block their scene.
    for (const auto& active : {std::set<std::string>{"D2"}, twoDisplays}) {
        auto chooser = seeded(5);
        const auto first = chooser.next("D1", distinct(true), ab, active);
        const auto second = chooser.next("D2", distinct(true), ab, active);
        EXPECT_EQ(chooser.next("D2", distinct(true), ab, active), active.contains("D1") ? second : first);
    }
}
