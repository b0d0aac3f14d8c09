#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "OrrelithCore/Settings.hpp"

using namespace orrelith;
using nlohmann::json;

namespace {

Catalog catalogOf(const std::vector<std::string>& slugs) {
    Catalog catalog{"", {}};
    for (const auto& slug : slugs) {
        catalog.scenes.push_back(Scene{slug, slug, "", 1, 1, {}});
    }
    return catalog;
}

Settings decodedMember(const std::string& key, const std::string& valueText) {
    return Settings::decode("{\"" + key + "\":" + valueText + "}");
}

} // namespace

TEST(DisplayMode, DecodesTheTwoCaseShapes) {
    EXPECT_EQ(DisplayMode::decode(R"({"shuffle":{}})"), DisplayMode::shuffle());
    EXPECT_EQ(DisplayMode::decode(R"({"shuffle":{"ignored":1}})"), DisplayMode::shuffle());
    EXPECT_EQ(DisplayMode::decode(R"({"fixed":{"_0":"helm"}})"), DisplayMode::fixed("helm"));
    EXPECT_EQ(DisplayMode::decode(R"({"fixed":{"_0":"helm"},"note":true})"), DisplayMode::fixed("helm"));
    EXPECT_NE(DisplayMode::fixed("a"), DisplayMode::fixed("b"));
    EXPECT_NE(DisplayMode::fixed(""), DisplayMode::shuffle());
}

TEST(DisplayMode, CaseKeyCountOtherThanOneFailsWithTheExactMessage) {
    for (const char* text : {R"({})", R"({"other":{}})", R"({"shuffle":{},"fixed":{"_0":"a"}})"}) {
        try {
            DisplayMode::decode(text);
            ADD_FAILURE() << text << " decoded";
        } catch (const DecodingError& error) {
            EXPECT_STREQ(error.what(), "Invalid number of keys found, expected one.") << text;
        }
    }
}

TEST(DisplayMode, MalformedCasePayloadsFail) {
    for (const char* text : {R"({"shuffle":true})", R"({"shuffle":[]})", R"({"fixed":"a"})", R"({"fixed":{}})",
                             R"({"fixed":{"_0":5}})", R"({"fixed":{"_0":null}})", R"("shuffle")", R"([])"}) {
        EXPECT_THROW(DisplayMode::decode(text), DecodingError) << text;
    }
}

TEST(Settings, EmptyObjectGivesExactlyTheDefaults) {
    const Settings defaults;
    EXPECT_EQ(Settings::decode("{}"), defaults);
    EXPECT_TRUE(defaults.displays.empty() && defaults.displayNames.empty() && !defaults.shufflePool);
    EXPECT_EQ(defaults.shuffleInterval, 600);
    EXPECT_EQ(defaults.soundVolume, 0.6);
    EXPECT_TRUE(defaults.distinctAcrossDisplays && defaults.crossfade && !defaults.showSceneName &&
                defaults.halfFrameRate && defaults.lightCanvas && defaults.sound && defaults.autoInstallUpdates);
}

TEST(Settings, OnlyNonObjectsAndNonJsonFailTheWholeDocument) {
    for (const char* text : {"[]", "null", "42", "\"{}\"", "", "{", "{\"sound\":}"}) {
        EXPECT_THROW(Settings::decode(text), DecodingError) << text;
    }
}

TEST(Settings, IntervalIsSnappedToAnOfferedOneWithTiesGoingShorter) {
    const std::vector<std::pair<std::string, double>> table = {
        {"45", 30},   {"90", 60},  {"100", 120}, {"450", 300},  {"1000", 600}, {"0", 0},   {"-5", -5},
        {"30", 30},   {"300.0", 300}, {"1", 30},  {"210", 120}, {"211", 300},  {"\"60\"", 600}, {"null", 600}, {"true", 600},
    };
    for (const auto& [text, expected] : table) {
        EXPECT_EQ(decodedMember("shuffleInterval", text).shuffleInterval, expected) << text;
    }
}

TEST(Settings, VolumeIsClampedToTheUnitRange) {
    const std::vector<std::pair<std::string, double>> table = {
        {"1.7", 1}, {"-0.2", 0}, {"0.25", 0.25}, {"1", 1}, {"0", 0}, {"\"0.5\"", 0.6}, {"null", 0.6},
    };
    for (const auto& [text, expected] : table) {
        EXPECT_EQ(decodedMember("soundVolume", text).soundVolume, expected) << text;
    }
}

TEST(Settings, FlagsAcceptOnlyJsonBooleans) {
    const std::vector<std::pair<std::string, bool Settings::*>> flags = {
        {"distinctAcrossDisplays", &Settings::distinctAcrossDisplays}, {"crossfade", &Settings::crossfade},
        {"showSceneName", &Settings::showSceneName},   {"halfFrameRate", &Settings::halfFrameRate},
        {"lightCanvas", &Settings::lightCanvas},       {"sound", &Settings::sound},
        {"autoInstallUpdates", &Settings::autoInstallUpdates},
    };
    const Settings defaults;
    for (const auto& [key, field] : flags) {
        EXPECT_EQ(decodedMember(key, "true").*field, true) << key;
        EXPECT_EQ(decodedMember(key, "false").*field, false) << key;
        for (const char* wrong : {"1", "0", "\"true\"", "null", "{}"}) {
            EXPECT_EQ(decodedMember(key, wrong).*field, defaults.*field) << key << " = " << wrong;
        }
    }
}

