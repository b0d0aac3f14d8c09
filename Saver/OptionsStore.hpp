#pragma once

#include "OrrelithCore/Settings.hpp"
#include "Platform/System/UserDefaults.hpp"

#include <memory>
#include <string_view>

namespace orrelith {

// The user's current settings, from wherever they are stored. Reads a file and the preferences through the
// installed platform and keeps nothing between calls. Main thread (the preferences are main-thread only).
struct OptionsStore {
    // The screen-saver module whose preferences hold the legacy record.
    static constexpr std::string_view legacyModuleName = "org.kestrin.orvex";

    // The settings document when it is readable; else the legacy record when one is stored (the defaults
    // when it is stored but unreadable); else the defaults with a 30-second shuffle interval.
    static Settings load();
    // The legacy domain: the module's preferences, else the application's standard defaults.
    static std::shared_ptr<platform::UserDefaults> legacyDefaults();
};

} // namespace orrelith
