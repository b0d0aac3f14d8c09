#include "Saver/OptionsSheet/OptionsModel.hpp"

#include <gtest/gtest.h>

using namespace orrelith;

namespace {

// Scenes "a".."e": a and b in generation 1, c and d in 2, e in 3.
Catalog fiveScenes() {
    Catalog catalog;
    const std::pair<const char*, int> scenes[] = {{"a", 1}, {"b", 1}, {"c", 2}, {"d", 2}, {"e", 3}};
    for (auto [slug, generation] : scenes)
        catalog.scenes.push_back(Scene{slug, slug, "", 1, generation, {}});
    return catalog;
}

Catalog numberedScenes(int count) {
    Catalog catalog;
    for (int i = 0; i < count; ++i)
        catalog.scenes.push_back(Scene{"s" + std::to_string(i), "", "", 1, 1, {}});
    return catalog;
}

DisplayInfo display(std::string id, double x, double y) {
    return {std::move(id), "Screen " + std::to_string(int(x)), platform::Rect::make(x, y, 100, 100)};
}

OptionsModel modelWithPool(std::optional<std::vector<std::string>> pool) {
    Settings settings;
    settings.shufflePool = std::move(pool);
    return OptionsModel(fiveScenes(), settings, {display("MAIN", 0, 0)});
}

using Pool = std::optional<std::vector<std::string>>;

} // namespace

TEST(OptionsModel, SelectsTheDisplayAtTheOriginElseTheFirstElseNoneWhereAPinStillShufflesAndSavesDisplayNames) {
    EXPECT_EQ(OptionsModel({}, {}, {display("LEFT", -100, 0), display("MAIN", 0, 0)}).selected(), "MAIN");
    EXPECT_EQ(OptionsModel({}, {}, {display("ONE", 100, 0), display("TWO", 200, 0)}).selected(), "ONE");
    OptionsModel none({}, {}, {});
    EXPECT_EQ(none.selected(), "");
    EXPECT_EQ(none.selectedDisplay(), nullptr);
    // Pinning with an empty catalog stores the empty slug and still shuffles.
    none.setShuffle(false);
    EXPECT_EQ(none.settings().displays.at(""), DisplayMode::fixed(""));
    EXPECT_TRUE(none.isShuffle());
    EXPECT_EQ(none.pinned(), std::nullopt);

    // Saving records the names of the attached displays.
    Settings settings;
    settings.displayNames = {{"GONE", "Old Screen"}, {"MAIN", "Renamed"}};
    OptionsModel model(fiveScenes(), settings, {display("MAIN", 0, 0), display("SIDE", 100, 0)});
    auto saved = model.settingsToSave();
    EXPECT_EQ(saved.displayNames, (std::map<std::string, std::string>{
                                      {"GONE", "Old Screen"}, {"MAIN", "Screen 0"}, {"SIDE", "Screen 100"}}));
    saved.displayNames = settings.displayNames;
    EXPECT_EQ(saved, settings) << "nothing else changes";
}

TEST(OptionsModel, ShuffleAndBackRestoresThePinnedSceneElseTheFirst) {
    OptionsModel model(fiveScenes(), {}, {display("MAIN", 0, 0), display("SIDE", 100, 0)});
    EXPECT_TRUE(model.isShuffle());
    model.setShuffle(false);
    EXPECT_EQ(model.pinned(), "a");
    model.pin("d");
    model.setShuffle(true);
    EXPECT_EQ(model.settings().displays.at("MAIN"), DisplayMode::shuffle());
    model.setSelected("SIDE");
    model.setShuffle(false);
    EXPECT_EQ(model.pinned(), "a") << "another display's remembered scene is not used";
    model.setSelected("MAIN");
    model.setShuffle(false);
    EXPECT_EQ(model.pinned(), "d");
    EXPECT_EQ(model.settings().displays.at("SIDE"), DisplayMode::fixed("a"));
}

