
#include <gtest/gtest.h>

#include "OrrelithCore/Catalog.hpp"
#include "OrrelithCore/JsonDocument.hpp"
#include "OrrelithCore/Settings.hpp"

using namespace orrelith;

namespace {

std::string repeated(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

std::vector<std::string> hostileTexts() {
    const std::string catalog =
        R"({"mirrored":"m","scenes":[{"slug":"a","title":"A","subtitle":"s","channel":1,)"
        R"("generation":1,"path":null}]})";
    const std::string settings =
        R"({"displays":{"K":{"fixed":{"_0":"a"}}},"shufflePool":["a"],"sound":false})";
    std::vector<std::string> texts = {
        std::string("\0\0\0\0", 4),
        "\x89PNG\r\n\x1a\n",
        "{\"mirrored\":\"\xff\",\"scenes\":[]}",
        "{'a':1}",
        std::string("{\"sound\":true}\0trailing", 22),
        repeated("[", 100000),
        repeated("{\"a\":", 100000),
        "{\"displays\":" + repeated("[", 100000) + repeated("]", 100000) + "}",
    };
    for (const auto* document : {&catalog, &settings}) {
        for (std::size_t length = 0; length < document->size(); ++length)
            texts.push_back(document->substr(0, length));
    }
    return texts;
}

} // namespace

TEST(HostileInput, NestingIsBoundedOnlyOutsideStringsHugeDocumentsAreReadWholeAndTheRestIsRejected) {
    const int depth = JsonDocument::maxDepth;
    EXPECT_NO_THROW(JsonDocument::parse(repeated("[", depth) + repeated("]", depth)));
    EXPECT_THROW(JsonDocument::parse(repeated("[", depth + 1) + repeated("]", depth + 1)), DecodingError);
    // Brackets inside strings, also after an escaped backslash and an escaped quote, are text.
    const std::string name = "\\\\\\\"" + repeated("[{", depth);
    EXPECT_EQ(Settings::decode(R"({"displayNames":{"K":")" + name + R"("}})").displayNames.at("K"),
              "\\\"" + repeated("[{", depth));

    // Huge documents are read whole.
    const std::string bigName(8 << 20, 'x');
    const auto settings =
        Settings::decode(R"({"displayNames":{"K":")" + bigName + R"("},"crossfade":false})");
    EXPECT_EQ(settings.displayNames.at("K").size(), bigName.size());
    EXPECT_FALSE(settings.crossfade);
    const std::string scene = R"({"slug":"s","title":"t","subtitle":"u","channel":2,"generation":3},)";
    std::string catalog = R"({"mirrored":"","scenes":[)" + repeated(scene, 50000);
    catalog.back() = ']';
    EXPECT_EQ(Catalog::decode(catalog + "}").scenes.size(), 50000U);

    // Truncated, binary and deeply nested text is rejected by every decoder.
    for (const auto& text : hostileTexts()) {
        EXPECT_THROW(Catalog::decode(text), DecodingError) << text.substr(0, 40);
        EXPECT_THROW(Settings::decode(text), DecodingError) << text.substr(0, 40);
        EXPECT_THROW(DisplayMode::decode(text), DecodingError) << text.substr(0, 40);
    }
}
