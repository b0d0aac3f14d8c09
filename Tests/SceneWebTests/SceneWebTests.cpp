#include "Saver/SceneWeb.hpp"

#include "Platform/Fake/FakePlatform.hpp"
#include "Saver/BundleSchemeHandler.hpp"
#include "TemporaryBundle.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace orrelith {
namespace {

using namespace platform;
using testing::TemporaryBundle;

TEST(SceneWebJsString, EscapesQuotesBackslashesSlashesAndControlCharactersForAnyJSONParser) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"", R"("")"},
        {"plain text", R"("plain text")"},
        {"say \"hi\"", R"("say \"hi\"")"},
        {R"(C:\dir)", R"("C:\\dir")"},
        {"a/b", R"("a\/b")"},
        {"</style>", R"("<\/style>")"},
        {"\"\\\n", R"("\"\\\n")"},
        {"\t\r\b\f", R"("\t\r\b\f")"},
        {std::string("\x00\x01\x1f", 3), R"("\u0000\u0001\u001f")"},
        {"\x7f", "\"\x7f\""},
        {"caf\xc3\xa9 \xe2\x9c\x93", "\"caf\xc3\xa9 \xe2\x9c\x93\""},
        {"'single'", R"("'single'")"},
    };
    for (const auto& [text, literal] : table)
        EXPECT_EQ(SceneWeb::jsString(text), literal) << text;
    // Every ASCII character survives a JSON parser.
    std::string all;
    for (int c = 0; c < 128; ++c)
        all.push_back(static_cast<char>(c));
    EXPECT_EQ(nlohmann::json::parse(SceneWeb::jsString(all)).get<std::string>(), all);
}

class SceneWebTest : public ::testing::Test {
protected:
    SceneWebTest() {
        SceneWeb::resetForTesting();
        fake.system->codeBundle = bundle.bundle();
    }
    ~SceneWebTest() override { SceneWeb::resetForTesting(); }

    void writeCatalog(const std::string& scenes) const {
        bundle.write("catalog.json", R"({"mirrored":"draft","scenes":[)" + scenes + "]}");
    }
    static std::string scene(const std::string& slug, const std::string& pathMember = "") {
        return R"({"slug":")" + slug + R"(","title":"T","subtitle":"S","channel":1,"generation":1)" + pathMember +
               "}";
    }

    FakePlatform fake;
    TemporaryBundle bundle;
};

TEST_F(SceneWebTest, PagesMapEachSlugToItsPathOrSlugDotHtmlKeepingTheFirstOfARepeatAndNothingWithoutACatalog) {
    writeCatalog(scene("deck", R"(,"path":"deck/index.html")") + "," + scene("radar") + "," +
                 scene("deck", R"(,"path":"other.html")"));
    std::map<std::string, std::string> expected = {{"deck", "deck/index.html"}, {"radar", "radar.html"}};
    EXPECT_EQ(SceneWeb::pages(), expected);
    EXPECT_EQ(SceneWeb::url("deck"), "orrelith://bundle/deck/index.html");
    EXPECT_EQ(SceneWeb::url("radar"), "orrelith://bundle/radar.html");
    EXPECT_EQ(SceneWeb::url("unknown"), "orrelith://bundle/unknown.html");
    writeCatalog(scene("deck", R"(,"path":"changed.html")"));
    EXPECT_EQ(SceneWeb::url("deck"), "orrelith://bundle/deck/index.html") << "read once for the life of the process";

    // An unreadable or undecodable catalog leaves the page table empty.
    for (const std::string& content : {std::string("{not json"), std::string(R"({"scenes":[]})"), std::string()}) {
        SceneWeb::resetForTesting();
        if (content.empty())
            std::filesystem::remove(bundle.root() / "catalog.json");
        else
            bundle.write("catalog.json", content);
        EXPECT_TRUE(SceneWeb::pages().empty()) << content;
        EXPECT_EQ(SceneWeb::url("deck"), "orrelith://bundle/deck.html");
    }
    // The catalog lies in the resource folder of the code's bundle.
    EXPECT_EQ(SceneWeb::catalogURL(), bundle.resources() / "ORVEX" / "catalog.json");
    ASSERT_FALSE(fake.system->record().codeLookups.empty());
    EXPECT_NE(fake.system->record().codeLookups.back(), nullptr);
    fake.system->codeBundle.reset();
    EXPECT_EQ(SceneWeb::catalogURL(), std::nullopt);
}

