#include <deque>
#include <map>
#include <random>
#include <set>

#include <gtest/gtest.h>

#include "OrrelithCore/SceneChooser.hpp"

using namespace orrelith;

namespace {

Catalog catalogOf(const std::vector<std::string>& slugs) {
    Catalog catalog;
    for (const auto& slug : slugs) {
        catalog.scenes.push_back(Scene{slug, slug, "", 1, 1, {}});
    }
    return catalog;
}

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

} // namespace

TEST(SceneChooser, DealsEveryPoolSceneOncePerPassWithoutRepeatsAcrossPasses) {
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
                EXPECT_NE(slug, "f");
                dealt.insert(previous = slug);
            }
            EXPECT_EQ(dealt.size(), 5U) << "seed " << seed << " pass " << pass;
        }
        EXPECT_EQ(chooser.showing(), (std::map<std::string, std::string>{{"D", previous}}));
    }
}

TEST(SceneChooser, PassOrdersAreUniform) {
    const auto catalog = catalogOf({"a", "b", "c"});
    std::map<std::string, int> orders;
    for (std::uint64_t seed = 0; seed < 6000; ++seed) {
        auto chooser = seeded(seed);
        std::string order;
        for (int call = 0; call < 3; ++call) {
            order += chooser.next("D", Settings(), catalog, oneDisplay);
        }
        ++orders[order];
    }
    ASSERT_EQ(orders.size(), 6U);
    for (const auto& [order, count] : orders) {
        EXPECT_NEAR(count, 1000, 150) << order;
    }
}

TEST(SceneChooser, DrawsInTheBiasedLowZoneAreDrawnAgain) {
    // 2^64 mod 3 is 1, so a 0 drawn for a choice among three must be discarded.
    const auto dealsWith = [](std::deque<std::uint64_t> draws) {
        SceneChooser chooser([draws]() mutable {
            const auto draw = draws.front();
            draws.pop_front();
            return draw;
        });
        std::string order;
        for (int call = 0; call < 3; ++call) {
            order += chooser.next("D", Settings(), catalogOf({"a", "b", "c"}), oneDisplay);
        }
        return order;
    };
    EXPECT_EQ(dealsWith({0, 4, 1}), dealsWith({4, 1}));
    EXPECT_NE(dealsWith({3, 1}), dealsWith({4, 1}));
}

TEST(SceneChooser, PoolOfOneKeepsGivingItsScene) {
    auto chooser = seeded(7);
    const auto catalog = catalogOf({"a"});
    for (int call = 0; call < 4; ++call) {
        EXPECT_EQ(chooser.next("D", Settings(), catalog, oneDisplay), "a");
    }
}

TEST(SceneChooser, DistinctDisplaysOverTwoScenesKeepTheirOwn) {
    const auto catalog = catalogOf({"a", "b"});
    for (std::uint64_t seed = 0; seed < 50; ++seed) {
        auto chooser = seeded(seed);
        const auto first = chooser.next("D1", distinct(true), catalog, twoDisplays);
        const auto second = chooser.next("D2", distinct(true), catalog, twoDisplays);
        EXPECT_NE(first, second);
        for (int tick = 0; tick < 3; ++tick) {
            EXPECT_EQ(chooser.next("D1", distinct(true), catalog, twoDisplays), first);
            EXPECT_EQ(chooser.next("D2", distinct(true), catalog, twoDisplays), second);
        }
    }
}

TEST(SceneChooser, WithoutDistinctOtherDisplaysScenesAreNotAvoided) {
    const auto catalog = catalogOf({"a", "b"});
    for (bool on : {true, false}) {
        auto chooser = seeded(3);
        const auto first = chooser.next("D1", distinct(on), catalog, twoDisplays);
        const auto second = chooser.next("D2", distinct(on), catalog, twoDisplays);
        // D1 must leave its own scene; the only other one is what D2 shows.
        EXPECT_EQ(chooser.next("D1", distinct(on), catalog, twoDisplays), on ? first : second);
    }
}

