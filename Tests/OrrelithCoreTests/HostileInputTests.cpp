#include <functional>

#include <gtest/gtest.h>

#include "OrrelithCore/Catalog.hpp"
#include "OrrelithCore/JsonDocument.hpp"
#include "OrrelithCore/Settings.hpp"

using namespace orrelith;

namespace {

const std::string goodCatalog =
    R"({"mirrored":"m","scenes":[{"slug":"a","title":"A","subtitle":"s","channel":1,"generation":1,"path":null}]})";
const std::string goodSettings =
    R"({"displays":{"K":{"fixed":{"_0":"a"}}},"shufflePool":["a"],"soundVolume":0.5,"sound":false})";

std::string repeated(const std::string& piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

// Every decoder meets every hostile text and must either decode it or throw DecodingError.
const std::vector<std::pair<std::string, std::function<void(const std::string&)>>> decoders = {
    {"catalog", [](const std::string& text) { Catalog::decode(text); }},
    {"settings", [](const std::string& text) { Settings::decode(text); }},
    {"display mode", [](const std::string& text) { DisplayMode::decode(text); }},
};

} // namespace

TEST(HostileInput, EveryTruncationOfAGoodDocumentIsRejected) {
    for (const auto* document : {&goodCatalog, &goodSettings}) {
        for (std::size_t length = 0; length < document->size(); ++length) {
            const std::string prefix = document->substr(0, length);
            for (const auto& [name, decode] : decoders) {
                EXPECT_THROW(decode(prefix), DecodingError) << name << ": " << prefix;
            }
        }
    }
}

TEST(HostileInput, BinaryAndInvalidUtf8AreRejected) {
    const std::vector<std::string> texts = {
        std::string("\0\0\0\0", 4), "\x89PNG\r\n\x1a\n", "{\"mirrored\":\"\xff\",\"scenes\":[]}",
        std::string("{\"sound\":true}\0trailing", 22), std::string("{\"sound\":true}\0", 15), "{'a':1}",
    };
    for (const auto& text : texts) {
        for (const auto& [name, decode] : decoders) {
            EXPECT_THROW(decode(text), DecodingError) << name;
        }
    }
}

TEST(HostileInput, DeepNestingIsRejectedWithoutExhaustingTheStack) {
    const std::vector<std::string> texts = {
        repeated("[", 100000),
        repeated("{\"a\":", 100000),
        "{\"displays\":" + repeated("[", 100000) + repeated("]", 100000) + "}",
        repeated("[", 5000) + repeated("]", 5000),
    };
    for (const auto& text : texts) {
        for (const auto& [name, decode] : decoders) {
            EXPECT_THROW(decode(text), DecodingError) << name;
        }
    }
}

TEST(HostileInput, NestingUpToTheBoundIsStillJson) {
    const int depth = JsonDocument::maxDepth;
    EXPECT_NO_THROW(JsonDocument::parse(repeated("[", depth) + repeated("]", depth)));
    EXPECT_THROW(JsonDocument::parse(repeated("[", depth + 1) + repeated("]", depth + 1)), DecodingError);
    const auto settings = Settings::decode(R"({"sound":false,"extra":)" + repeated("[", depth - 1) +
                                           repeated("]", depth - 1) + "}");
    EXPECT_FALSE(settings.sound);
    // Brackets inside strings, after escaped quotes too, are text, not nesting.
    const std::string brackets = repeated("[{", depth);
    EXPECT_EQ(Settings::decode(R"({"displayNames":{"K":")" + brackets + R"("}})").displayNames.at("K"), brackets);
    EXPECT_EQ(Settings::decode(R"({"displayNames":{"K":"\\\")" + brackets + R"("}})").displayNames.at("K"),
              "\\\"" + brackets);
}

TEST(HostileInput, HugeDocumentsAreReadWhole) {
    const std::string bigName(8 << 20, 'x');
    const auto settings = Settings::decode(R"({"displayNames":{"K":")" + bigName + R"("},"crossfade":false})");
    EXPECT_EQ(settings.displayNames.at("K").size(), bigName.size());
    EXPECT_FALSE(settings.crossfade);

    const std::string scene = R"({"slug":"s","title":"t","subtitle":"u","channel":2,"generation":3},)";
    std::string catalog = R"({"mirrored":"","scenes":[)" + repeated(scene, 200000);
    catalog.back() = ']';
    EXPECT_EQ(Catalog::decode(catalog + "}").scenes.size(), 200000U);
    EXPECT_THROW(Catalog::decode(catalog), DecodingError);
}
