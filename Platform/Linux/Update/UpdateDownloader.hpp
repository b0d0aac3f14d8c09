#pragma once

#include "OrrelithCore/Appcast.hpp"
#include "Platform/Linux/Update/SoupFetch.hpp"
#include "Platform/Linux/Update/UpdatePackage.hpp"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orrelith::platform {

// The network half of an update: reads the feed and picks the release to offer, then downloads that
// release and hands it to UpdatePackage, which verifies it before anything is unpacked. Made with
// create(); main thread; callbacks never run synchronously, each at most once, and not after the object
// is gone or the operation was cancelled.
class UpdateDownloader : public std::enable_shared_from_this<UpdateDownloader> {
public:
    struct Found {
        // The release to offer; nothing when the feed has none newer (or only the skipped one).
        std::optional<AppcastItem> item;
        // Empty when the feed was read; otherwise a message for the user.
        std::string error;
    };
    struct Staged {
        std::filesystem::path bundle; // the verified new bundle, inside the staging folder
        std::string error;            // empty on success
    };

    static std::shared_ptr<UpdateDownloader> create();
    void findUpdate(const std::string& feedURL, const std::string& currentVersion,
                    const std::optional<std::string>& skipped, std::function<void(Found)> done);
    void download(const AppcastItem& item, const UpdatePackage::Expected& expected,
                  const std::filesystem::path& staging, SoupFetch::Progress progress, std::function<void(Staged)> done);
    void cancel();

private:
    UpdateDownloader() = default;
    std::shared_ptr<SoupFetch> fetch_ = SoupFetch::create();
};

} // namespace orrelith::platform