TEST_F(SceneWebTest, EveryWebViewIsConfiguredForScenesOnItsOwnDataStoreLoadsNothingAndCarriesTheRuleListOnceCompiled) {
    auto frame = Rect::make(0, 0, 1440, 900);
    auto view = SceneWeb::makeWebView(frame);
    auto other = SceneWeb::makeWebView(frame);
    const auto& configuration = view->configuration();
    EXPECT_EQ(configuration.urlSchemeHandler("orrelith"), BundleSchemeHandler::shared());
    ASSERT_TRUE(configuration.websiteDataStore);
    EXPECT_FALSE(configuration.websiteDataStore->isPersistent());
    EXPECT_NE(configuration.websiteDataStore, other->configuration().websiteDataStore);
    EXPECT_EQ(fake.web->record().dataStoresMade, 2u);
    EXPECT_EQ(view->frame(), frame);
    EXPECT_TRUE(FakeWebViewBackend::of(*view).webState.loads.empty());

    // Only views made after the compilation carry the rule list.
    auto before = SceneWeb::makeWebView(Rect::make(0, 0, 10, 10));
    SceneWeb::prepareBlocker([] {});
    auto during = SceneWeb::makeWebView(Rect::make(0, 0, 10, 10));
    auto compiled = fake.web->ruleLists->complete(0);
    auto after = SceneWeb::makeWebView(Rect::make(0, 0, 10, 10));
    EXPECT_TRUE(before->configuration().userContentController.contentRuleLists().empty());
    EXPECT_TRUE(during->configuration().userContentController.contentRuleLists().empty());
    ASSERT_EQ(after->configuration().userContentController.contentRuleLists().size(), 1u);
    EXPECT_EQ(after->configuration().userContentController.contentRuleLists()[0], compiled);
    EXPECT_EQ(after->configuration().userContentController.userScripts().size(), 1u);
}

TEST_F(SceneWebTest, PrepareBlockerCompilesUntilASuccessAndCompletesWhenDoneThenAtOnce) {
    int completions = 0;
    SceneWeb::prepareBlocker([&] { ++completions; });
    fake.web->ruleLists->fail(0);
    EXPECT_EQ(completions, 1) << "a failed compilation still completes";
    EXPECT_EQ(SceneWeb::ruleList(), nullptr);
    EXPECT_TRUE(SceneWeb::makeWebView(Rect{})->configuration().userContentController.contentRuleLists().empty());
    SceneWeb::prepareBlocker([&] { ++completions; });
    ASSERT_EQ(fake.web->ruleLists->compilations().size(), 2u) << "the next call tries again";
    EXPECT_EQ(fake.web->ruleLists->compilations()[1].identifier, "orrelith.offline");
    EXPECT_EQ(fake.web->ruleLists->compilations()[1].json, SceneWeb::ruleListJSON());
    EXPECT_EQ(completions, 1);
    auto compiled = fake.web->ruleLists->complete(1);
    EXPECT_EQ(completions, 2);
    EXPECT_EQ(SceneWeb::ruleList(), compiled);
    SceneWeb::prepareBlocker([&] { ++completions; });
    EXPECT_EQ(completions, 3);
    EXPECT_EQ(fake.web->ruleLists->compilations().size(), 2u) << "no compilation after a success";
}

TEST_F(SceneWebTest, CallersBeforeTheFirstCompletionEachGetACompilationAndACompletionAndTheLastSuccessStays) {
    std::vector<std::string> completed;
    SceneWeb::prepareBlocker([&] { completed.push_back("first"); });
    SceneWeb::prepareBlocker([&] { completed.push_back("second"); });
    ASSERT_EQ(fake.web->ruleLists->compilations().size(), 2u);
    fake.web->ruleLists->complete(1);
    auto firstList = SceneWeb::ruleList();
    auto latest = fake.web->ruleLists->complete(0);
    EXPECT_EQ(completed, (std::vector<std::string>{"second", "first"}));
    EXPECT_NE(firstList, nullptr);
    EXPECT_EQ(SceneWeb::ruleList(), latest);
    // A failure arriving after a success keeps the compiled list.
    SceneWeb::resetForTesting();
    SceneWeb::prepareBlocker([] {});
    SceneWeb::prepareBlocker([] {});
    auto compiled = fake.web->ruleLists->complete(2);
    fake.web->ruleLists->fail(3);
    EXPECT_EQ(SceneWeb::ruleList(), compiled);
}

} // namespace
} // namespace orrelith
