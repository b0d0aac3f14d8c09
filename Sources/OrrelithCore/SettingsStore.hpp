#pragma once

#include <string_view>

#include "OrrelithCore/KeyedData.hpp"
#include "OrrelithCore/Settings.hpp"

namespace orrelith {

// Reader of the legacy settings record: the JSON bytes of one Settings under "settings.v1" in a
// preferences store. Never writes. Holds a reference: `defaults` must outlive the store.
struct SettingsStore {
    static constexpr std::string_view key = "settings.v1";

    const KeyedData& defaults;

    explicit SettingsStore(const KeyedData& defaults) : defaults(defaults) {}

    // The stored record read forgivingly; Settings() when nothing is stored or the bytes are not a JSON
    // object.
    Settings load() const;
};

} // namespace orrelith
