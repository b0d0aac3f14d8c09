#include <unordered_set>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "OrrelithCore/Catalog.hpp"

using namespace orrelith;
using nlohmann::json;

namespace {

json sceneJson(const std::string& slug) {
    return {{"slug", slug}, {"title", "Title " + slug}, {"subtitle", "Sub"}, {"channel", 4}, {"generation", 2}};
}

json catalogJson(json scenes) {
    return {{"mirrored", "note"}, {"scenes", std::move(scenes)}};
}

Catalog decoded(const json& document) {
    return Catalog::decode(document.dump());
}

} // namespace

TEST(Catalog, DecodesEveryFieldInOrderAndKeepsTheNote) {
    auto second = sceneJson("b");
    second["path"] = "deep/b-page.html";
    second["ignored"] = true;
    const auto catalog = decoded(catalogJson({sceneJson("a"), second}));
    EXPECT_EQ(catalog.mirrored, "note");
    ASSERT_EQ(catalog.scenes.size(), 2U);
    EXPECT_EQ(catalog.scenes[0], (Scene{"a", "Title a", "Sub", 4, 2, std::nullopt}));
    EXPECT_EQ(catalog.scenes[1].path, "deep/b-page.html");
    EXPECT_EQ(catalog.slugs(), (std::vector<std::string>{"a", "b"}));
}

TEST(Catalog, PageIsThePathWhenPresentElseTheSlugPlusHtml) {
    auto withNull = sceneJson("n");
    withNull["path"] = nullptr;
    auto withPath = sceneJson("p");
    withPath["path"] = "elsewhere/index.html";
    const auto catalog = decoded(catalogJson({sceneJson("a"), withNull, withPath}));
    EXPECT_EQ(catalog.scenes[0].page(), "a.html");
    EXPECT_EQ(catalog.scenes[1].page(), "n.html");
    EXPECT_EQ(catalog.scenes[2].page(), "elsewhere/index.html");
}

TEST(Catalog, EachMissingOrMistypedRequiredMemberFailsTheWholeCatalog) {
    const std::vector<std::pair<std::string, json>> breakages = {
        {"slug", 7},          {"title", nullptr},   {"subtitle", json::array()}, {"channel", "3"},
        {"channel", 7.5},     {"channel", true},    {"generation", 9223372036854775808ULL},
        {"generation", 1e19}, {"path", 12},         {"path", json::object()},
    };
    for (const auto& [key, value] : breakages) {
        auto bad = sceneJson("bad");
        bad[key] = value;
        EXPECT_THROW(decoded(catalogJson({sceneJson("good"), bad})), DecodingError) << key << " = " << value;
    }
    for (const char* key : {"slug", "title", "subtitle", "channel", "generation"}) {
        auto bad = sceneJson("bad");
        bad.erase(key);
        EXPECT_THROW(decoded(catalogJson({bad})), DecodingError) << "missing " << key;
    }
}

TEST(Catalog, TopLevelMustBeAnObjectWithMirroredTextAndSceneArray) {
    for (const char* text : {R"([])", R"({"scenes":[]})", R"({"mirrored":1,"scenes":[]})", R"({"mirrored":""})",
                             R"({"mirrored":"","scenes":{}})", R"({"mirrored":"","scenes":[1]})"}) {
        EXPECT_THROW(Catalog::decode(text), DecodingError) << text;
    }
    EXPECT_TRUE(Catalog::decode(R"({"mirrored":"","scenes":[]})").scenes.empty());
}

TEST(Catalog, WholeNumbersMayBeWrittenWithAFractionOrExponent) {
    auto scene = sceneJson("a");
    const auto text = catalogJson({scene}).dump();
    const auto decodedWith = [&](const std::string& channel) {
        std::string changed = text;
        changed.replace(changed.find("\"channel\":4"), 11, "\"channel\":" + channel);
        return Catalog::decode(changed).scenes.at(0).channel;
    };
    EXPECT_EQ(decodedWith("7.0"), 7);
    EXPECT_EQ(decodedWith("-0.0"), 0);
    EXPECT_EQ(decodedWith("1e3"), 1000);
    EXPECT_EQ(decodedWith("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(decodedWith("-9223372036854775808"), INT64_MIN);
    EXPECT_THROW(decodedWith("9223372036854775808"), DecodingError);
    EXPECT_THROW(decodedWith("-9223372036854775809"), DecodingError);
    EXPECT_THROW(decodedWith("1e400"), DecodingError);
}

TEST(Scene, CaptionPadsTheChannelToTwoDigits) {
    const std::vector<std::pair<std::int64_t, std::string>> cases = {
        {3, "CH 03 \u00B7 Helm"}, {7, "CH 07 \u00B7 Helm"}, {42, "CH 42 \u00B7 Helm"},
        {123, "CH 123 \u00B7 Helm"}, {0, "CH 00 \u00B7 Helm"}, {-7, "CH -7 \u00B7 Helm"}, {-42, "CH -42 \u00B7 Helm"},
    };
    for (const auto& [channel, caption] : cases) {
        EXPECT_EQ((Scene{"s", "Helm", "", channel, 1, {}}).caption(), caption) << channel;
    }
}

TEST(Scene, EqualityAndHashCoverAllSixFields) {
    const Scene base{"s", "t", "u", 1, 2, "p"};
    std::unordered_set<Scene> set{base, base};
    EXPECT_EQ(set.size(), 1U);
    for (auto change : std::vector<std::function<void(Scene&)>>{
             [](Scene& s) { s.slug = "x"; }, [](Scene& s) { s.title = "x"; }, [](Scene& s) { s.subtitle = "x"; },
             [](Scene& s) { s.channel = 9; }, [](Scene& s) { s.generation = 9; }, [](Scene& s) { s.path.reset(); }}) {
        Scene other = base;
        change(other);
        EXPECT_NE(other, base);
        set.insert(other);
    }
    EXPECT_EQ(set.size(), 7U);
}

TEST(Catalog, LookupsTakeTheFirstSceneWithASlug) {
    auto first = sceneJson("dup");
    auto second = sceneJson("dup");
    second["title"] = "Second";
    const auto catalog = decoded(catalogJson({sceneJson("a"), first, second}));
    EXPECT_EQ(catalog.slugs(), (std::vector<std::string>{"a", "dup", "dup"}));
    ASSERT_NE(catalog.scene("dup"), nullptr);
    EXPECT_EQ(catalog.scene("dup"), &catalog.scenes[1]);
    EXPECT_TRUE(catalog.contains("a"));
    EXPECT_FALSE(catalog.contains("A"));
    EXPECT_EQ(catalog.scene("missing"), nullptr);
    EXPECT_NE(catalog, decoded(catalogJson({sceneJson("a"), first})));
}
