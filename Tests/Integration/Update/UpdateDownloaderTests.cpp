#include "LoopbackServer.hpp"
#include "Platform/Linux/Update/UpdateDownloader.hpp"
#include "ReleaseArchive.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

namespace orrelith::platform {
namespace {

using testing::ReleaseArchive;
using testing::feedOf;
using testing::runUntil;
const std::string app = "Quorvane Options.app", identifier = "org.kestrin.orvex.options";

class UpdateDownloaderTest : public ::testing::Test {
protected:
    testing::LoopbackServer server;
    ReleaseArchive keys;
    orrelith::testing::TemporaryFolder folder{"orrelith-download"};
    std::shared_ptr<UpdateDownloader> downloader = UpdateDownloader::create();

    UpdateDownloader::Found find() {
        std::optional<UpdateDownloader::Found> found;
        downloader->findUpdate(server.base() + "appcast.xml", "1.9", std::nullopt, [&](auto f) { found = f; });
        EXPECT_TRUE(runUntil([&] { return found.has_value(); }));
        return found.value_or(UpdateDownloader::Found{});
    }
    UpdateDownloader::Staged download(const AppcastItem& item, int* progress = nullptr) {
        std::optional<UpdateDownloader::Staged> staged;
        downloader->download(item, {keys.publicKey(), app, identifier}, folder / ".staging",
                             [&](auto, auto) { progress && ++*progress; }, [&](auto s) { staged = s; });
        EXPECT_TRUE(runUntil([&] { return staged.has_value(); }));
        return staged.value_or(UpdateDownloader::Staged{});
    }
};

TEST_F(UpdateDownloaderTest, FindsDownloadsAndVerifiesANewerReleaseOverAllowedURLsOnlyAndCallsAFeedThatIsNotXmlUnreadable) {
    auto archive = ReleaseArchive::make(ReleaseArchive::bundle(app, identifier, "1.10", "1.10"));
    server.serve("/q-1.10.tar.xz", archive);
    server.serve("/appcast.xml", feedOf(keys.item(archive, "1.10", server.base() + "q-1.10.tar.xz")));
    auto found = find();
    ASSERT_TRUE(found.item) << found.error;
    EXPECT_EQ(found.item->releaseNotes, "<p>Better.</p>");
    int progress = 0;
    auto staged = download(*found.item, &progress);
    EXPECT_EQ(staged.error, "");
    EXPECT_TRUE(std::filesystem::exists(staged.bundle / "Contents/Info.plist"));
    EXPECT_GT(progress, 0);

    server.serve("/appcast.xml", "<html><body>Moved</body></html>");
    EXPECT_EQ(find().error, "The update feed could not be read.");

    // Only https and loopback http are fetched at all.
    for (const char* url : {"https://example.org/a.xml", "http://127.0.0.1:8080/a", "http://[::1]/a", "http://127.3.4.5/"})
        EXPECT_TRUE(SoupFetch::allowed(url)) << url;
    for (const char* url : {"http://example.org/a.xml", "http://localhost.example.org/", "http://10.0.0.1/",
                            "file:///etc/passwd", "ftp://127.0.0.1/", "not a url", ""})
        EXPECT_FALSE(SoupFetch::allowed(url)) << url;
}

} // namespace
} // namespace orrelith::platform
