#include "Platform/Linux/Update/AppcastXml.hpp"
#include "Platform/Linux/Update/UpdatePackage.hpp"
#include "ReleaseArchive.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <functional>

namespace orrelith::platform {
namespace {

using testing::ReleaseArchive;
using testing::listing;
using Kind = ReleaseArchive::Kind;
const std::string app = "Quorvane Options.app", identifier = "org.kestrin.orvex.options";

class UpdatePackageTest : public ::testing::Test {
protected:
    ReleaseArchive keys;
    orrelith::testing::TemporaryFolder folder{"orrelith-update"};
    UpdatePackage::Expected expected{keys.publicKey(), app, identifier};
    std::filesystem::path staging = folder / ".update";
};

TEST_F(UpdatePackageTest, RefusesAnythingUnverifiedOrUnsafeWithNothingLeftOnDiskAndUnpacksASignedRelease) {
    auto entries = [](std::vector<ReleaseArchive::Entry> extra) {
        auto all = ReleaseArchive::bundle(app, identifier, "2.0", "2.0");
        all.insert(all.end(), extra.begin(), extra.end());
        return all;
    };
    auto good = ReleaseArchive::make(entries({}));
    auto tampered = good;
    tampered[tampered.size() / 2] ^= 1;
    ReleaseArchive stranger;
    struct Case {
        const char* name;
        std::string archive;
        std::function<void(AppcastItem&)> change = [](AppcastItem&) {};
    };
    std::vector<Case> cases{
        {"tampered", tampered, [&](AppcastItem& item) { item.edSignature = keys.sign(good); }},
        {"wrong signature", good, [&](AppcastItem& item) { item.edSignature = stranger.sign(good); }},
        {"signature not Base64", good, [](AppcastItem& item) { item.edSignature = "!!"; }},
        {"wrong length", good, [](AppcastItem& item) { item.length += 1; }},
        {"dot dot", ReleaseArchive::make(entries({{app + "/../escaped", Kind::file, "x"}}))},
        {"absolute", ReleaseArchive::make(entries({{folder.path().string() + "/escaped", Kind::file, "x"}}))},
        {"link out", ReleaseArchive::make(entries({{app + "/Contents/out", Kind::symlink, "../../../escaped"}}))},
        {"absolute link", ReleaseArchive::make(entries({{app + "/Contents/out", Kind::symlink, "/etc"}}))},
        {"hard link", ReleaseArchive::make(entries({{app + "/Contents/hard", Kind::hardlink, "/etc/passwd"}}))},
        {"device", ReleaseArchive::make(entries({{app + "/Contents/dev", Kind::device, ""}}))},
        {"second item", ReleaseArchive::make(entries({{"Other.app", Kind::folder, ""}}))},
        {"other application", ReleaseArchive::make(ReleaseArchive::bundle(app, "org.example.other", "2.0", "2.0"))},
        {"other version", ReleaseArchive::make(ReleaseArchive::bundle(app, identifier, "1.9", "2.0"))},
        {"other name", ReleaseArchive::make(ReleaseArchive::bundle("Quorvane.app", identifier, "2.0", "2.0"))},
        {"not an archive", "<html>not found</html>"},
    };
    auto before = listing(folder.path());
    for (auto& test : cases) {
        auto item = keys.item(test.archive, "2.0", "x");
        test.change(item);
        EXPECT_THROW(UpdatePackage::unpack(test.archive, item, expected, staging), UpdatePackage::Refused) << test.name;
        EXPECT_EQ(listing(folder.path()), before) << test.name;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path().parent_path() / "escaped"));

    // A signed release of the advertised version is unpacked.
    auto archive = ReleaseArchive::make(ReleaseArchive::bundle(app, identifier, "1.10", "1.10"));
    auto bundle = UpdatePackage::unpack(archive, keys.item(archive, "1.10", "x"), expected, staging);
    EXPECT_EQ(bundle, staging / app);
    EXPECT_TRUE(std::filesystem::is_symlink(bundle / "Contents/Current"));
    EXPECT_EQ(std::filesystem::status(bundle / "Contents/Linux/Quorvane Options").permissions() &
                  std::filesystem::perms::owner_exec,
              std::filesystem::perms::owner_exec);
}

TEST(AppcastXml, ReadsItemsAndRefusesWhatIsNotAFeed) {
    auto feed = AppcastXml::parse(R"(<?xml version="1.0"?>
<rss version="2.0" xmlns:sparkle="http://example.org/sparkle"><channel><title>Q</title>
 <item><title>Version 1.10</title><description><![CDATA[<p>Faster &amp; calmer.</p>]]></description>
  <enclosure url="https://example.org/q-1.10.tar.xz" length="1234" type="application/x-xz"
   sparkle:version="1.10" sparkle:shortVersionString="1.10 beta" sparkle:edSignature="c2ln"/></item>
 <item><sparkle:version>1.9</sparkle:version><enclosure url="https://example.org/q-1.9.tar.xz" length="12x"/></item>
</channel></rss>)");
    ASSERT_TRUE(feed);
    ASSERT_EQ(feed->items.size(), 2u);
    EXPECT_EQ(feed->items[0], (AppcastItem{"Version 1.10", "1.10", "1.10 beta", "https://example.org/q-1.10.tar.xz",
                                           1234, "c2ln", "<p>Faster &amp; calmer.</p>"}));
    EXPECT_EQ(feed->items[1].version, "1.9");
    EXPECT_EQ(feed->items[1].length, 0u);
    for (const char* bad : {"", "<html><body>Not found</body></html>", "<rss><channel>", "{\"items\": []}",
                            "<?xml version=\"1.0\"?><!DOCTYPE rss [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
                            "<rss><channel><item><title>&x;</title></item></channel></rss>"})
        EXPECT_FALSE(AppcastXml::parse(bad)) << bad;
}

} // namespace
} // namespace orrelith::platform
