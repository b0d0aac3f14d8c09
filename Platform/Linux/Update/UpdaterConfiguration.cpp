#include "Platform/Linux/Update/UpdaterConfiguration.hpp"

#include "Platform/Linux/System/PlistFile.hpp"

namespace orrelith::platform {

namespace {

bool booleanMember(plist_t dictionary, const char* key) {
    plist_t node = dictionary ? plist_dict_get_item(dictionary, key) : nullptr;
    if (!node)
        return false;
    if (plist_get_node_type(node) == PLIST_BOOLEAN) {
        std::uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return value != 0;
    }
    if (plist_get_node_type(node) == PLIST_UINT) {
        std::uint64_t value = 0;
        plist_get_uint_val(node, &value);
        return value != 0;
    }
    return false;
}

// A positive whole number of seconds, else the default.
double intervalMember(plist_t dictionary, const char* key) {
    plist_t node = dictionary ? plist_dict_get_item(dictionary, key) : nullptr;
    std::uint64_t value = 0;
    if (node && plist_get_node_type(node) == PLIST_UINT)
        plist_get_uint_val(node, &value);
    // A negative integer reads as a huge unsigned one.
    if (value == 0 || value > (std::uint64_t{1} << 40))
        return UpdaterConfiguration::defaultCheckInterval;
    return static_cast<double>(value);
}

} // namespace

UpdaterConfiguration UpdaterConfiguration::of(const Bundle& bundle) {
    UpdaterConfiguration configuration;
    configuration.bundlePath = bundle.bundlePath;
    configuration.executablePath = bundle.executablePath.value_or(std::filesystem::path{});
    configuration.bundleIdentifier = bundle.bundleIdentifier().value_or("");
    configuration.name = bundle.info("CFBundleName").value_or(bundle.bundlePath.stem().string());
    configuration.shortVersion = bundle.info("CFBundleShortVersionString").value_or("");
    configuration.version = bundle.info("CFBundleVersion").value_or("");
    configuration.feedURL = bundle.info("SUFeedURL").value_or("");
    configuration.publicKey = bundle.info("SUPublicEDKey").value_or("");
    auto dictionary = plistfile::readDictionary(bundle.bundlePath / "Contents" / "Info.plist");
    configuration.automaticChecks = booleanMember(dictionary.get(), "SUEnableAutomaticChecks");
    configuration.checkInterval = intervalMember(dictionary.get(), "SUScheduledCheckInterval");
    return configuration;
}

} // namespace orrelith::platform