TEST(OptionsModel, PoolEditsFollowTheRules) {
    struct Case {
        const char* name;
        Pool before;
        std::function<void(OptionsModel&)> edit;
        Pool after;
        const char* summary;
    };
    const Case cases[] = {
        {"the last scene stays", Pool{{"c"}}, [](auto& m) { m.togglePool("c"); }, Pool{{"c"}}, "1 of 5 screens"},
        {"removing from all lists the rest", {}, [](auto& m) { m.togglePool("b"); }, Pool{{"a", "c", "d", "e"}},
         "4 of 5 screens"},
        {"adding the last missing means all", Pool{{"a", "b", "c", "e"}}, [](auto& m) { m.togglePool("d"); }, {},
         "All 5 screens"},
        {"added in catalog order", Pool{{"e"}}, [](auto& m) { m.togglePool("a"); }, Pool{{"a", "e"}}, "2 of 5 screens"},
        {"a whole pool removed keeps the first", Pool{{"c", "d"}}, [](auto& m) { m.setPool(2, false); }, Pool{{"a"}},
         "1 of 5 screens"},
        {"a generation added", Pool{{"e"}}, [](auto& m) { m.setPool(1, true); }, Pool{{"a", "b", "e"}},
         "3 of 5 screens"},
        {"a generation removed", {}, [](auto& m) { m.setPool(1, false); }, Pool{{"c", "d", "e"}}, "3 of 5 screens"},
        {"select all", Pool{{"b"}}, [](auto& m) { m.setPool(std::nullopt, true); }, {}, "All 5 screens"},
        {"remove all", {}, [](auto& m) { m.setPool(std::nullopt, false); }, Pool{{"a"}}, "1 of 5 screens"},
        {"an unknown generation changes nothing", Pool{{"b"}}, [](auto& m) { m.setPool(9, true); }, Pool{{"b"}},
         "1 of 5 screens"},
    };
    for (const auto& c : cases) {
        auto model = modelWithPool(c.before);
        c.edit(model);
        EXPECT_EQ(model.settings().shufflePool, c.after) << c.name;
        EXPECT_EQ(model.poolSummary(), c.summary) << c.name;
    }
    EXPECT_EQ(OptionsModel(numberedScenes(1), {}, {}).poolSummary(), "All 1 screens");
}

TEST(OptionsModel, MosaicHashesTheKeyByUnicodeScalar) {
    OptionsModel ten(numberedScenes(10), {}, {});
    // "A" is 65: cells 5, 2, 9, 6.
    EXPECT_EQ(ten.mosaic("A"), (std::vector<std::string>{"s5", "s2", "s9", "s6"}));
    EXPECT_EQ(ten.mosaic(""), (std::vector<std::string>{"s0", "s7", "s4", "s1"}));
    // "é" is one scalar, 233, not the two bytes of its encoding.
    EXPECT_EQ(OptionsModel(numberedScenes(256), {}, {}).mosaic("\xC3\xA9").front(), "s233");
    // The hash is reduced at every step, so a long key does not overflow into another result.
    auto key = std::string(40, 'Z');
    std::uint32_t hash = 0;
    for (char c : key)
        hash = (hash * 31 + std::uint32_t(c)) % 65536;
    EXPECT_EQ(OptionsModel(numberedScenes(1000), {}, {}).mosaic(key).front(), "s" + std::to_string(hash % 1000));

    auto one = modelWithPool(Pool{{"c"}});
    EXPECT_EQ(one.mosaic("MAIN"), (std::vector<std::string>(4, "c")));
    EXPECT_TRUE(OptionsModel({}, {}, {}).mosaic("MAIN").empty());
}

TEST(OptionsModel, ObserversHearEachChangeOnceAndMayRemoveOneAnotherWhileNotified) {
    OptionsModel model(fiveScenes(), {}, {display("MAIN", 0, 0), display("SIDE", 100, 0)});
    std::vector<OptionsChange> heard;
    auto id = model.addObserver([&](OptionsChange change) { heard.push_back(change); });
    model.setSelected("SIDE");
    model.setSelected("SIDE");
    model.setChoosingPool(true);
    model.pin("b");
    model.pin("b");
    model.togglePool("a");
    EXPECT_EQ(heard, (std::vector{OptionsChange::selected, OptionsChange::choosingPool, OptionsChange::settings,
                                  OptionsChange::settings}));

    auto copy = model;
    copy.setChoosingPool(false);
    EXPECT_EQ(heard.size(), 4U) << "a copy calls no observer of the original";

    model.removeObserver(id);
    model.setChoosingPool(false);
    EXPECT_EQ(heard.size(), 4U);

    int laterCalls = 0;
    OptionsModel::ObserverID later = 0;
    model.addObserver([&](OptionsChange) { model.removeObserver(later); });
    later = model.addObserver([&](OptionsChange) { ++laterCalls; });
    model.setChoosingPool(true);
    EXPECT_EQ(laterCalls, 0) << "an observer may remove another while being notified";
}
