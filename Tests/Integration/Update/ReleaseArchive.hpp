#pragma once

#include "../Platform/MainLoopSupport.hpp"
#include "OrrelithCore/Appcast.hpp"

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace orrelith::testing {

// Builds xz tar archives entry by entry, hostile ones included, and signs them with a key pair of its own.
struct ReleaseArchive {
    enum class Kind { file, folder, symlink, hardlink, device };
    struct Entry {
        std::string path;
        Kind kind = Kind::file;
        std::string contents; // a file's bytes, or a link's target
    };

    // The entries of a bundle named `bundle` with this identifier and versions; `moreInfo` adds keys to Info.plist.
    static std::vector<Entry> bundle(const std::string& bundle, const std::string& identifier,
                                     const std::string& version, const std::string& shortVersion,
                                     const std::string& moreInfo = "");
    // The entries of the real folder `root`, named `name` in the archive: folders, files and symbolic links.
    static std::vector<Entry> folder(const std::filesystem::path& root, const std::string& name);
    static std::string make(const std::vector<Entry>& entries);

    ReleaseArchive();
    std::string publicKey() const;
    std::string sign(const std::string& bytes) const;
    // An appcast item announcing `archive` at `url`, signed with this key.
    AppcastItem item(const std::string& archive, const std::string& version, const std::string& url) const;

private:
    std::string publicKey_, secretKey_;
};

// A one-item feed announcing `item`.
std::string feedOf(const AppcastItem& item);
// Every path below `folder`.
std::set<std::string> listing(const std::filesystem::path& folder);
// Runs the main context until `done` holds, for at most ten seconds.
inline bool runUntil(const std::function<bool()>& done) { return pumpUntil(done, 10); }

} // namespace orrelith::testing
