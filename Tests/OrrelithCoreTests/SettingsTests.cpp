#include <functional>

#include <gtest/gtest.h>

#include "TestCatalog.hpp"
#include <nlohmann/json.hpp>

#include "OrrelithCore/Settings.hpp"

using namespace orrelith;
using orrelith::testing::catalogOf;

using Pool = std::optional<std::vector<std::string>>;

TEST(DisplayMode, DecodesExactlyOneCaseKeyAndIgnoresOtherMembers) {
    const std::vector<std::pair<const char*, std::optional<DisplayMode>>> table = {
        {R"({"shuffle":{}})", DisplayMode::shuffle()},
        {R"({"shuffle":{"ignored":1}})", DisplayMode::shuffle()},
        {R"({"fixed":{"_0":"helm"},"note":true})", DisplayMode::fixed("helm")},
        {R"({"shuffle":true})", std::nullopt},
        {R"({"fixed":"a"})", std::nullopt},
        {R"({"fixed":{}})", std::nullopt},
        {R"({"fixed":{"_0":5}})", std::nullopt},
        {R"("shuffle")", std::nullopt},
    };
    for (const auto& [text, expected] : table) {
        if (expected) {
            EXPECT_EQ(DisplayMode::decode(text), *expected) << text;
        } else {
            EXPECT_THROW(DisplayMode::decode(text), DecodingError) << text;
        }
    }
    for (const char* text : {R"({})", R"({"other":{}})", R"({"shuffle":{},"fixed":{"_0":"a"}})"}) {
        try {
            DisplayMode::decode(text);
            ADD_FAILURE() << text << " decoded";
        } catch (const DecodingError& error) {
            EXPECT_STREQ(error.what(), "Invalid number of keys found, expected one.") << text;
        }
    }
}

// Each row: one member as written, and how the decoded record differs from Settings().
TEST(Settings, DecodesMemberByMemberFallingBackToDefaultsFailsOnlyForANonObjectAndGivesItsPoolInCatalogOrder) {
    using Change = std::function<void(Settings&)>;
    const auto interval = [](double v) -> Change { return [v](Settings& s) { s.shuffleInterval = v; }; };
    const auto volume = [](double v) -> Change { return [v](Settings& s) { s.soundVolume = v; }; };
    const auto pool = [](Pool p) -> Change { return [p](Settings& s) { s.shufflePool = p; }; };
    const Change none = [](Settings&) {};
    const std::vector<std::pair<std::string, Change>> table = {
        {R"("shuffleInterval":45)", interval(30)},
        {R"("shuffleInterval":90)", interval(60)},
        {R"("shuffleInterval":100)", interval(120)},
        {R"("shuffleInterval":450)", interval(300)},
        {R"("shuffleInterval":210)", interval(120)},
        {R"("shuffleInterval":211)", interval(300)},
        {R"("shuffleInterval":1000)", interval(600)},
        {R"("shuffleInterval":0)", interval(0)},
        {R"("shuffleInterval":-5)", interval(-5)},
        {R"("shuffleInterval":"60")", none},
        {R"("soundVolume":1.7)", volume(1)},
        {R"("soundVolume":-0.2)", volume(0)},
        {R"("soundVolume":0.25)", volume(0.25)},
        {R"("soundVolume":"0.5")", none},
        {R"("shufflePool":null)", none},
        {R"("shufflePool":["a",3])", none},
        {R"("shufflePool":[])", pool(std::vector<std::string>{})},
        {R"("shufflePool":["b","a"])", pool(std::vector<std::string>{"b", "a"})},
        {R"("crossfade":false)", [](Settings& s) { s.crossfade = false; }},
        {R"("showSceneName":true)", [](Settings& s) { s.showSceneName = true; }},
        {R"("sound":0)", none},
        {R"("autoInstallUpdates":"false")", none},
        {R"("lightCanvas":null)", none},
        {R"("displays":{"A":{"fixed":{"_0":"x"}},"B":{"shuffle":{}}})",
         [](Settings& s) {
             s.displays = {{"A", DisplayMode::fixed("x")}, {"B", DisplayMode::shuffle()}};
         }},
        {R"("displays":{"A":{"fixed":{"_0":"x"}},"B":{"shuffle":{},"fixed":{"_0":"y"}}})", none},
        {R"("displays":[])", none},
        {R"("displayNames":{"A":"Left"})",
         [](Settings& s) {
             s.displayNames = {{"A", "Left"}};
         }},
        {R"("displayNames":{"A":"Left","B":2})", none},
        {R"("unknown":[1,{"x":2}])", none},
    };
    for (const auto& [member, change] : table) {
        Settings expected;
        change(expected);
        EXPECT_EQ(Settings::decode("{" + member + "}"), expected) << member;
    }
    Settings partlyDamaged;
    partlyDamaged.soundVolume = 1;
    partlyDamaged.crossfade = false;
    EXPECT_EQ(Settings::decode(R"({"soundVolume":2,"sound":"no","crossfade":false,"displays":7})"),
              partlyDamaged);
    // Only what is not an object, or not JSON, fails the whole document.
    for (const char* text : {"[]", "null", "42", "\"{}\"", "", "{", "{\"sound\":}"})
        EXPECT_THROW(Settings::decode(text), DecodingError) << text;

    // The pool keeps the catalog's order and falls back to every slug.
    const std::vector<std::string> all{"a", "b", "c", "d"};
    const std::vector<std::pair<Pool, std::vector<std::string>>> pools = {
        {std::nullopt, all},
        {std::vector<std::string>{}, all},
        {Pool{{"d", "b"}}, {"b", "d"}},
        {Pool{{"c", "c", "zzz"}}, {"c"}},
        {Pool{{"zzz"}}, all},
    };
    for (const auto& [pool, dealt] : pools) {
        Settings settings;
        settings.shufflePool = pool;
        EXPECT_EQ(settings.pool(catalogOf(all)), dealt);
    }
}

TEST(Settings, DefaultsEncodeAsElevenCompactMembersInOrderAndAnyRecordAsHeldAndBack) {
    const std::string text = Settings().encode();
    EXPECT_EQ(
        text,
        R"({"displays":{},"displayNames":{},"shuffleInterval":600,"distinctAcrossDisplays":true,)"
        R"("crossfade":true,"showSceneName":false,"halfFrameRate":true,"lightCanvas":true,"sound":true,)"
        R"("soundVolume":0.6,"autoInstallUpdates":true})");
    EXPECT_EQ(Settings::decode(text), Settings());
    EXPECT_EQ(Settings::decode("{}"), Settings());

    Settings settings;
    settings.displays = {{"3F2504E0-4F89-11D3-9A0C-0305E82C3301", DisplayMode::fixed("helm")},
                         {"frame--1920x0", DisplayMode::shuffle()}};
    settings.displayNames = {{"frame--1920x0", "Left \u00e9cran"}};
    settings.shuffleInterval = 120;
    settings.distinctAcrossDisplays = false;
    settings.soundVolume = 0.35;
    for (const Pool& pool : {Pool{{"c", "a", "b"}}, Pool{std::vector<std::string>{}}}) {
        settings.shufflePool = pool;
        EXPECT_EQ(Settings::decode(settings.encode()), settings);
    }
    // Off the choices decoding snaps to, and out of range: written as they are all the same.
    settings.shuffleInterval = 45;
    settings.soundVolume = 1.5;
    const auto document = nlohmann::json::parse(settings.encode());
    EXPECT_EQ(document["shuffleInterval"], 45);
    EXPECT_EQ(document["soundVolume"], 1.5);
}