TEST(SceneChooser, DistinctDisplaysShareASceneOnlyWhenThePoolLeavesNoOther) {
    auto chooser = seeded(11);
    const auto one = catalogOf({"a"});
    EXPECT_EQ(chooser.next("D1", distinct(true), one, twoDisplays), "a");
    EXPECT_EQ(chooser.next("D2", distinct(true), one, twoDisplays), "a");
    EXPECT_EQ(chooser.next("D2", distinct(true), one, twoDisplays), "a");

    std::set<std::string> thirdDisplayGot;
    for (std::uint64_t seed = 0; seed < 40; ++seed) {
        auto three = seeded(seed);
        const std::set<std::string> active{"D1", "D2", "D3"};
        three.next("D1", distinct(true), catalogOf({"a", "b"}), active);
        three.next("D2", distinct(true), catalogOf({"a", "b"}), active);
        thirdDisplayGot.insert(three.next("D3", distinct(true), catalogOf({"a", "b"}), active));
    }
    EXPECT_EQ(thirdDisplayGot, (std::set<std::string>{"a", "b"}));
}

TEST(SceneChooser, PinsAreHonouredAndAvoidedByShufflers) {
    const auto catalog = catalogOf({"a", "b", "c", "p"});
    Settings settings;
    settings.displays = {{"D1", DisplayMode::fixed("p")}, {"D3", DisplayMode::fixed("gone")}};
    for (std::uint64_t seed = 0; seed < 50; ++seed) {
        auto chooser = seeded(seed);
        const std::set<std::string> active{"D1", "D2", "D3"};
        for (int tick = 0; tick < 8; ++tick) {
            EXPECT_EQ(chooser.next("D1", settings, catalog, active), "p");
            EXPECT_NE(chooser.next("D2", settings, catalog, active), "p") << "seed " << seed;
            EXPECT_NE(chooser.next("D3", settings, catalog, active), "p") << "a pin the catalog lacks shuffles";
        }
    }
}

TEST(SceneChooser, ARestartedDisplayIsComparedWithTheLastDealtScene) {
    const auto catalog = catalogOf({"a", "b"});
    for (std::uint64_t seed = 0; seed < 50; ++seed) {
        auto chooser = seeded(seed);
        chooser.next("D", Settings(), catalog, oneDisplay);
        const auto last = chooser.next("D", Settings(), catalog, oneDisplay);
        chooser.release("D");
        EXPECT_TRUE(chooser.showing().empty());
        EXPECT_NE(chooser.next("D", Settings(), catalog, oneDisplay), last) << "seed " << seed;
    }
}

TEST(SceneChooser, DisplaysThatAreNotRunningDoNotBlockTheirScene) {
    const auto catalog = catalogOf({"a", "b"});
    for (const auto& active : {std::set<std::string>{"D2"}, twoDisplays}) {
        auto chooser = seeded(5);
        const auto first = chooser.next("D1", distinct(true), catalog, active);
        const auto second = chooser.next("D2", distinct(true), catalog, active);
        EXPECT_EQ(chooser.next("D2", distinct(true), catalog, active), active.contains("D1") ? second : first);
    }
}

TEST(SceneChooser, PoolChangesTakeEffectWithoutRestarting) {
    const auto catalog = catalogOf({"a", "b", "c", "d"});
    for (std::uint64_t seed = 0; seed < 50; ++seed) {
        auto chooser = seeded(seed);
        Settings settings;
        settings.shufflePool = std::vector<std::string>{"a", "b", "c"};
        const auto first = chooser.next("D", settings, catalog, oneDisplay);
        settings.shufflePool = std::vector<std::string>{first, "d"};
        // The deck still holds the rest of the old pass; none of it is in the pool any more, so "d" comes next.
        EXPECT_EQ(chooser.next("D", settings, catalog, oneDisplay), "d");
        EXPECT_EQ(chooser.next("D", settings, catalog, oneDisplay), first);
    }
}

TEST(SceneChooser, AnEmptyCatalogGivesNothingAndRecordsNothing) {
    auto chooser = seeded(1);
    EXPECT_EQ(chooser.next("D", Settings(), Catalog(), oneDisplay), "");
    EXPECT_TRUE(chooser.showing().empty());
    EXPECT_EQ(&SceneChooser::shared(), &SceneChooser::shared());
}
