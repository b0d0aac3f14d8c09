#pragma once

#include "OrrelithCore/Appcast.hpp"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace orrelith::platform {

// A downloaded release made ready to install: the archive's length and Ed25519 signature are checked
// before a single byte of it is unpacked, then it is unpacked into a staging folder and must hold exactly
// one bundle of the running application's name, with its bundle identifier and the advertised version.
// Any thread; blocking.
struct UpdatePackage {
    struct Refused : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    // What a release must match.
    struct Expected {
        std::string publicKeyBase64;
        std::string bundleName;       // "Quorvane Options.app"
        std::string bundleIdentifier; // CFBundleIdentifier of the running bundle
    };
    // Answers the new bundle inside `staging` (which must not exist yet). Throws Refused, leaving no
    // `staging` behind, when anything does not match.
    static std::filesystem::path unpack(std::string_view archive, const AppcastItem& item, const Expected& expected,
                                        const std::filesystem::path& staging);
};

} // namespace orrelith::platform
