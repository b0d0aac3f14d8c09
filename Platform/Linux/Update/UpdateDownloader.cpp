#include "Platform/Linux/Update/UpdateDownloader.hpp"

#include "Platform/Linux/Update/AppcastXml.hpp"

namespace orrelith::platform {

namespace {

constexpr std::uint64_t feedLimit = 4 * 1024 * 1024;

} // namespace

std::shared_ptr<UpdateDownloader> UpdateDownloader::create() {
    return std::shared_ptr<UpdateDownloader>(new UpdateDownloader());
}

void UpdateDownloader::findUpdate(const std::string& feedURL, const std::string& currentVersion,
                                  const std::optional<std::string>& skipped, std::function<void(Found)> done) {
    fetch_->fetch(feedURL, feedLimit, 0, nullptr, [currentVersion, skipped, done](SoupFetch::Result result) {
        if (!result.error.empty())
            return done({std::nullopt, result.error});
        auto feed = AppcastXml::parse(result.bytes);
        if (!feed)
            return done({std::nullopt, "The update feed could not be read."});
        done({feed->update(currentVersion, skipped), ""});
    });
}

void UpdateDownloader::download(const AppcastItem& item, const UpdatePackage::Expected& expected,
                                const std::filesystem::path& staging, SoupFetch::Progress progress,
                                std::function<void(Staged)> done) {
    fetch_->fetch(item.url, item.length, item.length, std::move(progress),
                  [item, expected, staging, done](SoupFetch::Result result) {
                      if (!result.error.empty())
                          return done({{}, result.error});
                      Staged staged;
                      try {
                          staged.bundle = UpdatePackage::unpack(result.bytes, item, expected, staging);
                      } catch (const std::exception& refused) {
                          staged.error = refused.what();
                      }
                      done(std::move(staged));
                  });
}

void UpdateDownloader::cancel() { fetch_->cancel(); }

} // namespace orrelith::platform
