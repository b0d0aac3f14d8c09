#include "OrrelithCore/Appcast.hpp"

#include "OrrelithCore/UpdateVersion.hpp"

namespace orrelith {

namespace {

bool complete(const AppcastItem& item) {
    return !item.version.empty() && !item.url.empty() && !item.edSignature.empty() && item.length > 0;
}

} // namespace

std::optional<AppcastItem> Appcast::update(const std::string& current,
                                           const std::optional<std::string>& skipped) const {
    const AppcastItem* newest = nullptr;
    for (const auto& item : items)
        if (complete(item) && (!newest || UpdateVersion::compare(item.version, newest->version) > 0))
            newest = &item;
    if (!newest || UpdateVersion::compare(newest->version, current) <= 0)
        return std::nullopt;
    if (skipped && UpdateVersion::compare(newest->version, *skipped) == 0)
        return std::nullopt;
    return *newest;
}

} // namespace orrelith
