#include "Platform/Linux/Update/UpdatePackage.hpp"

#include "Platform/Linux/System/PlistFile.hpp"
#include "Platform/Linux/Update/ArchiveUnpacker.hpp"
#include "Platform/Linux/Update/Ed25519Signature.hpp"

#include <system_error>

namespace orrelith::platform {

namespace {

void checkBundle(const std::filesystem::path& staging, const AppcastItem& item,
                 const UpdatePackage::Expected& expected) {
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(staging))
        ++entries;
    auto bundle = staging / expected.bundleName;
    if (entries != 1 || !std::filesystem::is_directory(std::filesystem::symlink_status(bundle)))
        throw UpdatePackage::Refused("The update does not hold exactly one " + expected.bundleName + ".");
    auto dictionary = plistfile::readDictionary(bundle / "Contents" / "Info.plist");
    auto values = dictionary ? plistfile::stringMembers(dictionary.get()) : std::map<std::string, std::string>{};
    if (values["CFBundleIdentifier"] != expected.bundleIdentifier)
        throw UpdatePackage::Refused("The update is for another application.");
    if (values["CFBundleVersion"] != item.version ||
        (!item.shortVersion.empty() && values["CFBundleShortVersionString"] != item.shortVersion))
        throw UpdatePackage::Refused("The update is not the version the feed announces.");
}

} // namespace

std::filesystem::path UpdatePackage::unpack(std::string_view archive, const AppcastItem& item,
                                            const Expected& expected, const std::filesystem::path& staging) {
    if (archive.size() != item.length)
        throw Refused("The download is not the size the update feed announces.");
    if (!Ed25519Signature::verify(archive, item.edSignature, expected.publicKeyBase64))
        throw Refused("The update is not signed by the makers of this application.");
    try {
        ArchiveUnpacker::unpack(archive, staging);
        checkBundle(staging, item, expected);
    } catch (const ArchiveUnpacker::Refused& refused) {
        throw Refused(refused.what());
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove_all(staging, ignored);
        throw;
    }
    return staging / expected.bundleName;
}

} // namespace orrelith::platform
