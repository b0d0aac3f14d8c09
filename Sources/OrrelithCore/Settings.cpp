#include "OrrelithCore/Settings.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "OrrelithCore/JsonDocument.hpp"

namespace orrelith {
namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

const Json* present(const Json& document, const char* key) {
    const auto found = document.find(key);
    return found == document.end() || found->is_null() ? nullptr : &*found;
}

double numberOr(const Json& document, const char* key, double fallback) {
    const Json* value = present(document, key);
    return value && value->is_number() ? value->get<double>() : fallback;
}

bool flagOr(const Json& document, const char* key, bool fallback) {
    const Json* value = present(document, key);
    return value && value->is_boolean() ? value->get<bool>() : fallback;
}

// One unreadable entry empties the whole map: a half-read map would silently re-pin or unpin displays.
std::map<std::string, DisplayMode> readDisplays(const Json& document) {
    const Json* value = present(document, "displays");
    std::map<std::string, DisplayMode> result;
    if (!value || !value->is_object()) {
        return result;
    }
    try {
        for (const auto& [key, mode] : value->items()) {
            result.emplace(key, DisplayMode::fromJson(mode));
        }
    } catch (const DecodingError&) {
        return {};
    }
    return result;
}

std::map<std::string, std::string> readDisplayNames(const Json& document) {
    const Json* value = present(document, "displayNames");
    std::map<std::string, std::string> result;
    if (!value || !value->is_object()) {
        return result;
    }
    for (const auto& [key, name] : value->items()) {
        if (!name.is_string()) {
            return {};
        }
        result.emplace(key, name.get<std::string>());
    }
    return result;
}

std::optional<std::vector<std::string>> readPool(const Json& document) {
    const Json* value = present(document, "shufflePool");
    if (!value || !value->is_array()) {
        return std::nullopt;
    }
    std::vector<std::string> pool;
    for (const auto& slug : *value) {
        if (!slug.is_string()) {
            return std::nullopt;
        }
        pool.push_back(slug.get<std::string>());
    }
    return pool;
}

double clampVolume(double volume) {
    if (!(volume >= 0)) {
        return 0;
    }
    return std::min(volume, 1.0);
}

// Whole values are written without a fraction (600, not 600.0).
OrderedJson number(double value) {
    if (!std::isfinite(value)) {
        throw std::invalid_argument("a settings number is not finite");
    }
    constexpr double exactLimit = 9007199254740992.0; // 2^53
    if (std::trunc(value) == value && std::fabs(value) <= exactLimit) {
        return static_cast<std::int64_t>(value);
    }
    return value;
}

OrderedJson displaysJson(const std::map<std::string, DisplayMode>& displays) {
    OrderedJson result = OrderedJson::object();
    for (const auto& [key, mode] : displays) {
        result[key] = mode.toJson();
    }
    return result;
}

} // namespace

double Settings::offered(double interval) {
    if (!(interval > 0) || std::ranges::find(shuffleIntervals, interval) != shuffleIntervals.end()) {
        return interval;
    }
    double best = shuffleIntervals.front();
    for (const double candidate : shuffleIntervals) {
        if (std::fabs(candidate - interval) < std::fabs(best - interval)) {
            best = candidate;
        }
    }
    return best;
}

DisplayMode Settings::mode(const std::string& displayKey, const Catalog& catalog) const {
    const auto found = displays.find(displayKey);
    if (found == displays.end() || found->second.isShuffle() || !catalog.contains(found->second.slug())) {
        return DisplayMode::shuffle();
    }
    return found->second;
}

std::vector<std::string> Settings::pool(const Catalog& catalog) const {
    auto all = catalog.slugs();
    if (!shufflePool) {
        return all;
    }
    std::vector<std::string> kept;
    std::ranges::copy_if(all, std::back_inserter(kept), [&](const std::string& slug) {
        return std::ranges::find(*shufflePool, slug) != shufflePool->end();
    });
    return kept.empty() ? all : kept;
}

Settings Settings::decode(std::string_view json) {
    const auto document = JsonDocument::parse(json);
    if (!document.is_object()) {
        throw DecodingError("the settings document is not a JSON object");
    }
    Settings settings;
    settings.displays = readDisplays(document);
    settings.displayNames = readDisplayNames(document);
    settings.shuffleInterval = offered(numberOr(document, "shuffleInterval", settings.shuffleInterval));
    settings.shufflePool = readPool(document);
    settings.distinctAcrossDisplays =
        flagOr(document, "distinctAcrossDisplays", settings.distinctAcrossDisplays);
    settings.crossfade = flagOr(document, "crossfade", settings.crossfade);
    settings.showSceneName = flagOr(document, "showSceneName", settings.showSceneName);
    settings.halfFrameRate = flagOr(document, "halfFrameRate", settings.halfFrameRate);
    settings.lightCanvas = flagOr(document, "lightCanvas", settings.lightCanvas);
    settings.sound = flagOr(document, "sound", settings.sound);
    settings.soundVolume = clampVolume(numberOr(document, "soundVolume", settings.soundVolume));
    settings.autoInstallUpdates = flagOr(document, "autoInstallUpdates", settings.autoInstallUpdates);
    return settings;
}

std::string Settings::encode() const {
    OrderedJson document = OrderedJson::object();
    document["displays"] = displaysJson(displays);
    document["displayNames"] = displayNames;
    document["shuffleInterval"] = number(shuffleInterval);
    if (shufflePool) {
        document["shufflePool"] = *shufflePool;
    }
    document["distinctAcrossDisplays"] = distinctAcrossDisplays;
    document["crossfade"] = crossfade;
    document["showSceneName"] = showSceneName;
    document["halfFrameRate"] = halfFrameRate;
    document["lightCanvas"] = lightCanvas;
    document["sound"] = sound;
    document["soundVolume"] = number(soundVolume);
    document["autoInstallUpdates"] = autoInstallUpdates;
    try {
        return document.dump();
    } catch (const OrderedJson::type_error& error) {
        throw std::invalid_argument(error.what());
    }
}

} // namespace orrelith
