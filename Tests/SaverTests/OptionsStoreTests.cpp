#include "TemporaryFolder.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "Saver/OptionsStore.hpp"

#include <gtest/gtest.h>

#include <optional>

using namespace orrelith;
using platform::FakePlatform;
using platform::FakeUserDefaults;

namespace {

// A temporary home folder that the fake platform answers as the user's.
class TemporaryHome {
public:
    explicit TemporaryHome(FakePlatform& fake) { fake.system->homeFolderValue = folder_.path(); }
    void writeDocument(const std::string& text) const {
        folder_.write("Library/Application Support/ORVEX/settings.json", text);
    }

private:
    orrelith::testing::TemporaryFolder folder_{"options-store"};
};

enum class Domain { Module, StandardOnly };

struct Case {
    const char* what;
    std::optional<std::string> document;
    std::optional<std::string> legacy;
    Domain domain;
    double interval;
    bool crossfade;
};

} // namespace

TEST(OptionsStore, OrderOfPrecedenceAndFallbacks) {
    const std::string document = R"({"shuffleInterval":120,"crossfade":false})";
    const std::string legacy = R"({"shuffleInterval":60})";
    const Case cases[] = {
        {"document wins over legacy data", document, legacy, Domain::Module, 120, false},
        {"document alone", document, std::nullopt, Domain::Module, 120, false},
        {"document not an object, no legacy data", "[]", std::nullopt, Domain::Module, 30, true},
        {"unreadable document falls to legacy data", "{not json", legacy, Domain::Module, 60, true},
        {"legacy {} gives the record's defaults", std::nullopt, "{}", Domain::Module, 600, true},
        {"legacy bytes that are not JSON", std::nullopt, "\x01\x02 nope", Domain::Module, 600, true},
        {"legacy JSON that is not an object", std::nullopt, "[1,2]", Domain::Module, 600, true},
        {"nothing anywhere", std::nullopt, std::nullopt, Domain::Module, 30, true},
        {"no module domain: the standard defaults hold it", std::nullopt, legacy, Domain::StandardOnly, 60, true},
        {"no module domain and nothing stored", std::nullopt, std::nullopt, Domain::StandardOnly, 30, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FakePlatform fake;
        TemporaryHome home(fake);
        if (c.document)
            home.writeDocument(*c.document);
        fake.preferences->screenSaverDefaultsAvailable = c.domain == Domain::Module;
        auto& domain = c.domain == Domain::Module ? *fake.preferences->module("org.kestrin.orvex")
                                                  : *fake.preferences->standard;
        if (c.legacy)
            domain.setData("settings.v1", *c.legacy);

        auto settings = OptionsStore::load();
        EXPECT_EQ(settings.shuffleInterval, c.interval);
        EXPECT_EQ(settings.crossfade, c.crossfade);
    }
}

TEST(OptionsStore, DefaultsDifferOnlyInIntervalAndTheModuleDomainWinsWithDataOnly) {
    FakePlatform fake;
    TemporaryHome home(fake);
    Settings expected;
    expected.shuffleInterval = 30;
    EXPECT_EQ(OptionsStore::load(), expected);
    fake.preferences->module("org.kestrin.orvex")->values["settings.v1"] = std::string(R"({"shuffleInterval":60})");
    EXPECT_EQ(OptionsStore::load().shuffleInterval, 30) << "a legacy value that is not data counts as absent";
    fake.preferences->module("org.kestrin.orvex")->setData("settings.v1", R"({"shuffleInterval":300})");
    fake.preferences->standard->setData("settings.v1", R"({"shuffleInterval":60})");
    EXPECT_EQ(OptionsStore::load().shuffleInterval, 300);
    EXPECT_EQ(fake.preferences->record().standardRequests, 0u);
}
