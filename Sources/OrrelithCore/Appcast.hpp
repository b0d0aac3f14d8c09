#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orrelith {

// One release in an update feed.
struct AppcastItem {
    std::string title;
    // The build version compared with the running one, and the version shown to people.
    std::string version;
    std::string shortVersion;
    std::string url;
    std::uint64_t length = 0;
    // Base64 of the Ed25519 signature of the whole archive.
    std::string edSignature;
    // HTML, shown off the network.
    std::string releaseNotes;

    bool operator==(const AppcastItem&) const = default;
    // The version people see: the short version, else the build version.
    const std::string& displayVersion() const { return shortVersion.empty() ? version : shortVersion; }
};

// The releases of a feed, in the feed's order.
struct Appcast {
    std::vector<AppcastItem> items;

    // The newest release that is newer than `current` and is not the version the user chose to skip;
    // nothing when there is none. Items without a version, address or signature are never offered.
    std::optional<AppcastItem> update(const std::string& current, const std::optional<std::string>& skipped) const;
};

} // namespace orrelith
