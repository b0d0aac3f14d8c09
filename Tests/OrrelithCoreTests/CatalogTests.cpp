#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "OrrelithCore/Catalog.hpp"

using namespace orrelith;
using nlohmann::json;

namespace {

json sceneJson(const std::string& slug) {
    return {
        {"slug", slug}, {"title", "Title " + slug}, {"subtitle", "Sub"}, {"channel", 4}, {"generation", 2}};
}

Catalog decoded(json scenes) {
    return Catalog::decode(json{{"mirrored", "note"}, {"scenes", std::move(scenes)}}.dump());
}

} // namespace

TEST(Catalog, DecodesScenesInOrderWithTheirPagesAndCaptionsAndLooksUpTheFirstWithASlug) {
    auto withNull = sceneJson("n");
    withNull["path"] = nullptr;
    auto withPath = sceneJson("p");
    withPath["path"] = "deep/page.html";
    withPath["ignored"] = true;
    const auto catalog = decoded({sceneJson("a"), withNull, withPath});
    EXPECT_EQ(catalog.mirrored, "note");
    ASSERT_EQ(catalog.scenes.size(), 3U);
    EXPECT_EQ(catalog.scenes[0], (Scene{"a", "Title a", "Sub", 4, 2, std::nullopt}));
    EXPECT_EQ(catalog.scenes[0].page(), "a.html");
    EXPECT_EQ(catalog.scenes[1].page(), "n.html");
    EXPECT_EQ(catalog.scenes[2].page(), "deep/page.html");
    EXPECT_EQ(catalog.slugs(), (std::vector<std::string>{"a", "n", "p"}));

    auto second = sceneJson("dup");
    second["title"] = "Second";
    const auto repeated = decoded({sceneJson("a"), sceneJson("dup"), second});
    EXPECT_EQ(repeated.slugs(), (std::vector<std::string>{"a", "dup", "dup"}));
    EXPECT_EQ(repeated.scene("dup"), &repeated.scenes[1]) << "lookups take the first scene with a slug";
    EXPECT_TRUE(repeated.contains("a"));
    EXPECT_FALSE(repeated.contains("A"));
    EXPECT_EQ(repeated.scene("missing"), nullptr);

    // A scene's caption pads the channel to two digits.
    const std::vector<std::pair<std::int64_t, std::string>> cases = {
        {3, "CH 03 \u00B7 Helm"}, {42, "CH 42 \u00B7 Helm"}, {123, "CH 123 \u00B7 Helm"},
        {0, "CH 00 \u00B7 Helm"}, {-7, "CH -7 \u00B7 Helm"}, {-42, "CH -42 \u00B7 Helm"},
    };
    for (const auto& [channel, caption] : cases)
        EXPECT_EQ((Scene{"s", "Helm", "", channel, 1, {}}).caption(), caption) << channel;
}

TEST(Catalog, AnyMissingOrMistypedMemberFailsTheWholeCatalogAndNumbersMustBeWholeIn64Bits) {
    const std::vector<std::pair<std::string, json>> breakages = {
        {"slug", 7},
        {"title", nullptr},
        {"subtitle", json::array()},
        {"channel", "3"},
        {"channel", 7.5},
        {"channel", true},
        {"generation", 9223372036854775808ULL},
        {"generation", 1e19},
        {"path", 12},
        {"path", json::object()},
    };
    for (const auto& [key, value] : breakages) {
        auto bad = sceneJson("bad");
        bad[key] = value;
        EXPECT_THROW(decoded({sceneJson("good"), bad}), DecodingError) << key << " = " << value;
    }
    for (const char* key : {"slug", "title", "subtitle", "channel", "generation"}) {
        auto bad = sceneJson("bad");
        bad.erase(key);
        EXPECT_THROW(decoded({bad}), DecodingError) << "missing " << key;
    }
    for (const char* text :
         {R"([])", R"({"scenes":[]})", R"({"mirrored":1,"scenes":[]})", R"({"mirrored":""})",
          R"({"mirrored":"","scenes":{}})", R"({"mirrored":"","scenes":[1]})"}) {
        EXPECT_THROW(Catalog::decode(text), DecodingError) << text;
    }

    // Whole numbers may carry a fraction but must fit in 64 bits.
    const auto channel = [](const std::string& number) {
        const char* scene = R"({"mirrored":"","scenes":[{"slug":"s","title":"t","subtitle":"u","generation":1,"channel":)";
        return Catalog::decode(scene + number + "}]}").scenes.at(0).channel;
    };
    EXPECT_EQ(channel("7.0"), 7);
    EXPECT_EQ(channel("1e3"), 1000);
    EXPECT_EQ(channel("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(channel("-9223372036854775808"), INT64_MIN);
    for (const char* outside : {"9223372036854775808", "-9223372036854775809", "1e400", "0.5"})
        EXPECT_THROW(channel(outside), DecodingError) << outside;
}