TEST(Settings, PoolAbsentNullOrUnreadableIsAbsentButEmptyStaysPresent) {
    EXPECT_FALSE(decodedMember("shufflePool", "null").shufflePool);
    EXPECT_FALSE(decodedMember("shufflePool", "[\"a\",3]").shufflePool);
    EXPECT_FALSE(decodedMember("shufflePool", "\"a\"").shufflePool);
    EXPECT_EQ(decodedMember("shufflePool", "[]").shufflePool, std::vector<std::string>{});
    EXPECT_EQ(decodedMember("shufflePool", "[\"b\",\"a\"]").shufflePool, (std::vector<std::string>{"b", "a"}));
}

TEST(Settings, DisplayMapsAreReadAllOrNothing) {
    const auto good = decodedMember("displays", R"({"A":{"fixed":{"_0":"x"}},"B":{"shuffle":{}}})");
    EXPECT_EQ(good.displays, (std::map<std::string, DisplayMode>{{"A", DisplayMode::fixed("x")},
                                                                 {"B", DisplayMode::shuffle()}}));
    EXPECT_TRUE(decodedMember("displays", R"({"A":{"fixed":{"_0":"x"}},"B":{"shuffle":{},"fixed":{"_0":"y"}}})")
                    .displays.empty());
    EXPECT_TRUE(decodedMember("displays", R"([{"shuffle":{}}])").displays.empty());
    EXPECT_EQ(decodedMember("displayNames", R"({"A":"Left","B":"Right"})").displayNames.size(), 2U);
    EXPECT_TRUE(decodedMember("displayNames", R"({"A":"Left","B":2})").displayNames.empty());
}

TEST(Settings, DamagedMembersDoNotSpoilTheReadableOnes) {
    const auto settings = Settings::decode(
        R"({"displays":7,"shuffleInterval":"x","crossfade":false,"soundVolume":0.3,"unknown":[1,2],"sound":"no"})");
    Settings expected;
    expected.crossfade = false;
    expected.soundVolume = 0.3;
    EXPECT_EQ(settings, expected);
}

TEST(Settings, EncodesElevenCompactMembersInOrderForTheDefaults) {
    const std::string text = Settings().encode();
    EXPECT_EQ(text, R"({"displays":{},"displayNames":{},"shuffleInterval":600,"distinctAcrossDisplays":true,)"
                    R"("crossfade":true,"showSceneName":false,"halfFrameRate":true,"lightCanvas":true,"sound":true,)"
                    R"("soundVolume":0.6,"autoInstallUpdates":true})");
    EXPECT_EQ(json::parse(text).size(), 11U);
    EXPECT_EQ(Settings::decode(text), Settings());
}

TEST(Settings, EncodeThenDecodeGivesTheRecordBack) {
    Settings settings;
    settings.displays = {{"3F2504E0-4F89-11D3-9A0C-0305E82C3301", DisplayMode::fixed("helm")},
                         {"frame--1920x0", DisplayMode::shuffle()}};
    settings.displayNames = {{"frame--1920x0", "Left \u00e9cran"}};
    settings.shuffleInterval = 120;
    settings.shufflePool = std::vector<std::string>{"c", "a", "b"};
    settings.distinctAcrossDisplays = false;
    settings.showSceneName = true;
    settings.soundVolume = 0.35;
    EXPECT_EQ(Settings::decode(settings.encode()), settings);
    settings.shufflePool = std::vector<std::string>{};
    EXPECT_EQ(Settings::decode(settings.encode()), settings);
}

TEST(Settings, EncodeWritesValuesAsHeldAndRefusesNonFiniteNumbers) {
    Settings settings;
    settings.shuffleInterval = 45;
    settings.soundVolume = 1.5;
    const auto document = json::parse(settings.encode());
    EXPECT_EQ(document["shuffleInterval"], 45);
    EXPECT_EQ(document["soundVolume"], 1.5);
    settings.shuffleInterval = std::numeric_limits<double>::infinity();
    EXPECT_THROW(static_cast<void>(settings.encode()), std::invalid_argument);
    settings.shuffleInterval = 30;
    settings.displayNames["bad"] = "\xff\xfe";
    EXPECT_THROW(static_cast<void>(settings.encode()), std::invalid_argument);
}

TEST(Settings, ModeFallsBackToShuffleForUnknownDisplaysAndMissingScenes) {
    const auto catalog = catalogOf({"a", "b"});
    Settings settings;
    settings.displays = {{"pinned", DisplayMode::fixed("b")}, {"gone", DisplayMode::fixed("zzz")},
                         {"shuffling", DisplayMode::shuffle()}};
    EXPECT_EQ(settings.mode("pinned", catalog), DisplayMode::fixed("b"));
    EXPECT_EQ(settings.mode("gone", catalog), DisplayMode::shuffle());
    EXPECT_EQ(settings.mode("shuffling", catalog), DisplayMode::shuffle());
    EXPECT_EQ(settings.mode("unknown", catalog), DisplayMode::shuffle());
}

TEST(Settings, PoolKeepsCatalogOrderAndFallsBackToEverySlug) {
    const auto catalog = catalogOf({"a", "b", "c", "d"});
    const std::vector<std::string> all{"a", "b", "c", "d"};
    const std::vector<std::pair<std::optional<std::vector<std::string>>, std::vector<std::string>>> table = {
        {std::nullopt, all},
        {std::vector<std::string>{}, all},
        {std::vector<std::string>{"d", "b"}, {"b", "d"}},
        {std::vector<std::string>{"c", "c", "zzz"}, {"c"}},
        {std::vector<std::string>{"zzz"}, all},
    };
    for (const auto& [pool, expected] : table) {
        Settings settings;
        settings.shufflePool = pool;
        EXPECT_EQ(settings.pool(catalog), expected);
    }
    EXPECT_TRUE(Settings().pool(Catalog{}).empty());
}
