#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "OrrelithCore/Catalog.hpp"
#include "OrrelithCore/DecodingError.hpp"
#include "OrrelithCore/DisplayMode.hpp"

namespace orrelith {

// Everything the user can choose. A plain value: copies share nothing. Members are in document order and
// their initialisers are the defaults, so Settings() is the default record.
struct Settings {
    std::map<std::string, DisplayMode> displays;
    std::map<std::string, std::string> displayNames;
    double shuffleInterval = 600;
    std::optional<std::vector<std::string>> shufflePool;
    bool distinctAcrossDisplays = true;
    bool crossfade = true;
    bool showSceneName = false;
    bool halfFrameRate = true;
    bool lightCanvas = true;
    bool sound = true;
    double soundVolume = 0.6;
    bool autoInstallUpdates = true;

    // The intervals the options window offers, in seconds.
    static constexpr std::array<double, 5> shuffleIntervals{30, 60, 120, 300, 600};

    // The offered interval nearest to `interval` (ties go to the shorter one); 0 and below pass unchanged.
    static double offered(double interval);

    // The display's effective mode: a pin to a scene the catalog lacks counts as shuffle.
    DisplayMode mode(const std::string& displayKey, const Catalog& catalog) const;
    // The effective shuffle pool in catalog order; every catalog slug when the pool is absent or keeps
    // nothing.
    std::vector<std::string> pool(const Catalog& catalog) const;

    // Forgiving, member by member: unreadable members take their defaults. Throws DecodingError only when the
    // text is not JSON or its top level is not an object.
    static Settings decode(std::string_view json);
    // Compact JSON in member order; "shufflePool" only when present; values written as held. Throws
    // std::invalid_argument for a value JSON cannot hold (a non-finite number, text that is not UTF-8).
    std::string encode() const;

    bool operator==(const Settings&) const = default;
};

} // namespace orrelith
